// The game's own start, up to its first presented frame: the window and
// context, the pictures, level 0 and the title picture, through the real
// main loop. The full-screen question is left out (it waits for a person).
//
//   start_game [--sound]
//
// With --sound the game wants its sound, as the program does: the device is
// opened after the first frame, and that opening is timed and printed (ms).
#include "app/main_loop.h"
#include "app/window.h"
#include "game/sounds.h"
#include "platform/audio.h"
#include "platform/testing.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    bool sound = argc > 1 && std::strcmp(argv[1], "--sound") == 0;
    if (sound) wantSound(stderr);
    fullScreen = false;
    if (!createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen)) return 1;
    platform::Message last;
    while (platform::testing::swapCount() == 0)
        if (mainLoopPass(last) != LoopPass::goOn) return 1;
    if (sound) {
        auto began = std::chrono::steady_clock::now();
        startSound();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - began;
        std::printf("%.2f %d\n", took.count(), platform::audioIsOpen() ? 1 : 0);
        std::fflush(stdout);
    }
    _exit(0);
}
