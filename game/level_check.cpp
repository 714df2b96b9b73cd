#include "game/level_check.h"
#include "game/level_report.h"
#include "game/level_file.h"
#include "platform/paths.h"
#include "platform/picture_names.h"
#include "platform/printable_text.h"
#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

struct Section {
    const char* name;    // one object
    const char* plural;  // several
    int fields;
    int capacity;
    const char* const* fieldNames;
};

const char* const enemyFieldNames[enemyFields] = {"x", "y", "z", "lower bound", "upper bound", "speed", "size", "picture"};
const char* const stairFieldNames[stairFields] = {"x", "y", "z", "width", "height", "depth", "type"};
const char* const itemFieldNames[itemFields] = {"x",           "y",          "z",           "width",          "height",
                                                "depth",       "picture",    "first frame", "last frame",     "name format",
                                                "frame interval", "lifetime", "points"};

const Section sections[3] = {
    {"enemy", "enemies", enemyFields, maxEnemies, enemyFieldNames},
    {"stair", "stairs", stairFields, maxStairs, stairFieldNames},
    {"item", "items", itemFields, maxItems, itemFieldNames},
};

int countTokenOf(const LevelSource& source, int section) {
    const int LevelSource::*tokens[3] = {&LevelSource::enemyCountToken, &LevelSource::stairCountToken,
                                         &LevelSource::itemCountToken};
    return source.*tokens[section];
}

// The records a section's count announces, as far as the reading goes.
int64_t announced(const LevelSource& source, int section) {
    int at = countTokenOf(source, section);
    return at ? std::max<int64_t>(0, integerToken(source.tokens[at - 1].text)) : 0;
}

// What token n is: "the stair count", "enemy 2 speed".
std::string roleOf(const LevelSource& source, int n) {
    for (int s = 2; s >= 0; --s) {
        int at = countTokenOf(source, s);
        if (!at || n < at) continue;
        if (n == at) return std::string("the ") + sections[s].name + " count";
        int64_t index = n - at - 1;
        return std::string(sections[s].name) + " " + std::to_string(index / sections[s].fields + 1) + " " +
               sections[s].fieldNames[index % sections[s].fields];
    }
    return "token";
}

std::string readAs(const TokenSource& token) {
    switch (token.kind) {
    case TokenKind::integer: return std::to_string(integerToken(token.text));
    case TokenKind::realToInteger: return std::to_string(realToIntegerToken(token.text));
    default: return number(realToken(token.text));
    }
}

std::string troubleText(const TokenSource& token) {
    std::string shown = "'" + printable(token.text) + "'";
    switch (token.trouble) {
    case TokenTrouble::notANumber: return shown + " is not a number; the game reads 0";
    case TokenTrouble::trailingText: return shown + " has text after its number; the game reads " + readAs(token);
    case TokenTrouble::notWhole: return shown + " is not a whole number; the game reads " + readAs(token);
    case TokenTrouble::outOfRange: return shown + " is beyond the 32-bit limits; the game reads " + readAs(token);
    case TokenTrouble::notFinite: return shown + " is not a finite number; the game reads 0";
    case TokenTrouble::none: break;
    }
    return {};
}

void checkTokens(LevelReport& report) {
    const std::vector<TokenSource>& tokens = report.source.tokens;
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].trouble != TokenTrouble::none)
            report.add(int(i) + 1, roleOf(report.source, int(i) + 1) + ": " + troubleText(tokens[i]));
}

void checkCounts(LevelReport& report) {
    for (int s = 0; s < 3; ++s) {
        int at = countTokenOf(report.source, s);
        if (!at) continue;
        int32_t count = integerToken(report.source.tokens[at - 1].text);
        const Section& section = sections[s];
        if (count < 0)
            report.add(at, std::string("a negative ") + section.name + " count (" + std::to_string(count) +
                               "): the game reads it as none");
        else if (count > section.capacity)
            report.add(at, std::to_string(count) + " " + section.plural + ", more than the " +
                               std::to_string(section.capacity) + " the game holds: " + section.plural + " " +
                               std::to_string(section.capacity + 1) + " to " + std::to_string(count) +
                               " are read and left out");
    }
}

// Where the text ran out: before a count, or inside a record.
std::string whereItEnded(const LevelSource& source) {
    int read = int(source.tokens.size());
    for (int s = 2; s >= 0; --s) {
        int at = countTokenOf(source, s);
        if (!at) continue;
        int inRecords = read - at;
        if (inRecords >= announced(source, s) * sections[s].fields && s < 2)
            return std::string("before the ") + sections[s + 1].name + " count";
        std::string record = std::string(sections[s].name) + " " + std::to_string(inRecords / sections[s].fields + 1);
        int done = inRecords % sections[s].fields;
        if (done == 0) return "where " + record + " should begin";
        return "inside " + record + " (after " + std::to_string(done) + " of its " +
               std::to_string(sections[s].fields) + " tokens)";
    }
    return "before the enemy count";
}

void checkWhole(LevelReport& report, bool tooLarge) {
    const LevelSource& source = report.source;
    int next = int(source.tokens.size()) + 1;
    if (tooLarge || source.tooLarge)
        report.add(next, "the level's records run on past " + std::to_string(maxLevelTextSize >> 20) +
                             " MiB: the game refuses the whole file");
    else if (source.overlongToken)
        report.add(next, "longer than " + std::to_string(maxTokenLength) +
                             " characters: the game refuses the whole file");
    else
        report.add(next, "the file ends " + whereItEnded(source) + ": the game refuses the whole file");
}

std::vector<LevelProblem> inTokenOrder(std::vector<LevelProblem> problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const LevelProblem& a, const LevelProblem& b) { return a.token < b.token; });
    return problems;
}

// Text after the level's last record, which the game never reads: most
// often a record the counts leave out.
void noteTextAfter(LevelReport& report, const LevelTextEnd& after) {
    const LevelSource& source = report.source;
    report.note(int(source.tokens.size()) + 1,
                "text follows the level's last record: the game does not read it (if it holds records, a count is too low)",
                source.lastLine + after.linesBeforeText);
}

// What follows the level in text held whole, as readLevelText would see it.
LevelTextEnd textAfter(const char* text, size_t size, const LevelSource& source) {
    LevelTextEnd after;
    size_t at = source.lastTokenEnd;
    for (; at < size && isspace(static_cast<unsigned char>(text[at])); ++at) after.linesBeforeText += text[at] == '\n';
    after.textFollows = at < size;
    return after;
}

// The checks of a level's text; `after` tells what follows it in a file
// read only as far as the level goes (readLevelText).
std::vector<LevelProblem> checkLevel(const char* text, size_t size, const LevelTextEnd& after) {
    LevelSource source;
    LevelDescription level;
    bool whole = parseLevel(text, size, level, &source);
    LevelReport report{source, {}};
    checkTokens(report);
    checkCounts(report);
    if (!whole) {
        checkWhole(report, after.tooLarge);
        return inTokenOrder(report.problems);
    }
    checkRecords(report, level);
    LevelTextEnd following = after.textFollows ? after : textAfter(text, size, source);
    if (following.textFollows) noteTextAfter(report, following);
    return inTokenOrder(report.problems);
}

}  // namespace

std::vector<LevelProblem> checkLevelText(const char* text, size_t size) { return checkLevel(text, size, {}); }

LevelFileContent readLevelFile(const std::string& path) {
    LevelFileContent content;
    content.readable = readLevelText(path, content.text, &content.error, &content.after);
    return content;
}

std::vector<LevelProblem> checkLevelContent(const LevelFileContent& content) {
    if (!content.readable) return {{0, 0, "cannot be read: " + content.error}};
    return checkLevel(content.text.data(), content.text.size(), content.after);
}

std::vector<LevelProblem> checkLevelFile(const std::string& path) {
    // A file in the data folder is one of the data's levels, played by its
    // number with no folder of its own; any other is played with --level-file.
    std::string folder = platform::folderOf(path);
    std::error_code error;
    bool ofTheData = std::filesystem::equivalent(platform::systemPath(folder),
                                                 platform::systemPath(platform::dataDirectory()), error);
    std::string before = platform::levelFolder();
    platform::setLevelFolder(ofTheData ? std::string() : folder);
    std::vector<LevelProblem> problems = checkLevelContent(readLevelFile(path));
    platform::setLevelFolder(before);
    return problems;
}

bool reportLevelProblems(const std::string& fileName, const std::vector<LevelProblem>& problems, std::FILE* out) {
    // Messages quote the file's own text: nothing of it reaches the terminal raw.
    std::string shownName = platform::printableText(fileName);
    const char* file = shownName.c_str();
    size_t count = 0;
    for (const LevelProblem& p : problems) {
        const char* kind = p.note ? "note: " : "";
        std::string message = platform::printableText(p.message);
        if (p.token > 0)
            std::fprintf(out, "%s:%d: token %d: %s%s\n", file, p.line, p.token, kind, message.c_str());
        else
            std::fprintf(out, "%s: %s%s\n", file, kind, message.c_str());
        count += !p.note;
    }
    if (count == 0)
        std::fprintf(out, "%s: clean\n", file);
    else
        std::fprintf(out, "%s: %zu problem%s\n", file, count, count == 1 ? "" : "s");
    return count == 0;
}

int reportLevelChecks(const std::vector<std::string>& files, std::FILE* out) {
    bool clean = true;
    for (const std::string& file : files) clean = reportLevelProblems(file, checkLevelFile(file), out) && clean;
    return clean ? 0 : 1;
}
