// The effects the game asked for, as the tests' audio backend keeps them
// (the game keeps none).
#pragma once
#include "game/sounds.h"

// Every effect asked for since the last call (heard or not), oldest first,
// up to soundsKept of them.
constexpr int soundsKept = 32;
int takeSoundsAsked(Sound* out);
