#include "app/level_watch.h"
#include "app/demo.h"
#include "game/game_state.h"
#include "game/level_check.h"
#include "game/level_file.h"
#include "platform/clock.h"
#include "platform/file_stamp.h"
#include "platform/picture_names.h"
#include "platform/printable_text.h"

namespace {

using platform::FileStamp;
using platform::stampOf;

std::string watched;      // the file's system name; empty when none is watched
std::string loaded;       // the text of the version in play
FileStamp lastSeen;       // as the file stood when it was last read (or found missing)
uint64_t nextLook = 0;    // wallMilliseconds() of the next look
std::FILE* messages = stderr;

// The checker's report on the version read, not on the file as it may stand
// by now: an editor may have saved again since.
void reportCheck(const LevelFileContent& content) {
    reportLevelProblems(watched, checkLevelContent(content), messages);
}

// Reads the file once; why the game cannot play what was read, or empty when
// it can.
std::string readNow(LevelFileContent& content) {
    content = readLevelFile(watched);
    if (!content.readable) return content.error;
    LevelDescription level;
    return parseLevel(content.text.data(), content.text.size(), level) ? "" : "it is not a whole level";
}

void reload() {
    LevelFileContent content;
    std::string why = readNow(content);
    // Touched, or saved as it was: the level in play is the same, and the
    // figure stays where it is.
    if (why.empty() && content.text == loaded) return;
    if (why.empty() && !replaceLevel(content.text)) why = "it is not a whole level";
    std::string shown = platform::printableText(watched);
    if (!why.empty()) {
        std::fprintf(messages, "vantrel: %s changed, but %s: the last good version plays on\n", shown.c_str(),
                     platform::printableText(why).c_str());
        reportCheck(content);
        return;
    }
    std::fprintf(messages, "vantrel: %s changed: loaded again\n", shown.c_str());
    reportCheck(content);
    loaded = content.text;
    noteLevelReplaced(loaded);
}

}  // namespace

bool watchLevelFile(const std::string& path, std::FILE* err) {
    watched = path;
    messages = err;
    lastSeen = stampOf(path);
    // Its pictures may be named alone, for those beside it, wherever it lies.
    platform::setLevelFolder(platform::folderOf(path));
    LevelFileContent content;
    std::string why = readNow(content);
    reportCheck(content);
    if (!why.empty()) {
        std::fprintf(err, "vantrel: %s cannot be played: %s\n", platform::printableText(path).c_str(),
                     platform::printableText(why).c_str());
        watched.clear();
        platform::setLevelFolder("");
        return false;
    }
    loaded = content.text;
    setOwnLevel(loaded);
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
