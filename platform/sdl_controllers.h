// Game controllers, through SDL's game-controller API: their d-pad, left
// stick and buttons press the keys of the actions they do, the very keys a
// player presses on the keyboard (platform/controller_keys.h). By default:
//   d-pad left/right, left stick left/right   the walking keys (arrows)
//   A                                         the start key (SPACE)
//   Start                                     a key of its own, key::play
//                                             (starts play, then pauses it)
//   Y                                         the sound key (M)
//   left / right shoulder                     the mirror keys (F2 / F3)
//   Back held for a second                    the quit key (ESC)
//   Back and Start together                   the display key (F1)
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
