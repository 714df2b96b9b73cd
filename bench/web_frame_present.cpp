// Presenting for the per-frame loop (bench/web_frame_loop.cpp): the page
// shows the canvas when the frame function returns, so nothing waits here.
#include "platform/clock.h"
#include "platform/present.h"

namespace platform {

void present::setScreenless(bool) {}
void present::restart(SDL_Window*, bool) {}
void present::awaitTurn(bool) {}
void present::show(SDL_Window*) {}
void waitingForTicks() {}

}  // namespace platform
