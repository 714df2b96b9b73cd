#include "platform/backend.h"
#include <chrono>
#include <thread>

namespace platform {

// Not SDL's counter and delay: SDL_Delay sleeps whole milliseconds, too
// coarse to keep frame intervals within a millisecond of the period.
int64_t backend::steadyNanoseconds() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}

void backend::sleepUntil(int64_t steadyNs) {
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::nanoseconds(steadyNs)));
}

}  // namespace platform
