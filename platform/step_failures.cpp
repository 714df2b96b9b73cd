#include "platform/backend.h"
#include "platform/testing.h"
#include <bitset>

namespace platform {

namespace {
std::bitset<size_t(testing::Step::count)> failing;
}

bool backend::stepFails(int step) { return failing.test(size_t(step)); }

void testing::failStep(Step step) { failing.set(size_t(step)); }

void testing::clearFailures() { failing.reset(); }

}  // namespace platform
