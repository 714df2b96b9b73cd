// What tests (and benchmarks and tools) use to drive the platform layer
// through its real code paths: feed window messages, answer message boxes,
// set the clock, make one step of building or releasing the window fail, and
// look at what the layer holds. It is kept by backends of their own
// (platform/test_*.cpp), which CMake links into the programs that drive the
// game in place of the game's (a real tick count, real boxes, no failures of
// its own, nothing watching the presents); the game links none of them.
// Nothing here replaces OpenGL: drawing stays real.
#pragma once
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/window_steps.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::testing {

// No message box is ever put on screen: each one is recorded and answered
// from the script (or with its default button when the script has run out).
void scriptAnswers(std::vector<Answer> answers);
struct ShownBox {
    std::string text, caption;
    Buttons buttons;
    Icon icon;
    Answer answer;
};
const std::vector<ShownBox>& shownBoxes();
void forgetShownBoxes();

// Queues a message as if the window system had reported it.
void injectMessage(const Message& message);
void injectKeyDown(uint8_t virtualKey, bool repeat = false);
void injectKeyUp(uint8_t virtualKey);
// Drops every pending message, the program's and the window system's.
void discardMessages();

// The clock: the system's until set; once set, it stands still unless
// advanced by hand, or by `step` milliseconds at every reading. A clock that
// stands still and is read many thousand times in a row is being busy-waited
// on: it then moves by 1 ms a reading until it is set or advanced again. The
// game's tick count takes its low 32 bits, as it does the system's.
void setClock(uint32_t now, uint32_t step = 0);
void advanceClock(uint32_t milliseconds);
void useSystemClock();

using Step = WindowStep;
// The step fails every time it runs until failures are cleared.
void failStep(Step step);
void clearFailures();

// What the layer holds right now, and how often it presented a frame.
struct Holdings {
    bool classRegistered;
    int windows, surfaces, contexts;
    bool fullScreen;      // a window covers the desktop
    bool cursorHidden;
};
Holdings holdings();
uint64_t swapCount();
// Called just before every presentation, with the frame still in the back
// buffer; an empty function stops the calls.
void observeSwaps(std::function<void()> observer);
uint64_t windowsOpened();
// How the current context presents: the swap interval it was given (-1
// adaptive, 1, 0, or the driver's own when none was granted), the period
// frames are paced to, and whether the layer waits for it itself (on a
// desktop: platform/test_pacing.cpp).
struct Pacing {
    int swapInterval;
    int64_t periodNs;
    bool selfPacing;
};
Pacing pacing();
// Client size of the current window in pixels, and whether it is full screen.
bool windowSize(int& width, int& height);

}  // namespace platform::testing
