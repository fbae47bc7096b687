#include "platform/media/PlayerTiming.h"

#include <QElapsedTimer>
#include <QtGlobal>
#include <cstdio>

namespace platform::media {
namespace {

bool Enabled() {
    static const bool enabled = qEnvironmentVariable("ZORSCR_PLAYER_TIMING") == QLatin1String("1");
    return enabled;
}

QElapsedTimer& Clock() {
    static QElapsedTimer clock;
    return clock;
}

QElapsedTimer& SinceLastStep() {
    static QElapsedTimer clock;
    return clock;
}

}  // namespace

void TimeNewClip(const QString& url) {
    if (!Enabled()) return;
    Clock().start();
    TimeStep("open", url);
}

void TimeStep(const char* step, const QString& detail) {
    if (!Enabled()) return;
    const auto ms = [](const QElapsedTimer& clock) {
        return clock.isValid() ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : 0.0;
    };
    std::fprintf(stderr, "player timing: +%.1f (%.1f) %s %s\n", ms(Clock()), ms(SinceLastStep()), step,
                 detail.toLocal8Bit().constData());
    SinceLastStep().start();
}

}  // namespace platform::media
