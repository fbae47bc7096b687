#pragma once

#include <QDateTime>
#include <QString>

// Appends message, stamped with date and time, to the error log named by the
// ErrorLog setting, then ends the program when endProgram is set. When the
// log cannot be written, a warning goes to the fallback file beside the
// program instead and the caller goes on, whatever endProgram says.
void LogError(const QString& message, bool endProgram);

// The log record and the fallback record for a message, as they are written.
QString LogRecord(const QString& message, const QDateTime& when);
QString FallbackRecord(const QString& message);
