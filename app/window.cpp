#include "app/window.h"
#include "app/keyboard.h"
#include "game/game_state.h"
#include "gfx/solid_box.h"
#include "gfx/texture.h"
#include "platform/message_box.h"
#include <GL/gl.h>
#include <GL/glu.h>

bool fullScreen = true;
bool stretchFullScreen = false;
platform::Window* mainWindow = nullptr;
platform::Surface* deviceContext = nullptr;
platform::RenderContext* renderContext = nullptr;

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

void reportSetupError(const char* text, Icon icon = Icon::exclamation) {
    platform::messageBox(text, "ERROR", Buttons::ok, icon);
}

void reportShutdownError(const char* text) {
    platform::messageBox(text, "SHUTDOWN ERROR", Buttons::ok, Icon::information);
}

// Releases everything first, so a changed display is restored before the
// message appears.
bool failCreation(const char* text) {
    destroyWindow();
    reportSetupError(text);
    return false;
}

// Full screen was asked for: take it, or offer a window instead.
bool enterFullScreen(int width, int height, int bits) {
    if (platform::changeDisplayMode(width, height, bits)) {
        platform::showCursor(false);
        return true;
    }
    Answer answer = platform::messageBox(
        "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
        "Oruk GL", Buttons::yesNo, Icon::exclamation);
    if (answer == Answer::yes) {
        fullScreen = false;
        return true;
    }
    reportSetupError("Program Will Now Close.", Icon::stop);
    return false;
}

// Window, surface, pixel format and context, each step with its own message.
bool buildWindowAndContext(const char* title, int width, int height, int bits) {
    mainWindow = platform::openWindow(title, width, height, fullScreen);
    if (!mainWindow) return failCreation("Window Creation Error.");
    deviceContext = platform::getSurface(mainWindow);
    if (!deviceContext) return failCreation("Can't Create A GL Device Context.");
    platform::PixelFormatRequest pixelFormat;
    pixelFormat.colourBits = bits;
    pixelFormat.depthBits = 16;
    pixelFormat.doubleBuffer = true;
    int format = platform::choosePixelFormat(deviceContext, pixelFormat);
    if (format == 0) return failCreation("Can't Find A Suitable PixelFormat.");
    if (!platform::setPixelFormat(deviceContext, format, pixelFormat)) return failCreation("Can't Set The PixelFormat.");
    renderContext = platform::createRenderContext(deviceContext);
    if (!renderContext) return failCreation("Can't Create A GL Rendering Context.");
    if (!platform::makeCurrent(deviceContext, renderContext))
        return failCreation("Can't Activate The GL Rendering Context.");
    return true;
}

}  // namespace

bool createWindow(const char* title, int width, int height, int bits, bool fullScreenWanted) {
    fullScreen = fullScreenWanted;
    if (!platform::registerWindowClass(windowProcedure)) {
        reportSetupError("Failed To Register The Window Class.");
        return false;
    }
    if (fullScreen && !enterFullScreen(width, height, bits)) return false;
    if (!buildWindowAndContext(title, width, height, bits)) return false;
    // A new context shares nothing with the one before it: cached display
    // lists named there mean nothing here, and every picture still in use is
    // uploaded again from the copy its Texture keeps.
    forgetDisplayLists();
    reuploadTextures();
    platform::showWindow(mainWindow);
    resizeView(width, height);
    if (!initRenderer()) return failCreation("Initialization Failed.");
    return true;
}

void destroyWindow() {
    if (fullScreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
    }
    if (renderContext) {
        if (!platform::makeCurrent(nullptr, nullptr)) reportShutdownError("Release Of DC And RC Failed.");
        if (!platform::deleteRenderContext(renderContext)) reportShutdownError("Release Rendering Context Failed.");
        renderContext = nullptr;
    }
    if (deviceContext) {
        if (!platform::releaseSurface(mainWindow, deviceContext)) reportShutdownError("Release Device Context Failed.");
        deviceContext = nullptr;
    }
    if (mainWindow) {
        if (!platform::closeWindow(mainWindow)) reportShutdownError("Could Not Release hWnd.");
        mainWindow = nullptr;
    }
    if (!platform::unregisterWindowClass()) reportShutdownError("Could Not Unregister Class.");
}

ViewArea viewArea(int width, int height) {
    if (height == 0) height = 1;
    if (!fullScreen || stretchFullScreen) return {0, 0, width, height};
    // The largest 4:3 area that fits, in whole pixels, centred. Wider than
    // 4:3 leaves black columns at the sides, narrower (5:4) rows above and below.
    constexpr int across = 4, up = 3;
    if (int64_t(width) * up >= int64_t(height) * across) {
        int shown = int(int64_t(height) * across / up);
        return {(width - shown) / 2, 0, shown, height};
    }
    int shown = int(int64_t(width) * up / across);
    return {0, (height - shown) / 2, width, shown};
}

void resizeView(int width, int height) {
    ViewArea area = viewArea(width, height);
    glViewport(area.x, area.y, area.width, area.height);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, worldWidth, 0, worldHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool initRenderer() {
    glClearColor(0, 0, 0, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Fully see-through fragments (a colour-keyed picture's transparent
    // parts) are dropped, so they write no depth that would keep out what is
    // drawn behind them later: the floor bars and stairs.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    startGame();
    return true;
}
