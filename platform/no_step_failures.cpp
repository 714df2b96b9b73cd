// The game's window steps fail only when the system refuses them: the
// backend adds no failure of its own (the tests' does: test_step_failures.cpp).
#include "platform/backend.h"

namespace platform {

bool backend::stepFails(WindowStep) { return false; }

}  // namespace platform
