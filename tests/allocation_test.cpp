// A steady frame allocates nothing, and the heap does not grow: every malloc
// of the process is caught
// over 1,000 frames of a level that fills every table, and each is put down
// to the game, or to the OpenGL driver when a driver function is on its call
// stack (the software driver allocates while it flushes immediate-mode
// vertices at state changes; the game cannot change that without drawing
// differently).
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/player.h"
#include "support/pictures.h"
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <gtest/gtest.h>
#include <link.h>
#include <malloc.h>
#include <vector>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}

namespace {

struct Range {
    uintptr_t start, end;
};
std::vector<Range> driverCode;  // filled before counting starts
std::atomic<long> gameAllocations{0}, driverAllocations{0};
std::atomic<bool> counting{false};
thread_local bool inHook = false;

bool isDriverLibrary(const char* path) {
    for (const char* part : {"/dri/", "libGL", "libgallium", "libLLVM", "libglapi", "libEGL", "libdrm"})
        if (std::strstr(path, part)) return true;
    return false;
}

int noteDriverCode(dl_phdr_info* info, size_t, void*) {
    if (!info->dlpi_name || !isDriverLibrary(info->dlpi_name)) return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X)) {
            uintptr_t start = info->dlpi_addr + segment.p_vaddr;
            driverCode.push_back({start, start + segment.p_memsz});
        }
    }
    return 0;
}

bool inDriver(void* address) {
    auto a = reinterpret_cast<uintptr_t>(address);
    for (const Range& r : driverCode)
        if (a >= r.start && a < r.end) return true;
    return false;
}

void count() {
    if (!counting.load(std::memory_order_relaxed) || inHook) return;
    inHook = true;
    void* stack[64];
    int depth = backtrace(stack, 64);
    bool driver = false;
    for (int i = 0; i < depth && !driver; ++i) driver = inDriver(stack[i]);
    (driver ? driverAllocations : gameAllocations).fetch_add(1, std::memory_order_relaxed);
    inHook = false;
}

}  // namespace

extern "C" {
void* malloc(size_t n) {
    count();
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size) {
    count();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n) {
    count();
    return __libc_realloc(p, n);
}
}

namespace {

std::string fullLevel() {
    std::string text = "20\n";
    for (int i = 0; i < 20; ++i)
        text += std::to_string(20 + i * 14) + " " + std::to_string(30 + i * 6) + " 0 10 170 0.03 12 data\\e.tga\n";
    text += "24\n";
    for (int i = 0; i < 24; ++i)
        text += std::to_string(40 + i * 10) + " " + std::to_string(16 + (i % 10) * 16) + " 0 24 16 0 1\n";
    text += "24\n";
    for (int i = 0; i < 24; ++i)
        text += std::to_string(10 + i * 12) + " " + std::to_string(18 + (i % 10) * 16) +
                " 0 12 12 0 data\\gem 1 8 %s%02d.tga 80 -1 100\n";
    return text;
}

}  // namespace

TEST(Allocations, ASteadyFrameMakesNone) {
    TempDataRoot data;
    writeTga(data.file("e.tga"), 8, 8, 3, solid(8, 8, {0, 0, 255}));
    writeTga(data.file("stair.tga"), 8, 8, 3, solid(8, 8, {255, 255, 255}));
    for (int i = 1; i <= 8; ++i) writeTga(data.file("gem0" + std::to_string(i) + ".tga"), 8, 8, 4, solid(8, 8, {1, 2, 3, 255}));
    std::string level = fullLevel();
    writeBytes(data.file("level0.lvl.txt"), {level.begin(), level.end()});

    ScriptedPlay play;
    play.press(platform::key::space);
    play.runFrame();
    play.press(platform::key::right);
    play.runFrames(200);  // every picture drawn once, every sprite past its animation
    ASSERT_EQ(game.enemyCount, 20);
    ASSERT_EQ(game.itemCount, 24);
    dl_iterate_phdr(noteDriverCode, nullptr);
    void* warm[4];
    backtrace(warm, 4);  // its first call loads the unwinder, which allocates
    auto keepWalking = [&] {
        if (game.player->velocity == 0) game.player->velocity = game.player->x > 150 ? -0.091 : 0.091;
    };
    // Whatever the driver allocates for a frame, it gives back (once its
    // caches have settled: they grow over the first thousand frames).
    for (int i = 0; i < 1000; ++i) {
        keepWalking();
        play.runFrame();
    }
    size_t heapBefore = mallinfo2().uordblks;
    for (int i = 0; i < 1000; ++i) {
        keepWalking();
        play.runFrame();
    }
    long grown = long(mallinfo2().uordblks) - long(heapBefore);
    EXPECT_LT(grown, 256 * 1024) << "the heap grew by " << grown / 1024 << " KiB over 1,000 frames";

    counting = true;
    for (int i = 0; i < 1000; ++i) {
        keepWalking();
        play.runFrame();
    }
    counting = false;
    EXPECT_EQ(gameAllocations.load(), 0);
    RecordProperty("driverAllocationsPerFrame", std::to_string(driverAllocations.load() / 1000));
}
