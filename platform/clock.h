// The millisecond tick count, and the game's clock taken from it once a
// frame. The tick count is 32 bits wide and wraps to 0 after about 49.7
// days, so callers take differences of two readings as unsigned 32-bit
// numbers.
#pragma once
#include <cstdint>
#include <functional>

namespace platform {

// The system's tick count, read now. The game's objects never read it
// themselves: they read the frame's reading (below).
uint32_t tickCount();

// The game's clock. The main loop reads the tick count once a frame, at a
// fixed point of its pass (takeFrameReading), and every clock of the game
// (the player, the enemies, the counters, the sprites, the climb) reads that
// one reading through frameTicks() until the next frame takes another. So
// the objects of a frame all see the same time, however many of them look
// at it, and a recorded game holds one reading a frame, not the code's
// pattern of calls.
uint32_t frameTicks();
uint32_t takeFrameReading();

// While held (the game is paused), the game's clock stands still: frames
// still take their readings, but frameTicks() stays where the hold began.
// Once let go, the next frame's reading is where it stood, and the clock
// goes on from there: every reading less the time held.
void holdFrameClock(bool held);
// The game's clock as at the program's start: not held, nothing held so far.
void resetFrameClock();

// Waits until `ms` milliseconds of the tick count have passed, reading it
// over and over and handling nothing meanwhile (the game-over picture).
void waitTicks(uint32_t ms);

// What a recording or a replay puts between the tick count and the game:
// `frameReading` is given each frame's reading and returns the one the game
// gets (a recording notes it, a replay hands out its own); `wait` stands in
// for a wait of `ms` (a recording waits and notes it, a replay waits as
// long as the recorded game did, or not at all). Empty members change
// nothing.
struct ClockHooks {
    std::function<uint32_t(uint32_t reading)> frameReading;
    std::function<void(uint32_t ms)> wait;
};
void setClockHooks(ClockHooks hooks);

// The wait itself: reads the tick count until `ms` have passed; the
// milliseconds that did pass.
uint32_t busyWait(uint32_t ms);

// A wait on the tick count calls this at every reading. Where the system
// must get control back to go on at all (a browser page) it gets it now and
// then, by real time; elsewhere it does nothing. It never reads the tick
// count, so a wait reads it as often on every target.
void waitingForTicks();

// Milliseconds of real time, for what must not touch the game's clock (a
// set clock does not move it): looking at files now and then, flushing a
// recording.
uint64_t wallMilliseconds();

}  // namespace platform
