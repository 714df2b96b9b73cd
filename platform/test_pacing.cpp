// The tests' look at how a desktop paces its presents (see testing.h).
#include "platform/sdl_present_state.h"
#include "platform/testing.h"

namespace platform::testing {

Pacing pacing() {
    const PresentState& p = presentState;
    return {p.grantedInterval, p.pacer.periodNs, p.syncOn && p.pacer.selfPacing};
}

}  // namespace platform::testing
