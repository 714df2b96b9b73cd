#include "game/score_table.h"
#include "game/state_hash.h"
#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* magic = "vantrel-scores 1";

ScoreTable* findTable(std::vector<ScoreTable>& tables, const std::string& start) {
    auto at = std::find_if(tables.begin(), tables.end(), [&](const ScoreTable& t) { return t.start == start; });
    return at == tables.end() ? nullptr : &*at;
}

bool validName(const std::string& name) {
    return !name.empty() && name.size() <= maxNameLength &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool validDate(const std::string& date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (date[i] < '0' || date[i] > '9') return false;
    return true;
}

// A demo's name beside the scores file: one plain component in games/, so
// that a file edited by hand cannot point the game at another one.
bool validDemo(const std::string& demo) {
    const std::string folder = "games/";
    if (demo.compare(0, folder.size(), folder) != 0 || demo.size() <= folder.size() + 5) return false;
    std::string name = demo.substr(folder.size());
    if (name.size() > 100 || name.compare(name.size() - 5, 5, ".demo") != 0 || name[0] == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    });
}

bool allOf(const std::string& s, int (*test)(int)) {
    return std::all_of(s.begin(), s.end(), [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}

// Reads a line word by word and number by number the way C++'s streams
// extract them (a number takes an optional sign and the digits that follow,
// and the next read goes on from there), without the streams, which the
// page's program carries no code for.
struct Words {
    const char* at;
    const char* end;

    explicit Words(const std::string& line) : at(line.data()), end(line.data() + line.size()) {}

    // White space as the streams' classic locale has it.
    static bool space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    void skipSpace() {
        while (at < end && space(*at)) ++at;
    }

    bool word(std::string& out) {
        skipSpace();
        const char* from = at;
        while (at < end && !space(*at)) ++at;
        out.assign(from, at);
        return at > from;
    }

    // The sign and digits a number is read from; false when there are no digits.
    bool numberText(std::string& out, bool& negative) {
        skipSpace();
        negative = false;
        if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
        const char* from = at;
        while (at < end && *at >= '0' && *at <= '9') ++at;
        out.assign(from, at);
        return at > from;
    }

    bool number(int64_t& out) {
        std::string digits;
        bool negative;
        if (!numberText(digits, negative)) return false;
        digits.insert(0, negative ? "-" : "+");
        errno = 0;
        long long v = std::strtoll(digits.c_str(), nullptr, 10);
        out = v;
        return errno != ERANGE;
    }

    bool number(int32_t& out) {
        int64_t v;
        if (!number(v) || v < INT32_MIN || v > INT32_MAX) return false;
        out = int32_t(v);
        return true;
    }

    // As the streams read an unsigned number: a minus sign negates it modulo 2^64.
    bool number(uint64_t& out) {
        std::string digits;
        bool negative;
        if (!numberText(digits, negative)) return false;
        errno = 0;
        unsigned long long v = std::strtoull(digits.c_str(), nullptr, 10);
        if (errno == ERANGE) return false;
        out = negative ? uint64_t(0) - uint64_t(v) : uint64_t(v);
        return true;
    }

    bool atEnd() {
        skipSpace();
        return at == end;
    }
};

bool validStart(const std::string& start) {
    Words words(start);
    std::string kind, rest;
    if (!words.word(kind) || !words.word(rest) || !words.atEnd()) return false;
    if (kind == "level") return rest.size() <= 9 && allOf(rest, std::isdigit);
    return kind == "file" && rest.size() == 16 && allOf(rest, std::isxdigit);
}

bool readEntry(Words& words, ScoreEntry& e) {
    return words.word(e.name) && words.number(e.score) && words.number(e.level) && words.word(e.date) &&
           words.word(e.demo) && words.number(e.firstFrame) && words.atEnd() && validName(e.name) && e.score > 0 &&
           e.level >= 0 && validDate(e.date) && validDemo(e.demo);
}

// The next line of text from `at` on, without its line feed; false at the end.
bool nextLine(const std::string& text, size_t& at, std::string& line) {
    if (at >= text.size()) return false;
    size_t feed = text.find('\n', at);
    if (feed == std::string::npos) feed = text.size();
    line.assign(text, at, feed - at);
    at = feed + 1;
    return true;
}

}  // namespace

const ScoreTable* ScoreBook::find(const std::string& start) const {
    auto at = std::find_if(tables.begin(), tables.end(), [&](const ScoreTable& t) { return t.start == start; });
    return at == tables.end() ? nullptr : &*at;
}

bool ScoreBook::qualifies(const std::string& start, int64_t score) const {
    if (score <= 0) return false;
    const ScoreTable* table = find(start);
    return !table || table->entries.size() < scoreTableSize || score > table->entries.back().score;
}

int ScoreBook::enter(const std::string& start, const ScoreEntry& entry) {
    if (!qualifies(start, entry.score)) return -1;
    ScoreTable* table = findTable(tables, start);
    if (!table) {
        tables.push_back({start, {}});
        table = &tables.back();
    }
    auto& list = table->entries;
    auto at = std::find_if(list.begin(), list.end(), [&](const ScoreEntry& e) { return e.score < entry.score; });
    int place = int(at - list.begin());
    list.insert(at, entry);
    if (list.size() > scoreTableSize) list.resize(scoreTableSize);
    return place;
}

std::string levelStart(int n) { return "level " + std::to_string(n); }

std::string ownLevelStart(const std::string& text) {
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, fnv1a(text.data(), text.size()));
    return std::string("file ") + hex;
}

std::string writeScoreBook(const ScoreBook& book) {
    std::string text = std::string(magic) + "\n";
    for (const ScoreTable& t : book.tables) {
        text += "table " + t.start + "\n";
        for (const ScoreEntry& e : t.entries)
            text += "entry " + e.name + " " + std::to_string(e.score) + " " + std::to_string(e.level) + " " + e.date +
                    " " + e.demo + " " + std::to_string(e.firstFrame) + "\n";
    }
    return text;
}

bool parseScoreBook(const std::string& text, ScoreBook& book, std::string& problem) {
    book = {};
    size_t at = 0;
    std::string line;
    int number = 1;
    auto fail = [&](const std::string& why) {
        problem = "line " + std::to_string(number) + ": " + why;
        book = {};
        return false;
    };
    if (!nextLine(text, at, line) || line != magic) return fail("it does not begin with \"" + std::string(magic) + "\"");
    while (nextLine(text, at, line)) {
        ++number;
        if (line.compare(0, 6, "table ") == 0) {
            std::string start = line.substr(6);
            if (!validStart(start) || book.find(start)) return fail("not a table of its own");
            book.tables.push_back({start, {}});
            continue;
        }
        Words words(line);
        std::string kind;
        ScoreEntry e;
        if (!words.word(kind) || kind != "entry" || book.tables.empty() || !readEntry(words, e))
            return fail("not an entry");
        auto& list = book.tables.back().entries;
        if (list.size() == scoreTableSize || (!list.empty() && list.back().score < e.score))
            return fail("entries out of order, or more than " + std::to_string(scoreTableSize));
        list.push_back(e);
    }
    return true;
}
