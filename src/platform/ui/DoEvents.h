#pragma once
// Letting window messages through from inside a routine that waits.

namespace platform {

// VB's DoEvents: handles the events that are pending, then returns.
void DoEvents();

// Sleeps until at least one event has arrived and has been handled; never
// spins. With a limit, returns after at most limitMs milliseconds even when
// nothing arrived.
void WaitForEvents();
void WaitForEvents(int limitMs);

}  // namespace platform
