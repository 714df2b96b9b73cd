// Keeps presented frames at the display's refresh rate where the driver does
// not do it itself.
//
// Every context asks the driver for vertical sync; most drivers then block in
// the swap until the display takes the frame. Some do not: vsync is refused,
// or the swap returns as soon as the driver has done its work, whatever was
// asked (a software renderer, a virtual machine, a weak integrated GPU, a
// minimised window on some desktops). That work may take anything from
// nothing to more than a period. The pacer tells the two apart from what the
// presents measurably did, never from the driver's name:
//
// - A driver that waits for the display never presents faster than it
//   refreshes: presents coming sooner than a period after one another were
//   not waited for, however long each took. Then the pacer waits itself
//   before presenting, until the next deadline on a fixed grid of refresh
//   periods, and notes how long the driver's own work took.
// - While it waits, a swap that takes clearly longer than that work (a
//   quarter period more) waited for something: the display. When most do,
//   the driver has begun to wait itself (a window restored from minimised,
//   say), and the pacer steps back.
//
// The pacer is pure arithmetic on times the caller reads: the caller sleeps.
#pragma once
#include <cstdint>

namespace platform {

struct FramePacer {
    int64_t periodNs = 0;          // the display's refresh period, nanoseconds
    bool selfPacing = false;       // the driver was seen not to wait: frames wait for the grid
    int64_t gridNs = 0;            // the next deadline on the grid; 0 until the first paced frame
    int64_t lastPresentEndNs = 0;  // when the last swap returned; 0 before the first
    int64_t workNs = -1;           // how long the driver's swaps take while unpaced (a running mean); -1: none yet
    uint32_t recentShort = 0;      // one bit per recent unpaced present: it came sooner than a period
    uint32_t recentBlocked = 0;    // one bit per recent paced present: the swap took longer than its work

    // Starts afresh for a new context on a display refreshing `refreshHz`
    // times a second (60 where that is not known).
    void reset(int refreshHz);
    // Called just before presenting, at `nowNs`: the time to present at,
    // which is `nowNs` itself unless the pacer makes the frame wait.
    int64_t presentAt(int64_t nowNs);
    // Called after presenting: the swap was called at `beganNs` and
    // returned at `endNs`.
    void presented(int64_t beganNs, int64_t endNs);
};

// The refresh rate assumed when the display does not say (Hz).
constexpr int defaultRefreshHz = 60;

}  // namespace platform
