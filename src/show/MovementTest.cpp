#include "show/MovementTest.h"

#include <cmath>

#include "platform/vb/VbConvert.h"
#include "platform/vb/VbError.h"

namespace show {

namespace {
constexpr qint32 kCountLimit = 100;
constexpr qint32 kCountAfterLimit = 3;
}  // namespace

bool MovementTest::CountMove() {
    if (++count_ > kCountLimit) count_ = kCountAfterLimit;
    return count_ != 1;
}

bool MovementTest::Moved(float X, float Y) {
    const double distance = std::fabs(static_cast<double>(X) - Y);
    if (count_ == 2) vb::ResumeNext([&] { reference_ = vb::CLng(distance); });
    const double r = reference_;
    return distance > std::fabs(r + r / 10) || distance < std::fabs(r - r / 10);
}

}  // namespace show
