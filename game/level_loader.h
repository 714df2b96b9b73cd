// Loading a level file into the game's tables of enemies, stairs and items.
#pragma once
#include <string>

// Reads the level file (a game name such as "data\level0.lvl.txt") and puts
// a new object into every slot it describes, destroying the one that was
// there. False, with nothing changed, when the file cannot be opened or is
// not a whole level (it ends inside a record, holds an overlong token, or its
// records run past maxLevelTextSize). What follows the last record is not
// read. A count above a table's capacity keeps the first records that fit.
bool loadLevel(const char* fileName);
// The same for a file by its system name, from anywhere, and for a level's
// text already read.
bool loadLevelFile(const std::string& systemName);
bool loadLevelText(const std::string& text);
