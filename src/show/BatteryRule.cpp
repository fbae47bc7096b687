#include "show/BatteryRule.h"

#include "config/LogError.h"
#include "platform/system/PowerSource.h"

#include <utility>

namespace show {

using Rule = state::ShowOptions::OnBattery;

Rule EntryOnBattery() {
    const Rule chosen = state::TheShowOptions().onBattery;
    if (chosen == Rule::Play) return Rule::Play;  // nothing asked: the bus is never touched
    const platform::PowerSource power = platform::ReadPowerSource();
    static bool told = false;
    if (!power.known && !std::exchange(told, true))
        config::LogError(QStringLiteral("Power source unknown (%1): entries play as on mains power").arg(power.reason),
                         false);
    return power.known && power.onBattery ? chosen : Rule::Play;
}

}  // namespace show
