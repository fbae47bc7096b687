// The package's entry in the desktops' list of screensavers, as MATE's
// screensaver uses it: chosen in its settings, started on activation, ended
// on deactivation.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <unistd.h>

#include "e2e/ShowE2E.h"
#include "support/UnpackedPackage.h"

using namespace testsupport;

namespace {

// mate-screensaver runs a listed mode only from its own folders and
// xscreensaver's, where the installed package puts its link. The test
// mounts a folder holding a link to the unpacked program over that one, in
// a mount namespace of mate-screensaver's own, so the system stays as it is.
QString MountedHackFolderScript(const QString& hacks) {
    return QStringLiteral("mount --bind '%1' /usr/libexec/xscreensaver || exit 3\n"
                          "exec mate-screensaver --no-daemon\n").arg(hacks);
}

TEST(MateScreensaverE2E, TheListedEntryIsStartedAndEndedByMatesScreensaver) {
    for (const char* tool : {"mate-screensaver", "mate-screensaver-command", "unshare", "dbus-daemon"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    const UnpackedPackage package(ZORSCR_DEB);
    const VirtualDisplay screen;
    const TempFolder home;
    const QString own = home.file(".config/ZORScr");
    ASSERT_TRUE(QDir().mkpath(own) && QDir().mkpath(home.file(".config/glib-2.0/settings")) && QDir().mkpath(home.file("hacks")));
    MakeClip(own + "/red.mp4", ColourSource(kRed), 30);
    WriteBytes(own + "/ZORScr.INI", CollectionText({.entries = {{"red.mp4", own + u'/', {}, {}}}}));
    // The theme's name is its entry's, with the list's folder before it.
    WriteBytes(home.file(".config/glib-2.0/settings/keyfile"),
               "[org/mate/screensaver]\nmode='single'\nthemes=['screensavers-zorscr']\nlock-enabled=false\n"
               "idle-activation-enabled=false\n");
    ASSERT_TRUE(QFile::link(QString::fromStdString(package.Program().string()), home.file("hacks/zorscr")));

    const PrivateBus bus("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_TRUE(bus.Serves());
    const QString share = QString::fromStdString((package.Root() / "usr/share").string());
    ScopedEnv environment("DISPLAY", screen.name().toLocal8Bit());
    environment.Set("HOME", home.path().toLocal8Bit());
    environment.Set("XDG_CONFIG_HOME", home.file(".config").toLocal8Bit());
    environment.Set("GSETTINGS_BACKEND", "keyfile");
    environment.Set("XDG_DATA_DIRS", (share + ":/usr/share").toLocal8Bit());
    environment.Set("XDG_CURRENT_DESKTOP", "MATE");
    ChildProcess saver;
    saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    saver.start("unshare", {"--mount", "--propagation", "private", "sh", "-c", MountedHackFolderScript(home.file("hacks"))});
    ASSERT_TRUE(saver.waitForStarted());
    const auto command = [](const QString& what) {
        const Ran ran = RunProgram("mate-screensaver-command", {what}, {}, {}, 10000);
        return ran.code == 0 && !ran.out.contains("not running");
    };
    const bool active = WaitUntil([&] { return saver.state() != QProcess::Running || command("--activate"); }, 30000, 200) &&
                        saver.state() == QProcess::Running;
    if (saver.state() != QProcess::Running && saver.exitCode() == 3) GTEST_SKIP() << "no mount namespace here";
    ASSERT_TRUE(active) << "mate-screensaver did not take the command";
    EXPECT_TRUE(screen.Shows(kCentre, kRed)) << "the collection's clip is not on the screen";

    const std::vector<qint64> shows = Running(saver.processId(), package.Program().c_str());
    ASSERT_FALSE(shows.empty()) << "mate-screensaver runs no copy of the unpacked program";
    const qint64 show = shows.front();
    ASSERT_TRUE(command("--deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show); }, 5000)) << "the show outlived the deactivation";
}

}  // namespace
