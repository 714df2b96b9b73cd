#include "game/game_state.h"
#include "game/level_report.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "gfx/frame_names.h"
#include "platform/paths.h"
#include "platform/picture_names.h"
#include <algorithm>

namespace {

// The player as stairs and items test it: 16 wide and 14 high (the
// figure's 16 less 2), its left edge anywhere from 0 to 304, its bottom at
// 0 or above. It stands on the floor at y = 0 or on the bars at y = 16 to
// 176, and a climb ends at its y plus the stair's height.
constexpr double playerWidth = 16;
constexpr double playerTestHeight = 14;
constexpr double rightmostX = worldRight - playerWidth;
constexpr double topFloor = 176;
constexpr double highestReach = topFloor + playerTestHeight;

// Token number of a record's field (both from 0) after the count at `countToken`.
int fieldToken(int countToken, size_t record, int fields, int field) {
    return countToken + 1 + int(record) * fields + field;
}

// Why the game opens no file for a picture's name (see
// platform/picture_names.h); empty when it opens one. The name is taken as
// the game takes it, up to a first zero byte.
std::string refusedPicture(const std::string& gameName) {
    std::string name = gameName.c_str();
    platform::PictureSource source = platform::pictureSource(name);
    std::string shown = "picture '" + printable(name) + "'";
    if (source == platform::PictureSource::levelFolder && platform::levelFolder().empty())
        return shown + " is a name alone, which only a level played with --level-file may give (for a picture"
                       " beside its file): the game does not open it (name it data\\...)";
    if (source == platform::PictureSource::refused)
        return shown + " is not in the game's data: the game does not open it (a level names its pictures"
                       " data\\..., or, played with --level-file, by a name alone for one beside its file)";
    return {};
}

// Where the game looked for a picture it would open; empty when it is there.
std::string missingPicture(const std::string& gameName) {
    std::string file = platform::findPicture(gameName.c_str());
    return platform::isRegularFile(file) ? std::string() : file;
}

std::string notFound(const std::string& gameName, const std::string& lookedFor) {
    return "picture '" + printable(gameName.c_str()) + "' not found (looked for " + printable(lookedFor) + ")";
}

// What keeps the game from showing one picture; empty when nothing does.
std::string pictureTrouble(const std::string& gameName) {
    std::string refused = refusedPicture(gameName);
    if (!refused.empty()) return refused;
    std::string missing = missingPicture(gameName);
    return missing.empty() ? missing : notFound(gameName, missing);
}

void checkEnemy(LevelReport& report, const EnemyRecord& e, size_t i) {
    auto token = [&](int field) { return fieldToken(report.source.enemyCountToken, i, enemyFields, field); };
    std::string name = "enemy " + std::to_string(i + 1);
    if (e.lowerBound + e.size > e.upperBound)
        report.add(token(3), name + ": lower bound + size (" + number(e.lowerBound) + " + " + number(e.size) +
                                 ") is above the upper bound (" + number(e.upperBound) +
                                 "): it cannot move between them");
    std::string trouble = pictureTrouble(e.texture);
    if (!trouble.empty()) report.add(token(7), name + ": " + trouble);
}

void checkStair(LevelReport& report, const StairRecord& s, size_t i) {
    auto token = [&](int field) { return fieldToken(report.source.stairCountToken, i, stairFields, field); };
    std::string name = "stair " + std::to_string(i + 1);
    const std::string never = ": the player can never be inside it";
    if (s.width < playerWidth)
        report.add(token(3), name + " is " + number(s.width) + " wide, narrower than the player (16)" + never);
    else if (s.height < playerTestHeight)
        report.add(token(4), name + " is " + number(s.height) +
                                 " high, lower than the player as stairs test it (14)" + never);
    else if (std::max(0.0, s.x) > std::min(rightmostX, s.x + s.width - playerWidth))
        report.add(token(0), name + " spans x = " + number(s.x) + " to " + number(s.x + s.width) +
                                 ", where the player (x from 0 to 320) never fits" + never);
    else if (s.y + s.height - playerTestHeight < 0)
        report.add(token(1), name + " reaches only to y = " + number(s.y + s.height) +
                                 ", too low for the player standing at y = 0" + never);
    else if (s.type == climbStair && std::max(0.0, s.y) + s.height > topFloor)
        report.add(token(4), name + ": a climb here ends at y = " + number(std::max(0.0, s.y) + s.height) +
                                 " or higher, above the top floor (y = 176)");
}

// Whether AnimatedSprite takes the item's frames; a report when it does not.
bool checkItemFrames(LevelReport& report, const ItemRecord& it, size_t i) {
    auto token = [&](int field) { return fieldToken(report.source.itemCountToken, i, itemFields, field); };
    std::string name = "item " + std::to_string(i + 1);
    const std::string blank = ": the game shows it without a picture";
    int64_t frames = int64_t(it.lastFrame) - it.firstFrame + 1;
    if (frames < 1)
        report.add(token(8), name + ": frames " + std::to_string(it.firstFrame) + " to " +
                                 std::to_string(it.lastFrame) + " run backwards" + blank);
    else if (frames > maxSpriteFrames)
        report.add(token(8), name + " has " + std::to_string(frames) + " frames, more than the " +
                                 std::to_string(maxSpriteFrames) + " the game takes" + blank);
    else if (frames > 1 && !validFrameNameFormat(it.format.c_str()))
        report.add(token(9), name + ": the frame-name format '" + printable(it.format) +
                                 "' is not one the game takes (text, %s, text, one whole-number conversion"
                                 " such as %02d, text)" + blank);
    else
        return true;
    return false;
}

// One picture; or, of the frames, the first refused and how many are, and
// the first missing and how many are.
void checkItemPictures(LevelReport& report, const ItemRecord& it, size_t i) {
    int token = fieldToken(report.source.itemCountToken, i, itemFields, 6);
    std::string name = "item " + std::to_string(i + 1);
    if (it.firstFrame == it.lastFrame) {
        std::string trouble = pictureTrouble(it.prefix);
        if (!trouble.empty()) report.add(token, name + ": " + trouble);
        return;
    }
    std::string firstRefused, firstMissing, firstLookedFor;
    int refusedCount = 0, missingCount = 0;
    for (int32_t n = it.firstFrame; n <= it.lastFrame; ++n) {
        std::string frame = frameFileName(it.format.c_str(), it.prefix.c_str(), n);
        std::string refused = refusedPicture(frame);
        if (!refused.empty()) {
            if (refusedCount++ == 0) firstRefused = refused;
            continue;
        }
        std::string missing = missingPicture(frame);
        if (missing.empty()) continue;
        if (missingCount++ == 0) firstMissing = frame, firstLookedFor = missing;
    }
    std::string frames = std::to_string(int64_t(it.lastFrame) - it.firstFrame + 1) + " frames";
    if (refusedCount > 0)
        report.add(token, name + ": " + std::to_string(refusedCount) + " of its " + frames +
                              " are named outside the game's data, the first: " + firstRefused);
    if (missingCount > 0)
        report.add(token, name + ": " + std::to_string(missingCount) + " of its " + frames +
                              " not found, the first: " + notFound(firstMissing, firstLookedFor));
}

// An item is collected when the player's box touches it, edges included.
void checkItemReach(LevelReport& report, const ItemRecord& it, size_t i) {
    auto token = [&](int field) { return fieldToken(report.source.itemCountToken, i, itemFields, field); };
    std::string name = "item " + std::to_string(i + 1);
    const std::string never = ": the player can never reach it";
    if (it.x > worldRight || it.x + it.width < 0)
        report.add(token(0), name + " spans x = " + number(it.x) + " to " + number(it.x + it.width) +
                                 ", outside the player's 0 to 320" + never);
    else if (it.y + it.height < 0)
        report.add(token(1), name + " lies below y = 0, under the bottom floor" + never);
    else if (it.y > highestReach)
        report.add(token(1), name + " starts at y = " + number(it.y) +
                                 ", above the top of the player on the top floor (y = 190)" + never);
}

}  // namespace

void checkRecords(LevelReport& report, const LevelDescription& level) {
    for (size_t i = 0; i < level.enemies.size(); ++i) checkEnemy(report, level.enemies[i], i);
    for (size_t i = 0; i < level.stairs.size(); ++i) checkStair(report, level.stairs[i], i);
    for (size_t i = 0; i < level.items.size(); ++i) {
        if (checkItemFrames(report, level.items[i], i)) checkItemPictures(report, level.items[i], i);
        checkItemReach(report, level.items[i], i);
    }
}
