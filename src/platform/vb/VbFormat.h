#pragma once
// The two date and time formats the program writes into its logs.

#include <QDate>
#include <QString>
#include <QTime>

namespace vb {

QString FormatDdMmYyyy(const QDate& date);     // "dd-mm-yyyy": 05-12-2026
QString FormatHMmSsAmPm(const QTime& time);    // "h:mm:ss AM/PM": 9:56:42 AM, 12:00:00 AM at midnight

}  // namespace vb
