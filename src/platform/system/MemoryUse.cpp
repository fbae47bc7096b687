#include "platform/system/MemoryUse.h"

#include <malloc.h>

namespace platform {
namespace {

// The GUI thread and the players' threads share them; more only spreads the
// freed memory over more arenas that keep it.
constexpr int kMallocArenas = 2;

}  // namespace

bool LimitMallocArenas() { return ::mallopt(M_ARENA_MAX, kMallocArenas) == 1; }

void ReturnFreedMemory() { ::malloc_trim(0); }

}  // namespace platform
