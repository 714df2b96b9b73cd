#include "game/game_state.h"
#include "game/enemy.h"
#include "game/hud_counter.h"
#include "game/level_loader.h"
#include "game/player.h"
#include "game/random.h"
#include "gfx/animated_sprite.h"
#include "game/rules.h"
#include "game/sounds.h"
#include "game/stair.h"
#include "platform/clock.h"
#include "platform/picture.h"
#include <cmath>
#include <cstdio>
#include <string>

GameState game;
ScoreHooks scoreHooks;

namespace {

// Not paused, the game's clock running.
void endPause() {
    game.paused = false;
    platform::holdFrameClock(false);
}

int firstLevelNumber = 0;
bool ownLevel = false;
std::string ownText;  // the game's own level, when it has one
constexpr const char* counterFormat = "%0.0f";

// Level n of the data, or the game's own level file.
bool loadLevelNumber(int n) {
    if (ownLevel) return loadLevelText(ownText);
    return loadLevel(levelFileName(n).c_str());
}

// The player back at the level's start, standing.
void placePlayerAtStart() {
    game.player->velocity = 0;
    game.player->x = game.player->y = 0;
    game.player->savePosition();
}

void createLongLivedObjects() {
    if (!game.player) {
        game.player = new Player;
        game.player->maxX = worldRight - game.player->width;
        game.player->velocity = 0;
    }
    if (!game.scoreCounter) game.scoreCounter = new HudCounter(220, 180, 0, 0, nullptr);
    if (!game.livesCounter) game.livesCounter = new HudCounter(180, 180, 0, 0, "data\\LIFE.tga");
    if (!game.bonusTimer) game.bonusTimer = new HudCounter(0, 180, 0, bonusRate, nullptr);
}

void createPictures() {
    if (!game.titlePicture)
        game.titlePicture = new AnimatedSprite(0, 0, 0, 320, 200, 0, "data\\vantreltitle.jpg", 0, 0, nullptr, 30);
    if (!game.gameOverPicture)
        game.gameOverPicture = new AnimatedSprite(32, 68, 0.1, 256, 64, 0, "data\\gameover.tga", 0, 0, nullptr, 30);
}

}  // namespace

void forgetGame() {
    delete game.player;
    for (HudCounter* c : {game.scoreCounter, game.livesCounter, game.bonusTimer}) delete c;
    for (AnimatedSprite* s : {game.explosion, game.titlePicture, game.gameOverPicture}) delete s;
    for (Enemy* e : game.enemies) delete e;
    for (Stair* s : game.stairs) delete s;
    for (AnimatedSprite* s : game.items) delete s;
    game = GameState{};
    resetWalkCycle();
    enemyTouchFlag = 0;
    platform::resetFrameClock();
}

void startGame() {
    platform::PictureBatch batch;  // the three counters' fonts are one picture
    endPause();
    game.enteringName = false;
    game.gameStarted = game.flipVertical = game.flipHorizontal = false;
    game.currentLevel = firstLevelNumber;
    seedRandom(123456);  // every start replays the same enemy bounces
    loadLevelNumber(firstLevelNumber);
    createLongLivedObjects();
    game.livesCounter->setValue(startLives);
    game.livesCounter->setFormat(counterFormat);
    game.scoreCounter->setFormat(counterFormat);
    game.bonusTimer->setFormat(counterFormat);
    game.bonusTimer->setValue(startBonus);
    if (!game.explosion) game.explosion = new AnimatedSprite(0, 0, 0, 16, 16, 16, "data\\nuke", 1, 27, "%s%02d.tga", 30);
    game.explosion->playing = false;
    createPictures();
}

void restartGame() {
    endPause();
    game.enteringName = false;
    game.gameStarted = false;
    game.livesCounter->setValue(startLives);
    game.scoreCounter->setValue(0);
    game.bonusTimer->setValue(startBonus);
    placePlayerAtStart();
    loadLevelNumber(firstLevelNumber);
    game.currentLevel = firstLevelNumber;
    resetClocks();
}

std::string levelFileName(int n) { return "data\\level" + std::to_string(n) + ".lvl.txt"; }

void setFirstLevel(int n) {
    firstLevelNumber = n;
    ownLevel = false;
    ownText.clear();
}
void setOwnLevel(const std::string& text) {
    ownLevel = true;
    ownText = text;
}
int firstLevel() { return firstLevelNumber; }
bool hasOwnLevel() { return ownLevel; }
const std::string& ownLevelText() { return ownText; }

void changeLevel(int n) {
    placePlayerAtStart();
    game.livesCounter->setValue(game.livesCounter->value() + 1);
    if (ownLevel)
        loadLevelText(ownText);  // its own level has no next one: it is played again
    else if (loadLevel(levelFileName(n).c_str()))
        game.currentLevel = n;
    else
        // Past the last level: play the current one again from its start, with
        // its climbs armed again (as play left it, every climb stair was spent
        // and the figure, back at the bottom, could never rise again).
        loadLevel(levelFileName(game.currentLevel).c_str());
    resetClocks();
}

bool replaceLevel(const std::string& text) {
    if (!loadLevelText(text)) return false;
    setOwnLevel(text);
    placePlayerAtStart();
    game.climbing = false;
    resetClocks();
    return true;
}

void pauseGame() {
    if (!game.gameStarted || game.paused || playedRules < 2) return;
    game.paused = true;
    platform::holdFrameClock(true);
    quietSounds();
}

void resumeGame() {
    if (!game.paused) return;
    endPause();
    resetClocks();
}

int64_t shownScore() { return int64_t(std::nearbyint(game.scoreCounter->value())); }

bool askForName() {
    int64_t score = shownScore();
    if (playedRules < 2 || score <= 0 || !scoreHooks.wanted || !scoreHooks.wanted(score)) return false;
    game.enteringName = true;
    game.nameEntry = NameEntry{};
    game.nameEntry.score = score;
    game.nameEntry.level = game.currentLevel;
    return true;
}

void nameKeyPressed(uint8_t key) {
    if (!typeName(game.nameEntry, key)) return;
    if (scoreHooks.named) scoreHooks.named(game.nameEntry);
    restartGame();
}

void startPlay() {
    game.gameStarted = true;
    if (game.bonusTimer) game.bonusTimer->lastTick = 0;
    if (scoreHooks.playStarted) scoreHooks.playStarted();
}

void resetClocks() {
    for (int i = 0; i < game.enemyCount && i < maxEnemies; ++i)
        if (game.enemies[i]) game.enemies[i]->resetClock();
    game.player->resetClock();
    game.climbTick = 0;
}
