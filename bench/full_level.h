// A data directory for measurements: the shipped pictures, and level files
// that fill every table (20 enemies, 24 stairs, 24 items) as level 0 and 1.
#pragma once
#include <string>

// Makes the directory (under /tmp), points the game's data root at it and
// returns it. `sourceDir` holds the shipped data/.
std::string makeFullCapacityData(const std::string& sourceDir);
void removeFullCapacityData(const std::string& root);

// The text of a full-capacity level; `variant` moves things a little so two
// levels differ.
std::string fullCapacityLevel(int variant);

// Resident memory of this process, in KiB.
long residentKiB();
// GL texture objects alive in the current context.
int glTextureObjects();
