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
// A level ends within maxLevelTextSize: no token past it is read.
class Tokens {
public:
    Tokens(const char* text, size_t size, LevelSource* source) : text(text), size(size), source(source) {}

    // False at the end of the text, on an overlong token or past the size limit.
    bool next(std::string& token, TokenKind kind) {
        size_t end = std::min(size, maxLevelTextSize + 1);
        while (at < end && isSpace(text[at])) {
            if (text[at] == '\n') ++line;
            ++at;
        }
        size_t start = at;
        while (at < end && !isSpace(text[at])) ++at;
        bool tooLarge = at > maxLevelTextSize || (at == start && textAfter(at));
        bool read = !tooLarge && at != start && at - start <= maxTokenLength;
        if (read) token.assign(text + start, at - start);
        if (source) note(read, tooLarge, at != start, token, kind);
        return read;
    }

private:
    const char* text;
    size_t size;
    size_t at = 0;
    int line = 1;
    LevelSource* source;

    // Whether anything but white space lies at or after `from`.
    bool textAfter(size_t from) const {
        while (from < size && isSpace(text[from])) ++from;
        return from < size;
    }

    void note(bool read, bool tooLarge, bool sawToken, const std::string& token, TokenKind kind) {
        source->lastLine = line;
        if (read) {
            source->tokens.push_back({line, kind, tokenTrouble(token, kind), token});
            source->lastTokenEnd = at;
        } else {
            source->tooLarge = tooLarge;
            source->overlongToken = !tooLarge && sawToken;
        }
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
    if (!text) return false;
    Tokens tokens(text, size, source);
    return readNotedSection(tokens, source, &LevelSource::enemyCountToken, level.enemyCount, level.enemies,
                            maxEnemies, enemyKinds, enemyFrom) &&
           readNotedSection(tokens, source, &LevelSource::stairCountToken, level.stairCount, level.stairs,
                            maxStairs, stairKinds, stairFrom) &&
           readNotedSection(tokens, source, &LevelSource::itemCountToken, level.itemCount, level.items, maxItems,
                            itemKinds, itemFrom);
}

namespace {

// A decimal number with a fraction or an exponent, as strtod reads it,
// taking the whole token. strtod also reads hexadecimal (0x10), inf and nan:
// those are not what a whole number was meant as, only text (every one of
// them holds an x or an n, which no decimal number does).
bool wholeTokenIsDecimalReal(const std::string& token) {
    const char* start = token.c_str();
    char* end = nullptr;
    std::strtod(start, &end);
    return end != start && *end == '\0' && token.find_first_of("xXnN") == std::string::npos;
}

TokenTrouble integerTrouble(const std::string& token) {
    const char* p = token.c_str();
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const char* digits = p;
    int64_t value = 0;  // capped past both limits
    for (; *p >= '0' && *p <= '9'; ++p) value = std::min(value * 10 + (*p - '0'), int64_t(int32Max) + 2);
    if (p == digits) return wholeTokenIsDecimalReal(token) ? TokenTrouble::notWhole : TokenTrouble::notANumber;
    if (negative ? -value < int32Min : value > int32Max) return TokenTrouble::outOfRange;
    if (*p == '\0') return TokenTrouble::none;
    return wholeTokenIsDecimalReal(token) ? TokenTrouble::notWhole : TokenTrouble::trailingText;
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

namespace {

// Follows a level's text as it arrives, chunk by chunk, to tell where the
// level ends: after its third count and the records the counts announce, as
// parseLevel reads them.
class LevelExtent {
public:
    bool ended = false;     // the level's last token is complete, or one is too long for any level
    bool overlong = false;  // the token that ended it is longer than maxTokenLength

    // How many of the bytes belong to the level: all of them, until it ends.
    size_t take(const char* bytes, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            if (isSpace(bytes[i])) {
                if (length > 0) endToken();
                if (ended) return i;
            } else if (++length > maxTokenLength) {
                ended = overlong = true;  // enough of it for parseLevel to refuse the file
                return i + 1;
            } else if (recordTokensLeft == 0) {
                count += bytes[i];  // a count, needed whole
            }
        }
        return size;
    }

private:
    static constexpr int fields[3] = {enemyFields, stairFields, itemFields};
    int section = 0;               // the section being read
    int64_t recordTokensLeft = 0;  // of its records; 0 while its count is awaited
    size_t length = 0;             // of the token being read
    std::string count;             // the count being read

    void endToken() {
        length = 0;
        if (recordTokensLeft == 0) {
            recordTokensLeft = std::max<int64_t>(0, integerToken(count)) * fields[section];
            count.clear();
        } else {
            --recordTokensLeft;
        }
        if (recordTokensLeft == 0) ended = ++section == 3;
    }
};

int lineEnds(const char* bytes, size_t size) { return int(std::count(bytes, bytes + size, '\n')); }

// Looks for text in the bytes after the level, up to levelLookAhead of them:
// first what is left of the chunk the level ended in, then further chunks.
void lookPastLevel(std::FILE* file, const char* rest, size_t restSize, LevelTextEnd& end) {
    char buffer[4096];
    size_t looked = 0;
    for (;;) {
        const char* text = std::find_if(rest, rest + restSize, [](char c) { return !isSpace(c); });
        end.linesBeforeText += lineEnds(rest, size_t(text - rest));
        if (text != rest + restSize) {
            end.textFollows = true;
            return;
        }
        looked += restSize;
        if (looked >= levelLookAhead) return;
        restSize = std::fread(buffer, 1, std::min(sizeof buffer, levelLookAhead - looked), file);
        if (restSize == 0) return;
        rest = buffer;
    }
}

}  // namespace

bool readLevelText(const std::string& systemName, std::string& text, std::string* error, LevelTextEnd* end) {
    text.clear();
    LevelTextEnd found;
    std::FILE* file = std::fopen(systemName.c_str(), "rb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    LevelExtent extent;
    char buffer[65536];
    size_t got = 0, used = 0;
    while (!extent.ended && text.size() <= maxLevelTextSize && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        used = std::min(extent.take(buffer, got), maxLevelTextSize + 1 - text.size());
        text.append(buffer, used);
    }
    found.tooLarge = text.size() > maxLevelTextSize;  // a level that ends within the limit stops there
    if (end && extent.ended && !extent.overlong && !found.tooLarge) lookPastLevel(file, buffer + used, got - used, found);
    bool ok = !std::ferror(file);
    if (!ok && error) *error = "it cannot be read";
    std::fclose(file);
    if (end) *end = found;
    return ok;
}
