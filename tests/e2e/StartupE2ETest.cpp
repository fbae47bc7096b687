// The real executable on crafted collection files: exit status, the file's
// write-backs and the error log afterwards.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "support/CollectionFile.h"
#include "support/ProgramRun.h"

using namespace testsupport;

namespace {

class StartupE2E : public ::testing::Test {
protected:
    QString Ini() const { return program_.file(QStringLiteral("ZORScr.INI")); }
    QString Log() const { return program_.file(QStringLiteral("ZORError.Log")); }
    QString LogText() const { return QFile::exists(Log()) ? QString::fromUtf8(ReadBytes(Log())) : QString(); }
    CollectionSpec Collection() {
        WriteBytes(program_.file(QStringLiteral("clip.mkv")), "x");
        CollectionSpec spec;
        spec.entries = {{program_.folder() + QStringLiteral("/clip.mkv"), QStringLiteral("CURRDIR"), {}, {}},
                        {QStringLiteral("gone.mkv"), QStringLiteral("/nowhere/"), {}, {}}};
        return spec;
    }
    void ExpectEnded(const RunResult& r) {
        EXPECT_TRUE(r.finished);
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    }
    InstalledProgram program_;
};

TEST_F(StartupE2E, ProgramIniIsReadWrittenBackAndLogged) {
    WriteBytes(Ini(), CollectionText(Collection()));
    int runs = 0;
    for (const QStringList& args : {QStringList{"/S"}, QStringList{}, QStringList{"/c:1234"}}) {
        ++runs;  // each run logs the dropped entry before its show starts
        const RunResult r = program_.RunUntil(args, [&] { return LogText().count(QStringLiteral("<<ERR037>>")) == runs; });
        EXPECT_TRUE(r.done) << r.output.toStdString();
        EXPECT_FALSE(r.finished);  // the show goes on until input ends it
    }
    const QByteArray ini = ReadBytes(Ini());
    EXPECT_TRUE(ini.contains("\nErrorLog=" + Log().toUtf8() + "\n"));
    const QStringList records = LogText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), 3);  // one dropped entry per run
    EXPECT_TRUE(records[0].startsWith(QStringLiteral(
        "<<ERR037>> - The File /nowhere/gone.mkv has been moved and ZOR now no longer knows where this file is.")));
}

TEST_F(StartupE2E, CollectionFileOnTheCommandLine) {
    const QString shows = program_.file(QStringLiteral("My Shows.ini"));
    WriteBytes(shows, CollectionText(Collection()));
    WriteBytes(Ini(), "[ZOR]\n");
    EXPECT_TRUE(program_.RunUntil({shows}, [&] { return LogText().contains(QStringLiteral("gone.mkv")); }).done);
    EXPECT_EQ(ReadBytes(Ini()), "[ZOR]\n");
    EXPECT_TRUE(ReadBytes(shows).contains("\nErrorLog=" + Log().toUtf8() + "\n"));
    EXPECT_TRUE(LogText().contains(QStringLiteral("gone.mkv")));
}

TEST_F(StartupE2E, PreviewHandleFailureIsLogged) {
    CollectionSpec spec = Collection();
    spec.errorLog = Log();
    WriteBytes(Ini(), CollectionText(spec));
    ExpectEnded(program_.Run({"/P"}));
    EXPECT_TRUE(LogText().contains(QStringLiteral("<<ERR002>> - Hwnd API Failure 13 Type mismatch Error Logged at >> ")));
    QFile::remove(Log());
    ExpectEnded(program_.Run({"/P", "1234"}));
    EXPECT_FALSE(LogText().contains(QStringLiteral("ERR002")));
}

TEST_F(StartupE2E, BadInputNeverCrashesOrChangesTheFile) {
    QByteArray garbage(1 << 20, '\0');
    for (char& c : garbage) c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    const QByteArray longLines = "[ZOR]\n" + QByteArray(100000, 'k') + "=" + QByteArray(100000, 'v') + "\n" +
                                 QByteArray(100000, '[') + "\n";
    const QByteArray nuls = QByteArray("[ZOR]\nVersion=1\0\0\nRunAs=\0SCREENSAVER\n", 38);
    CollectionSpec complete = Collection();
    complete.errorLog = Log();
    const QByteArray truncated = CollectionText(complete).left(700);
    for (const QByteArray& text : {garbage, longLines, nuls, truncated, QByteArray(50 << 20, '=')}) {
        WriteBytes(Ini(), text);
        const RunResult r = program_.Run({"/S"});
        ExpectEnded(r);
        EXPECT_EQ(ReadBytes(Ini()), text) << text.left(60).toStdString();
    }
    ExpectEnded(program_.Run({QString(10000, u'x')}));
    ExpectEnded(program_.Run({"/P " + QString(10000, u'9')}));
}

TEST_F(StartupE2E, ReadOnlyCollectionThatNeedsAWriteBackEndsUntouched) {
    const QByteArray text = CollectionText(Collection());  // ErrorLog is empty: it would be written back
    WriteBytes(Ini(), text);
    QFile::setPermissions(Ini(), QFile::ReadOwner | QFile::ReadGroup);
    ExpectEnded(program_.Run({"/S"}));
    EXPECT_EQ(ReadBytes(Ini()), text);
    EXPECT_FALSE(QFile::exists(Log()));
}

TEST_F(StartupE2E, ErrorLogInAMissingFolderFallsBack) {
    CollectionSpec spec = Collection();
    spec.errorLog = program_.file(QStringLiteral("no/such/folder/ZORError.Log"));
    WriteBytes(Ini(), CollectionText(spec));
    const QString fallbackFile = program_.file(QStringLiteral("ZORScrERROR.LOG"));
    EXPECT_TRUE(program_.RunUntil({"/S"}, [&] { return QFile::exists(fallbackFile); }).done);
    const QString fallback = QString::fromUtf8(ReadBytes(fallbackFile));
    EXPECT_TRUE(fallback.startsWith(QStringLiteral("<<ERR037>> - The File /nowhere/gone.mkv")));
    EXPECT_TRUE(fallback.contains(QStringLiteral(" **** W A R N I N G ****")));
}

// A copy that is already running (this test holds its registration) stops a
// new "/S" or "/P" before it reads anything; "/C" runs alongside it.
TEST_F(StartupE2E, SecondInstanceEndsAtOnceForShowAndPreview) {
    const QProcessEnvironment env = program_.Environment();
    const QByteArray lockPath = QFile::encodeName(program_.file(QStringLiteral("ZORScr-%1.lock").arg(::getuid())));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_SH), 0);

    const QByteArray text = CollectionText(Collection());
    struct Case {
        QStringList args;
        bool reads;
    };
    const auto iniChanged = [&] { return ReadBytes(Ini()) != text; };
    for (const Case& c : {Case{{"/S"}, false}, Case{{"/P", "77"}, false}, Case{{"/C"}, true}}) {
        WriteBytes(Ini(), text);
        const RunResult r = program_.RunUntil(c.args, iniChanged, env);
        EXPECT_EQ(r.done, c.reads) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.finished, !c.reads);  // a second /S or /P ends at once
    }
    ::close(fd);
    WriteBytes(Ini(), text);
    EXPECT_TRUE(program_.RunUntil({"/S"}, iniChanged, env).done);
}

TEST_F(StartupE2E, PreviewEndsAtOnceWhileAZorascopeWindowExists) {
    VirtualDisplay display;
    QProcessEnvironment env = program_.Environment();
    env.insert(QStringLiteral("DISPLAY"), display.name());
    QProcess window;
    window.setProcessEnvironment(env);
    window.start(QStringLiteral("xmessage"), {"-title", "zoraSCOPE", "preview blocker"});
    ASSERT_TRUE(window.waitForStarted());
    QProcess wait;
    wait.setProcessEnvironment(env);
    for (int i = 0; i < 100; ++i) {  // until the window is mapped
        wait.start(QStringLiteral("xdotool"), {"search", "--name", "zoraSCOPE"});
        wait.waitForFinished();
        if (wait.exitCode() == 0) break;
        ::usleep(50000);
    }

    const QByteArray text = CollectionText(Collection());
    WriteBytes(Ini(), text);
    ExpectEnded(program_.Run({"/P", "1234"}, env));
    EXPECT_EQ(ReadBytes(Ini()), text);
    EXPECT_TRUE(program_.RunUntil({"/S"}, [&] { return ReadBytes(Ini()) != text; }, env).done);

    window.kill();
    window.waitForFinished();
}

}  // namespace
