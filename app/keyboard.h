// The window's message handler and the reading of the keyboard.
#pragma once
#include "platform/messages.h"
#include <cstdint>

// One flag per virtual-key code: 1 while the key is down. The one-shot keys
// F1, F2 and F3 are cleared by the code that acts on them.
extern uint8_t KeyTable[256];

// True while the window is not minimised (a window without the focus but
// still visible goes on drawing).
extern bool windowActive;
// Whether play pauses when the window loses the focus or is minimised (a
// setting, on unless the player turns it off). A pause so made is posted as a
// message of its own, so that a recorded game holds it whatever the setting
// where it is replayed.
extern bool pauseOnFocusLoss;

// Handles every message of the game's window.
intptr_t windowProcedure(const platform::Message& message);

// Turns the key table into game input: the arrows set the player's velocity
// once play has begun, SPACE (or a controller's Start) starts play, F2 and
// F3 mirror the view, M switches the sound, P, Pause and a controller's
// Start pause play and resume it. While paused only the pause keys and M act
// here (F1 and ESC are the loop's).
void processKeys();

// The player's walking speed, world units per millisecond.
constexpr double walkSpeed = 0.091;
