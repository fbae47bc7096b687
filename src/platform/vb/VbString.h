#pragma once
// String functions whose VB behaviour differs from Qt's: Trim removes only
// U+0020 (tabs and NULs stay); UCase maps each UTF-16 unit on its own, so
// the length never changes ("ß" stays "ß").

#include <QString>
#include <QStringView>

namespace vb {

QString Trim(QStringView s);
QString LTrim(QStringView s);
QString RTrim(QStringView s);
QString UCase(QStringView s);

}  // namespace vb
