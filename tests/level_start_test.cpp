// Starting where a level author works: on a chosen level of the data, or on
// one level file that is loaded again whenever it changes on disk.
#include "app/level_watch.h"
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "support/captured.h"
#include "support/pictures.h"
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Levels told apart by their number of stairs: level n has n + 1.
std::string levelWithStairs(int stairs) {
    std::string text = "0 " + std::to_string(stairs);
    for (int i = 0; i < stairs; ++i) text += " " + std::to_string(40 + 20 * i) + " 0 0 16 16 0 0";
    return text + " 0\n";
}

void writeText(const std::string& file, const std::string& text) { writeBytes(file, {text.begin(), text.end()}); }

// Waits out the watcher's interval (real time), then lets it look.
void pollAfterInterval() {
    std::this_thread::sleep_for(std::chrono::milliseconds(levelWatchInterval + 20));
    pollLevelFile();
}

}  // namespace

TEST(LevelStart, AChosenLevelIsWhereTheGameStartsAndWhereAGameOverReturns) {
    TempDataRoot data;
    for (int n = 0; n < 4; ++n) writeText(data.file("level" + std::to_string(n) + ".lvl.txt"), levelWithStairs(n + 1));
    setFirstLevel(2);
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    EXPECT_EQ(game.currentLevel, 2);
    EXPECT_EQ(game.stairCount, 3);
    changeLevel(3);
    ASSERT_EQ(game.currentLevel, 3);
    restartGame();  // what a game over ends with
    EXPECT_EQ(game.currentLevel, 2);
    EXPECT_EQ(game.stairCount, 3);
    EXPECT_FALSE(game.gameStarted);
}

TEST(LevelStart, AWatchedFileIsLoadedAgainWhenItChangesAndABadEditKeepsTheLastGoodOne) {
    TempDataRoot data;
    writeText(data.file("level0.lvl.txt"), levelWithStairs(1));
    std::string own = data.root + "/mine.lvl.txt";
    writeText(own, levelWithStairs(2));
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(watchLevelFile(own, err));
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    EXPECT_EQ(game.stairCount, 2);
    game.scoreCounter->setValue(70);
    game.player->x = 100;

    // An exit plays the file again, with a life more.
    double lives = game.livesCounter->value();
    changeLevel(game.currentLevel + 1);
    EXPECT_EQ(game.stairCount, 2);
    EXPECT_EQ(game.livesCounter->value(), lives + 1);

    // Saved in place: loaded again, the figure back at the start, the score kept.
    game.player->x = 100;
    writeText(own, levelWithStairs(3));
    pollAfterInterval();
    EXPECT_EQ(game.stairCount, 3);
    EXPECT_EQ(game.player->x, 0);
    EXPECT_EQ(game.scoreCounter->value(), 70);

    // Half written: the last good version plays on, and the game says why.
    writeText(own, "0 2 40 0 0");
    pollAfterInterval();
    EXPECT_EQ(game.stairCount, 3);
    std::string said = capturedText(err);
    EXPECT_NE(said.find("the last good version plays on"), std::string::npos) << said;
    EXPECT_NE(said.find("ends inside stair 1"), std::string::npos) << said;  // the checker's word on it

    // Saved by writing a new file and renaming it over the old one.
    std::string fresh = own + ".new";
    writeText(fresh, levelWithStairs(1));
    std::filesystem::rename(fresh, own);
    pollAfterInterval();
    EXPECT_EQ(game.stairCount, 1);
    pollAfterInterval();  // nothing changed since: nothing happens
    EXPECT_EQ(game.stairCount, 1);
    std::fclose(err);
}

TEST(LevelStart, AFileThatIsNotALevelIsReportedAsTheCheckerDoesAndNotPlayed) {
    TempDataRoot data;
    std::string own = data.root + "/broken.lvl.txt";
    writeText(own, "1 2 3");
    std::FILE* err = std::tmpfile();
    EXPECT_FALSE(watchLevelFile(own, err));
    std::string said = capturedText(err);
    EXPECT_NE(said.find(own + ":1: token 4: the file ends inside enemy 1"), std::string::npos) << said;
    EXPECT_NE(said.find("cannot be played"), std::string::npos) << said;
    EXPECT_FALSE(hasOwnLevel());
    std::fclose(err);
}
