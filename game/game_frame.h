// One frame of the game.
#pragma once

// Clears the frame, applies the keys, and draws the title picture or one
// game frame. False would stop the program; it is always true.
bool drawScene();

// The game itself, one frame: counters, view flips, the player, enemies,
// stairs, items, floors and the explosion, in that order.
void gameFrame();

// How long the game-over picture stays, in milliseconds.
constexpr unsigned gameOverPause = 4000;
