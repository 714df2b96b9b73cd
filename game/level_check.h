// Checking a level file for what the game would refuse, ignore or misread,
// and for parts the player can never reach. The file is read by the game's
// own parser and pictures are looked up as the game looks them up, under the
// data root in force.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

struct LevelProblem {
    int token;  // the token it is about, from 1; 0 for the file as a whole
    int line;   // that token's line, or where reading stopped; 0 for none
    std::string message;
    bool note = false;  // worth knowing but no problem: the game plays the level as meant
};

// The problems of a level file's text, and notes, in the order of their
// tokens.
std::vector<LevelProblem> checkLevelText(const char* text, size_t size);
// The same for a file by its system name; a file that cannot be read is a
// problem too.
std::vector<LevelProblem> checkLevelFile(const std::string& path);

// Checks each file and writes its problems and notes to `out`, one a line as
// "FILE:LINE: token N: message" ("...: note: message" for a note), then
// "FILE: clean" or "FILE: N problems" (notes are not counted). 0 when every
// file is clean, else 1.
int reportLevelChecks(const std::vector<std::string>& files, std::FILE* out);
