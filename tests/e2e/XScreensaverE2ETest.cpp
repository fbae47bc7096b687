// The package as a person uses it: the real xscreensaver, run by an ordinary
// account, starts the installed program as its display mode on the
// collection in that account's own folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "e2e/ShowE2E.h"
#include "support/UnpackedPackage.h"

using namespace testsupport;

namespace {

// xscreensaver runs no display mode as root: runs program as nobody with HOME set to home.
std::unique_ptr<ChildProcess> AsNobody(const QString& display, const QString& home, const QStringList& command) {
    auto process = std::make_unique<ChildProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XSCREENSAVER_WINDOW"}) environment.remove(name);
    environment.insert("DISPLAY", display);
    environment.insert("HOME", home);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setWorkingDirectory(home);
    process->start("setpriv", kAsNobody + command);
    process->waitForStarted();
    return process;
}

bool Command(const QString& display, const QString& home, const QString& what, QString* said = nullptr) {
    const auto command = AsNobody(display, home, {"xscreensaver-command", what});
    const bool done = command->EndsCleanly();
    if (said) *said = QString::fromUtf8(command->readAllStandardOutput());
    return done;
}

TEST(XScreensaverE2E, TheInstalledProgramIsADisplayMode) {
    const UnpackedPackage package(ZORSCR_DEB);
    const VirtualDisplay screen;
    const TempFolder home;
    const QString own = home.file(".config/ZORScr");  // the program's folder is not nobody's to write
    ASSERT_TRUE(QDir().mkpath(own));
    MakeClip(own + "/red.mp4", ColourSource(kRed), 30);
    WriteBytes(own + "/ZORScr.INI", CollectionText({.entries = {{"red.mp4", own + u'/', {}, {}}}}));
    WriteBytes(home.file(".xscreensaver"), "mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\n"
                                           "splash: False\ntimeout: 0:30:00\n");
    GiveToNobody(home.path());
    // The display mode joins the list the way the user adds it, and runs as "zorscr" from the PATH.
    const QString bin = QString::fromStdString((package.Root() / "usr/bin").string());
    const ScopedEnv path("PATH", (bin + u':' + qEnvironmentVariable("PATH")).toLocal8Bit());
    ASSERT_TRUE(AsNobody(screen.name(), home.path(), {bin + "/zorscr", "--setup", "xscreensaver"})->EndsCleanly());

    // Its verbose log goes to the test's standard error, beside a failure.
    const auto xscreensaver = AsNobody(screen.name(), home.path(), {"xscreensaver", "-no-splash", "-verbose"});
    ASSERT_TRUE(WaitUntil([&] { return Command(screen.name(), home.path(), "-activate"); }, 20000, 200))
        << "xscreensaver did not take the command";
    // How soon is the benchmarks' question; a loaded machine may take longer than an idle one.
    EXPECT_TRUE(screen.Shows(kCentre, kRed)) << "the collection's clip is not on the screen";

    // xscreensaver takes a deactivation only once it counts itself blanked.
    QString state;
    ASSERT_TRUE(WaitUntil([&] {
        Command(screen.name(), home.path(), "-time", &state);
        return state.contains(" blanked since");
    }, 10000)) << qPrintable(state);

    std::vector<qint64> show = Running(xscreensaver->processId(), package.Program().c_str());
    ASSERT_FALSE(show.empty()) << "no display mode runs the installed program";
    for (const qint64 helper : Descendants(show.front())) show.push_back(helper);
    ASSERT_TRUE(Command(screen.name(), home.path(), "-deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show.front()); }, 1000, 20)) << "the show outlived the deactivation by a second";
    for (const qint64 pid : show)
        EXPECT_FALSE(Alive(pid)) << "process " << pid << " was left behind:\n"
                                 << ReadText(QStringLiteral("/proc/%1/status").arg(pid)).toStdString();
    // The write-back of the default log went to the user's own file.
    EXPECT_TRUE(ReadText(own + "/ZORScr.INI").contains("ErrorLog=" + own + "/ZORError.Log"));
    xscreensaver->terminate();  // it ends its display modes and its helper first
    EXPECT_TRUE(xscreensaver->waitForFinished(5000));
}

}  // namespace
