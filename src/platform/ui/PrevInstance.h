#pragma once

namespace platform {

// True when another copy of this program runs for the same user. The first
// call registers this process as a running copy for the rest of its life, so
// copies started later see it.
bool PrevInstance();

}  // namespace platform
