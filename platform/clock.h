// The millisecond tick count every clock of the game reads. It is 32 bits
// wide and wraps to 0 after about 49.7 days, so callers take differences of
// two readings as unsigned 32-bit numbers.
#pragma once
#include <cstdint>

namespace platform {

uint32_t tickCount();

// Milliseconds of real time, for what must not touch the game's clock (a
// set clock does not move it, and reading it is never recorded): looking at
// files now and then, flushing a recording.
uint64_t wallMilliseconds();

}  // namespace platform
