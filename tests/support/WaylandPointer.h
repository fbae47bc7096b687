#pragma once
// A pointer for a wlroots compositor that has none (a headless sway): made
// with the compositor's virtual-pointer protocol, used for one click and
// dropped. The protocol's few requests are declared by hand; Debian ships no
// description of it to generate them from.

#include <QPoint>
#include <QSize>
#include <QString>

namespace testsupport {

// Clicks button (a Linux input code, e.g. 0x111 for the right one) at point
// of a layout of the given size, on the compositor at socketPath. Throws
// std::runtime_error when the compositor cannot be reached or has no such protocol.
void ClickOnWayland(const QString& socketPath, QPoint point, QSize layout, unsigned button);

}  // namespace testsupport
