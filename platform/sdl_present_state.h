// How a desktop presents its frames (sdl_present.cpp), for the layer's own
// files to look at: the tests' backend reports it (test_pacing.cpp).
#pragma once
#include "platform/frame_pacer.h"

namespace platform {

struct PresentState {
    bool syncOn = true;        // vertical sync is on
    int grantedInterval = 0;   // what SDL_GL_GetSwapInterval reports for the current context
    FramePacer pacer;
};
extern PresentState presentState;

}  // namespace platform
