#include "app/score_keeping.h"
#include "app/demo.h"
#include "game/game_state.h"
#include "platform/data_folder.h"
#include "platform/file_writing.h"
#include "platform/paths.h"
#include "platform/player_storage.h"
#include "platform/printable_text.h"
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string start;
ScoreBook book;
std::FILE* messages = stderr;
bool toldCannotKeep = false;
uint64_t playStartFrame = 0;  // the recorded frame where the game being played began

constexpr uint32_t lockWait = 5000;  // ms another game may hold the tables

std::string folder() { return platform::dataFolder(); }
std::string tablesFile() { return folder() + "/scores.txt"; }
std::string shown(const std::string& s) { return platform::printableText(s); }

void cannotKeep(const std::string& why) {
    if (toldCannotKeep) return;
    toldCannotKeep = true;
    std::fprintf(messages, "vantrel: cannot keep scores in %s: %s; the game plays on\n", shown(folder()).c_str(),
                 shown(why).c_str());
}

std::string localTime(const char* format) {
    std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* t = std::localtime(&now)) std::strftime(text, sizeof text, format, t);
    return text;
}

// A file of tables that cannot be read is put aside under a name of its own,
// never replaced: the player may want what is in it.
void keepAside(const std::string& file, const std::string& why) {
    std::string aside = file + ".bad-" + localTime("%Y%m%d-%H%M%S");
    std::error_code error;
    for (int n = 2; fs::exists(platform::systemPath(aside), error); ++n)
        aside = file + ".bad-" + localTime("%Y%m%d-%H%M%S") + "-" + std::to_string(n);
    fs::rename(platform::systemPath(file), platform::systemPath(aside), error);
    if (!error) platform::playerFilesChanged();
    if (error)
        std::fprintf(messages, "vantrel: %s cannot be read as scores (%s) nor be put aside (%s); scores are not kept\n",
                     shown(file).c_str(), shown(why).c_str(), error.message().c_str());
    else
        std::fprintf(messages, "vantrel: %s cannot be read as scores (%s): it is kept as %s, and the tables begin "
                               "afresh\n",
                     shown(file).c_str(), shown(why).c_str(), shown(aside).c_str());
}

// What a file holds, as far as it can be read; false when it cannot be
// opened. (Plain C reading: the page's program carries no C++ streams.)
bool readWhole(const std::string& file, std::string& bytes) {
    bytes.clear();
    std::FILE* in = std::fopen(file.c_str(), "rb");  // UTF-8, on Windows too (its manifest)
    if (!in) return false;
    char buffer[4096];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, in)) bytes.append(buffer, got);
    std::fclose(in);
    return true;
}

// The tables as the file holds them; false when they could not be read and
// the file is still there (nothing may then be written over it). Put aside
// when the game is to go on with fresh tables; only said otherwise.
bool readTables(ScoreBook& read, bool putAside = true) {
    read = {};
    std::string file = tablesFile();
    std::error_code error;
    if (!fs::exists(platform::systemPath(file), error)) return !error;
    std::string text, problem;
    bool opened = readWhole(file, text);
    if (opened && parseScoreBook(text, read, problem)) return true;
    if (!putAside) {
        std::fprintf(messages, "vantrel: %s cannot be read as scores (%s)\n", shown(file).c_str(),
                     shown(opened ? problem : "it cannot be read").c_str());
        return false;
    }
    keepAside(file, opened ? problem : "it cannot be read");
    return !fs::exists(platform::systemPath(file), error);
}

// A name of its own in games/ for a game's demo.
std::string newDemoName(const NameEntry& entry) {
    std::string base = "games/" + localTime("%Y%m%d-%H%M%S") + "-" + std::to_string(entry.score) + "-" + entry.name;
    std::string name = base + ".demo";
    std::error_code error;
    for (int n = 2; fs::exists(platform::systemPath(folder() + "/" + name), error); ++n)
        name = base + "-" + std::to_string(n) + ".demo";
    return name;
}

void removeDemo(const std::string& name) {
    std::error_code error;
    if (fs::remove(platform::systemPath(folder() + "/" + name), error)) platform::playerFilesChanged();
}

// The entry and its game, into the tables as the file holds them now.
void keepEntry(const NameEntry& named, const std::string& demo) {
    std::error_code error;
    fs::create_directories(platform::systemPath(folder() + "/games"), error);
    platform::FileLock lock;
    std::string why;
    if (error) return cannotKeep(error.message());
    if (!platform::lockFile(lock, tablesFile(), lockWait, why)) return cannotKeep(why);
    ScoreBook now;
    if (readTables(now)) {
        ScoreEntry entry{named.name, named.score, named.level, localTime("%Y-%m-%d"), newDemoName(named),
                         playStartFrame};
        const ScoreTable* before = now.find(start);
        std::vector<ScoreEntry> old = before ? before->entries : std::vector<ScoreEntry>{};
        if (!platform::writeFileSafely(folder() + "/" + entry.demo, demo, why)) {
            cannotKeep(why);
        } else if (now.enter(start, entry) < 0) {
            removeDemo(entry.demo);  // another game took the place meanwhile
        } else if (!platform::writeFileSafely(tablesFile(), writeScoreBook(now), why)) {
            removeDemo(entry.demo);
            cannotKeep(why);
        } else {
            const std::vector<ScoreEntry>& kept = now.find(start)->entries;
            for (const ScoreEntry& e : old)  // those pushed off the table take their games with them
                if (std::find(kept.begin(), kept.end(), e) == kept.end()) removeDemo(e.demo);
            book = now;
        }
    }
    platform::unlockFile(lock);
}

bool tablesWant(int64_t score) {
    ScoreBook now;
    if (readTables(now)) book = now;
    bool wanted = !toldCannotKeep && book.qualifies(start, score);
    noteTablesAnswer(wanted);
    return wanted;
}


// The same game: all but the name its demo has in one place or another.
bool sameGame(const ScoreEntry& a, const ScoreEntry& b) {
    return a.name == b.name && a.score == b.score && a.level == b.level && a.date == b.date &&
           a.firstFrame == b.firstFrame;
}

bool holds(const ScoreBook& book, const std::string& start, const ScoreEntry& entry) {
    const ScoreTable* table = book.find(start);
    return table && std::any_of(table->entries.begin(), table->entries.end(),
                                [&](const ScoreEntry& e) { return sameGame(e, entry); });
}

// A name in games/ that no file has, after the one the game had elsewhere.
std::string freeDemoName(const std::string& elsewhere) {
    std::string base = elsewhere.substr(6, elsewhere.size() - 6 - 5);  // between games/ and .demo
    std::string name = "games/" + base + ".demo";
    std::error_code error;
    for (int n = 2; fs::exists(platform::systemPath(folder() + "/" + name), error); ++n)
        name = "games/" + base + "-" + std::to_string(n) + ".demo";
    return name;
}

// A demo of another place's tables that can be taken: a plain name in games/.
bool takeableDemo(const std::string& name) {
    return name.size() > 11 && name.compare(0, 6, "games/") == 0 && name.find('/', 6) == std::string::npos &&
           name.compare(name.size() - 5, 5, ".demo") == 0 && name[6] != '.';
}

}  // namespace

int mergeScores(const std::string& from, std::FILE* out, std::FILE* err) {
    messages = err;
    ScoreBook loaded;
    std::string bytes, problem;
    if (!readWhole(from + "/scores.txt", bytes) || !parseScoreBook(bytes, loaded, problem)) {
        std::fprintf(err, "vantrel: these are not scores this game saved (%s)\n",
                     shown(problem.empty() ? "there is no scores.txt" : problem).c_str());
        return -1;
    }
    std::error_code error;
    if (folder().empty()) error = std::make_error_code(std::errc::no_such_file_or_directory);
    if (!error) fs::create_directories(platform::systemPath(folder() + "/games"), error);
    platform::FileLock lock;
    std::string why = error ? error.message() : "";
    if (error || !platform::lockFile(lock, tablesFile(), lockWait, why)) {
        std::fprintf(err, "vantrel: cannot keep scores in %s: %s\n", shown(folder()).c_str(), shown(why).c_str());
        return -1;
    }
    ScoreBook now;
    if (!readTables(now)) {
        platform::unlockFile(lock);
        return -1;  // said, and the file that cannot be read is left as it is
    }
    ScoreBook before = now;
    std::vector<std::string> written;  // demos copied in
    int entered = 0, already = 0, below = 0, lacking = 0;
    for (const ScoreTable& table : loaded.tables)
        for (const ScoreEntry& entry : table.entries) {
            if (holds(now, table.start, entry)) {
                ++already;
            } else if (!now.qualifies(table.start, entry.score)) {
                ++below;
            } else if (!takeableDemo(entry.demo) || !readWhole(from + "/" + entry.demo, bytes)) {
                ++lacking;  // an entry is kept with its game, or not at all
            } else {
                ScoreEntry kept = entry;
                kept.demo = freeDemoName(entry.demo);
                if (!platform::writeFileSafely(folder() + "/" + kept.demo, bytes, why)) break;
                written.push_back(kept.demo);
                now.enter(table.start, kept);
                ++entered;
            }
        }
    bool ok = why.empty() && platform::writeFileSafely(tablesFile(), writeScoreBook(now), why);
    // The games no entry names any more: those of entries that left the
    // tables for better ones, and every copy when the tables were not written.
    auto named = [&](const std::string& demo) {
        for (const ScoreTable& table : now.tables)
            for (const ScoreEntry& e : table.entries)
                if (e.demo == demo) return ok;
        return false;
    };
    int left = 0;
    for (const ScoreTable& table : before.tables)
        for (const ScoreEntry& e : table.entries)
            if (ok && !holds(now, table.start, e)) {
                ++left;
                if (!named(e.demo)) removeDemo(e.demo);
            }
    for (const std::string& demo : written)
        if (!named(demo)) removeDemo(demo);
    platform::unlockFile(lock);
    if (!ok) {
        std::fprintf(err, "vantrel: cannot keep scores in %s: %s\n", shown(folder()).c_str(), shown(why).c_str());
        return -1;
    }
    book = now;
    std::fprintf(out, "scores loaded: %d entered the tables, %d were there already, %d ranked below full tables", entered,
                 already, below);
    if (lacking) std::fprintf(out, ", %d came without their games", lacking);
    if (left) std::fprintf(out, "; %d kept before left the tables for better ones", left);
    std::fprintf(out, "\n");
    return entered;
}

void startKeepingScores(std::FILE* err) {
    messages = err;
    start = hasOwnLevel() ? ownLevelStart(ownLevelText()) : levelStart(firstLevel());
    std::error_code error;
    if (folder().empty())
        cannotKeep("the system names no place for a game's data");
    else if (fs::create_directories(platform::systemPath(folder() + "/games"), error); error)
        cannotKeep(error.message());
    readTables(book);
    scoreHooks.wanted = tablesWant;
    scoreHooks.named = [](const NameEntry& entry) {
        keepDemoAtNextFrame([entry](const std::string& demo) { keepEntry(entry, demo); });
    };
    scoreHooks.playStarted = [] { playStartFrame = recordedFrames(); };
}

const std::string& keptStart() { return start; }
const ScoreBook& keptScores() { return book; }

std::string keptDemoFile(const ScoreEntry& entry) { return folder() + "/" + entry.demo; }

int printScores(std::FILE* out, std::FILE* err) {
    messages = err;
    ScoreBook read;
    if (!readTables(read, false)) return 1;  // looking changes nothing
    for (const ScoreTable& table : read.tables)
        for (size_t i = 0; i < table.entries.size(); ++i) {
            const ScoreEntry& e = table.entries[i];
            std::fprintf(out, "%s  %2zu  %-3s %8lld  level %d  %s  %s\n", table.start.c_str(), i + 1, e.name.c_str(),
                         (long long)e.score, e.level, e.date.c_str(), shown(keptDemoFile(e)).c_str());
        }
    if (read.tables.empty()) std::fprintf(out, "no scores kept yet (%s)\n", shown(tablesFile()).c_str());
    return 0;
}
