// The shipped levels: each is a whole level whose pictures all load, and a
// bot playing the real game reaches its exit.
#include "app/scripted_play.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "gfx/animated_sprite.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "support/level_bot.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>

namespace {

// Enough for the hardest level with room to spare; the bot needs far fewer.
constexpr int frameLimit = 12000;

std::string levelPath(int n) {
    return std::string(VANTREL_SOURCE_DIR) + "/data/level" + std::to_string(n) + ".lvl.txt";
}

// Levels 0, 1, ... up to the first number without a file.
std::vector<int> shippedLevels() {
    std::vector<int> levels;
    while (std::filesystem::exists(levelPath(int(levels.size())))) levels.push_back(int(levels.size()));
    return levels;
}

class ShippedLevel : public testing::TestWithParam<int> {
protected:
    std::unique_ptr<ScriptedPlay> play;

    // The game on the shipped data, past its title, on this test's level.
    void SetUp() override {
        platform::setDataRoot(VANTREL_SOURCE_DIR);
        play = std::make_unique<ScriptedPlay>();
        ASSERT_TRUE(play->opened());
        play->press(platform::key::space);
        ASSERT_TRUE(play->runFrame());
        play->release(platform::key::space);
        if (GetParam() > 0) changeLevel(GetParam());
        ASSERT_EQ(game.currentLevel, GetParam());
    }
    void TearDown() override {
        play.reset();
        platform::setDataRoot("");
    }
};

}  // namespace

// The game goes from level n to n + 1: a level after a gap in the numbers
// would never be played, nor proven here.
TEST(ShippedLevels, AreNumberedFromZeroWithoutAGap) {
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VANTREL_SOURCE_DIR) + "/data"))
        if (std::regex_match(entry.path().filename().string(), std::regex("level[0-9]+\\.lvl\\.txt"))) ++files;
    EXPECT_EQ(shippedLevels().size(), files);
    EXPECT_GE(files, 6u);
}

// A count that does not match its records shifts every later token without
// any error; a name with a typo gives an object without a picture.
TEST_P(ShippedLevel, IsAWholeLevelWithinTheCapacitiesWhosePicturesAllLoad) {
    std::ifstream file(levelPath(GetParam()));
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LevelDescription level;
    ASSERT_TRUE(parseLevel(text.data(), text.size(), level));
    EXPECT_LE(level.enemyCount, maxEnemies);
    EXPECT_LE(level.stairCount, maxStairs);
    EXPECT_LE(level.itemCount, maxItems);
    std::istringstream words(text);
    size_t tokens = std::distance(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    EXPECT_EQ(tokens, 3u + 8u * level.enemyCount + 7u * level.stairCount + 13u * level.itemCount)
        << "tokens after the last item";

    for (int i = 0; i < game.enemyCount; ++i)
        EXPECT_NE(game.enemies[i]->texture.glName(), 0u) << "enemy " << i << ": " << level.enemies[i].texture;
    for (int i = 0; i < game.itemCount; ++i)
        for (int f = 0; f < game.items[i]->frameCount; ++f)
            EXPECT_NE(game.items[i]->frames[f].glName(), 0u) << "item " << i << " frame " << f;
}

TEST_P(ShippedLevel, TheBotReachesTheExit) {
    LevelRun run = playLevel(*play, frameLimit);
    EXPECT_TRUE(run.finished) << "level " << GetParam() << ": " << run.describe();
    RecordProperty("frames", run.frames);
    RecordProperty("livesLost", run.livesLost);
    std::printf("level %d: %s\n", GetParam(), run.describe().c_str());
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLevel, testing::ValuesIn(shippedLevels()),
                         [](const testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });
