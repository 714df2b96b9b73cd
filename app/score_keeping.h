// The player's high-score tables, kept between runs: scores.txt in the
// system's place for a game's data (platform/data_folder.h), with the demo
// of every entry's game in games/ beside it. Each change is made under the
// file's lock on the tables as the file holds them then, and written beside
// the file and renamed over it, so that two games finishing at once both
// keep their scores and a killed game leaves the old file or the new one.
// A file that cannot be read as tables is kept aside under another name and
// said once; the game goes on with fresh tables.
#pragma once
#include "game/score_table.h"
#include <cstdio>
#include <string>

// Keeps the scores of the game about to be played (its first level or level
// of its own is set): reads the tables for the title, and sets the game's
// score hooks. Replays and tools never call it: they keep no scores.
void startKeepingScores(std::FILE* err);

// This game's start, and the tables as last read or written.
const std::string& keptStart();
const ScoreBook& keptScores();
// The system name of an entry's demo.
std::string keptDemoFile(const ScoreEntry& entry);

// The tables and games of another place laid out as the player's (FOLDER
// with scores.txt and games/, as a saved copy holds them) join the
// player's: each entry not already kept enters its table by the tables'
// rules, its game copied into games/ under a name no file has; what entered,
// what was there already, what ranked below full tables and what left them
// for better entries is said on `out`. The number of entries that entered;
// -1, with the reason on `err` and nothing changed, when FOLDER holds no
// tables this game wrote or the player's cannot be written.
int mergeScores(const std::string& folder, std::FILE* out, std::FILE* err);

// --scores: every table, one line an entry with the path of its game's
// demo, on `out`; the exit status.
int printScores(std::FILE* out, std::FILE* err);
