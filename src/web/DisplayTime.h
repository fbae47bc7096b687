#pragma once
// The shortest time a web page entry stays, in seconds: the page window
// raises a DelayTimer below it to it (0, "until the user acts", excepted).

#include <QtGlobal>

namespace web {

constexpr qint16 kShortestDisplayTime = 10;

}  // namespace web
