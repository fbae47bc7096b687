// The real executable on crafted collection files: exit status, the file's
// write-backs and the error log afterwards.

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include "support/CollectionFile.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

QString Text(const QString& path) { return QFile::exists(path) ? QString::fromUtf8(ReadBytes(path)) : QString(); }

class StartupE2E : public ::testing::Test {
protected:
    QString Ini() const { return program_.file("ZORScr.INI"); }
    QString Log() const { return program_.file("ZORError.Log"); }
    // One entry whose file is there and one whose file has gone, which the
    // show logs and drops before it starts.
    QByteArray Collection(const QString& errorLog = {}) const {
        WriteBytes(program_.file("clip.mkv"), "x");
        CollectionSpec spec;
        spec.errorLog = errorLog;
        spec.entries = {{program_.file("clip.mkv"), "CURRDIR", {}, {}}, {"gone.mkv", "/nowhere/", {}, {}}};
        return CollectionText(spec);
    }

    VirtualDisplay display_;
    InstalledProgram program_{display_.name()};
};

TEST_F(StartupE2E, ShowReadsItsCollectionWritesTheLogBackAndLogsGoneFiles) {
    const QString named = program_.file("My Shows.ini");
    int runs = 0;
    for (const auto& [arguments, collection] : {std::pair{QStringList{"/S"}, Ini()}, {QStringList{}, Ini()},
                                                {QStringList{"/c:1234"}, Ini()}, {QStringList{named}, named}}) {
        WriteBytes(Ini(), "[ZOR]\n");
        WriteBytes(collection, Collection());
        const auto logged = [&, expected = ++runs] { return Text(Log()).count("<<ERR037>>") == expected; };
        EXPECT_EQ(program_.Run(arguments, logged), -1) << runs;  // the show goes on until input ends it
        EXPECT_TRUE(logged()) << runs;
        EXPECT_TRUE(ReadBytes(collection).contains("\nErrorLog=" + Log().toUtf8() + "\n")) << runs;
    }
    EXPECT_EQ(ReadBytes(Ini()), "[ZOR]\n");  // the named collection was read instead
    EXPECT_EQ(Text(Log()).count("\r\n"), runs);  // nothing else was logged
    EXPECT_TRUE(Text(Log()).startsWith(
        "<<ERR037>> - The File /nowhere/gone.mkv has been moved and ZOR now no longer knows where this file is."));
}

TEST_F(StartupE2E, PreviewWithoutAWindowLogsTheFailureAndEnds) {
    WriteBytes(Ini(), Collection(Log()));
    EXPECT_EQ(program_.Run({"/P"}), 0);
    EXPECT_TRUE(Text(Log()).contains("<<ERR002>> - Hwnd API Failure 13 Type mismatch Error Logged at >> "));
}

// Whatever the file holds, or when it needs a write-back it cannot have, the
// program ends cleanly and leaves the file as it was.
TEST_F(StartupE2E, UnusableCollectionEndsTheProgramAndStaysUntouched) {
    QByteArray garbage(1 << 20, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    const std::pair<QByteArray, bool> cases[] = {
        {garbage, false}, {Collection(Log()).left(700), false}, {QByteArray(50 << 20, '='), false},
        {Collection(), true},  // read-only, and ErrorLog is empty: it would be written back
    };
    for (const auto& [text, readOnly] : cases) {
        QFile::remove(Log());
        WriteBytes(Ini(), text);
        if (readOnly) QFile::setPermissions(Ini(), QFile::ReadOwner | QFile::ReadGroup);
        EXPECT_EQ(program_.Run({"/S"}), 0) << text.left(60).toStdString();
        EXPECT_EQ(ReadBytes(Ini()), text);
        EXPECT_FALSE(readOnly && QFile::exists(Log()));
    }
}

TEST_F(StartupE2E, ErrorLogInAMissingFolderFallsBack) {
    WriteBytes(Ini(), Collection(program_.file("no/such/folder/ZORError.Log")));
    const auto fallback = [&] { return Text(program_.file("ZORScrERROR.LOG")); };
    EXPECT_EQ(program_.Run({"/S"}, [&] { return fallback().contains(" **** W A R N I N G ****"); }), -1);
    EXPECT_TRUE(fallback().startsWith("<<ERR037>> - The File /nowhere/gone.mkv"));
    EXPECT_TRUE(fallback().contains(" **** W A R N I N G ****"));
}

// While a show runs, a second "/S" or "/P" ends before it reads anything;
// "/C" runs alongside.
TEST_F(StartupE2E, SecondShowOrPreviewEndsAtOnce) {
    const QByteArray text = Collection();
    WriteBytes(Ini(), text);
    const auto first = program_.Start({"/S"});
    for (int waited = 0; waited < 20000 && !QFile::exists(Log()); waited += 50) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(Log())) << "the first show did not start";
    const auto read = [&] { return ReadBytes(Ini()) != text; };
    for (const auto& [arguments, exitCode] :
         {std::pair{QStringList{"/S"}, 0}, {QStringList{"/P", "77"}, 0}, {QStringList{"/C"}, -1}}) {
        WriteBytes(Ini(), text);
        EXPECT_EQ(program_.Run(arguments, read), exitCode) << qPrintable(arguments.join(' '));
        EXPECT_EQ(read(), exitCode != 0);
    }
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(StartupE2E, PreviewEndsAtOnceWhileAZorascopeWindowExists) {
    XTools x(display_.name());
    ASSERT_NE(x.OpenWindow("zoraSCOPE").id, 0u);
    const QByteArray text = Collection();
    WriteBytes(Ini(), text);
    EXPECT_EQ(program_.Run({"/P", "1234"}), 0);
    EXPECT_EQ(ReadBytes(Ini()), text);
    EXPECT_EQ(program_.Run({"/S"}, [&] { return ReadBytes(Ini()) != text; }), -1);  // a show goes on beside it
}

}  // namespace
