// The game's clock as the main loop takes it from the tick count (see
// clock.h), kept where the layer's clocks can move it: a clock that is set
// rather than read from the system moves the frame's reading with it.
#pragma once
#include <cstdint>

namespace platform {

struct FrameClock {
    uint32_t reading = 0;      // the reading the game's clocks see this frame
    uint32_t loopReading = 0;  // the latest the loop took (a set clock moves `reading` by itself)
    bool held = false;
    bool resuming = false;     // let go: the next reading goes on from where the clock stood
    uint32_t timeHeld = 0;     // ms held so far, taken off every reading
};
extern FrameClock frameClock;

}  // namespace platform
