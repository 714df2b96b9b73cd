// The tick count wraps to 0 after about 49.7 days. Played across the wrap,
// every clock measures the same small steps as anywhere else: the player,
// the enemies, the sprites, the counters, and the game-over wait.
#include "app/scripted_play.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "gfx/animated_sprite.h"
#include "platform/clock.h"
#include "platform/testing.h"
#include "support/pictures.h"
#include <gtest/gtest.h>

namespace pt = platform::testing;

namespace {

constexpr uint32_t msPerFrame = 16;
constexpr uint32_t wrapsAfter = 20 * msPerFrame;  // frames into play

class ClockWrap : public testing::Test {
protected:
    TempDataRoot data;
    std::unique_ptr<ScriptedPlay> play;

    // Level 0 as given; the clock wraps `wrapsIn` milliseconds after play starts.
    void start(const std::string& level, uint32_t wrapsIn = wrapsAfter) {
        writeBytes(data.file("level0.lvl.txt"), {level.begin(), level.end()});
        play = std::make_unique<ScriptedPlay>(uint32_t(0u - wrapsIn - 7), msPerFrame);
        play->press(platform::key::space);
        play->runFrame();
    }
};

}  // namespace

TEST_F(ClockWrap, PlayerEnemiesCountersAndSpritesStepEvenlyAcrossIt) {
    start("1 200 100 0 20 170 0.01 16 data\\e.tga 0 1 150 120 0 8 8 0 data\\i.tga 0 0 %s 0 1000 5");
    play->press(platform::key::right);
    play->runFrame();  // the player's clock starts
    double x = game.player->x, y = game.enemies[0]->y, bonus = game.bonusTimer->value();
    AnimatedSprite* item = game.items[0];
    for (int frame = 0; frame < 40; ++frame) {  // the wrap lies in the middle
        play->runFrame();
        EXPECT_NEAR(game.player->x - x, 0.091 * msPerFrame, 1e-9) << frame;
        EXPECT_NEAR(game.enemies[0]->y - y, 0.01 * msPerFrame, 1e-9) << frame;
        EXPECT_NEAR(bonus - game.bonusTimer->value(), 0.025 * msPerFrame, 1e-9) << frame;
        x = game.player->x, y = game.enemies[0]->y, bonus = game.bonusTimer->value();
    }
    ASSERT_EQ(game.items[0], item);  // drawn first 42 frames ago (672 ms): alive
    EXPECT_TRUE(item->alive);
    play->runFrames(25);  // past its 1000 ms, across the wrap
    EXPECT_EQ(game.items[0], nullptr);
}

TEST_F(ClockWrap, TheGameOverWaitLastsItsFourSecondsAcrossIt) {
    // An enemy on the player's start: the first frame of play costs the last
    // life. The explosion's 27 frames take 54 frames of 16 ms; the wait then
    // starts, and the clock wraps 2 seconds into it.
    start("1 0 0 0 -16 190 0 16 data\\e.tga 0 0", 54 * msPerFrame + 2000);
    ASSERT_TRUE(game.explosion->playing);
    game.livesCounter->setValue(0);
    std::vector<uint32_t> presented;
    pt::observeSwaps([&] { presented.push_back(platform::tickCount()); });
    for (int i = 0; i < 200 && game.gameStarted; ++i) play->runFrame();
    pt::observeSwaps({});
    ASSERT_FALSE(game.gameStarted);
    size_t wait = 1;
    for (size_t i = 1; i < presented.size(); ++i)
        if (uint32_t(presented[i] - presented[i - 1]) > uint32_t(presented[wait] - presented[wait - 1])) wait = i;
    EXPECT_GE(uint32_t(presented[wait] - presented[wait - 1]), 4000u);
    EXPECT_LT(uint32_t(presented[wait] - presented[wait - 1]), 4100u);
    EXPECT_GT(presented[wait - 1], presented[wait]) << "the wait did not cross the wrap";
}
