// Starting where a level author works: on a chosen level of the data, or on
// one level file that is loaded again whenever it changes on disk.
#include "app/level_watch.h"
#include "app/scripted_play.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "support/captured.h"
#include "support/pictures.h"
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Levels told apart by their number of stairs: level n has n + 1.
std::string levelWithStairs(int stairs) {
    std::string text = "0 " + std::to_string(stairs);
    for (int i = 0; i < stairs; ++i) text += " " + std::to_string(40 + 20 * i) + " 0 0 16 16 0 0";
    return text + " 0\n";
}

void writeText(const std::string& file, const std::string& text) { writeBytes(file, {text.begin(), text.end()}); }

// A data directory with a level 0 of its own, and a level file of two stairs
// beside it, to be watched.
struct OwnLevel {
    TempDataRoot data;
    std::string own = data.root + "/mine.lvl.txt";
    std::FILE* err = std::tmpfile();  // what the watcher says
    OwnLevel() {
        writeText(data.file("level0.lvl.txt"), levelWithStairs(1));
        writeText(own, levelWithStairs(2));
    }
    ~OwnLevel() { std::fclose(err); }
};

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
    OwnLevel level;
    const std::string& own = level.own;
    std::FILE* err = level.err;
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
}

// A picture named alone is the one beside the watched file, for the game
// and for what the checker says of it alike.
TEST(LevelStart, AWatchedFilesPicturesNamedAloneAreThoseBesideIt) {
    TempDataRoot data;
    writeText(data.file("level0.lvl.txt"), levelWithStairs(1));
    std::string folder = data.root + "/mine";
    std::filesystem::create_directory(folder);
    writeTga(folder + "/rock.tga", 2, 2, 3, solid(2, 2, {1, 2, 3}));
    writeText(folder + "/own.lvl.txt", "1 60 100 0 20 170 0.04 16 rock.tga 0 0\n");
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(watchLevelFile(folder + "/own.lvl.txt", err));
    EXPECT_EQ(capturedText(err), folder + "/own.lvl.txt: clean\n");
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    ASSERT_EQ(game.enemyCount, 1);
    EXPECT_EQ(game.enemies[0]->texture.image.width, 2);
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

TEST(LevelStart, AFileTouchedOrSavedWithTheSameTextChangesNothing) {
    OwnLevel level;
    ASSERT_TRUE(watchLevelFile(level.own, level.err));
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    game.player->x = 100;
    std::string before = capturedText(level.err);

    namespace fs = std::filesystem;
    fs::last_write_time(level.own, fs::last_write_time(level.own) + std::chrono::seconds(5));  // touch
    pollAfterInterval();
    writeText(level.own + ".new", levelWithStairs(2));  // saved again, by a rename, as it was
    fs::rename(level.own + ".new", level.own);
    pollAfterInterval();
    EXPECT_EQ(game.player->x, 100);  // not sent back to the start
    EXPECT_EQ(capturedText(level.err), before);
}

// A FIFO hands each reader the next thing written to it, as a file saved
// again between two reads would: the report must be on the version played.
TEST(LevelStart, TheCheckersReportIsOnTheVersionLoadedNotOneSavedAfterIt) {
    TempDataRoot data;
    writeText(data.file("level0.lvl.txt"), levelWithStairs(1));
    std::string own = data.root + "/saved.lvl.txt";
    ASSERT_EQ(mkfifo(own.c_str(), 0600), 0);
    auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);  // a reader gone is the writer's EPIPE
    std::atomic<bool> stop = false, done = false;
    std::thread editor([&] {
        auto save = [&](const std::string& text) {
            int fd = ::open(own.c_str(), O_WRONLY);  // waits for a reader
            if (fd < 0) return;
            if (!stop) (void)!::write(fd, text.data(), text.size());
            ::close(fd);
        };
        save(levelWithStairs(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the game has read it
        while (!stop) save("0 2 40 0 0");  // then a half-written save, for any later reader
        done = true;
    });
    std::FILE* err = std::tmpfile();
    bool watching = watchLevelFile(own, err);
    stop = true;
    while (!done) {  // a reader lets the editor's waiting open return
        int fd = ::open(own.c_str(), O_RDONLY | O_NONBLOCK);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (fd >= 0) ::close(fd);
    }
    editor.join();
    std::signal(SIGPIPE, oldPipeHandler);

    ASSERT_TRUE(watching);
    std::string said = capturedText(err);
    EXPECT_NE(said.find(own + ": clean"), std::string::npos) << said;
    EXPECT_EQ(said.find("ends inside"), std::string::npos) << said;
    ScriptedPlay play;
    ASSERT_TRUE(play.opened());
    EXPECT_EQ(game.stairCount, 2);
    std::fclose(err);
}
