#include "platform/frame_pacer.h"
#include <bit>

namespace platform {

namespace {

// The driver is taken not to wait when, of the last 8 presents, at least 6
// came less than half a period after the one before. A few short intervals
// are normal with a waiting driver too: it may queue two or three frames
// before it starts to block.
constexpr uint32_t shortWindow = 0xFF;
constexpr int shortNeeded = 6;
// While the pacer waits, a driver that has begun to wait as well (a window
// restored from minimised, say) shows as swaps that block for half a period
// or more: then the pacer steps back, 12 of the last 16 swaps being enough.
// The same half period on both sides keeps the two decisions from undoing
// each other: a swap that blocks that long makes the next interval at least
// as long, which is not a short one.
constexpr uint32_t blockedWindow = 0xFFFF;
constexpr int blockedNeeded = 12;

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
    if (selfPacing) {
        recentBlocked = pushBit(recentBlocked, endNs - beganNs >= periodNs / 2, blockedWindow);
        if (std::popcount(recentBlocked) >= blockedNeeded) {
            selfPacing = false;
            recentShort = recentBlocked = 0;
            gridNs = 0;
        }
    } else if (lastPresentEndNs != 0) {
        recentShort = pushBit(recentShort, endNs - lastPresentEndNs < periodNs / 2, shortWindow);
        if (std::popcount(recentShort) >= shortNeeded) {
            selfPacing = true;
            recentShort = recentBlocked = 0;
        }
    }
    lastPresentEndNs = endNs;
}

}  // namespace platform
