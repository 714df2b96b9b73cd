#include "app/demo_header.h"
#include "app/key_bindings.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/level_file.h"
#include "game/rules.h"
#include "game/state_hash.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include <cinttypes>

#ifndef VANTREL_VERSION
#define VANTREL_VERSION "unknown"
#endif

namespace {


// Level n of the data as the game finds it; false past the last one.
bool dataLevelText(size_t n, std::string& text) {
    std::string path = platform::findFile(levelFileName(int(n)).c_str());
    if (!platform::isRegularFile(path)) return false;
    if (!readLevelText(path, text)) text = "(unreadable)";
    return true;
}

}  // namespace

DemoHeader thisGameHeader(uint32_t startTick) {
    DemoHeader h;
    h.gameVersion = VANTREL_VERSION;
    h.rules = rulesVersion;
    h.keys = keyBindings;
    std::string text;
    for (size_t n = 0; n < maxDemoLevels && dataLevelText(n, text); ++n) h.levelHashes.push_back(levelHash(text));
    h.startLevel = firstLevel();
    h.ownLevel = hasOwnLevel();
    h.ownLevelText = ownLevelText();
    h.startTick = startTick;
    return h;
}

std::string headerDifference(const DemoHeader& demo, const DemoHeader& game) {
    if (demo.ownLevel) return "";
    size_t common = std::min(demo.levelHashes.size(), game.levelHashes.size());
    for (size_t n = 0; n < common; ++n)
        if (demo.levelHashes[n] != game.levelHashes[n])
            return "level " + std::to_string(n) + " of the data differs from the one it was recorded with";
    if (demo.levelHashes.size() != game.levelHashes.size())
        return "it was recorded with " + std::to_string(demo.levelHashes.size()) + " levels in the data, which now holds " +
               std::to_string(game.levelHashes.size());
    return "";
}

EndState endState(uint64_t frames) {
    return {frames, hasOwnLevel() ? -1 : game.currentLevel, game.scoreCounter ? game.scoreCounter->value() : 0,
            game.livesCounter ? game.livesCounter->value() : 0, gameStateHash()};
}

std::string endLine(const EndState& state) {
    char line[160];
    std::string level = state.level < 0 ? "own" : std::to_string(state.level);
    std::snprintf(line, sizeof line, "frames %" PRIu64 ", level %s, score %.0f, lives %.0f, state %016" PRIx64,
                  state.frames, level.c_str(), state.score, state.lives, state.stateHash);
    return line;
}
