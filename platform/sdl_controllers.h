// Game controllers, through SDL's game-controller API: their d-pad, left
// stick and buttons press the same keys a player presses on the keyboard.
//   d-pad left/right, left stick left/right   the arrow keys (walk)
//   A, Start                                  SPACE (start play)
//   left / right shoulder                     F2 / F3 (mirror the play area)
//   Back held for a second                    ESC (quit)
//   Back and Start together                   F1 (window / full screen)
#pragma once
#include <SDL.h>

namespace platform {

// Starts SDL's game-controller system on the first call, once for the whole
// process: it outlives every window (and so the switch between window and
// full screen) and is stopped when the process exits. Controllers attached
// already then arrive as newly attached ones. Without it the game plays on
// with the keyboard.
void startControllers();

// Acts on an event about controllers (attached, removed, a button, an axis)
// and ignores any other.
void translateControllerEvent(const SDL_Event& e);

// What depends on time alone: a Back button held long enough quits.
void checkControllerHolds();

}  // namespace platform
