#pragma once
// A widget whose background Qt fills with black.

class QWidget;

namespace platform {

void FillBlack(QWidget& widget);

}  // namespace platform
