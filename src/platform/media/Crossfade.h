#pragma once
// The clock of one crossfade: the incoming clip's share of picture and
// sound rises evenly from 0 to 1 over the fade's milliseconds. Step is
// called with 0 inside Start, then with the share about every 20 ms, and
// Finished once at the end, both on the GUI thread from the event loop.
// Stop ends a fade at once, without Finished.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace platform::media {

class Crossfade {
public:
    Crossfade(std::function<void(double share)> step, std::function<void()> finished);
    void Start(int milliseconds);
    void Stop() { tick_.stop(); }
    bool Running() const { return tick_.isActive(); }
    // 0 at the start, 1 at the end (and when not running).
    double Share() const;

private:
    void Tick();

    QTimer tick_;
    QElapsedTimer clock_;
    int milliseconds_ = 0;
    std::function<void(double)> step_;
    std::function<void()> finished_;
};

}  // namespace platform::media
