// Presenting on a desktop: SDL's swap, with the swap interval asked of the
// driver, and the layer's own pacing where the driver does not wait for the
// display (see frame_pacer.h).
#include "platform/backend.h"
#include "platform/present.h"
#include "platform/sdl_present_state.h"
#include <GL/gl.h>
#include <SDL.h>

namespace platform {

PresentState presentState;

namespace {

bool screenless = false;  // the video driver draws into memory, not onto a screen

// Adaptive sync first: it waits for the display but does not halve the
// rate of a frame that is a little late. Drivers without it may take 1.
void askForSwapInterval(bool verticalSync) {
    if (!verticalSync)
        SDL_GL_SetSwapInterval(0);
    else if (SDL_GL_SetSwapInterval(-1) != 0)
        SDL_GL_SetSwapInterval(1);
    presentState.grantedInterval = SDL_GL_GetSwapInterval();
}

int refreshRate(SDL_Window* window) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
}

}  // namespace

void present::setScreenless(bool drawsNowhere) { screenless = drawsNowhere; }

void present::restart(SDL_Window* window, bool verticalSync) {
    presentState.syncOn = verticalSync;
    askForSwapInterval(verticalSync);
    presentState.pacer.reset(refreshRate(window));
}

// Waits until the pacer's deadline, if it gives one.
void present::awaitTurn(bool verticalSync) {
    presentState.syncOn = verticalSync;
    if (!verticalSync) return;
    int64_t now = backend::steadyNanoseconds();
    int64_t at = presentState.pacer.presentAt(now);
    if (at > now) backend::sleepUntil(at);
}

void present::show(SDL_Window* window) {
    int64_t began = backend::steadyNanoseconds();
    SDL_GL_SwapWindow(window);
    // Without a screen the swap of the driver's memory surface completes
    // nothing, and the software renderer keeps every frame's buffers for as
    // long as no frame is finished: finishing it is what presenting means here.
    if (screenless) glFinish();
    presentState.pacer.presented(began, backend::steadyNanoseconds());
}

// Nothing on a desktop has to get control back during a wait.
void waitingForTicks() {}

}  // namespace platform
