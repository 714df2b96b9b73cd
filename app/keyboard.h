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

// Handles every message of the game's window.
intptr_t windowProcedure(const platform::Message& message);

// Turns the key table into game input: the arrows set the player's velocity
// once play has begun, SPACE starts play, F2 and F3 mirror the view.
void processKeys();

// The player's walking speed, world units per millisecond.
constexpr double walkSpeed = 0.091;
