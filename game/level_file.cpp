#include "game/level_file.h"
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Walks the text token by token, noting each one in the source when asked.
class Tokens {
public:
    Tokens(const char* text, size_t size, LevelSource* source) : text(text), size(size), source(source) {}

    // False at the end of the text or on an overlong token.
    bool next(std::string& token, TokenKind kind) {
        while (at < size && isSpace(text[at])) {
            if (text[at] == '\n') ++line;
            ++at;
        }
        size_t start = at;
        while (at < size && !isSpace(text[at])) ++at;
        bool read = at != start && at - start <= maxTokenLength;
        if (read) token.assign(text + start, at - start);
        if (source) note(read, at != start, token, kind);
        return read;
    }

private:
    const char* text;
    size_t size;
    size_t at = 0;
    int line = 1;
    LevelSource* source;

    void note(bool read, bool sawToken, const std::string& token, TokenKind kind) {
        source->lastLine = line;
        if (read)
            source->tokens.push_back({line, kind, tokenTrouble(token, kind), token});
        else
            source->overlongToken = sawToken;
    }
};

constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

// Reads `count` tokens of the given kinds into `out`; false if the text ends
// first.
bool readRecord(Tokens& tokens, std::string* out, const TokenKind* kinds, int count) {
    for (int i = 0; i < count; ++i)
        if (!tokens.next(out[i], kinds[i])) return false;
    return true;
}

constexpr TokenKind I = TokenKind::integer, R = TokenKind::real, T = TokenKind::text;
constexpr TokenKind enemyKinds[enemyFields] = {R, R, R, R, R, R, R, T};
constexpr TokenKind stairKinds[stairFields] = {R, R, R, R, R, R, I};
constexpr TokenKind itemKinds[itemFields] = {R, R, R, R, R, R, T, I, I, T, TokenKind::realToInteger, I, I};

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

// One section: a count, then that many records. Records beyond the table's
// capacity are read, so the next section starts where it should, but not
// kept.
template <typename Record, typename Build, size_t fields>
bool readSection(Tokens& tokens, int32_t& count, std::vector<Record>& kept, int capacity,
                 const TokenKind (&kinds)[fields], Build build) {
    std::string countToken;
    if (!tokens.next(countToken, TokenKind::integer)) return false;
    count = integerToken(countToken);
    std::string record[fields];
    for (int32_t i = 0; i < count; ++i) {
        if (!readRecord(tokens, record, kinds, int(fields))) return false;
        if (i < capacity) kept.push_back(build(record));
    }
    return true;
}

// A section, noting where its count stood once the count has been read.
template <typename Record, typename Build, size_t fields>
bool readNotedSection(Tokens& tokens, LevelSource* source, int LevelSource::*countToken, int32_t& count,
                      std::vector<Record>& kept, int capacity, const TokenKind (&kinds)[fields], Build build) {
    size_t before = source ? source->tokens.size() : 0;
    bool whole = readSection(tokens, count, kept, capacity, kinds, build);
    if (source && source->tokens.size() > before) source->*countToken = int(before) + 1;
    return whole;
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

bool parseLevel(const char* text, size_t size, LevelDescription& level, LevelSource* source) {
    level = {};
    if (source) *source = {};
    if (!text || size > maxLevelFileSize) return false;
    Tokens tokens(text, size, source);
    return readNotedSection(tokens, source, &LevelSource::enemyCountToken, level.enemyCount, level.enemies,
                            maxEnemies, enemyKinds, enemyFrom) &&
           readNotedSection(tokens, source, &LevelSource::stairCountToken, level.stairCount, level.stairs,
                            maxStairs, stairKinds, stairFrom) &&
           readNotedSection(tokens, source, &LevelSource::itemCountToken, level.itemCount, level.items, maxItems,
                            itemKinds, itemFrom);
}

namespace {

// A number as strtod reads it, taking the whole token.
bool wholeTokenIsReal(const std::string& token) {
    const char* start = token.c_str();
    char* end = nullptr;
    std::strtod(start, &end);
    return end != start && *end == '\0';
}

TokenTrouble integerTrouble(const std::string& token) {
    const char* p = token.c_str();
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const char* digits = p;
    int64_t value = 0;  // capped past both limits
    for (; *p >= '0' && *p <= '9'; ++p) value = std::min(value * 10 + (*p - '0'), int64_t(int32Max) + 2);
    if (p == digits) return wholeTokenIsReal(token) ? TokenTrouble::notWhole : TokenTrouble::notANumber;
    if (negative ? -value < int32Min : value > int32Max) return TokenTrouble::outOfRange;
    if (*p == '\0') return TokenTrouble::none;
    return wholeTokenIsReal(token) ? TokenTrouble::notWhole : TokenTrouble::trailingText;
}

TokenTrouble realTrouble(const std::string& token) {
    const char* start = token.c_str();
    char* end = nullptr;
    double value = std::strtod(start, &end);
    if (end == start) return TokenTrouble::notANumber;
    if (!std::isfinite(value)) return TokenTrouble::notFinite;
    return *end == '\0' ? TokenTrouble::none : TokenTrouble::trailingText;
}

TokenTrouble realToIntegerTrouble(const std::string& token) {
    TokenTrouble trouble = realTrouble(token);
    if (trouble == TokenTrouble::notANumber || trouble == TokenTrouble::notFinite) return trouble;
    double value = std::trunc(realToken(token));
    if (value > 2147483647.0 || value < -2147483648.0) return TokenTrouble::outOfRange;
    return trouble;
}

}  // namespace

TokenTrouble tokenTrouble(const std::string& token, TokenKind kind) {
    switch (kind) {
    case TokenKind::integer: return integerTrouble(token);
    case TokenKind::real: return realTrouble(token);
    case TokenKind::realToInteger: return realToIntegerTrouble(token);
    case TokenKind::text: break;
    }
    return TokenTrouble::none;
}

bool readLevelText(const std::string& systemName, std::string& text, std::string* error) {
    std::FILE* file = std::fopen(systemName.c_str(), "rb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= maxLevelFileSize)
        text.append(buffer, got);
    bool ok = !std::ferror(file);
    if (!ok && error) *error = "it cannot be read";
    std::fclose(file);
    return ok;
}
