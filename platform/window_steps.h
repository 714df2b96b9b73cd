// The steps of building and releasing the window, each of which can fail on
// its own (see video.h); the window code asks the backend before each one.
#pragma once

namespace platform {

enum class WindowStep {
    registerClass, displayMode, window, surface, choosePixelFormat, setPixelFormat,
    renderContext, makeCurrent,
    releaseCurrent, deleteContext, releaseSurface, destroyWindow, unregisterClass,
    count
};

}  // namespace platform
