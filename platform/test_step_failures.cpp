// Steps of building or releasing the window made to fail on demand, for the
// tests (see testing.h); the game's backend fails none (no_step_failures.cpp).
#include "platform/backend.h"
#include "platform/testing.h"
#include <bitset>

namespace platform::testing {

namespace {
std::bitset<size_t(Step::count)> failing;
}

void failStep(Step step) { failing.set(size_t(step)); }

void clearFailures() { failing.reset(); }

}  // namespace platform::testing

bool platform::backend::stepFails(WindowStep step) { return platform::testing::failing.test(size_t(step)); }
