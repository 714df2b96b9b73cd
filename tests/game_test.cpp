// The whole game, played headless through the real main loop: the title,
// walking, climbing, enemies and the explosion, game over, level changes,
// the view flips and switching the display mode.
#include "app/scripted_play.h"
#include "app/window.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "platform/clock.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include "support/test_font.h"
#include <memory>

namespace pt = platform::testing;
namespace key = platform::key;

namespace {

const Pixel titleBlue{0, 0, 200, 255};
const Pixel gameOverRed{200, 0, 0, 255};
const Pixel floorYellow{255, 255, 0, 255};
const Pixel stairGreen{0, 255, 0, 255};
const Pixel black{0, 0, 0, 255};

constexpr const char* emptyLevel = "0 0 0";
constexpr const char* exitAtStart = "0 1 0 0 0 20 32 0 4 0";

class Game : public testing::Test {
protected:
    TempDataRoot data;
    std::unique_ptr<ScriptedPlay> play;

    void SetUp() override {
        writeCellColourFont(data);
        writeTga(data.file("vantreltitle.jpg"), 8, 8, 3, solid(8, 8, {200, 0, 0}));
        writeTga(data.file("gameover.tga"), 8, 8, 4, solid(8, 8, {0, 0, 200, 255}));
        writeTga(data.file("stair.tga"), 8, 8, 3, solid(8, 8, {255, 255, 255}));
        for (int k = 0; k < 12; ++k) {
            char name[32];
            std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", k);
            writeTga(data.file(name), 8, 8, 3, solid(8, 8, {180, 0, 180}));
        }
    }
    void writeLevel(int n, const std::string& text) {
        writeBytes(data.file("level" + std::to_string(n) + ".lvl.txt"), {text.begin(), text.end()});
    }
    // Starts the game on level 0 and leaves the title with SPACE.
    void startPlaying(const std::string& level0) {
        writeLevel(0, level0);
        play = std::make_unique<ScriptedPlay>();
        ASSERT_TRUE(play->opened());
        play->press(key::space);
        ASSERT_TRUE(play->runFrame());
        play->release(key::space);
    }
    Player& player() { return *game.player; }
    double lives() { return game.livesCounter->value(); }
    double score() { return game.scoreCounter->value(); }
    // Runs frames until the condition holds; false after `limit` frames.
    template <typename Condition>
    bool runUntil(Condition condition, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (condition()) return true;
            if (!play->runFrame()) return false;
        }
        return condition();
    }
    // What the last frame shows at world point (x, y).
    Pixel shown(double x, double y) {
        int w, h;
        std::vector<uint8_t> rgba = play->frameRgba(w, h);
        int px = int(x * w / 320), py = h - 1 - int(y * h / 200);
        const uint8_t* p = &rgba[(size_t(py) * w + px) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

}  // namespace

TEST_F(Game, TheTitleStaysUntilSpaceAndNothingCountsMeanwhile) {
    writeLevel(0, emptyLevel);
    play = std::make_unique<ScriptedPlay>();
    play->press(key::f2);  // mirrors the play area, never the title
    play->runFrames(100);
    EXPECT_FALSE(game.gameStarted);
    EXPECT_EQ(game.bonusTimer->value(), startBonus);
    EXPECT_EQ(game.bonusTimer->lastTick, 0u);  // not even drawn
    EXPECT_EQ(shown(160, 100), titleBlue);
    EXPECT_EQ(shown(100, 16), titleBlue);
    play->press(key::space);
    play->runFrames(2);
    EXPECT_TRUE(game.gameStarted);
    EXPECT_EQ(shown(100, 184), floorYellow);  // still mirrored: 16 shows at 184
}

TEST_F(Game, AnArrowAfterSpaceWalksAt91UnitsASecond) {
    startPlaying(emptyLevel);
    play->press(key::right);
    play->runFrames(11);
    EXPECT_NEAR(player().x, 0.091 * 16 * 11, 1e-9);
    play->release(key::right);
    play->runFrames(5);  // releasing does not stop it
    EXPECT_NEAR(player().x, 0.091 * 16 * 16, 1e-9);
    EXPECT_EQ(shown(100, 16), floorYellow);
}

// P pauses: the picture stands with "PAUSED" over it, nothing moves and no
// clock runs however long it lasts, only P, M (and the loop's F1 and ESC)
// act; P again goes on where play stood.
TEST_F(Game, PPausesPlayAndNothingMovesOrCountsUntilPAgain) {
    startPlaying("1 200 100 0 -16 190 0.05 16 data\\e.tga 0 0");
    play->press(key::right);
    play->runFrames(10);
    play->press(key::p);
    play->runFrame();
    ASSERT_TRUE(game.paused);
    double x = player().x, y = game.enemies[0]->y, bonus = game.bonusTimer->value();
    play->press(key::left);  // ignored while paused, as are the mirrors
    play->press(key::f2);
    play->release(key::p);
    play->msPerFrame = 1000;
    play->runFrames(30);
    EXPECT_EQ(player().x, x);
    EXPECT_EQ(game.enemies[0]->y, y);
    EXPECT_EQ(game.bonusTimer->value(), bonus);
    EXPECT_GT(player().velocity, 0);
    EXPECT_FALSE(game.flipVertical);
    EXPECT_EQ(readText(112, 92, 6, [&](double wx, double wy) { return shown(wx, wy); }), "PAUSED");
    play->release(key::left);
    play->msPerFrame = 16;
    play->press(key::p);
    play->runFrames(2);  // the first frame after measures no time, as after any pause
    EXPECT_FALSE(game.paused);
    EXPECT_NEAR(player().x, x + 0.091 * 16, 1e-9);
    EXPECT_NEAR(game.bonusTimer->value(), bonus - 0.025 * 16, 1e-9);
    EXPECT_NE(readText(112, 92, 6, [&](double wx, double wy) { return shown(wx, wy); }), "PAUSED");
}

// Losing the focus pauses play, and gaining it back does not resume it; on
// the title nothing pauses.
TEST_F(Game, LosingTheFocusPausesPlayUntilThePlayerResumes) {
    writeLevel(0, emptyLevel);
    play = std::make_unique<ScriptedPlay>();
    pt::injectMessage({platform::MessageKind::activate, 0, 0});
    play->runFrame();
    EXPECT_FALSE(game.paused);
    play->press(key::space);
    play->runFrame();
    pt::injectMessage({platform::MessageKind::activate, 0, 0});
    play->runFrames(2);
    EXPECT_TRUE(game.paused);
    pt::injectMessage({platform::MessageKind::activate, 1, 0});
    play->runFrames(2);
    EXPECT_TRUE(game.paused);
    play->press(key::pause);
    play->runFrame();
    EXPECT_FALSE(game.paused);
}

TEST_F(Game, AClimbPaysTheBonusEndsAtItsTargetAndDoesNotFireAgain) {
    startPlaying("0 1 0 0 0 20 32 0 1 0");
    EXPECT_TRUE(game.climbing);
    EXPECT_EQ(game.climbTargetY, 32);
    EXPECT_EQ(score(), startBonus);  // the bonus as the counter stood this frame
    ASSERT_TRUE(runUntil([] { return !game.climbing; }));
    EXPECT_EQ(player().y, 32);
    EXPECT_EQ(player().savedY, 32);
    EXPECT_EQ(game.bonusTimer->value(), startBonus);
    EXPECT_EQ(game.stairs[0]->type, 0);
    play->runFrames(10);
    EXPECT_EQ(score(), startBonus);
}

// A floor bar drawn after the figure, further back, shows through the
// figure's see-through corners: they write no depth that would keep it out.
TEST_F(Game, AFloorBarShowsThroughTheFiguresSeeThroughCorners) {
    for (int k = 0; k < 12; ++k) {  // 16 x 16, magenta in the upper corners of the part shown
        Pixels px;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                std::vector<uint8_t> p = {180, 0, 180};
                if (y <= 8 && (x <= 4 || x >= 11)) p = {255, 0, 255};
                px.insert(px.end(), p.begin(), p.end());
            }
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", k);
        writeTga(data.file(name), 16, 16, 3, px);
    }
    startPlaying(emptyLevel);
    player().x = 100;
    player().y = 4;  // the bar at 16 crosses the figure's upper corners
    play->runFrame();
    EXPECT_EQ(shown(101, 16), floorYellow);  // the figure's left corner
    EXPECT_EQ(shown(115, 16), floorYellow);  // its right corner
    EXPECT_EQ(shown(108, 16), (Pixel{180, 0, 180, 255}));  // its body stays in front of the bar
}

// A climb follows the clock, not the display: 0.2 units every 1/60 s. Frames
// 16 and 17 ms apart (a 60 Hz display) rise exactly one step each, as they
// always did.
TEST_F(Game, AtSixtyHertzAClimbRisesOneStepEveryFrame) {
    startPlaying("0 1 0 0 0 20 16 0 1 0");  // a 16-unit climb starts in this frame, 16 ms ago
    play->msPerFrame = 0;
    const uint32_t sixtyHz[] = {17, 17, 16};
    double before = player().y;
    for (int frame = 0; game.climbing; ++frame) {
        ASSERT_LT(frame, 200);
        ASSERT_TRUE(play->runFrame());
        if (game.climbing) EXPECT_EQ(player().y, before + 0.2) << frame;  // the same bits as a step a frame
        before = player().y;
        pt::advanceClock(sixtyHz[frame % 3]);
    }
    EXPECT_EQ(player().y, 16);
}

// At 144 Hz, 250 Hz and unpaced a climb lasts as long as at 60 Hz.
class ClimbPace : public Game, public testing::WithParamInterface<uint32_t> {};

TEST_P(ClimbPace, AClimbTakesTheSameTimeAtAnyFrameRate) {
    startPlaying("0 1 0 0 0 20 16 0 1 0");
    uint32_t began = game.climbTick;
    play->msPerFrame = GetParam();
    ASSERT_TRUE(runUntil([] { return !game.climbing; }));
    uint32_t took = platform::tickCount() - began;  // to just after the frame it ended in
    EXPECT_NEAR(double(took), 80 * 1000.0 / 60, 16.0 + GetParam());
    EXPECT_EQ(player().y, 16);
}

INSTANTIATE_TEST_SUITE_P(MsPerFrame, ClimbPace, testing::Values(7u, 4u, 1u));

TEST_F(Game, AnEnemyHitExplodesCostsALifeAndPutsThePlayerBack) {
    startPlaying("1 20 0 0 -16 190 0 16 data\\e.tga 0 0");
    play->press(key::right);
    ASSERT_TRUE(runUntil([] { return game.explosion->playing; }));
    EXPECT_GE(game.explosion->x, 6);  // where the player was when the boxes met
    EXPECT_EQ(lives(), startLives - 1);
    EXPECT_EQ(player().x, 0);
    EXPECT_EQ(player().velocity, 0);
    EXPECT_NE(shown(2, 8), (Pixel{180, 0, 180, 255}));  // the figure is hidden while it plays

    // Meanwhile enemies touch nothing, but an item is still collected.
    player().x = 20;
    play->runFrames(2);
    EXPECT_EQ(lives(), startLives - 1);
    ASSERT_TRUE(runUntil([] { return !game.explosion->playing; }));
    EXPECT_EQ(player().x, 0);
    EXPECT_EQ(lives(), startLives - 1);
}

TEST_F(Game, TwoEnemiesTouchingInOneFrameCostOneLife) {
    startPlaying("2 0 0 0 -16 190 0 16 data\\e.tga 0 0 0 -16 190 0 16 data\\e.tga 0 0");
    EXPECT_TRUE(game.explosion->playing);
    EXPECT_EQ(lives(), startLives - 1);
}

TEST_F(Game, ItemsAreCollectedWhileTheExplosionPlaysAndExpireOnTheirOwn) {
    startPlaying("1 20 0 0 -16 190 0 16 data\\e.tga 0 2 "
                 "100 0 0 8 8 0 data\\i.tga 0 0 %s 0 -1 70 "
                 "200 0 0 8 8 0 data\\j.tga 0 0 %s 0 1000 5");
    play->press(key::right);
    ASSERT_TRUE(runUntil([] { return game.explosion->playing; }));
    player().x = 98;
    play->runFrame();
    EXPECT_EQ(score(), 70);
    EXPECT_EQ(game.items[0], nullptr);
    ASSERT_TRUE(runUntil([] { return game.items[1] == nullptr; }));
    EXPECT_EQ(score(), 70);  // expired, not collected
}

TEST_F(Game, TheLastLifeEndsInGameOverThenTheTitleAndTheNextGameHasItsWholeBonus) {
    startPlaying("1 20 0 0 -16 190 0 16 data\\e.tga 0 0");
    game.livesCounter->setValue(1);
    game.scoreCounter->setValue(300);
    std::vector<std::pair<Pixel, uint32_t>> presented;  // what each presentation showed, and when
    pt::observeSwaps([&] { presented.push_back({worldPixel(160, 100), platform::tickCount()}); });
    play->press(key::right);
    ASSERT_TRUE(runUntil([] { return game.explosion->playing; }));
    EXPECT_EQ(lives(), 0);
    EXPECT_TRUE(game.gameStarted);  // the game goes on until the explosion ends
    ASSERT_TRUE(runUntil([] { return !game.gameStarted; }));
    pt::observeSwaps({});

    ASSERT_GE(presented.size(), 2u);
    auto gameOverShown = std::find_if(presented.begin(), presented.end(),
                                      [](auto& p) { return p.first == gameOverRed; });
    ASSERT_NE(gameOverShown, presented.end());
    ASSERT_NE(gameOverShown + 1, presented.end());
    EXPECT_GE(uint32_t((gameOverShown + 1)->second - gameOverShown->second), 4000u);

    EXPECT_EQ(lives(), startLives);
    EXPECT_EQ(score(), 0);
    EXPECT_EQ(game.bonusTimer->value(), startBonus);
    EXPECT_EQ(game.currentLevel, 0);
    EXPECT_EQ(player().x, 0);
    EXPECT_EQ(player().y, 0);
    EXPECT_EQ(player().savedX, 0);
    play->runFrame();
    EXPECT_EQ(shown(160, 100), titleBlue);

    // However long the title is looked at, the next game starts with its
    // whole bonus: the bonus timer counts from the start of play.
    pt::advanceClock(20000);
    play->press(key::space);
    play->runFrame();
    EXPECT_EQ(game.bonusTimer->value(), startBonus);
}

// A game over whose score its table wants asks for the name, by keys, and
// hands it to the tables; the title follows, and the key that confirmed the
// name does not start the next game.
TEST_F(Game, AGameOverThatEntersItsTableAsksForTheName) {
    std::vector<NameEntry> named;
    scoreHooks.wanted = [](int64_t score) { return score == 300; };
    scoreHooks.named = [&](const NameEntry& e) { named.push_back(e); };
    startPlaying("1 20 0 0 -16 190 0 16 data\\e.tga 0 0");
    game.livesCounter->setValue(1);
    game.scoreCounter->setValue(299.6);  // shown as 300
    play->press(key::right);
    ASSERT_TRUE(runUntil([] { return game.enteringName; }));
    play->release(key::right);
    play->runFrame();
    EXPECT_EQ(readText(48, 156, 14, [&](double x, double y) { return shown(x, y); }), "NEW HIGH SCORE");
    for (uint8_t k : {uint8_t('A'), uint8_t('B'), key::backspace, uint8_t('C'), key::up, key::left, key::up, key::space}) {
        play->press(k);
        play->runFrame();
        play->release(k);
    }
    ASSERT_EQ(named.size(), 1u);
    // ↑ past the last letter begins one at A; ← goes back, and ↑ turns C to D.
    EXPECT_EQ(named[0].name, "ADA");
    EXPECT_EQ(named[0].score, 300);
    EXPECT_EQ(named[0].level, 0);
    play->runFrames(3);
    EXPECT_FALSE(game.enteringName);
    EXPECT_FALSE(game.gameStarted);
    EXPECT_EQ(shown(160, 100), titleBlue);
}

TEST_F(Game, EachLevelChangeGivesALife) {
    writeLevel(1, exitAtStart);
    writeLevel(2, exitAtStart);
    writeLevel(3, emptyLevel);
    startPlaying(exitAtStart);
    play->runFrames(3);
    EXPECT_EQ(game.currentLevel, 3);
    EXPECT_EQ(lives(), startLives + 3);
}

TEST_F(Game, PastTheLastLevelTheSameLevelStartsAfresh) {
    startPlaying("0 2 0 0 0 20 32 0 4 100 100 0 20 32 0 1 0");
    EXPECT_EQ(game.currentLevel, 0);
    EXPECT_EQ(lives(), startLives + 1);
    EXPECT_EQ(player().x, 0);
    EXPECT_EQ(game.stairs[1]->type, climbStair);
    game.stairs[1]->type = 0;  // as if it had been climbed
    play->runFrame();          // the exit again
    EXPECT_EQ(game.stairs[1]->type, climbStair);
}

TEST_F(Game, F2MirrorsThePlayAreaButNotTheCounters) {
    startPlaying(emptyLevel);
    play->press(key::f2);
    play->runFrame();
    for (int y = 16; y <= 176; y += 16) {
        EXPECT_EQ(shown(100, 200 - y), floorYellow) << y;
        EXPECT_NE(shown(100, y), floorYellow) << y;
    }
    EXPECT_EQ(readText(236, 180, 2, [&](double x, double y) { return shown(x, y); }), "0?");
}

TEST_F(Game, F2AndF3TurnThePlayAreaHalfATurn) {
    startPlaying("0 1 40 49 0 20 32 0 0 0");
    EXPECT_EQ(shown(50, 60), stairGreen);
    play->press(key::f2);
    play->press(key::f3);
    play->runFrame();
    EXPECT_EQ(shown(270, 140), stairGreen);
    EXPECT_EQ(shown(50, 60), black);
}

TEST_F(Game, SwitchingTheDisplayModeGoesBackToTheTitleKeepingScoreAndPictures) {
    writeLevel(1, "0 1 40 49 0 20 32 0 0 0");
    startPlaying(exitAtStart);
    EXPECT_EQ(game.currentLevel, 1);
    game.scoreCounter->setValue(1234);
    player().x = 77;
    play->press(key::f1);
    play->runFrame();  // the switch comes at the end of this frame
    play->release(key::f1);
    play->runFrame();
    EXPECT_TRUE(fullScreen);
    EXPECT_FALSE(game.gameStarted);
    EXPECT_EQ(game.currentLevel, 0);
    EXPECT_EQ(lives(), startLives);
    EXPECT_EQ(game.bonusTimer->value(), startBonus);
    EXPECT_EQ(score(), 1234);
    EXPECT_EQ(player().x, 77);
    EXPECT_EQ(shown(160, 100), titleBlue);  // the title's picture, in the new context
    play->press(key::space);
    play->runFrame();
    EXPECT_EQ(shown(10, 20), stairGreen);  // level 0's exit; the figure stands away from it
    EXPECT_EQ(shown(100, 16), floorYellow);
}

TEST_F(Game, AnExitInTheMiddleOfTheStairsGoesOnOverTheNewLevel) {
    // Level 0: a far climb, the exit under the player, another far climb.
    // Level 1: one stair, and an item under the player.
    writeLevel(1, "0 1 100 100 0 20 32 0 1 1 0 0 0 8 8 0 data\\i.tga 0 0 %s 0 -1 50");
    startPlaying("0 3 200 100 0 20 32 0 1 0 0 0 20 32 0 4 250 100 0 20 32 0 1 0");
    EXPECT_EQ(game.currentLevel, 1);
    EXPECT_EQ(game.stairCount, 1);
    EXPECT_EQ(score(), 50);  // the new level's item, collected in the same frame
    EXPECT_EQ(shown(255, 110), black);  // the old level's third stair is not drawn
}
