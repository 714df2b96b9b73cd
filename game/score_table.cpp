#include "game/score_table.h"
#include "game/state_hash.h"
#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <sstream>

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

bool validStart(const std::string& start) {
    std::istringstream words(start);
    std::string kind, rest, more;
    if (!(words >> kind >> rest) || (words >> more)) return false;
    if (kind == "level") return rest.size() <= 9 && allOf(rest, std::isdigit);
    return kind == "file" && rest.size() == 16 && allOf(rest, std::isxdigit);
}

bool readEntry(std::istringstream& words, ScoreEntry& e) {
    std::string extra;
    return words >> e.name >> e.score >> e.level >> e.date >> e.demo >> e.firstFrame && !(words >> extra) &&
           validName(e.name) && e.score > 0 && e.level >= 0 && validDate(e.date) && validDemo(e.demo);
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
    std::istringstream lines(text);
    std::string line;
    int number = 1;
    auto fail = [&](const std::string& why) {
        problem = "line " + std::to_string(number) + ": " + why;
        book = {};
        return false;
    };
    if (!std::getline(lines, line) || line != magic) return fail("it does not begin with \"" + std::string(magic) + "\"");
    while (std::getline(lines, line)) {
        ++number;
        if (line.compare(0, 6, "table ") == 0) {
            std::string start = line.substr(6);
            if (!validStart(start) || book.find(start)) return fail("not a table of its own");
            book.tables.push_back({start, {}});
            continue;
        }
        std::istringstream words(line);
        std::string kind;
        ScoreEntry e;
        if (!(words >> kind) || kind != "entry" || book.tables.empty() || !readEntry(words, e))
            return fail("not an entry");
        auto& list = book.tables.back().entries;
        if (list.size() == scoreTableSize || (!list.empty() && list.back().score < e.score))
            return fail("entries out of order, or more than " + std::to_string(scoreTableSize));
        list.push_back(e);
    }
    return true;
}
