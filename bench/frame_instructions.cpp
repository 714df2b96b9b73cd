// Frames to be counted under callgrind: the real game's frames and the bare
// replay of their OpenGL calls, each in a function of its own, so that the
// instructions of each can be collected apart.
//
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect=gameFrames ...
//
// (recordedGameFrames, the same frames recorded in memory, likewise.)
#include "app/command_line.h"
#include "app/demo.h"
#include "app/window.h"
#include "bench/bench_game.h"
#include "bench/gl_tape.h"
#include "platform/video.h"
#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((noinline)) void gameFrames(BenchGame& bench, int count) {
    for (int i = 0; i < count; ++i) bench.frame();
}

// The same frames recorded in memory, as every game a player plays is.
extern "C" __attribute__((noinline)) void recordedGameFrames(BenchGame& bench, int count) {
    for (int i = 0; i < count; ++i) bench.frame();
}

extern "C" __attribute__((noinline)) void bareFrames(int count) {
    for (int i = 0; i < count; ++i) {
        replayTape();
        platform::swapBuffers(deviceContext);
    }
}

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 50;
    BenchGame bench(sourceDirectory());
    bench.play->runFrames(50);
    startRecording();
    bench.frame();
    stopRecording();
    for (int i = 0; i < 5; ++i) {  // warms the replay up, outside the counted functions
        replayTape();
        platform::swapBuffers(deviceContext);
    }
    gameFrames(bench, frames);
    CommandLine memoryOnly;
    ::startRecording(memoryOnly, stderr);
    recordedGameFrames(bench, frames);
    finishRecording(nullptr);
    bareFrames(frames);
    std::printf("frames %d\n", frames);
    return 0;
}
