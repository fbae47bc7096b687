// The Debian package the build makes, and its program as xscreensaver and
// MATE's screensaver, run by an ordinary account, start and end it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <filesystem>
#include <set>
#include <unistd.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

namespace fs = std::filesystem;

// The package unpacked with dpkg-deb into a fresh folder under /tmp, removed
// with the object, its folders open to all as an installed package's are,
// so that nobody can run the program.
class UnpackedPackage {
public:
    UnpackedPackage() {
        if (!fs::exists(ZORSCR_DEB)) throw std::runtime_error(ZORSCR_DEB " is missing: make it with (cd build && cpack -G DEB)");
        Tool("dpkg-deb", {"-x", ZORSCR_DEB, dir_.path()});
        Tool("chmod", {"-R", "go+rX", dir_.path()});
    }
    fs::path Root() const { return dir_.path().toStdString(); }
    QString Path(const char* inside) const { return dir_.filePath(inside); }
    // The program itself, where the links on the PATH and xscreensaver's lead.
    fs::path Program() const { return Root() / "usr/lib/zorscr/ZORScr"; }

private:
    QTemporaryDir dir_{QStringLiteral("/tmp/zorscr-package-XXXXXX")};
};

// Whether the settings file is one xscreensaver-settings can read: a
// "zorscr" display mode started with --root, with a file chooser.
bool IsDisplayModeSettings(const QString& file) {
    QFile xml(file);
    QXmlStreamReader reader(xml.open(QIODevice::ReadOnly) ? xml.readAll() : QByteArray());
    bool mode = false, root = false, chooser = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = reader.name();
        const auto attribute = [&](const char* key) { return reader.attributes().value(key); };
        mode |= name == u"screensaver" && attribute("name") == u"zorscr";
        root |= name == u"command" && attribute("arg") == u"--root";
        chooser |= name == u"file" && attribute("arg").contains(u'%');
    }
    return !reader.hasError() && mode && root && chooser;
}

// What lintian says (no error), every file and link it installs (a link
// names the file it must lead to inside the package), the packages it pulls
// in. Root's files too go to its own folder, as a run without a display shows
// (it ends with a record in the default error log): one left in the
// package's folder would outlive apt-get purge.
TEST(PackageE2E, InstallsTheProgramItsLinksAndItsDocuments) {
    const Ran lintian = RunProgram("lintian", {"--tag-display-limit", "0", ZORSCR_DEB}, {}, {}, 180000);
    EXPECT_NE(lintian.code, -1);
    EXPECT_FALSE(lintian.out.contains(QRegularExpression("^E: ", QRegularExpression::MultilineOption))) << lintian.out.toStdString();

    const std::pair<const char*, const char*> entries[] = {  // the path, the file a link leads to
        {"usr/lib/zorscr/ZORScr", nullptr},    {"usr/lib/zorscr/ZORFacts", nullptr},
        {"usr/lib/zorscr/ZORCollect", nullptr}, {"usr/lib/zorscr/ZORhlp.htm", nullptr},
        {"usr/lib/zorscr/plugins/libzorweb.so", nullptr},
        {"usr/bin/zorscr", "usr/lib/zorscr/ZORScr"}, {"usr/bin/zorfacts", "usr/lib/zorscr/ZORFacts"},
        {"usr/bin/zorcollect", "usr/lib/zorscr/ZORCollect"}, {"usr/libexec/xscreensaver/zorscr", "usr/lib/zorscr/ZORScr"},
        {"usr/share/xscreensaver/config/zorscr.xml", nullptr}, {"usr/share/applications/screensavers/zorscr.desktop", nullptr},
        {"usr/share/zorscr/zorscr-idle.desktop", nullptr},      {"usr/share/man/man1/zorscr.1.gz", nullptr},
        {"usr/share/man/man1/zorfacts.1.gz", nullptr},          {"usr/share/man/man1/zorcollect.1.gz", nullptr},
        {"usr/share/doc/zorscr/copyright", nullptr},            {"usr/share/doc/zorscr/changelog.gz", nullptr},
    };
    const UnpackedPackage package;
    const fs::path root = package.Root();
    std::set<std::string> expected, found;
    for (const auto& [entry, leadsTo] : entries) {
        SCOPED_TRACE(entry);
        expected.insert(entry);
        const fs::path path = root / entry;
        ASSERT_TRUE(fs::exists(path));
        if (leadsTo) {
            EXPECT_TRUE(fs::read_symlink(path).is_relative());
            EXPECT_EQ(fs::canonical(path), fs::canonical(root / leadsTo));
        } else {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        }
    }
    for (const auto& item : fs::recursive_directory_iterator(root))
        if (!item.is_directory() || item.is_symlink()) found.insert(item.path().lexically_relative(root).string());
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(IsDisplayModeSettings(package.Path("usr/share/xscreensaver/config/zorscr.xml")));
    const QString desktop = package.Path("usr/share/applications/screensavers/zorscr.desktop");
    EXPECT_TRUE(ReadText(desktop).contains("\nExec=zorscr --root\n"));
    if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        const Ran validated = RunProgram("desktop-file-validate", {desktop});
        EXPECT_EQ(validated.code, 0) << validated.out.toStdString();
    }
    const QString depends = Tool("dpkg-deb", {"-f", ZORSCR_DEB, "Depends"}).trimmed();
    for (const char* needed : {"libmpv\\d+", "libqt6gui6", "libqt6webenginecore6-bin", "libheif1", "qt6-image-formats-plugins"})
        EXPECT_TRUE(depends.contains(QRegularExpression(QStringLiteral("(^|[,|] *)%1( |,|$)").arg(needed))))
            << needed << " in " << depends.toStdString();

    const TempFolder config;
    const QString installed = Tool("find", {package.Path("usr/lib/zorscr")});
    const Ran ran = RunProgram(package.Path("usr/lib/zorscr/ZORScr"), {"/S"}, {{"DISPLAY", {}}, {"XDG_CONFIG_HOME", config.path()}}, {}, 20000);
    EXPECT_EQ(ran.code, 1);
    EXPECT_EQ(Tool("find", {package.Path("usr/lib/zorscr")}), installed);
    EXPECT_TRUE(QFile::exists(config.file("ZORScr/ZORScr.Log")));
}

// An ordinary account's home, with a collection of one red clip in its own
// folder (the program's folder is not nobody's to write), for a screensaver
// that runs the unpacked package's program.
class InstalledE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(own_));
        MakeClip(own_ + "/red.mp4", ColourSource(kRed), 30);
        WriteBytes(own_ + "/ZORScr.INI", CollectionText({.entries = {{"red.mp4", own_ + u'/', {}, {}}}}));
    }
    // Runs command as nobody: no screensaver runs a display mode as root.
    std::unique_ptr<ChildProcess> AsNobody(const QStringList& command) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XSCREENSAVER_WINDOW"}) environment.remove(name);
        environment.insert("DISPLAY", screen_.name());
        environment.insert("HOME", home_.path());
        return StartWith(environment, "setpriv", kAsNobody + command, home_.path());
    }

    const UnpackedPackage package_;
    const VirtualDisplay screen_;
    const TempFolder home_;
    const QString own_ = home_.file(".config/ZORScr");
};

TEST_F(InstalledE2E, XScreensaverRunsTheInstalledProgramAsADisplayMode) {
    const auto command = [&](const QString& what, QString* said = nullptr) {
        const auto ran = AsNobody({"xscreensaver-command", what});
        const bool done = ran->EndsCleanly();
        if (said) *said = QString::fromUtf8(ran->readAllStandardOutput());
        return done;
    };
    WriteBytes(home_.file(".xscreensaver"), "mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\n"
                                            "splash: False\ntimeout: 0:30:00\n");
    GiveToNobody(home_.path());
    // The display mode joins the list the way the user adds it and runs as
    // "zorscr" from the PATH. (Where it goes in each form of the list, once,
    // and a list that cannot take it: XScreensaverSetupTest.)
    const QString bin = package_.Path("usr/bin"), list = home_.file(".xscreensaver");
    const ScopedEnv path("PATH", (bin + u':' + qEnvironmentVariable("PATH")).toLocal8Bit());
    const auto setup = AsNobody({bin + "/zorscr", "--setup", "xscreensaver"});
    ASSERT_TRUE(setup->EndsCleanly());
    EXPECT_EQ(QString::fromUtf8(setup->readAllStandardOutput()), "added ZORScr to " + list + u'\n');

    // Its verbose log goes to the test's standard error, beside a failure.
    const auto xscreensaver = AsNobody({"xscreensaver", "-no-splash", "-verbose"});
    ASSERT_TRUE(WaitUntil([&] { return command("-activate"); }, 20000, 200)) << "xscreensaver did not take the command";
    EXPECT_TRUE(screen_.Shows(kCentre, kRed)) << "the collection's clip is not on the screen";
    // xscreensaver takes a deactivation only once it counts itself blanked.
    QString state;
    ASSERT_TRUE(WaitUntil([&] { return command("-time", &state) && state.contains(" blanked since"); }, 10000))
        << qPrintable(state);

    std::vector<qint64> show = Running(xscreensaver->processId(), package_.Program().c_str());
    ASSERT_FALSE(show.empty()) << "no display mode runs the installed program";
    for (const qint64 helper : Descendants(show.front())) show.push_back(helper);
    ASSERT_TRUE(command("-deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return !Alive(show.front()); }, 1000, 20)) << "the show outlived the deactivation by a second";
    for (const qint64 pid : show)
        EXPECT_FALSE(Alive(pid)) << "process " << pid << " was left behind:\n"
                                 << ReadText(QStringLiteral("/proc/%1/status").arg(pid)).toStdString();
    // The write-back of the default log went to the user's own file.
    EXPECT_TRUE(ReadText(own_ + "/ZORScr.INI").contains("ErrorLog=" + own_ + "/ZORError.Log"));
    xscreensaver->terminate();  // it ends its display modes and its helper first
    EXPECT_TRUE(xscreensaver->waitForFinished(5000));
}

// mate-screensaver runs a listed mode only from its own folders and
// xscreensaver's, where the installed package puts its link. The test
// mounts a folder holding a link to the unpacked program over that one, in
// a mount namespace of mate-screensaver's own, so the system stays as it is.
TEST_F(InstalledE2E, MatesScreensaverStartsAndEndsTheListedEntry) {
    for (const char* tool : {"mate-screensaver", "mate-screensaver-command", "unshare", "dbus-daemon"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    ASSERT_TRUE(QDir().mkpath(home_.file(".config/glib-2.0/settings")) && QDir().mkpath(home_.file("hacks")));
    // The theme's name is its entry's, with the list's folder before it.
    WriteBytes(home_.file(".config/glib-2.0/settings/keyfile"),
               "[org/mate/screensaver]\nmode='single'\nthemes=['screensavers-zorscr']\nlock-enabled=false\n"
               "idle-activation-enabled=false\n");
    ASSERT_TRUE(QFile::link(QString::fromStdString(package_.Program().string()), home_.file("hacks/zorscr")));

    const PrivateBus bus("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_TRUE(bus.Serves());
    ScopedEnv environment("DISPLAY", screen_.name().toLocal8Bit());
    for (const auto& [name, value] : {std::pair{"HOME", home_.path()}, {"XDG_CONFIG_HOME", home_.file(".config")},
                                      {"GSETTINGS_BACKEND", QString("keyfile")}, {"XDG_CURRENT_DESKTOP", QString("MATE")},
                                      {"XDG_DATA_DIRS", package_.Path("usr/share") + ":/usr/share"}})
        environment.Set(name, value.toLocal8Bit());
    const auto saver = StartWith(QProcessEnvironment::systemEnvironment(), "unshare",
                                 {"--mount", "--propagation", "private", "sh", "-c",
                                  QStringLiteral("mount --bind '%1' /usr/libexec/xscreensaver || exit 3\n"
                                                 "exec mate-screensaver --no-daemon\n").arg(home_.file("hacks"))});
    const auto command = [](const QString& what) {
        const Ran ran = RunProgram("mate-screensaver-command", {what}, {}, {}, 10000);
        return ran.code == 0 && !ran.out.contains("not running");
    };
    const bool active = WaitUntil([&] { return saver->state() != QProcess::Running || command("--activate"); }, 30000, 200) &&
                        saver->state() == QProcess::Running;
    if (saver->state() != QProcess::Running && saver->exitCode() == 3) GTEST_SKIP() << "no mount namespace here";
    ASSERT_TRUE(active) << "mate-screensaver did not take the command";
    EXPECT_TRUE(screen_.Shows(kCentre, kRed)) << "the collection's clip is not on the screen";

    const std::vector<qint64> shows = Running(saver->processId(), package_.Program().c_str());
    ASSERT_FALSE(shows.empty()) << "mate-screensaver runs no copy of the unpacked program";
    ASSERT_TRUE(command("--deactivate"));
    EXPECT_TRUE(WaitUntil([&] { return !Alive(shows.front()); }, 5000)) << "the show outlived the deactivation";
}

}  // namespace
