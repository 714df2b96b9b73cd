// Frames paced to the display: when the layer waits itself, on what grid, and
// when it leaves the waiting to the driver.
#include "app/main_loop.h"
#include "app/window.h"
#include "platform/backend.h"
#include "platform/frame_pacer.h"
#include "platform/testing.h"
#include "platform/video.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace pt = platform::testing;
using platform::FramePacer;

namespace {

constexpr int64_t ms = 1000000;  // nanoseconds
constexpr int64_t period = 1000000000 / 60;

// A game drawing frames against a simulated driver: `swap` gives the time
// a swap called at its argument returns.
struct Simulation {
    FramePacer pacer;
    int64_t now = 1000 * ms;
    std::vector<int64_t> presents;  // when each swap was called
    std::function<int64_t(int64_t)> swap = [](int64_t at) { return at + ms / 10; };

    Simulation() { pacer.reset(60); }
    void frame(int64_t drawNs) {
        now += drawNs;
        now = std::max(now, pacer.presentAt(now));
        presents.push_back(now);
        int64_t began = now;
        now = swap(now);
        pacer.presented(began, now);
    }
};

// A driver that blocks each swap until the display's next refresh.
int64_t nextRefresh(int64_t at, int64_t phase) { return phase + ((at - phase) / period + 1) * period; }

}  // namespace

TEST(FramePacing, ADriverThatDoesNotWaitIsPacedOnAGridThatNeitherDriftsNorBunches) {
    Simulation sim;
    for (int i = 0; i < 8; ++i) sim.frame(ms);
    ASSERT_TRUE(sim.pacer.selfPacing) << "eight presents 1 ms apart";
    size_t first = sim.presents.size();
    for (int i = 0; i < 600; ++i) sim.frame((i * 7 % 11) * ms);  // 0 to 10 ms of drawing
    for (size_t i = first + 1; i < sim.presents.size(); ++i)
        ASSERT_EQ(sim.presents[i] - sim.presents[i - 1], period) << "frame " << i;

    // A frame that comes 90 % of a period late is shown at once; the next
    // one waits at least half a period and is back on the grid.
    int64_t anchor = sim.presents.back();
    sim.frame(period + period * 9 / 10);
    sim.frame(0);
    sim.frame(0);
    size_t n = sim.presents.size();
    EXPECT_EQ(sim.presents[n - 3] - anchor, period + period * 9 / 10 + ms / 10);
    EXPECT_GE(sim.presents[n - 2] - sim.presents[n - 3], period / 2);
    EXPECT_EQ((sim.presents[n - 2] - anchor) % period, 0);
    EXPECT_EQ(sim.presents[n - 1] - sim.presents[n - 2], period);
}

// A driver that does not wait but works 8 to 16 ms on each swap (a software
// renderer at a high resolution, a virtual machine) presents sooner than a
// period, yet never less than half a period apart: it is paced all the same,
// and its long swaps are not taken for waiting.
TEST(FramePacing, ADriverThatWorksLongOnEachSwapButDoesNotWaitIsPacedToo) {
    for (int64_t work : {9 * ms, 12 * ms, 15 * ms}) {
        Simulation sim;
        int k = 0;
        sim.swap = [&](int64_t at) { return at + work + (++k % 3) * ms / 4; };
        for (int i = 0; i < 600; ++i) sim.frame(ms / 2 + (i % 2) * ms / 4);
        ASSERT_TRUE(sim.pacer.selfPacing) << work / ms << " ms a swap";
        size_t n = sim.presents.size();
        EXPECT_EQ(sim.presents[n - 1] - sim.presents[n - 301], 300 * period) << work / ms << " ms a swap";
    }
}

TEST(FramePacing, ADriverThatWaitsOrASlowMachineIsLeftAlone) {
    Simulation waits;
    int queued = 0;  // the driver takes three frames without blocking first
    waits.swap = [&](int64_t at) { return ++queued <= 3 ? at + ms / 10 : nextRefresh(at, 3 * ms); };
    for (int i = 0; i < 300; ++i) waits.frame(2 * ms);
    EXPECT_FALSE(waits.pacer.selfPacing);

    // Woken late now and then, by up to 3 ms: one interval short, the next long.
    Simulation late;
    int k = 0;
    late.swap = [&](int64_t at) { return nextRefresh(at, 3 * ms) + (++k % 5 == 0 ? 3 * ms : 0); };
    for (int i = 0; i < 300; ++i) late.frame(2 * ms);
    EXPECT_FALSE(late.pacer.selfPacing);

    Simulation slow;
    for (int i = 0; i < 300; ++i) slow.frame(20 * ms);
    EXPECT_FALSE(slow.pacer.selfPacing);
}

TEST(FramePacing, ThePacerStepsBackWhenTheDriverStartsWaitingLongOnTopOfIt) {
    Simulation sim;
    for (int i = 0; i < 8; ++i) sim.frame(ms);
    ASSERT_TRUE(sim.pacer.selfPacing);
    // Refreshes fall 12 ms after the pacer's deadlines: every swap blocks
    // that long, and with 6 ms of drawing every other frame would miss.
    int64_t phase = sim.presents.back() + 12 * ms;
    sim.swap = [&](int64_t at) { return nextRefresh(at, phase); };
    for (int i = 0; i < 16; ++i) sim.frame(6 * ms);
    EXPECT_FALSE(sim.pacer.selfPacing);
    size_t from = sim.presents.size();
    for (int i = 0; i < 60; ++i) sim.frame(6 * ms);
    EXPECT_FALSE(sim.pacer.selfPacing) << "the decisions must not undo each other";
    for (size_t i = from + 1; i < sim.presents.size(); ++i) EXPECT_EQ(sim.presents[i] - sim.presents[i - 1], period);
}

// The real layer on the offscreen driver, whose swaps never wait.
TEST(FramePacing, TheRealLayerPacesFramesWithVsyncAndNotWithout) {
    platform::setVerticalSync(true);
    ASSERT_TRUE(createWindow(windowTitle, windowWidth, windowHeight, colourBits, false));
    EXPECT_NE(pt::pacing().swapInterval, 0);
    EXPECT_GT(pt::pacing().periodNs, 0);
    std::vector<int64_t> presents;
    std::vector<bool> paced;  // whether the pacer waited before each present
    pt::observeSwaps([&] {
        presents.push_back(platform::backend::steadyNanoseconds());
        paced.push_back(pt::pacing().selfPacing);
    });
    for (int i = 0; i < 40; ++i) platform::swapBuffers(deviceContext);
    EXPECT_TRUE(pt::pacing().selfPacing);
    // Once the pacer waits (it decides within the first presents, later on a
    // busy machine whose first swaps are slow, and presents its first paced
    // frame at once), the paced frames after it take at least a period each.
    // The pacer releases frames on its grid, but a present is
    // seen here only once its swap is done, and a swap that is slow once (a
    // busy machine) makes one interval long and the next short: only the span
    // of the paced frames is bounded, less one period for that. Only a lower
    // bound: a busy machine makes frames later, never sooner.
    ASSERT_TRUE(paced[20]);
    size_t first = 0;
    while (!paced[first]) ++first;
    int64_t period = pt::pacing().periodNs;
    int64_t intervals = int64_t(presents.size() - 1 - first);
    EXPECT_GE(presents.back() - presents[first], (intervals - 2) * period) << "paced from frame " << first;

    destroyWindow();
    platform::setVerticalSync(false);
    ASSERT_TRUE(createWindow(windowTitle, windowWidth, windowHeight, colourBits, false));
    for (int i = 0; i < 20; ++i) platform::swapBuffers(deviceContext);
    EXPECT_EQ(pt::pacing().swapInterval, 0);
    EXPECT_FALSE(pt::pacing().selfPacing);
    pt::observeSwaps({});
    destroyWindow();
}
