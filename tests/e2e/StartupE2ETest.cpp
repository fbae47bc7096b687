// The real executable on crafted collection files: exit status, the file's
// write-backs and the error log afterwards.

#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include "support/CollectionFile.h"
#include "support/XTools.h"

using namespace testsupport;

namespace {

class StartupE2E : public ::testing::Test {
protected:
    QString Ini() const { return program_.file("ZORScr.INI"); }
    QString Log() const { return program_.file("ZORError.Log"); }
    QString LongLog() const { return program_.file(QString(150, u'a')); }
    // One entry whose file is there and one whose file has gone, which the
    // show logs and drops before it starts.
    QByteArray Collection(const QString& errorLog = {}) const {
        WriteBytes(program_.file("clip.mkv"), "x");
        return CollectionText(
            {.errorLog = errorLog, .entries = {{program_.file("clip.mkv"), "CURRDIR", {}, {}}, {"gone.mkv", "/nowhere/", {}, {}}}});
    }

    VirtualDisplay screen_;
    InstalledProgram program_{screen_.name()};
};

// Unusable contents, a write-back the file cannot take or must not make, and
// a preview without a window: the program ends and leaves the file as it
// was; where it could not show the collection it says why in its log, with
// status 1.
TEST_F(StartupE2E, StartThatCannotGoOnKeepsTheFileAndSaysWhy) {
    struct Case {
        QByteArray text;
        QStringList arguments;
        bool readOnly;
        int exitCode;
        QString logged;
    };
    const Case cases[] = {
        {Collection(Log()).left(700), {"/S"}, false, 0, {}},
        {QByteArray(50 << 20, '='), {"/S"}, false, 1, "ZORScr.INI cannot be shown: it has no [ZOR] section"},
        // read-only, and ErrorLog is empty: it would be written back
        {Collection(), {"/S"}, true, 1, "ZORScr.INI cannot be shown: it is read-only"},
        {Collection(Log()), {"/P"}, false, 0, "<<ERR002>> - Hwnd API Failure 13 Type mismatch Error Logged at >> "},
        // A long ErrorLog is used whole, and kept.
        {Collection(LongLog()), {"/P"}, false, 0, "<<ERR002>> - Hwnd API Failure"},
    };
    for (const Case& c : cases) {
        for (const QString& file : {Log(), Ini()}) QFile::remove(file);  // the file may be read-only
        WriteBytes(Ini(), c.text);
        if (c.readOnly) QFile::setPermissions(Ini(), QFile::ReadOwner | QFile::ReadGroup);
        EXPECT_EQ(program_.Run(c.arguments), c.exitCode) << c.text.left(60).toStdString();
        EXPECT_EQ(ReadBytes(Ini()), c.text);
        // Before its ErrorLog setting is read the program logs to its default log.
        const QString logged = ReadText(Log()) + ReadText(program_.file("ZORScr.Log")) + ReadText(LongLog());
        EXPECT_TRUE(logged.contains(c.logged)) << logged.toStdString();
        for (const QString& file : {program_.file("ZORScr.Log"), LongLog()}) QFile::remove(file);
        EXPECT_FALSE(QFile::exists(program_.file("ZORScr.lock")));  // the last copy to end removes it
    }
    EXPECT_FALSE(QFile::exists(Log()));  // the last case logged only to its own log
}

// A second "/S" or "/P" while a show runs, and a "/P" while a window called
// Zorascope exists, end before they read the collection; "/C" and "/S" go on.
TEST_F(StartupE2E, StartsThatEndAtOnce) {
    const QByteArray text = Collection();
    const auto start = [&](const QStringList& arguments) {  // its exit code, and whether it read the file
        WriteBytes(Ini(), text);
        const int exitCode = program_.Run(arguments, [&] { return ReadBytes(Ini()) != text; });
        return std::pair(exitCode, ReadBytes(Ini()) != text);
    };
    const std::pair endsAtOnce(0, false), goesOn(-1, true);
    WriteBytes(Ini(), text);
    auto first = program_.Start({"/S"});
    for (int waited = 0; waited < 20000 && !QFile::exists(Log()); waited += 50) QThread::msleep(50);
    EXPECT_EQ(start({"/S"}), endsAtOnce);
    EXPECT_EQ(start({"/P", "77"}), endsAtOnce);
    EXPECT_EQ(start({"/C"}), goesOn);
    EXPECT_EQ(first->state(), QProcess::Running);
    first.reset();
    ASSERT_NE(screen_.OpenWindow("zoraSCOPE").id, 0u);
    EXPECT_EQ(start({"/P", "1234"}), endsAtOnce);
    EXPECT_EQ(start({"/S"}), goesOn);
}

}  // namespace
