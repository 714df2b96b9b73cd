#include "game/level_file.h"
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Walks the text token by token.
class Tokens {
public:
    Tokens(const char* text, size_t size) : text(text), size(size) {}

    // False at the end of the text or on an overlong token.
    bool next(std::string& token) {
        while (at < size && isSpace(text[at])) ++at;
        size_t start = at;
        while (at < size && !isSpace(text[at])) ++at;
        if (at == start || at - start > maxTokenLength) return false;
        token.assign(text + start, at - start);
        return true;
    }

private:
    const char* text;
    size_t size;
    size_t at = 0;
};

constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

// Reads `count` tokens into `out`; false if the text ends first.
bool readRecord(Tokens& tokens, std::string* out, int count) {
    for (int i = 0; i < count; ++i)
        if (!tokens.next(out[i])) return false;
    return true;
}

EnemyRecord enemyFrom(const std::string* t) {
    return {realToken(t[0]), realToken(t[1]), realToken(t[2]), realToken(t[3]),
            realToken(t[4]), realToken(t[5]), realToken(t[6]), t[7]};
}

StairRecord stairFrom(const std::string* t) {
    return {realToken(t[0]), realToken(t[1]), realToken(t[2]), realToken(t[3]),
            realToken(t[4]), realToken(t[5]), integerToken(t[6])};
}

ItemRecord itemFrom(const std::string* t) {
    return {realToken(t[0]), realToken(t[1]), realToken(t[2]), realToken(t[3]), realToken(t[4]),
            realToken(t[5]), t[6], integerToken(t[7]), integerToken(t[8]), t[9],
            realToIntegerToken(t[10]), integerToken(t[11]), integerToken(t[12])};
}

// One section: a count, then that many records of `fields` tokens. Records
// beyond the table's capacity are read, so the next section starts where it
// should, but not kept.
template <typename Record, typename Build>
bool readSection(Tokens& tokens, int32_t& count, std::vector<Record>& kept, int capacity, int fields, Build build) {
    std::string countToken;
    if (!tokens.next(countToken)) return false;
    count = integerToken(countToken);
    std::string record[13];
    for (int32_t i = 0; i < count; ++i) {
        if (!readRecord(tokens, record, fields)) return false;
        if (i < capacity) kept.push_back(build(record));
    }
    return true;
}

}  // namespace

int32_t integerToken(const std::string& token) {
    const char* p = token.c_str();
    while (isSpace(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > int64_t(int32Max) + 1) value = int64_t(int32Max) + 1;  // saturates from here on
    }
    if (negative) value = -value;
    if (value > int32Max) return int32Max;
    if (value < int32Min) return int32Min;
    return int32_t(value);
}

double realToken(const std::string& token) {
    double value = std::strtod(token.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int32_t realToIntegerToken(const std::string& token) {
    double value = std::trunc(realToken(token));
    if (value >= 2147483647.0) return int32Max;
    if (value <= -2147483648.0) return int32Min;
    return int32_t(value);
}

bool parseLevel(const char* text, size_t size, LevelDescription& level) {
    level = {};
    if (!text || size > maxLevelFileSize) return false;
    Tokens tokens(text, size);
    return readSection(tokens, level.enemyCount, level.enemies, maxEnemies, 8, enemyFrom) &&
           readSection(tokens, level.stairCount, level.stairs, maxStairs, 7, stairFrom) &&
           readSection(tokens, level.itemCount, level.items, maxItems, 13, itemFrom);
}
