// What a demo's header says about the game that recorded it, taken from the
// running game, and the line both a recorded game and its replay end with.
#pragma once
#include "app/demo_file.h"
#include <string>

// This game: its version and rules, the data's level files, the level it
// starts on.
// Called before the game starts (its first level or own level is set).
DemoHeader thisGameHeader(uint32_t startTick);
// Why this game cannot replay the demo exactly, or empty when it can: a
// demo of other levels. (One of rules this release does not know, a later
// release's, is refused as its header is read.) The release that recorded it
// does not matter otherwise. The data's levels count only for a demo that
// played them: a demo of a level of its own carries that level and reads no
// other.
std::string headerDifference(const DemoHeader& demo, const DemoHeader& game);
// "frames N, level L, score S, lives V, state HASH": how the game stands.
std::string endLine(uint64_t frames);
