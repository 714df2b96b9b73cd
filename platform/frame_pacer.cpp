#include "platform/frame_pacer.h"
#include <bit>

namespace platform {

namespace {

// The driver is taken not to wait when, of the last 8 presents, at least 6
// came less than 31/32 of a period after the one before. A waiting driver
// presents a period apart, give or take when the thread was woken: one late
// return makes one interval short and the one before it long, never six of
// eight short. It may also queue two or three frames before it starts to
// block, which is not six either.
constexpr uint32_t shortWindow = 0xFF;
constexpr int shortNeeded = 6;
constexpr int64_t shortOf32 = 31;
// While the pacer waits, 12 of the last 16 swaps taking a quarter period
// longer than the driver's work make it step back. A driver that works and
// does not wait takes as long as it did unpaced, so the two decisions do not
// undo each other.
constexpr uint32_t blockedWindow = 0xFFFF;
constexpr int blockedNeeded = 12;
// The running mean of the work follows the last few swaps (weight 1/8).
constexpr int64_t workWeight = 8;

uint32_t pushBit(uint32_t bits, bool bit, uint32_t window) { return ((bits << 1) | (bit ? 1u : 0u)) & window; }

// Deadlines lie on one grid: a frame that is on time waits for its deadline,
// so frames neither drift nor bunch. A late frame is presented at once, and
// the next deadline is the first grid point at least half a period after it:
// one late frame never makes the next one follow it closely.
int64_t firstGridPointFrom(int64_t grid, int64_t from, int64_t period) {
    if (grid >= from) return grid;
    return grid + ((from - grid + period - 1) / period) * period;
}

}  // namespace

void FramePacer::reset(int refreshHz) {
    if (refreshHz <= 0) refreshHz = defaultRefreshHz;
    *this = FramePacer{};
    periodNs = 1000000000LL / refreshHz;
}

int64_t FramePacer::presentAt(int64_t nowNs) {
    if (!selfPacing) return nowNs;
    if (gridNs == 0 || nowNs >= gridNs) {
        // First paced frame, or a late one: now, and the grid moves on.
        int64_t start = gridNs == 0 ? nowNs : gridNs;
        gridNs = firstGridPointFrom(start, nowNs + periodNs / 2, periodNs);
        return nowNs;
    }
    int64_t deadline = gridNs;
    gridNs += periodNs;
    return deadline;
}

void FramePacer::presented(int64_t beganNs, int64_t endNs) {
    int64_t swapNs = endNs - beganNs;
    if (selfPacing) {
        recentBlocked = pushBit(recentBlocked, swapNs > workNs + periodNs / 4, blockedWindow);
        if (std::popcount(recentBlocked) >= blockedNeeded) {
            selfPacing = false;
            recentShort = recentBlocked = 0;
            gridNs = 0;
            workNs = -1;  // measured afresh
        }
    } else {
        // The work is only learnt while nothing else makes the swap wait.
        workNs = workNs < 0 ? swapNs : workNs + (swapNs - workNs) / workWeight;
        if (lastPresentEndNs != 0) {
            bool sooner = (endNs - lastPresentEndNs) * 32 < periodNs * shortOf32;
            recentShort = pushBit(recentShort, sooner, shortWindow);
            if (std::popcount(recentShort) >= shortNeeded) {
                selfPacing = true;
                recentShort = recentBlocked = 0;
            }
        }
    }
    lastPresentEndNs = endNs;
}

}  // namespace platform
