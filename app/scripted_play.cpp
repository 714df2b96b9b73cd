#include "app/scripted_play.h"
#include "app/screen_capture.h"
#include "app/window.h"
#include "platform/testing.h"
#include "platform/video.h"

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

std::vector<uint8_t> ScriptedPlay::frameRgba(int& width, int& height) const { return presentedFrame(width, height); }

bool ScriptedPlay::savePng(const std::string& file) const { return saveFramePng(file); }
