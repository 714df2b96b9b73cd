// Checking a level file for what the game would refuse, ignore or misread,
// and for parts the player can never reach. The file is read by the game's
// own parser and pictures are looked up as the game looks them up: under the
// data root in force, and in the level folder (platform/picture_names.h).
#pragma once
#include "game/level_file.h"
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
// tokens, with the level folder in force.
std::vector<LevelProblem> checkLevelText(const char* text, size_t size);
// The same for a file by its system name, checked as the game would play
// it: a file in the data folder as a level of the data (no level folder),
// any other as --level-file plays it (its own folder as the level folder).
// A file that cannot be read is a problem too.
std::vector<LevelProblem> checkLevelFile(const std::string& path);

// A level file as it was read once, for the game and the checker alike: its
// text up to the level's end and what readLevelText saw after it, or why it
// could not be read.
struct LevelFileContent {
    bool readable = false;
    std::string text;
    std::string error;
    LevelTextEnd after;
};
LevelFileContent readLevelFile(const std::string& path);
// The problems of the file as it was read, with no second look at it.
std::vector<LevelProblem> checkLevelContent(const LevelFileContent& content);
// Writes one file's problems and notes to `out` as reportLevelChecks does,
// every character that is not printable escaped (platform::printableText).
// True when there is no problem.
bool reportLevelProblems(const std::string& file, const std::vector<LevelProblem>& problems, std::FILE* out);

// Checks each file and writes its problems and notes to `out`, one a line as
// "FILE:LINE: token N: message" ("...: note: message" for a note), then
// "FILE: clean" or "FILE: N problems" (notes are not counted). 0 when every
// file is clean, else 1.
int reportLevelChecks(const std::vector<std::string>& files, std::FILE* out);
