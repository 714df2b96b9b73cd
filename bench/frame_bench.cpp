// Frame time of the real game against a bare loop issuing the same OpenGL
// calls, and the time of a level change and of a switch of display mode.
#include "app/command_line.h"
#include "app/demo.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/window.h"
#include "bench/bench_game.h"
#include "bench/gl_tape.h"
#include "game/game_state.h"
#include "platform/video.h"
#include <benchmark/benchmark.h>
#include <memory>

namespace {

std::unique_ptr<BenchGame> bench;

void gameFrame(benchmark::State& state) {
    for (auto _ : state) bench->frame();
}

// The same frames while the game is recorded in memory, as every game a
// player plays is: what the always-on recording costs a frame.
void recordedGameFrame(benchmark::State& state) {
    CommandLine memoryOnly;
    startRecording(memoryOnly, stderr);
    for (auto _ : state) bench->frame();
    finishRecording(stderr);
}

void bareFrame(benchmark::State& state) {
    bench->frame();
    startRecording();
    bench->frame();  // the frame's calls, swap excluded
    state.counters["glCalls"] = double(stopRecording());
    for (auto _ : state) {
        replayTape();
        platform::swapBuffers(deviceContext);
    }
}

void levelChange(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) changeLevel(++n % 2);
}

void modeSwitch(benchmark::State& state) {
    for (auto _ : state) {
        destroyWindow();
        fullScreen = !fullScreen;
        createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen);
    }
}

}  // namespace

// Run with --benchmark_repetitions and --benchmark_enable_random_interleaving
// so that game and bare frames take turns and share the machine's noise.
BENCHMARK(gameFrame)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(recordedGameFrame)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(bareFrame)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(levelChange)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(modeSwitch)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchGame>(sourceDirectory());
    benchmark::RunSpecifiedBenchmarks();
    bench.reset();
    benchmark::Shutdown();
    return 0;
}
