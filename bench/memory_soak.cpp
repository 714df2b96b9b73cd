// Memory over many level changes and switches of display mode: resident
// memory and live GL textures before and after, and the peak.
#include "app/main_loop.h"
#include "app/window.h"
#include "bench/bench_game.h"
#include "bench/full_level.h"
#include "game/game_state.h"
#include "gfx/texture.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void report(const char* when) {
    struct mallinfo2 heap = mallinfo2();
    std::printf("%s rss_kib %ld heap_in_use_kib %zu textures %d gl_textures %d\n", when, residentKiB(),
                heap.uordblks / 1024, texturesHeld(), glTextureObjects());
}

}  // namespace

int main(int argc, char** argv) {
    int levelChanges = argc > 1 ? std::atoi(argv[1]) : 10000;
    int switches = argc > 2 ? std::atoi(argv[2]) : 200;
    BenchGame bench(sourceDirectory());
    bench.play->runFrames(100);
    // The first rounds settle the allocator and the driver's caches.
    for (int i = 0; i < 20; ++i) changeLevel(i % 2);
    report("start");
    for (int i = 0; i < levelChanges; ++i) changeLevel(i % 2);
    report("after_level_changes");
    // Switches come in pairs, so each report sees the same mode; the first
    // ten pairs settle things as above.
    for (int i = 0; i < switches; ++i) {
        destroyWindow();
        fullScreen = !fullScreen;
        createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreen);
        bench.play->runFrames(2);
        if (i == 19) report("after_20_switches");
    }
    report("after_switches");
    std::printf("peak rss_kib %ld\n", peakResidentKiB());
    return 0;
}
