// The high-score tables: the ten best games of each way a game starts, each
// entry with the game that made it. Kept in one plain-text file that a
// person can read; reading it builds nothing else.
//
//   vantrel-scores 1
//   table level 0                          the shipped levels from level 0
//   entry ABC 7294 5 2026-12-10 games/7294-....demo 1802
//   table file 6f0c8e2b91d3a477            a level file of the player's own, by its text
//   ...
//
// An entry: name, score, level reached, date, its game's demo (a name
// beside the file) and the frame its game began at in that demo.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t scoreTableSize = 10;
constexpr size_t maxNameLength = 3;

struct ScoreEntry {
    std::string name;   // up to three capital letters (or spaces)
    int64_t score = 0;
    int32_t level = 0;  // the level reached
    std::string date;   // YYYY-MM-DD
    std::string demo;   // its game's demo, relative to the scores file's folder
    uint64_t firstFrame = 0;  // the frame of the demo where its game began
    bool operator==(const ScoreEntry&) const = default;
};

struct ScoreTable {
    std::string start;  // "level N", or "file HASH" for a level file of the player's own
    std::vector<ScoreEntry> entries;  // best first, at most scoreTableSize
    bool operator==(const ScoreTable&) const = default;
};

struct ScoreBook {
    std::vector<ScoreTable> tables;

    // The table of a start; null when it has none yet.
    const ScoreTable* find(const std::string& start) const;
    // Whether a game of that start with that score enters its table: a score
    // above 0 that beats the table's last entry or finds it not yet full.
    bool qualifies(const std::string& start, int64_t score) const;
    // Enters it, below those of an equal score already there, and keeps the
    // best scoreTableSize; its place from 0, or -1 when it did not enter.
    // (Two games finishing at once both keep their scores: each enters its
    // own into the book as the file holds it then, under a lock.)
    int enter(const std::string& start, const ScoreEntry& entry);
};

// The start of a game of the data's levels from level n, and of a level of
// the player's own, by its text.
std::string levelStart(int n);
std::string ownLevelStart(const std::string& text);

// The file's text, and back. Parsing is strict: false, with where and why
// in `problem`, for anything that is not a scores file this game wrote (the
// caller keeps such a file aside rather than lose it).
std::string writeScoreBook(const ScoreBook& book);
bool parseScoreBook(const std::string& text, ScoreBook& book, std::string& problem);
