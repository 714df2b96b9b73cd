#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/testing.h"

namespace platform {

namespace {
// A set clock stands at `setTime` and moves by `setStep` at every reading.
bool clockIsSet = false;
uint32_t setTime = 0;
uint32_t setStep = 0;

// A set clock read this many times in a row without being moved is being
// waited on: from then on it moves by a millisecond at every reading, so that
// the wait ends (and ends the same way every run).
constexpr uint32_t readsBeforeWaiting = 100000;
uint32_t readsSinceMoved = 0;

uint32_t frameReading = 0;  // the reading the game's clocks see this frame
uint32_t loopReading = 0;   // the latest the loop took (a set clock moves frameReading by itself)
bool clockHeld = false;
bool resuming = false;      // let go: the next reading goes on from where the clock stood
uint32_t timeHeld = 0;      // ms held so far, taken off every reading
ClockHooks hooks;
}  // namespace

uint32_t tickCount() {
    if (!clockIsSet) return uint32_t(backend::systemTicks());  // keeps the low 32 bits: wraps
    uint32_t now = setTime;
    setTime += setStep;
    if (setStep == 0 && ++readsSinceMoved > readsBeforeWaiting) ++setTime;
    return now;
}

uint32_t frameTicks() { return frameReading; }

uint32_t takeFrameReading() {
    uint32_t reading = tickCount();
    if (hooks.frameReading) reading = hooks.frameReading(reading);
    if (clockHeld) return frameReading;
    if (resuming) timeHeld = reading - loopReading;  // the first frame after measures no time
    resuming = false;
    loopReading = frameReading = reading - timeHeld;
    return frameReading;
}

void resetFrameClock() {
    frameReading = loopReading = timeHeld = 0;
    clockHeld = resuming = false;
}

void holdFrameClock(bool held) {
    if (held == clockHeld) return;
    clockHeld = held;
    resuming = !held;
    frameReading = loopReading;
}

uint32_t busyWait(uint32_t ms) {
    uint32_t start = tickCount();
    uint32_t waited = 0;
    while ((waited = tickCount() - start) < ms) waitingForTicks();
    return waited;
}

void waitTicks(uint32_t ms) {
    if (hooks.wait)
        hooks.wait(ms);
    else
        busyWait(ms);
}

void setClockHooks(ClockHooks h) { hooks = std::move(h); }

uint64_t wallMilliseconds() { return uint64_t(backend::steadyNanoseconds() / 1000000); }

namespace testing {

// The game's frame reading moves with a set clock (unless held), so that an
// object a test drives directly sees the time the test set.
void setClock(uint32_t now, uint32_t step) {
    clockIsSet = true;
    setTime = now;
    setStep = step;
    readsSinceMoved = 0;
    if (!clockHeld) frameReading = now - timeHeld;
}

void advanceClock(uint32_t milliseconds) {
    setTime += milliseconds;
    readsSinceMoved = 0;
    if (!clockHeld) frameReading += milliseconds;
}

void useSystemClock() { clockIsSet = false; }

}  // namespace testing
}  // namespace platform
