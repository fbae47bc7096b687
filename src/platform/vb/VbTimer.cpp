#include "platform/vb/VbTimer.h"

#include <QTime>

namespace vb {

float Timer() {
    // Local wall clock, so the value restarts at local midnight as VB's does.
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

}  // namespace vb
