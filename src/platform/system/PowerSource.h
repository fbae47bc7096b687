#pragma once
// Whether the machine runs on its battery, as UPower tells on the system bus
// (org.freedesktop.UPower, property OnBattery). One blocking call of at most
// kPowerSourceTimeoutMs, answered in 0.17 ms (20 µs of processor time) by a
// UPower on a private bus (bench/PowerSourceBench); no event loop needed.
// Any one thread.

#include <QString>

namespace platform {

constexpr int kPowerSourceTimeoutMs = 500;

struct PowerSource {
    bool known = false;      // UPower answered
    bool onBattery = false;  // only when known
    QString reason;          // why it is not known: no system bus, no UPower, ...
};

PowerSource ReadPowerSource();

}  // namespace platform
