// The other way to give the browser control back, measured beside the page's
// own build (make web-bench): no Asyncify; one function per animation frame
// runs passes of the main loop until one has presented a frame. Here the
// game-over pause would still hold the page for its 4 s, as it reads the
// clock in a loop of its own; only the size and the speed of the two ways
// are compared. Takes the options the comparison uses: --no-vsync (unpaced)
// and --quit-after N (ends after N frames, as ESC would).
#include "app/main_loop.h"
#include "app/window.h"
#include "game/sounds.h"
#include "platform/data_search.h"
#include "platform/testing.h"
#include "platform/video.h"
#include <cstdlib>
#include <cstring>
#include <emscripten.h>

namespace {

platform::Message last;
uint64_t quitAfter = 0;

void onePass() {
    uint64_t before = platform::testing::swapCount();
    if (quitAfter && before >= quitAfter) platform::postMessage({platform::MessageKind::keyDown, platform::key::escape, 0});
    while (platform::testing::swapCount() == before) {
        if (mainLoopPass(last) != LoopPass::goOn) {
            emscripten_cancel_main_loop();
            destroyWindow();
            emscripten_force_exit(int(last.wParam));
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    platform::findGameData("", stderr);
    wantSound(stderr);
    setSoundOn(true);
    fullScreen = false;
    bool fast = false;
    for (int i = 1; i < argc; ++i) {
        fast = fast || std::strcmp(argv[i], "--no-vsync") == 0;
        if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) quitAfter = std::strtoull(argv[i + 1], nullptr, 10);
    }
    if (!createWindow(windowTitle, windowWidth, windowHeight, colourBits, false)) return 1;
    emscripten_set_main_loop(onePass, 0, 0);
    if (fast) emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    emscripten_exit_with_live_runtime();  // main returns, the program goes on
    return 0;
}
