// The version of the game's rules: how it plays, as a recorded game depends
// on it. A recorded game names the rules it was played by, and every later
// release replays it by those rules.
//
// Raise it with any change that would make a recorded game go another way:
// a rule of play, the arithmetic of a move, a shipped level, what a key or
// message does, the order of a frame. The old rules stay in the game, chosen
// by the version a demo names (or, where they truly cannot, the demo is
// refused with the release that replays it). Changes that alter no recorded
// game (drawing, sound, reading the clock more or less often, speed) leave it
// as it is.
#pragma once
#include <cstdint>

// The rules of this release. Demos of rules 1 up to this one replay.
//   1  0.3.0
//   2  0.4.0: P, the Pause key and a controller's Start pause play and
//      resume it; the window losing the focus pauses it (a pause message);
//      the keys of every action are the player's (a demo names those it
//      began with), and K on the title opens the keys screen
constexpr uint32_t rulesVersion = 2;

// The rules of the game being played: this release's, or those a replayed
// demo names. What a later version added is done only by its rules.
inline uint32_t playedRules = rulesVersion;
