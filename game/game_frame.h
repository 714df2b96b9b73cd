// One frame of the game.
#pragma once

// The game itself, one frame: counters, view flips, the player, enemies,
// stairs, items, floors and the explosion, in that order.
void gameFrame();

// How long the game-over picture stays, in milliseconds.
constexpr unsigned gameOverPause = 4000;
