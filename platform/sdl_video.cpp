// The window, surface and rendering context on SDL2.
#include "platform/backend.h"
#include "platform/present.h"
#include "platform/sdl_video_state.h"
#include "platform/video.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

struct RenderContext {
    SDL_GLContext gl = nullptr;
    RenderContext* next = nullptr;  // every context not yet deleted
};

VideoState videoState;

namespace {

using Step = WindowStep;

// The one format the layer's windows are made with. SDL fixes a window's
// visual when the window is created, so the format is asked for then.
constexpr int offeredFormat = 1;
constexpr int offeredRedBits = 5, offeredGreenBits = 6, offeredBlueBits = 5;
constexpr int offeredDepthBits = 16;

RenderContext* liveContexts = nullptr;
bool verticalSync = true;

bool fails(Step step) { return backend::stepFails(step); }

void askForOfferedFormat() {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, offeredRedBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, offeredGreenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, offeredBlueBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, offeredDepthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

void postDrawableSize(Window* window) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window->sdl, &w, &h);
    postMessage({MessageKind::size, 0, makeLong(uint16_t(w), uint16_t(h))});
}

// The window procedure decides whether the screen saver may start: the
// default procedure lets it, a procedure that swallows these commands keeps
// it off for as long as the window exists.
void askAboutScreenSaver() {
    backend::allowScreenSaver(false);
    dispatchMessage({MessageKind::sysCommand, command::screenSave, 0});
    dispatchMessage({MessageKind::sysCommand, command::monitorPower, 0});
}

// Drivers that draw into memory or nowhere at all: nobody sees their windows.
bool drawsNowhere(const char* driver) {
    for (const char* name : {"offscreen", "dummy", "evdev"})
        if (SDL_strcasecmp(driver, name) == 0) return true;
    return false;
}

// Whether SDL_VIDEODRIVER names the driver. It may be a comma-separated
// list, tried in order; names are compared as SDL compares them, ignoring
// case. SDL falls back to its offscreen driver when no display answers, so
// a driver that draws nowhere is taken only when it was asked for by name.
bool namedByUser(const char* driver) {
    const char* list = SDL_GetHint(SDL_HINT_VIDEODRIVER);  // the variable, as SDL read it
    for (const char* name = list; name && *name;) {
        const char* end = std::strchr(name, ',');
        size_t length = end ? size_t(end - name) : std::strlen(name);
        if (length == std::strlen(driver) && SDL_strncasecmp(name, driver, length) == 0) return true;
        name = end ? end + 1 : nullptr;
    }
    return false;
}

// One line on standard error: where the display was looked for, and why it
// is not there.
void reportNoDisplay(const char* why) {
    std::string where;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (!where.empty()) where += ", ";
        where += std::string(variable) + (value ? std::string("=") + value : std::string(" unset"));
    }
    std::fprintf(stderr, "vantrel: no display could be reached (%s): %s\n", where.c_str(), why);
}

}  // namespace

void setVerticalSync(bool on) {
    verticalSync = on;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GL_GetCurrentContext())
        present::restart(SDL_GL_GetCurrentWindow(), verticalSync);
}

bool verticalSyncOn() { return verticalSync; }

bool registerWindowClass(WindowProcedure windowProcedure) {
    if (fails(Step::registerClass) || videoState.procedure || !windowProcedure) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reportNoDisplay(SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    bool screenless = driver && drawsNowhere(driver);
    present::setScreenless(screenless);
    if (screenless && !namedByUser(driver)) {
        // A game that plays where nobody sees it, until it is killed, is
        // worse than one that says it cannot start.
        std::string why = std::string("only the '") + driver + "' video driver started, which shows nothing";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        reportNoDisplay(why.c_str());
        return false;
    }
    SDL_StopTextInput();  // keys only: no text input, no input-method windows
    videoState.procedure = windowProcedure;
    return true;
}

namespace {

void forget(RenderContext* context) {
    for (RenderContext** at = &liveContexts; *at; at = &(*at)->next)
        if (*at == context) {
            *at = context->next;
            return;
        }
}

// Contexts whose deletion failed go down with the video system: nobody holds
// them any more.
void deleteLeftoverContexts() {
    while (RenderContext* context = liveContexts) {
        liveContexts = context->next;
        SDL_GL_DeleteContext(context->gl);
        delete context;
        --videoState.contextCount;
    }
}

}  // namespace

bool unregisterWindowClass() {
    if (fails(Step::unregisterClass) || !videoState.procedure || videoState.windowCount > 0) return false;
    deleteLeftoverContexts();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoState.procedure = nullptr;
    return true;
}

bool changeDisplayMode(int width, int height, int bits) {
    if (fails(Step::displayMode) || width <= 0 || height <= 0 || bits <= 0) return false;
    SDL_DisplayMode desktop;
    return SDL_GetDesktopDisplayMode(0, &desktop) == 0;
}

void restoreDisplayMode() {
    if (!videoState.current || !videoState.current->fullScreen) return;
    SDL_SetWindowFullscreen(videoState.current->sdl, 0);
    videoState.current->fullScreen = false;
}

Window* openWindow(const char* title, int width, int height, bool fullScreen) {
    if (fails(Step::window) || !videoState.procedure) return nullptr;
    askForOfferedFormat();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
    SDL_Rect at{0, 0, width, height};
    // A full-screen window is made as large as the display: it is a window
    // manager that turns a window into a full-screen one, and where none runs
    // (a display started for the game alone) the window keeps the size it was
    // made with, while SDL reports the display's size for it.
    if (fullScreen && SDL_GetDisplayBounds(0, &at) != 0) at = {0, 0, width, height};
    SDL_Window* sdl = SDL_CreateWindow(title, at.x, at.y, at.w, at.h, flags);
    if (!sdl) return nullptr;
    Window* window = new Window;
    window->sdl = sdl;
    window->fullScreen = fullScreen;
    window->surface.window = window;
    videoState.current = window;
    ++videoState.windowCount;
    ++videoState.windowsOpened;
    return window;
}

bool closeWindow(Window* window) {
    if (fails(Step::destroyWindow) || !window) return false;
    SDL_DestroyWindow(window->sdl);
    if (window->surfaceTaken) --videoState.surfaceCount;
    if (videoState.current == window) videoState.current = nullptr;
    delete window;
    --videoState.windowCount;
    return true;
}

void showWindow(Window* window) {
    if (!window) return;
    SDL_ShowWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
    askAboutScreenSaver();
    postDrawableSize(window);
}

Surface* getSurface(Window* window) {
    if (fails(Step::surface) || !window) return nullptr;
    if (!window->surfaceTaken) ++videoState.surfaceCount;
    window->surfaceTaken = true;
    return &window->surface;
}

bool releaseSurface(Window* window, Surface* surface) {
    if (fails(Step::releaseSurface) || !window || surface != &window->surface || !window->surfaceTaken)
        return false;
    window->surfaceTaken = false;
    --videoState.surfaceCount;
    return true;
}

int choosePixelFormat(Surface* surface, const PixelFormatRequest& request) {
    if (fails(Step::choosePixelFormat) || !surface) return 0;
    bool fits = request.doubleBuffer && request.colourBits > 0 && request.colourBits <= 32 &&
                request.depthBits >= 0 && request.depthBits <= offeredDepthBits;
    return fits ? offeredFormat : 0;
}

bool setPixelFormat(Surface* surface, int format, const PixelFormatRequest&) {
    if (fails(Step::setPixelFormat) || !surface || format != offeredFormat || surface->pixelFormat != 0)
        return false;
    surface->pixelFormat = format;
    return true;
}

RenderContext* createRenderContext(Surface* surface) {
    if (fails(Step::renderContext) || !surface || surface->pixelFormat == 0) return nullptr;
    SDL_GLContext gl = SDL_GL_CreateContext(surface->window->sdl);
    if (!gl) return nullptr;
    int depth = 0;
    if (SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth) != 0 || depth < offeredDepthBits) {
        SDL_GL_DeleteContext(gl);
        return nullptr;
    }
    ++videoState.contextCount;
    liveContexts = new RenderContext{gl, liveContexts};
    return liveContexts;
}

bool makeCurrent(Surface* surface, RenderContext* context) {
    if (fails(context ? Step::makeCurrent : Step::releaseCurrent)) return false;
    if (context && !surface) return false;
    SDL_Window* sdl = context ? surface->window->sdl : nullptr;
    if (SDL_GL_MakeCurrent(sdl, context ? context->gl : nullptr) != 0) return false;
    if (context) present::restart(sdl, verticalSync);
    return true;
}

bool deleteRenderContext(RenderContext* context) {
    if (fails(Step::deleteContext) || !context) return false;
    SDL_GL_DeleteContext(context->gl);
    forget(context);
    delete context;
    --videoState.contextCount;
    return true;
}

bool swapBuffers(Surface* surface) {
    if (!surface) return false;
    present::awaitTurn(verticalSync);
    backend::framePresenting();
    present::show(surface->window->sdl);
    return true;
}

bool presentWindow() { return videoState.current && swapBuffers(&videoState.current->surface); }

void showCursor(bool show) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    videoState.cursorHidden = !show;
}

WindowProcedure backend::registeredProcedure() { return videoState.procedure; }

void backend::leaveFullScreenForBox() { restoreDisplayMode(); }

void backend::allowScreenSaver(bool allow) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (allow)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

}  // namespace platform
