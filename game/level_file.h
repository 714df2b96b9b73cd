// The level file: white-space separated tokens in three sections (enemies,
// stairs, bonus items), each a count followed by that many records. Reading
// it builds nothing: loadLevel turns the description into objects.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How many objects of each kind a level can hold.
constexpr int maxEnemies = 20;
constexpr int maxStairs = 24;
constexpr int maxItems = 24;

struct EnemyRecord {
    double x, y, z, lowerBound, upperBound, speed, size;
    std::string texture;
};

struct StairRecord {
    double x, y, z, width, height, depth;
    int32_t type;
};

struct ItemRecord {
    double x, y, z, width, height, depth;
    std::string prefix;  // the picture's file name, or the stem of its frames' names
    int32_t firstFrame, lastFrame;
    std::string format;     // joins stem and frame number into a file name
    int32_t frameInterval;  // milliseconds
    int32_t lifetime;       // milliseconds from the first drawing; -1 = never vanishes
    int32_t points;
};

struct LevelDescription {
    // The counts as the file gives them (a negative count means none); only
    // the first records up to each table's capacity are kept.
    int32_t enemyCount = 0, stairCount = 0, itemCount = 0;
    std::vector<EnemyRecord> enemies;
    std::vector<StairRecord> stairs;
    std::vector<ItemRecord> items;
};

// Longer tokens cannot be names or numbers of a level: such a file is refused.
constexpr size_t maxTokenLength = 4095;
// Bigger files are not levels.
constexpr size_t maxLevelFileSize = 16 * 1024 * 1024;

// Reads a level from the file's text. False, with `level` unusable, when the
// text ends inside a record or holds an overlong token.
bool parseLevel(const char* text, size_t size, LevelDescription& level);

// Token conversions, as the C library reads text but without undefined
// behaviour: integers saturate at the 32-bit limits, reals that are not
// finite read as 0.
int32_t integerToken(const std::string& token);
double realToken(const std::string& token);
// A real truncated toward zero, saturating at the 32-bit limits (NaN gives 0).
int32_t realToIntegerToken(const std::string& token);
