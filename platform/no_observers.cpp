// In the game nothing watches the frames presented or the effects asked for
// (the tests' backends do: test_video.cpp, tests/support/sounds_asked.cpp).
#include "platform/audio.h"
#include "platform/backend.h"

namespace platform {

void backend::framePresenting() {}

void effectAsked(int) {}

}  // namespace platform
