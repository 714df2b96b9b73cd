// The game's own start, up to its first presented frame: the window and
// context, the pictures, level 0 and the title picture, through the real
// main loop. The full-screen question is left out (it waits for a person).
#include "app/main_loop.h"
#include "app/window.h"
#include "platform/testing.h"
#include <unistd.h>

int main() {
    fullScreen = false;
    if (!createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen)) return 1;
    platform::Message last;
    while (platform::testing::swapCount() == 0)
        if (mainLoopPass(last) != LoopPass::goOn) return 1;
    _exit(0);
}
