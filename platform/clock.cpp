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

TickFilter filter = nullptr;

uint32_t reading() {
    if (!clockIsSet) return uint32_t(backend::systemTicks());  // keeps the low 32 bits: wraps
    uint32_t now = setTime;
    setTime += setStep;
    if (setStep == 0 && ++readsSinceMoved > readsBeforeWaiting) ++setTime;
    return now;
}
}  // namespace

uint32_t tickCount() { return filter ? filter(reading()) : reading(); }

void setTickFilter(TickFilter f) { filter = f; }
TickFilter tickFilter() { return filter; }

uint64_t wallMilliseconds() { return uint64_t(backend::steadyNanoseconds() / 1000000); }

namespace testing {

void setClock(uint32_t now, uint32_t step) {
    clockIsSet = true;
    setTime = now;
    setStep = step;
    readsSinceMoved = 0;
}

void advanceClock(uint32_t milliseconds) {
    setTime += milliseconds;
    readsSinceMoved = 0;
}

void useSystemClock() { clockIsSet = false; }

}  // namespace testing
}  // namespace platform
