// One number for the whole state of the game, for checking that a replay
// went the way the recorded game did: two runs that end with the same hash
// ended in the same state.
#pragma once
#include <cstddef>
#include <cstdint>

// FNV-1a, 64 bits, over bytes, going on from `h`: the state's hash, and the
// hash of a level's text in a demo's header.
constexpr uint64_t fnvStart = 14695981039346656037ull;
inline uint64_t fnv1a(const void* bytes, size_t size, uint64_t h = fnvStart) {
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < size; ++i) h = (h ^ b[i]) * 1099511628211ull;
    return h;
}

// Hashes what decides how play goes on: the flags and counters, the player,
// the level's enemies, stairs and items, the explosion and the pictures'
// clocks, the walk cycle, the contact flag and the random generator. Not
// the pictures themselves: what is drawn does not steer the game.
uint64_t gameStateHash();
