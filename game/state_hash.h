// One number for the whole state of the game, for checking that a replay
// went the way the recorded game did: two runs that end with the same hash
// ended in the same state.
#pragma once
#include <cstdint>

// Hashes what decides how play goes on: the flags and counters, the player,
// the level's enemies, stairs and items, the explosion and the pictures'
// clocks, the walk cycle, the contact flag and the random generator. Not
// the pictures themselves: what is drawn does not steer the game.
uint64_t gameStateHash();
