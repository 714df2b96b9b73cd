#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/testing.h"

namespace platform {

namespace {
// A set clock stands at `setTime` and moves by `setStep` at every reading.
bool clockIsSet = false;
uint32_t setTime = 0;
uint32_t setStep = 0;
}  // namespace

uint32_t tickCount() {
    if (!clockIsSet) return uint32_t(backend::systemTicks());  // keeps the low 32 bits: wraps
    uint32_t now = setTime;
    setTime += setStep;
    return now;
}

namespace testing {

void setClock(uint32_t now, uint32_t step) {
    clockIsSet = true;
    setTime = now;
    setStep = step;
}

void advanceClock(uint32_t milliseconds) { setTime += milliseconds; }

void useSystemClock() { clockIsSet = false; }

}  // namespace testing
}  // namespace platform
