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
// How the game stands after `frames` frames, as a replay's end line says it.
struct EndState {
    uint64_t frames = 0;
    int32_t level = 0;       // the data's level number; -1 for the player's own level file
    double score = 0, lives = 0;
    uint64_t stateHash = 0;
};
// The game as it stands now, after `frames` frames: taken without allocating,
// so that it can be taken at every frame.
EndState endState(uint64_t frames);
// "frames N, level L, score S, lives V, state HASH"
std::string endLine(const EndState& state);
inline std::string endLine(uint64_t frames) { return endLine(endState(frames)); }
