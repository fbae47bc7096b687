#pragma once
// Small helpers shared by the unit and end-to-end tests, and the fixture for
// code that works on the program's run state.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <vector>
#include <ostream>

// GoogleTest prints Qt strings readably, with NUL and line ends visible.
inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(QChar(u'\0'), QStringLiteral("\\0")).replace(u'\r', QStringLiteral("\\r"));
    *os << '"' << shown.replace(u'\n', QStringLiteral("\\n")).toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) { PrintTo(QString::fromLatin1(bytes), os); }

namespace testsupport {

QByteArray ReadBytes(const QString& path);
QString ReadText(const QString& path);  // UTF-8; empty when there is no file
void WriteBytes(const QString& path, const QByteArray& bytes);

// The run state, the collection and the settings as a program that has just
// started has them.
void ResetProgramState();

// A key pressed on an object, as the window system delivers it.
inline void SendKey(QObject& to, int key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&to, &event);
}

// What a program run to its end gave: its exit code (-1 when it crashed or
// was still running after the wait, then killed), its output and its errors.
struct Ran {
    int code = -1;
    QString out, err;
};
// Runs program in folder (empty: this one) with the environment changed as
// given (a null value removes the variable).
Ran RunProgram(const QString& program, const QStringList& arguments, const std::map<QString, QString>& environment = {},
               const QString& folder = {}, int timeoutMs = 60000);
// The same, for a tool that must succeed: its output; throws with its errors otherwise.
QString Tool(const QString& program, const QStringList& arguments, const QString& folder = {});
// The environment changes that take away every display (and the player's
// headless mode) and give the run-time folder, for a start that must find none.
std::map<QString, QString> NoDisplay(const QString& runtime);

// Media made with ffmpeg from its generated pictures; throws when ffmpeg fails.
// A picture of one colour, as an ffmpeg source; filters can follow it.
QString ColourSource(const QColor& colour, int width = 320, int height = 240);
// A clip of a picture source ("testsrc2=size=1920x1080:rate=30", a colour)
// with a tone, or without a sound track; and a sound without a picture.
void MakeClip(const QString& path, const QString& picture, double seconds, bool tone = true);
void MakeTone(const QString& path, double seconds);
void MakeStill(const QString& path, const QString& picture);

// A fresh folder that is removed with the object.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Environment variables set (or, with a null value, removed) for the
// object's lifetime; the earlier values come back with it.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const char* name, const QByteArray& value) { Set(name, value); }
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* name, const QByteArray& value);

private:
    std::vector<std::pair<QByteArray, QByteArray>> saved_;  // name, earlier value (null: unset)
};

// A fresh program folder, a fresh run state, EndProgram throwing
// vb::ProgramEnded instead of leaving the process, and message boxes
// recorded instead of shown.
class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest();
    ~ProgramFolderTest() override;

    QString ProgramFile(const QString& name) const { return folder_.file(name); }
    // True when text equals the log record of message at any second between
    // the test's start and now.
    bool IsLogRecordOf(const QString& text, const QString& message) const;
    // Whether the call ended the program.
    static bool EndsProgram(const std::function<void()>& call);

    TempFolder folder_;
    QDateTime started_;
    QStringList boxes_;  // "title: text" of each message box

private:
    std::function<void(int)> previousEnd_;
    std::function<void(const QString&, const QString&)> previousBox_;
};

}  // namespace testsupport
