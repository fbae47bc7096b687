#pragma once
// Lets GoogleTest print Qt strings readably in failure messages.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(QChar(u'\0'), QStringLiteral("\\0")).replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) { PrintTo(QString::fromLatin1(bytes), os); }
