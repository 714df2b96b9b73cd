// What the SDL window code (sdl_video.cpp) holds, for the layer's own files
// to look at: the tests' backend reports it (test_video.cpp).
#pragma once
#include "platform/messages.h"
#include "platform/video.h"
#include <cstdint>

struct SDL_Window;

namespace platform {

struct Surface {
    Window* window = nullptr;
    int pixelFormat = 0;  // 0 until set; it can be set once
};

struct Window {
    SDL_Window* sdl = nullptr;
    bool fullScreen = false;
    bool surfaceTaken = false;
    Surface surface;
};

struct VideoState {
    WindowProcedure procedure = nullptr;  // set while the class is registered
    Window* current = nullptr;            // the most recently opened window
    int windowCount = 0, surfaceCount = 0, contextCount = 0;
    bool cursorHidden = false;
    uint64_t windowsOpened = 0;           // since the program started
};
extern VideoState videoState;

}  // namespace platform
