#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/frame_clock.h"

namespace platform {

FrameClock frameClock;

namespace {
ClockHooks hooks;
}  // namespace

// Keeps the low 32 bits of the system's count: it wraps.
uint32_t tickCount() { return uint32_t(backend::systemTicks()); }

uint32_t frameTicks() { return frameClock.reading; }

uint32_t takeFrameReading() {
    uint32_t reading = tickCount();
    if (hooks.frameReading) reading = hooks.frameReading(reading);
    if (frameClock.held) return frameClock.reading;
    // The first frame after a hold measures no time.
    if (frameClock.resuming) frameClock.timeHeld = reading - frameClock.loopReading;
    frameClock.resuming = false;
    frameClock.loopReading = frameClock.reading = reading - frameClock.timeHeld;
    return frameClock.reading;
}

void resetFrameClock() { frameClock = FrameClock{}; }

void holdFrameClock(bool held) {
    if (held == frameClock.held) return;
    frameClock.held = held;
    frameClock.resuming = !held;
    frameClock.reading = frameClock.loopReading;
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

}  // namespace platform
