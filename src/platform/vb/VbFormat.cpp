#include "platform/vb/VbFormat.h"

namespace vb {

namespace {

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

QString FormatDdMmYyyy(const QDate& date) {
    if (!date.isValid()) return {};
    return TwoDigits(date.day()) + u'-' + TwoDigits(date.month()) + u'-' +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString FormatHMmSsAmPm(const QTime& time) {
    if (!time.isValid()) return {};
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QString::number(hour12) + u':' + TwoDigits(time.minute()) + u':' + TwoDigits(time.second()) +
           (time.hour() < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

}  // namespace vb
