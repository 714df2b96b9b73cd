// The problems found in one level file as they are collected, and the
// checks of its records (game/record_checks.cpp).
#pragma once
#include "game/level_check.h"
#include "game/level_file.h"
#include <string>
#include <vector>

struct LevelReport {
    const LevelSource& source;
    std::vector<LevelProblem> problems;

    // A problem about token n (0: the file as a whole), on that token's line.
    void add(int token, std::string message);
    // A note about token n, on the given line (0: that token's).
    void note(int token, std::string message, int line = 0);
};

// The enemies, stairs and items the game would build from the level: what it
// refuses in them, pictures it cannot find, and places the player never
// reaches.
void checkRecords(LevelReport& report, const LevelDescription& level);

// A real as a person writes it: 12, 0.5, 1e+308.
std::string number(double value);
// Text fit for a report: as platform::printableText shows it, and long text
// cut short.
std::string printable(const std::string& text);
