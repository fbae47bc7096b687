#include "errors/ErrorLog.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/ProgramInfo.h"
#include "platform/system/WriteTarget.h"
#include "platform/ui/Cursor.h"
#include "platform/vb/EndProgram.h"
#include "platform/vb/VbFormat.h"

namespace errors {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// One record is one write to a file opened for appending (created when
// missing). Only a regular file counts: a FIFO or a device named as the log
// would block the program or take the record elsewhere, so it is opened
// without waiting and refused like a file that cannot be written. So is a
// log reached through a link another user planted, which is said on
// standard error, as no log will tell.
bool AppendRecord(const QString& path, const QString& record) {
    QString refused;
    const std::optional<QByteArray> target = platform::WriteTarget(QFile::encodeName(path), &refused);
    if (!target) {
        SayOnStandardError(QStringLiteral("the error log %1 %2").arg(path, refused));
        return false;
    }
    const int fd =
        ::open(target->constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
    if (fd < 0) return false;
    struct stat facts {};
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(fd);
        return false;
    }
    const QByteArray bytes = record.toUtf8();
    ssize_t written = -1;
    do {
        written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    } while (written < 0 && errno == EINTR);
    const bool closed = ::close(fd) == 0;
    return written == bytes.size() && closed;
}

}  // namespace

QString LogRecord(const QString& message, const QDateTime& when) {
    const QString date = vb::FormatDdMmYyyy(when.date());
    return message + QStringLiteral(" Error Logged at >> ") + QStringLiteral(" - ") + date + QStringLiteral("  -  ") +
           QChar(u'\r') + QStringLiteral(" ") + date + QStringLiteral("  -  ") + QStringLiteral(" ") +
           vb::FormatHMmSsAmPm(when.time()) + kCrLf;
}

QString FallbackRecord(const QString& message) {
    return message + kCrLf + kCrLf + QStringLiteral(" **** W A R N I N G ****") + kCrLf + kCrLf +
           QStringLiteral("Error Handler did not process an error correctly. Possibly check ") +
           QStringLiteral(" the Errorlog path is not set to an incorrect drive mapping in the INI file Or ") +
           QStringLiteral(" You do not have Write permissions for this workstation. Contact your system administrator.") +
           kCrLf;
}

void AppendToErrorLog(const QString& logPath, const QString& text, bool endProgram) {
    // Properties read from a key with an empty value hold the read buffer's
    // NULs; they carry no text, and a log is read as text.
    const QString message = QString(text).remove(QChar(u'\0'));
    if (AppendRecord(logPath, LogRecord(message, QDateTime::currentDateTime()))) {
        if (!endProgram) return;
        platform::ShowCursor(true);
        vb::EndProgram();
    }

    // Neither log nor fallback on screen: when the fallback file cannot be
    // written either, standard error is the last place the message can go.
    const QString fallback = FallbackRecord(message);
    if (!AppendRecord(platform::JoinPath(platform::SettingsDirectory(), QStringLiteral("ZORScrERROR.LOG")), fallback))
        std::fputs(fallback.toLocal8Bit().constData(), stderr);
}

void SayOnStandardError(const QString& message) {
    std::fprintf(stderr, "%s: %s\n", platform::ExecutableName().toLocal8Bit().constData(),
                 message.toLocal8Bit().constData());
}

QString NumberAndDescription(qint32 number, const QString& description) {
    return QString::number(number) + u' ' + description;
}

}  // namespace errors
