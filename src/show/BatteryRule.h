#pragma once
// What --on-battery makes of the next entry: the choice of the command line
// while UPower says the machine runs on its battery, else Play. Read anew
// for each entry, so a change of power source takes effect at the next one.
// A power source that cannot be read (no system bus, no UPower) counts as
// mains power; the error log says so once per show. GUI thread.

#include "state/ShowOptions.h"

namespace show {

state::ShowOptions::OnBattery EntryOnBattery();

}  // namespace show
