// One frame of the game.
#pragma once

// Clears the frame, applies the keys and draws the frame. False would stop
// the program; it is always true.
bool drawScene();
