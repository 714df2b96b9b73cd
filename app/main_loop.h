// The program: the full-screen question, the window, and the one loop that
// handles messages and draws a frame whenever none is waiting.
#pragma once
#include "platform/messages.h"

// Runs the game: asks whether to run full screen, then runGame. The result
// is the process exit code.
int gameMain();

// The full-screen question; No clears fullScreen.
void askFullScreen();
// Opens the window in the mode fullScreen says and runs the loop until the
// program ends; the result is the process exit code, 1 when the window could
// not be made (at start or after F1). With a frame count, the game presses
// ESC by itself once that many frames have been presented.
int runGame(int quitAfterFrames = 0);

enum class LoopPass {
    goOn,        // begin the next pass
    leave,       // shut down normally
    windowLost,  // the window could not be made again: end at once
};

// One pass of the loop: dispatches one waiting message, or, when none is
// waiting, draws and presents a frame and acts on ESC and F1. `last` keeps
// the last message taken.
LoopPass mainLoopPass(platform::Message& last);

// The window's title and size, the same at start and on every switch.
constexpr const char* windowTitle = "Vantrel Remake";
constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int colourBits = 16;
