// After a game over whose score enters its high-score table, the player
// types a name of up to three letters: letters, ← and → to move, BACKSPACE,
// ENTER; on a controller the d-pad's ↑ and ↓ go through the letters at the
// cursor and A (SPACE) confirms.
#pragma once
#include <cstdint>
#include <string>

class BitmapFont;

struct NameEntry {
    std::string name;   // the letters so far, capitals, at most three
    size_t cursor = 0;  // where the next letter goes, or the letter ↑ and ↓ change
    int64_t score = 0;  // the game's, as its counter showed it
    int32_t level = 0;  // the level it reached
};

// A fresh key press (a virtual-key code); true when it confirms a name of at
// least one letter.
bool typeName(NameEntry& entry, uint8_t key);

// The screen: what to do, the score and the name with its cursor, on black.
void drawNameEntry(const NameEntry& entry, BitmapFont& font);
