// The tests' look at the window code (see testing.h): what it holds, how
// often it presented, and an observer called before every present.
#include "platform/backend.h"
#include "platform/sdl_video_state.h"
#include "platform/testing.h"
#include <SDL.h>

namespace platform::testing {

namespace {
uint64_t presents = 0;
std::function<void()> presentObserver;
}  // namespace

Holdings holdings() {
    const VideoState& v = videoState;
    bool full = v.current && v.current->fullScreen;
    return {v.procedure != nullptr, v.windowCount, v.surfaceCount, v.contextCount, full, v.cursorHidden};
}

uint64_t swapCount() { return presents; }

void observeSwaps(std::function<void()> observer) { presentObserver = std::move(observer); }

uint64_t windowsOpened() { return videoState.windowsOpened; }

bool windowSize(int& width, int& height) {
    if (!videoState.current) return false;
    SDL_GL_GetDrawableSize(videoState.current->sdl, &width, &height);
    return true;
}

}  // namespace platform::testing

// Every present that reaches this point goes on to the screen: it is counted
// here, after the observer, which so sees the count of the presents before.
void platform::backend::framePresenting() {
    using namespace platform::testing;
    if (presentObserver) presentObserver();
    ++presents;
}
