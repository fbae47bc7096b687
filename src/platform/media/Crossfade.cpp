#include "platform/media/Crossfade.h"

#include <QtGlobal>
#include <utility>

namespace platform::media {
namespace {

// Often enough that neither the picture nor the sound moves in steps one
// would notice (a 60 Hz screen redraws every 17 ms).
constexpr int kStepMs = 20;

}  // namespace

Crossfade::Crossfade(std::function<void(double)> step, std::function<void()> finished)
    : step_(std::move(step)), finished_(std::move(finished)) {
    tick_.setInterval(kStepMs);
    tick_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick_, &QTimer::timeout, &tick_, [this] { Tick(); });
}

void Crossfade::Start(int milliseconds) {
    milliseconds_ = milliseconds;
    clock_.start();
    tick_.start();
    step_(0);
}

double Crossfade::Share() const {
    if (!Running() || milliseconds_ <= 0) return 1;
    return qBound(0.0, static_cast<double>(clock_.elapsed()) / milliseconds_, 1.0);
}

void Crossfade::Tick() {
    const double share = Share();
    step_(share);
    if (share < 1) return;
    tick_.stop();
    finished_();
}

}  // namespace platform::media
