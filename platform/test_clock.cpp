// The tick count's source in the tests, benchmarks and tools that drive the
// game: a clock they set (see testing.h), or the system's until one is. The
// game's own tickCount reads it, and wraps it, as it reads the system's.
#include "platform/backend.h"
#include "platform/frame_clock.h"
#include "platform/testing.h"
#include <SDL.h>

namespace platform::testing {

namespace {
// A set clock stands at `setTime` and moves by `setStep` at every reading.
bool clockIsSet = false;
uint64_t setTime = 0;
uint32_t setStep = 0;

// A set clock read this many times in a row without being moved is being
// waited on: from then on it moves by a millisecond at every reading, so that
// the wait ends (and ends the same way every run).
constexpr uint32_t readsBeforeWaiting = 100000;
uint32_t readsSinceMoved = 0;
}  // namespace

// The game's frame reading moves with a set clock (unless held), so that an
// object a test drives directly sees the time the test set.
void setClock(uint32_t now, uint32_t step) {
    clockIsSet = true;
    setTime = now;
    setStep = step;
    readsSinceMoved = 0;
    if (!frameClock.held) frameClock.reading = now - frameClock.timeHeld;
}

void advanceClock(uint32_t milliseconds) {
    setTime += milliseconds;
    readsSinceMoved = 0;
    if (!frameClock.held) frameClock.reading += milliseconds;
}

void useSystemClock() { clockIsSet = false; }

}  // namespace platform::testing

uint64_t platform::backend::systemTicks() {
    using namespace platform::testing;
    if (!clockIsSet) return SDL_GetTicks64();
    uint64_t now = setTime;
    setTime += setStep;
    if (setStep == 0 && ++readsSinceMoved > readsBeforeWaiting) ++setTime;
    return now;
}
