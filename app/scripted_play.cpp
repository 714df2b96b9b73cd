#include "app/scripted_play.h"
#include "app/window.h"
#include "platform/testing.h"
#include "platform/video.h"
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <cstring>

namespace pt = platform::testing;

ScriptedPlay::ScriptedPlay(uint32_t startTick, uint32_t msPerFrame) : msPerFrame(msPerFrame) {
    pt::setClock(startTick);
    // Its clock is set: frames follow one another as fast as they can be
    // drawn, never waiting for a display.
    platform::setVerticalSync(false);
    if (!createWindow(windowTitle, windowWidth, windowHeight, colourBits, false)) ended = true;
}

ScriptedPlay::~ScriptedPlay() {
    if (mainWindow || renderContext) destroyWindow();
}

bool ScriptedPlay::opened() const { return mainWindow != nullptr; }

void ScriptedPlay::press(uint8_t key) { pt::injectKeyDown(key); }

void ScriptedPlay::release(uint8_t key) { pt::injectKeyUp(key); }

bool ScriptedPlay::runFrame() {
    if (ended) return false;
    for (const KeyEvent& e : script)
        if (e.frame == framesRun) e.down ? press(e.key) : release(e.key);
    // Passes that dispatch a message present nothing; the frame is the first
    // pass that presents.
    for (;;) {
        uint64_t swaps = pt::swapCount();
        if (mainLoopPass(last) != LoopPass::goOn) {
            ended = true;
            return false;
        }
        if (pt::swapCount() != swaps) break;
    }
    ++framesRun;
    pt::advanceClock(msPerFrame);
    return true;
}

bool ScriptedPlay::runFrames(int count) {
    for (int i = 0; i < count; ++i)
        if (!runFrame()) return false;
    return true;
}

std::vector<uint8_t> ScriptedPlay::frameRgba(int& width, int& height) const {
    width = height = 0;
    if (!pt::windowSize(width, height)) return {};
    std::vector<uint8_t> bottomUp(size_t(width) * height * 4);
    glReadBuffer(GL_FRONT);  // what was presented
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) std::memcpy(&topDown[row * y], &bottomUp[row * (height - 1 - y)], row);
    return topDown;
}

bool ScriptedPlay::savePng(const std::string& file) const {
    int w, h;
    std::vector<uint8_t> rgba = frameRgba(w, h);
    if (rgba.empty()) return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    if (!s) return false;
    bool ok = IMG_SavePNG(s, file.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}
