#include "app/title_screen.h"
#include "app/demo.h"
#include "app/key_bindings.h"
#include "app/keyboard.h"
#include "app/score_keeping.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "gfx/animated_sprite.h"
#include "platform/clock.h"
#include <GL/gl.h>
#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t pictureShown = 8000;  // ms, first
constexpr uint32_t tableShown = 6000;    // ms, then
uint32_t titleSince = 0;  // frameTicks() when the title appeared
uint32_t lastDrawn = 0;   // frameTicks() of its last frame
// Whether the last frame drawn was the title's: when it was not (a game,
// the name or the keys screen came between), the title has appeared again,
// and its turns begin afresh with the picture. Frames drawn slowly, or a
// stall, do not start them again: on a busy machine the table would then
// never come, or go as its games were asked for.
bool titleWasLast = false;
bool watchAsked = false;
ScoreEntry asked;

// The tables are this machine's, not the game's: only a game played here
// shows them (a replay, which never depends on them, shows the picture).
const ScoreTable* table() {
    if (!recordingGame()) return nullptr;
    const ScoreTable* t = keptScores().find(keptStart());
    return t && !t->entries.empty() ? t : nullptr;
}

bool tableShowing() {
    if (!table()) return false;
    return (platform::frameTicks() - titleSince) % (pictureShown + tableShown) >= pictureShown;
}

// A game recorded into a player's file goes on being recorded: no other
// game is replayed in the middle of it.
bool canWatch() { return !recordingToFile() || recordingFileIsThePages; }

// Each entry's place, name, score, level reached and date, in glyphs a
// little smaller than the counters' so that the date fits.
void drawTable(const ScoreTable& t) {
    BitmapFont& font = game.scoreCounter->font;
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    font.drawText(72, 180, 0, "HIGH SCORES");
    char line[64];
    for (size_t i = 0; i < t.entries.size(); ++i) {  // 14 apart: the keys' lines keep the bottom
        const ScoreEntry& e = t.entries[i];
        std::snprintf(line, sizeof line, "%2zu %-3s %7lld L%-2d %s", i + 1, e.name.c_str(), (long long)e.score,
                      e.level, e.date.c_str());
        drawSizedText(font, 15, 160 - 14 * double(i), 0, 10, 13, line);
    }
    if (canWatch()) drawSizedText(font, 40, 18, 0, 12, 14, "1-0: WATCH A GAME");
}

}  // namespace

void drawTitle() {
    uint32_t now = platform::frameTicks();
    // The clock starting again (a new run in the page) is a new title too.
    if (!titleWasLast || now < lastDrawn) titleSince = now;
    titleWasLast = true;
    lastDrawn = now;
    if (tableShowing())
        drawTable(*table());
    else if (game.titlePicture)
        game.titlePicture->draw();
}

void titleLeft() { titleWasLast = false; }

// A digit the player gave to an action does that action instead.
bool titleKeyPressed(uint8_t key) {
    if (game.gameStarted || !tableShowing() || !canWatch() || key < '0' || key > '9') return false;
    if (keyBindings.actionOf(key) >= 0) return false;
    size_t index = key == '0' ? 9 : size_t(key - '1');
    if (index >= table()->entries.size()) return false;
    asked = table()->entries[index];
    watchAsked = true;
    return true;
}

bool watchAskedGame(std::FILE* out, std::FILE* err) {
    if (!watchAsked) return true;
    watchAsked = false;
    CommandLine again;  // recorded afresh afterwards, where it was
    again.recordFile = recordingFile();
    finishRecording(nullptr);  // this run's games so far: their recording ends here, quietly
    int first = firstLevel();
    bool own = hasOwnLevel();
    std::string ownText = ownLevelText();
    std::fill(KeyTable, KeyTable + 256, 0);
    // A little of the title before the game, as it was played.
    uint64_t paceFrom = asked.firstFrame > 60 ? asked.firstFrame - 60 : 0;
    Watched watched = watchKeptGame(keptDemoFile(asked), paceFrom, out, err);
    std::fill(KeyTable, KeyTable + 256, 0);
    forgetGame();
    if (own)
        setOwnLevel(ownText);
    else
        setFirstLevel(first);
    startGame();
    startRecording(again, err);
    startKeepingScores(err);
    return watched != Watched::windowClosed;
}
