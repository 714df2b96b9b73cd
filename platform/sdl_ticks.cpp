// The tick count's source in the game (the tests set theirs: test_clock.cpp).
#include "platform/backend.h"
#include <SDL.h>

namespace platform {

// SDL counts from its own start; that is as good as counting from boot, since
// every user takes differences.
uint64_t backend::systemTicks() { return SDL_GetTicks64(); }

}  // namespace platform
