// The game's pseudo-random numbers, written out so that every platform draws
// the same sequence: state = state * 214013 + 2531011 (mod 2^32), and each
// number is bits 16 to 30 of the new state (0 to 32767).
#pragma once
#include <cstdint>

void seedRandom(uint32_t seed);
int nextRandom();
// The generator's state as it stands, for the hash of the game's state.
uint32_t randomState();
