// The game's process-wide state: its objects, the current level's tables and
// the flags that say what is going on.
#pragma once
#include "game/level_file.h"
#include "game/name_entry.h"
#include <cstdint>
#include <functional>
#include <string>

class AnimatedSprite;
class Enemy;
class HudCounter;
class Player;
class Stair;

struct GameState {
    Player* player = nullptr;
    HudCounter* scoreCounter = nullptr;  // at (220, 180)
    HudCounter* livesCounter = nullptr;  // at (180, 180), with an icon
    HudCounter* bonusTimer = nullptr;    // at (0, 180), counts down; paid into the score on a climb
    AnimatedSprite* explosion = nullptr;
    AnimatedSprite* titlePicture = nullptr;
    AnimatedSprite* gameOverPicture = nullptr;

    // The current level's objects. Slots from the count on may still hold
    // objects of an earlier level; nobody moves, tests or draws them.
    Enemy* enemies[maxEnemies] = {};
    int32_t enemyCount = 0;
    Stair* stairs[maxStairs] = {};
    int32_t stairCount = 0;
    AnimatedSprite* items[maxItems] = {};  // a slot turns null when its item is collected or expires
    int32_t itemCount = 0;
    int32_t currentLevel = 0;  // N of data\level<N>.lvl.txt

    bool gameStarted = false;     // false: the title picture is shown
    bool flipVertical = false;    // the play area is mirrored top to bottom (F2)
    bool flipHorizontal = false;  // the play area is mirrored left to right (F3)
    bool climbing = false;        // the player is rising on a stair
    bool paused = false;          // play stands still, "PAUSED" shown, the game's clock held
    bool enteringName = false;    // after a game over that enters its high-score table
    NameEntry nameEntry;          // the name being typed
    double climbTargetY = 0;      // where the climb ends
    // The climb's clock: the tick of its last rise (0: not started, the next
    // frame takes the present tick and rises nothing), and the part of a
    // climb step the time since then has made, in thousandths of a step.
    uint32_t climbTick = 0;
    uint32_t climbStepPart = 0;
};

extern GameState game;

// What the game tells and asks its high-score tables, set by the
// application: that play has started (where a kept game begins), whether a
// game over with this score enters its table (a recording notes the answer
// and a replay gives the recorded one, so that a replay never depends on the
// tables where it runs), and the name entered for it.
struct ScoreHooks {
    std::function<bool(int64_t score)> wanted;
    std::function<void(const NameEntry& entry)> named;
    std::function<void()> playStarted;
};
extern ScoreHooks scoreHooks;

// The world's right edge; the bonus timer's rate (per millisecond) and the
// value it starts from; the lives a game starts with.
constexpr double worldRight = 320;
constexpr double bonusRate = -0.025;
constexpr double startBonus = 255;
constexpr double startLives = 5;

// Where play starts, and where a game over returns to: level n of the data
// (0 unless chosen), or a level of the game's own, given as its text (read
// from a file anywhere, or from a demo), whose exit starts it again. Read
// by startGame and restartGame.
void setFirstLevel(int n);
// The game's name of level n of the data: "data\levelN.lvl.txt".
std::string levelFileName(int n);
void setOwnLevel(const std::string& text);
int firstLevel();
bool hasOwnLevel();
const std::string& ownLevelText();  // empty without a level of its own

// Forgets everything of the game as it stood, back to how a program starts
// (no objects, no level, every clock and counter of the game at its
// beginning), so that the next startGame plays as a fresh program's: a kept
// game watched from the tables replays exactly, and the game after it
// starts afresh.
void forgetGame();
// Puts the game on its title picture at its first level, creating the objects that
// live for the whole run if they do not exist yet; runs on every new
// rendering context. Keeps the score and the player's position.
void startGame();
// Back to the title after a game over: fresh counters, the first level.
void restartGame();
// On to level n, with one life more; the player starts again at (0, 0).
// With a level file of its own the game plays that file again instead.
void changeLevel(int n);
// The current level replaced by this text, as a level change does it but
// with no life more (score and lives kept); it becomes the game's own level.
// False, with nothing changed, when the text is not a level.
bool replaceLevel(const std::string& text);
// SPACE on the title: play starts. The bonus timer's clock starts afresh
// with it, so that a game's bonus never depends on how long the title (or
// the game-over picture before it) was shown. The other counters keep their
// clocks: they do not count.
void startPlay();
// Pauses play (P, the Pause key, a controller's Start, the window losing the
// focus): nothing moves, no clock of the game runs, the sound is quiet. Only
// while playing, by rules that pause; the title and the game-over picture
// do not pause. Never ends by itself: resumeGame, or a start or restart.
void pauseGame();
// Play goes on where it stood; every clock starts afresh as after the
// game's other pauses (resetClocks).
void resumeGame();
// The score as its counter shows it, rounded as the counter rounds it.
int64_t shownScore();
// The game-over picture has been shown: when the tables want this game
// (rules that keep scores), the name is asked for and true returned; else
// false, and the caller returns to the title.
bool askForName();
// A key pressed while the name is asked for; a confirmed name goes to the
// tables and the game returns to its title.
void nameKeyPressed(uint8_t key);
// Enemies, the player and a climb measure time afresh, so a pause moves nothing.
void resetClocks();
