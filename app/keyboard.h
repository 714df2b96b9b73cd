// The window's message handler and the reading of the keyboard.
#pragma once
#include "platform/messages.h"
#include <cstdint>

// One flag per virtual-key code: 1 while the key is down. The keys of the
// one-shot actions (full screen, the two mirrors) are cleared by the code
// that acts on them.
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

// Turns the key table into game input, through the keys in force
// (app/key_bindings.h; the defaults named here): the arrows set the player's
// velocity once play has begun, SPACE (or a controller's Start) starts play,
// F2 and F3 mirror the view, M switches the sound, P, Pause and a
// controller's Start pause play and resume it. While paused only the pause
// keys and M act here (F1 and ESC are the loop's). K on the title opens the
// keys screen, which takes every key pressed while it is open: nothing else
// acts meanwhile.
void processKeys();

// Whether a key of the action is down; letting go of its keys in the table.
enum class Action : uint8_t;
bool actionKeyDown(Action a);
void clearActionKeys(Action a);

// The player's walking speed, world units per millisecond.
constexpr double walkSpeed = 0.091;
