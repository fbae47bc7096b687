#pragma once
// How much of the memory the program frees goes back to the system.
//
// glibc gives threads malloc arenas of their own, up to eight per processor.
// A show with web pages runs many threads (WebEngine's, and mpv's, which come
// and go with every player), and each arena keeps the peak it reached: with
// pages and clips taking turns, the program's resident memory rose by some
// 200 MB over a few dozen changes although it used no more.

namespace platform {

// Limits the arenas to a few. Call once, early in main, before any thread is
// started. False when the allocator refuses the limit.
[[nodiscard]] bool LimitMallocArenas();

// Gives the free pages of every arena back to the system: after windows with
// their player or browser have been destroyed. It walks every arena: for a
// change of windows, not for every picture.
void ReturnFreedMemory();

}  // namespace platform
