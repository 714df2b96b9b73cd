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
    bool operator==(const EnemyRecord&) const = default;
};

struct StairRecord {
    double x, y, z, width, height, depth;
    int32_t type;
    bool operator==(const StairRecord&) const = default;
};

struct ItemRecord {
    double x, y, z, width, height, depth;
    std::string prefix;  // the picture's file name, or the stem of its frames' names
    int32_t firstFrame, lastFrame;
    std::string format;     // joins stem and frame number into a file name
    int32_t frameInterval;  // milliseconds
    int32_t lifetime;       // milliseconds from the first drawing; -1 = never vanishes
    int32_t points;
    bool operator==(const ItemRecord&) const = default;
};

struct LevelDescription {
    // The counts as the file gives them (a negative count means none); only
    // the first records up to each table's capacity are kept.
    int32_t enemyCount = 0, stairCount = 0, itemCount = 0;
    std::vector<EnemyRecord> enemies;
    std::vector<StairRecord> stairs;
    std::vector<ItemRecord> items;
    bool operator==(const LevelDescription&) const = default;
};

// Longer tokens cannot be names or numbers of a level: such a file is refused.
constexpr size_t maxTokenLength = 4095;
// A level's own text, from the start of the file to the end of its last
// record, is at most this long: a level whose records run on past it is
// refused. What follows the last record is never read, so it may be of any
// size.
constexpr size_t maxLevelTextSize = 16 * 1024 * 1024;

// Tokens in a record of each kind.
constexpr int enemyFields = 8;
constexpr int stairFields = 7;
constexpr int itemFields = 13;

// How a token is read (see the conversions below).
enum class TokenKind { integer, real, realToInteger, text };

// What the game makes of a token that is not plainly what its field wants.
enum class TokenTrouble {
    none,
    notANumber,    // no number at its start: reads as 0
    trailingText,  // a number followed by other characters, which are ignored
    notWhole,      // a fraction or exponent where a whole number belongs: only the leading digits count
    outOfRange,    // beyond the 32-bit limits: reads as the nearest limit
    notFinite,     // a real that is infinite or not a number: reads as 0
};

// Where a token of a level file stood and how it was read.
struct TokenSource {
    int line;  // from 1
    TokenKind kind;
    TokenTrouble trouble;
    std::string text;
};

// What parseLevel can tell about where the parts of a level came from, for
// reports on a level file.
struct LevelSource {
    std::vector<TokenSource> tokens;  // every token read, in order: token n is tokens[n - 1]
    // The token numbers of the three counts; 0 when the text ended before it.
    int enemyCountToken = 0, stairCountToken = 0, itemCountToken = 0;
    bool overlongToken = false;  // reading stopped at a token longer than maxTokenLength
    bool tooLarge = false;       // reading stopped at a token that ends past maxLevelTextSize
    int lastLine = 1;            // the line where reading stopped
    size_t lastTokenEnd = 0;     // bytes from the start of the text to the end of the last token read
};

// Reads a level from the file's text, up to the end of its last record. False,
// with `level` unusable, when the text ends inside a record, holds an
// overlong token or runs past maxLevelTextSize before the level ends. With a
// `source`, also notes every token read, up to where reading stopped.
bool parseLevel(const char* text, size_t size, LevelDescription& level, LevelSource* source = nullptr);

// What readLevelText saw beyond the text it returns.
struct LevelTextEnd {
    bool textFollows = false;  // more than white space comes after the level's last record (looked
                               // for in the levelLookAhead bytes after it)
    int linesBeforeText = 0;   // line ends between the last record and that text
    bool tooLarge = false;     // the level did not end within maxLevelTextSize: reading stopped there
};

// How far past a level readLevelText looks for text that follows it, when asked.
constexpr size_t levelLookAhead = 65536;

// The text of a level file by its system name: read in chunks up to the end
// of the level's last token, as the counts in it announce, so whatever
// follows the level is not read (nor kept). A level still going on past
// maxLevelTextSize stops just past it, enough for parseLevel to refuse it.
// False when the file cannot be opened or read (a directory opens but cannot
// be read), with the reason in `error` when asked.
bool readLevelText(const std::string& systemName, std::string& text, std::string* error = nullptr,
                   LevelTextEnd* end = nullptr);

// What is odd about a token read as `kind`.
TokenTrouble tokenTrouble(const std::string& token, TokenKind kind);

// Token conversions, as the C library reads text but without undefined
// behaviour: integers saturate at the 32-bit limits, reals that are not
// finite read as 0.
int32_t integerToken(const std::string& token);
double realToken(const std::string& token);
// A real truncated toward zero, saturating at the 32-bit limits (NaN gives 0).
int32_t realToIntegerToken(const std::string& token);
