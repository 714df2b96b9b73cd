// The millisecond tick count every clock of the game reads. It is 32 bits
// wide and wraps to 0 after about 49.7 days, so callers take differences of
// two readings as unsigned 32-bit numbers.
#pragma once
#include <cstdint>

namespace platform {

uint32_t tickCount();

}  // namespace platform
