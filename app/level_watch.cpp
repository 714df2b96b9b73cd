#include "app/level_watch.h"
#include "app/demo.h"
#include "game/game_state.h"
#include "game/level_check.h"
#include "game/level_file.h"
#include "platform/clock.h"
#include <sys/stat.h>

namespace {

// What is compared to see a change. Editors that save by writing a new file
// and renaming it over the old one give a new inode, whatever the time says.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified = {};
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

std::string watched;      // the file's system name; empty when none is watched
FileStamp lastSeen;       // as the file stood when it was last read (or found missing)
uint64_t nextLook = 0;    // wallMilliseconds() of the next look
std::FILE* messages = stderr;

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return stamp;
    stamp = {true, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
    return stamp;
}

// The checker's report on the file as it is now.
void reportCheck() { reportLevelChecks({watched}, messages); }

// Reads the file and parses it as the game will; the reason when it cannot.
bool readWhole(std::string& text, std::string& why) {
    if (!readLevelText(watched, text, &why)) return false;
    LevelDescription level;
    if (parseLevel(text.data(), text.size(), level)) return true;
    why = "it is not a whole level";
    return false;
}

void reload() {
    std::string text, why;
    if (!readWhole(text, why) || !replaceLevel(text)) {
        if (why.empty()) why = "it is not a whole level";
        std::fprintf(messages, "vantrel: %s changed, but %s: the last good version plays on\n", watched.c_str(),
                     why.c_str());
        reportCheck();
        return;
    }
    std::fprintf(messages, "vantrel: %s changed: loaded again\n", watched.c_str());
    reportCheck();
    noteLevelReplaced(text);
}

}  // namespace

bool watchLevelFile(const std::string& path, std::FILE* err) {
    watched = path;
    messages = err;
    lastSeen = stampOf(path);
    std::string text, why;
    bool whole = readWhole(text, why);
    reportCheck();
    if (!whole) {
        std::fprintf(err, "vantrel: %s cannot be played: %s\n", path.c_str(), why.c_str());
        watched.clear();
        return false;
    }
    setOwnLevel(text);
    nextLook = platform::wallMilliseconds() + levelWatchInterval;
    return true;
}

void pollLevelFile() {
    if (watched.empty()) return;
    uint64_t now = platform::wallMilliseconds();
    if (now < nextLook) return;
    nextLook = now + levelWatchInterval;
    FileStamp stamp = stampOf(watched);
    if (stamp == lastSeen) return;
    lastSeen = stamp;
    if (stamp.exists) reload();  // a file gone for a moment (being replaced) is looked at again later
}
