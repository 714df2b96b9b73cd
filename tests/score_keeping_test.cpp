// The player's high-score tables, kept between runs with the games that made
// them: a game over that enters its table asks for the name, and the entry
// and its game are kept, merged with what another game wrote meanwhile; a
// file that cannot be read is kept aside; where nothing can be written the
// game plays on.
#include "app/command_line.h"
#include "app/demo.h"
#include "app/scripted_play.h"
#include "app/score_keeping.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "support/captured.h"
#include "support/pictures.h"
#include "support/replaying.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace key = platform::key;

namespace {

// An item under the figure's start (50 points at once) and an enemy over it:
// every life goes at once, and the game over is one that scores.
constexpr const char* deadlyLevel =
    "1 0 0 0 -16 190 0 16 data\\e.tga 0 1 0 0 0 12 12 0 data\\c.tga 0 0 %s 0 -1 50";

class Scores : public testing::Test {
protected:
    TempDataRoot data;
    std::string home = data.root + "/home";
    std::FILE* err = std::tmpfile();

    void SetUp() override {
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        std::ofstream(data.file("level0.lvl.txt")) << deadlyLevel;
    }
    void TearDown() override { std::fclose(err); }

    std::string tables() { return fileText(home + "/vantrel/scores.txt"); }

    // Plays from the title to the name asked for (or the title again), then
    // types the name; `beforeKeeping` runs before it is confirmed, after the
    // tables were asked whether they want the game.
    void playToTheName(const std::string& name, const std::function<void()>& beforeKeeping = {}) {
        CommandLine line;
        ASSERT_TRUE(startRecording(line, err));
        startKeepingScores(err);
        ScriptedPlay play;
        play.runFrames(5);  // the title
        play.press(key::space);
        play.runFrame();
        play.release(key::space);
        for (int i = 0; i < 3000 && game.gameStarted && !game.enteringName; ++i) play.runFrame();
        if (!game.enteringName) return finishRecording(err);
        for (char c : name + "\r") {
            if (c == '\r' && beforeKeeping) beforeKeeping();
            play.press(uint8_t(c));
            play.runFrame();  // the name confirmed, it is kept as the next frame begins
            play.release(uint8_t(c));
        }
        play.runFrames(2);
        finishRecording(err);
    }
};

}  // namespace

// The entry and its game are kept, and its game replays to the end it was
// kept with; the next run reads the table back. Another game that wrote its
// score meanwhile (between the name and the keeping) keeps it too.
TEST_F(Scores, AGameThatEntersItsTableIsKeptWithItsGameAndAnotherGamesScoreToo) {
    playToTheName("ABC", [&] {
        fs::create_directories(home + "/vantrel");
        std::ofstream(home + "/vantrel/scores.txt")
            << "vantrel-scores 1\ntable level 0\nentry ZZZ 900 3 2026-12-09 games/other.demo 10\n";
    });
    std::string text = tables();
    EXPECT_NE(text.find("entry ZZZ 900 3 2026-12-09 games/other.demo 10\nentry ABC 50 0 "), std::string::npos)
        << text;
    ScoreBook book;
    std::string problem;
    ASSERT_TRUE(parseScoreBook(text, book, problem)) << problem;
    ASSERT_NE(book.find(levelStart(0)), nullptr);
    ASSERT_EQ(book.find(levelStart(0))->entries.size(), 2u);
    const ScoreEntry& ours = book.find(levelStart(0))->entries[1];
    EXPECT_EQ(ours.firstFrame, 5u);  // play began after five frames of the title
    Replayed r = replayByTheGame(VANTREL_GAME, home + "/vantrel/" + ours.demo, data.root);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line.rfind("frames ", 0), 0u) << r.line;

    startKeepingScores(err);  // the next run
    ASSERT_NE(keptScores().find(levelStart(0)), nullptr);
    EXPECT_EQ(keptScores().find(levelStart(0))->entries.size(), 2u);
    EXPECT_EQ(capturedText(err), "");
}

// A tables file that cannot be read is never replaced: it is kept aside,
// said once, and the tables begin afresh.
TEST_F(Scores, AFileThatCannotBeReadIsKeptAsideAndSaidOnce) {
    fs::create_directories(home + "/vantrel");
    std::ofstream(home + "/vantrel/scores.txt") << "these are my notes, not scores\n";
    playToTheName("Q");
    std::string said = capturedText(err);
    EXPECT_NE(said.find("cannot be read as scores (line 1: "), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot be read as scores", said.find("cannot be read as scores") + 1), std::string::npos);
    std::vector<std::string> aside;
    for (const auto& f : fs::directory_iterator(home + "/vantrel"))
        if (f.path().filename().string().rfind("scores.txt.bad-", 0) == 0) aside.push_back(f.path().string());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(fileText(aside[0]), "these are my notes, not scores\n");
    EXPECT_NE(tables().find("entry Q 50 0 "), std::string::npos);
}

// Nowhere to write: the game plays on to its title, asks for no name it
// cannot keep, and says so once.
TEST_F(Scores, WhereNothingCanBeWrittenTheGamePlaysOnAndSaysSoOnce) {
    std::ofstream(data.root + "/a-file") << "x";
    setenv("XDG_DATA_HOME", (data.root + "/a-file/below").c_str(), 1);
    playToTheName("ABC");
    EXPECT_FALSE(game.enteringName);
    EXPECT_FALSE(game.gameStarted);
    std::string said = capturedText(err);
    EXPECT_NE(said.find("cannot keep scores in "), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot keep scores", said.find("cannot keep scores") + 1), std::string::npos) << said;
}
