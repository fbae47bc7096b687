// Another user's links and locks in a shared folder (sticky and open to
// everybody, as /tmp is) change none of our writes and stop no show: the
// real programs run as root, the other user's steps as nobody, in a shared
// folder of the test's own.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/ShowE2E.h"

using namespace testsupport;

namespace {

class SharedFolderE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
            GTEST_SKIP() << "needs root and setpriv to act as a second user";
        ASSERT_EQ(::chmod(QFile::encodeName(shared_.path()).constData(), 01777), 0);
    }
    ~SharedFolderE2E() override {  // the lock holders and the sleeps they started, by their ids
        for (const auto& holder : holders_)
            if (const qint64 pid = holder->processId(); pid > 0)
                for (const qint64 started : Descendants(pid)) ::kill(pid_t(started), SIGKILL);
    }

    // The other user holds a lock on path (making a missing file) until the test ends.
    void OtherHoldsLock(const QString& path, bool shared = false) {
        holders_.push_back(std::make_unique<ChildProcess>());
        holders_.back()->start("setpriv", kAsNobody + QStringList{"flock", shared ? "-s" : "-x", path, "sleep", "60"});
        EXPECT_TRUE(WaitUntil([&] {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
            if (fd >= 0) ::close(fd);
            return held;
        }, 5000, 10)) << "the other user holds no lock on " << qPrintable(path);
    }
    // Runs a program as the user, in the test's own folder.
    Ran Run(const QString& program, const QStringList& arguments, const QString& display = {}) {
        std::map<QString, QString> environment = NoDisplay(own_.path());
        if (!display.isEmpty()) environment["DISPLAY"] = display;
        return RunProgram(program, arguments, environment, own_.path(), 20000);
    }

    TempFolder shared_, own_;
    std::vector<std::unique_ptr<ChildProcess>> holders_;
    const VirtualDisplay screen_;
    const InstalledProgram program_{screen_.name()};
};

QByteArray Collection(const QString& runAs, const QString& errorLog) {
    return CollectionText({.runAs = runAs, .errorLog = errorLog, .entries = {{"gone.mp4", "/nowhere/", {}, {}}}});
}

// What lies at path: a file's text, a folder's names.
QString Content(const QString& path) {
    return QFileInfo(path).isDir() ? QDir(path).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(u' ') : ReadText(path);
}

// A link the other user made in the shared folder, to a file or to a folder
// on the way, is not followed by any writer, and nothing changes where it
// leads; a link of the user's own there is followed.
TEST_F(SharedFolderE2E, NoWriterFollowsAnotherUsersLink) {
    const QString show = program_.file("ZORScr");
    WriteBytes(own_.file("fix.ini"), Collection("", {}));  // the show writes its run mode back
    WriteBytes(own_.file("log.ini"), Collection("SCREENSAVER", shared_.file("ZORError.Log")));
    ASSERT_TRUE(QDir(own_.path()).mkdir("sub"));
    // planted: by the other user, else by the user.
    const struct { const char* what; bool planted; QString link, target, program; QStringList arguments; QString display; } cases[] = {
        {"the maker's new collection", true, "new.ini", "made.ini", ZORCOLLECT_EXE, {"new", shared_.file("new.ini")}, {}},
        {"a folder on the way", true, "dir", "sub", ZORCOLLECT_EXE, {"new", shared_.file("dir/new.ini")}, {}},
        {"the show's write-back", true, "shows.ini", "fix.ini", show, {shared_.file("shows.ini")}, screen_.name()},
        {"the error log", true, "ZORError.Log", "victim.log", show, {own_.file("log.ini")}, {}},
        {"the user's own link", false, "mine.ini", "mine.ini", ZORCOLLECT_EXE, {"new", shared_.file("mine.ini")}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString link = shared_.file(c.link), target = own_.file(c.target), before = Content(target);
        if (c.planted) ASSERT_EQ(RunProgram("setpriv", kAsNobody + QStringList{"ln", "-s", target, link}).code, 0);
        else ASSERT_TRUE(QFile::link(target, link));

        const Ran ran = Run(c.program, c.arguments, c.display);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(ran.code, c.planted ? 1 : 0) << qPrintable(ran.err);
        EXPECT_EQ(ran.err.contains("a symbolic link that another user made in a shared folder"), c.planted)
            << qPrintable(ran.err);
        EXPECT_EQ(Content(target) == before, c.planted);
    }
}

// Locks of the other user's, on the shared folder, on a collection there
// or where the running-copy lock once was, neither delay a write nor end a
// show.
TEST_F(SharedFolderE2E, AnotherUsersLocksStallNothing) {
    ASSERT_EQ(Run(ZORCOLLECT_EXE, {"new", shared_.file("held.ini")}).code, 0);

    // Writes: each done at once, well within the wait a held lock would cost (5 s).
    const struct { const char* what; QString locked; QStringList arguments; } writes[] = {
        {"a lock on the folder", shared_.path(), {"new", shared_.file("new.ini")}},
        {"a lock on the collection", shared_.file("held.ini"), {"add", shared_.file("held.ini"), "http://example.org/"}},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.what);
        OtherHoldsLock(w.locked);
        QElapsedTimer clock;
        clock.start();
        const Ran ran = Run(ZORCOLLECT_EXE, w.arguments);
        EXPECT_EQ(ran.code, 0) << qPrintable(ran.err);
        EXPECT_LT(clock.elapsed(), 4000);
    }

    // The show: the other user holds running-copy locks in a run-time folder
    // that is shared, under the names they had and have.
    OtherHoldsLock(shared_.file(QStringLiteral("ZORScr-%1.lock").arg(::geteuid())), true);
    OtherHoldsLock(shared_.file("ZORScr.lock"), true);
    MakeStill(program_.file("yellow.png"), ColourSource(kYellow, 400, 300));
    WriteBytes(program_.file("ZORScr.INI"), CollectionText({.runAs = "SCREENSAVER_NOMOUSEMOVE", .entries = {Still("yellow.png")}}));
    const ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(own_.file("cache")));
    const auto show = StartOn(screen_.name(), program_.file("ZORScr"), {"/S"}, shared_.path());
    EXPECT_TRUE(screen_.Shows(kCentre, kYellow));
    EXPECT_EQ(show->state(), QProcess::Running);
}

}  // namespace
