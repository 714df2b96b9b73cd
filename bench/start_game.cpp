// The game's own start, up to its first presented frame: the window and
// context, the pictures, level 0 and the title picture, through the real
// main loop. The full-screen question is left out (it waits for a person).
//
//   start_game [--sound] [SECONDS]
//
// With --sound the game wants its sound, as the program does: the device is
// opened after the first frame. With SECONDS the main loop goes on for that
// long (real time) after the first frame, paced as the game is. Either way
// it then prints two figures in milliseconds and a flag: the time from the
// first frame until the game had its sound (-1 if it never did), the
// largest interval between two presented frames, and whether the sound
// was open at the end (1 or 0).
#include "app/main_loop.h"
#include "app/window.h"
#include "game/sounds.h"
#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/testing.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

int64_t lastPresentNs = 0, largestIntervalNs = 0;

void notePresent() {
    int64_t now = platform::backend::steadyNanoseconds();
    if (lastPresentNs) largestIntervalNs = std::max(largestIntervalNs, now - lastPresentNs);
    lastPresentNs = now;
}

}  // namespace

int main(int argc, char** argv) {
    bool sound = argc > 1 && std::strcmp(argv[1], "--sound") == 0;
    double seconds = argc > 1 + int(sound) ? std::atof(argv[1 + int(sound)]) : 0.0;
    if (sound) wantSound(stderr);
    fullScreen = false;
    if (!createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen)) return 1;
    platform::testing::observeSwaps(notePresent);
    platform::Message last;
    while (platform::testing::swapCount() == 0)
        if (mainLoopPass(last) != LoopPass::goOn) return 1;
    if (!sound && seconds <= 0) _exit(0);
    // Without SECONDS, on until the game has its sound (a minute at most).
    int64_t firstNs = lastPresentNs, soundAtNs = -1;
    int64_t untilNs = firstNs + int64_t((seconds > 0 ? seconds : 60) * 1e9);
    for (;;) {
        int64_t now = platform::backend::steadyNanoseconds();
        if (soundAtNs < 0 && platform::audioIsOpen()) soundAtNs = now;
        if (now >= untilNs || (seconds <= 0 && soundAtNs >= 0)) break;
        if (mainLoopPass(last) != LoopPass::goOn) return 1;
    }
    std::printf("%.2f %.2f %d\n", soundAtNs < 0 ? -1.0 : double(soundAtNs - firstNs) / 1e6,
                double(largestIntervalNs) / 1e6, platform::audioIsOpen() ? 1 : 0);
    std::fflush(stdout);
    _exit(0);
}
