// The millisecond tick count every clock of the game reads. It is 32 bits
// wide and wraps to 0 after about 49.7 days, so callers take differences of
// two readings as unsigned 32-bit numbers.
#pragma once
#include <cstdint>

namespace platform {

uint32_t tickCount();

// When set, every reading passes through the filter and the game gets what it
// returns: a recording notes each reading, a replay hands out its own. Null
// for none. Readings the platform takes while it turns the window system's
// events into messages bypass it: they are not the game's.
using TickFilter = uint32_t (*)(uint32_t reading);
void setTickFilter(TickFilter filter);
TickFilter tickFilter();

// A wait on the tick count calls this at every reading. Where the system
// must get control back to go on at all (a browser page) it gets it now and
// then, by real time; elsewhere it does nothing. It never reads the tick
// count, so a wait reads it as often on every target.
void waitingForTicks();

// Milliseconds of real time, for what must not touch the game's clock (a
// set clock does not move it, and reading it is never recorded): looking at
// files now and then, flushing a recording.
uint64_t wallMilliseconds();

}  // namespace platform
