#pragma once
// The error log: a time-stamped record per failure, appended to a text file,
// with a fallback file beside the program when the log cannot be written.
// config/LogError.h binds it to the ErrorLog setting.

#include <QDateTime>
#include <QString>

namespace errors {

// Appends message, stamped with date and time, to the log file at logPath,
// then ends the program when endProgram is set. When the log cannot be
// written, a warning goes to the fallback file beside the program instead
// and the caller goes on, whatever endProgram says.
void AppendToErrorLog(const QString& logPath, const QString& message, bool endProgram);

// One line "ZORScr: message" on standard error: for a person who started
// the program by hand and would otherwise see it end without a word.
void SayOnStandardError(const QString& message);

// The log record and the fallback record for a message, as they are written.
QString LogRecord(const QString& message, const QDateTime& when);
QString FallbackRecord(const QString& message);

// "13 Type mismatch": how a logged line names the error that led to it.
QString NumberAndDescription(qint32 number, const QString& description);

}  // namespace errors
