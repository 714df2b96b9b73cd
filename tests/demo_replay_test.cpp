// Recorded games replayed in the process: a demo holds what the game was
// given (one clock reading a frame, the messages, the levels loaded), so a
// replay goes the recorded way however often the code reads the clock; the
// order of a loop pass that replays rely on; what a replay refuses.
#include "app/command_line.h"
#include "app/demo.h"
#include "app/demo_file.h"
#include "app/key_bindings.h"
#include "app/level_watch.h"
#include "app/program.h"
#include "app/scripted_play.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/testing.h"
#include "support/captured.h"
#include "support/pictures.h"
#include "support/replaying.h"
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace pt = platform::testing;
namespace key = platform::key;

namespace {

const std::string sourceDir = VANTREL_SOURCE_DIR;

// One enemy on each of two threads, one of them over the figure's start, and
// a stair: a game with hits, climbs and random bounces.
constexpr const char* busyLevel =
    "2 0 0 0 -16 190 0.05 16 data\\e.tga 100 60 0 -16 190 0.03 16 data\\e.tga "
    "1 100 16 0 20 32 0 1 0";
constexpr const char* otherLevel = "1 200 100 0 -16 190 0.08 16 data\\e.tga 0 0 0";

// The same in this process, where a test can watch its frames.
Replayed replayHere(const std::string& demo, const std::string& root) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const char* argv[] = {"vantrel", "--no-vsync", "--datadir", root.c_str(), "--play-demo", demo.c_str()};
    int status = runProgram(6, const_cast<char**>(argv), out, err);
    Replayed r{status, capturedText(out), capturedText(err)};
    std::fclose(out);
    std::fclose(err);
    return r;
}

// The demo's records, kind by kind.
std::string recordKinds(const std::string& demo) {
    std::string bytes, why, kinds;
    EXPECT_TRUE(readDemoFile(demo, bytes, why)) << why;
    DemoReader reader;
    DemoHeader header;
    EXPECT_TRUE(reader.readHeader(bytes, header)) << reader.problem;
    DemoRecord r;
    while (reader.next(r)) kinds += char(r.kind);
    return kinds;
}

class Demos : public testing::Test {
protected:
    TempDataRoot data;
    std::string demo = (fs::temp_directory_path() / ("demos-" + std::to_string(getpid()) + ".demo")).string();

    void TearDown() override { fs::remove(demo); }

    void writeLevel(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    // Records what `play` does from the title on; the recorded game's end line.
    template <typename Play>
    std::string record(Play play) {
        std::FILE* out = std::tmpfile();
        CommandLine line;
        line.recordFile = demo;
        EXPECT_TRUE(startRecording(line, stderr));
        {
            ScriptedPlay game(100000, 16);
            EXPECT_TRUE(game.opened());
            play(game);
        }
        finishRecording(out);
        std::string printed = capturedText(out);
        std::fclose(out);
        return printed;
    }
};

}  // namespace

// A level file changed in the middle of play is loaded before the frame
// whose clock reading follows it, in the recording and in the replay alike:
// the loop's order (watcher, reading, frame) is what lets the replay load it
// at the same point.
TEST_F(Demos, ALevelReplacedMidGameReplaysToTheRecordedLine) {
    std::string own = data.root + "/own.lvl.txt";
    writeLevel(own, busyLevel);
    ASSERT_TRUE(watchLevelFile(own, stderr));
    std::string recorded = record([&](ScriptedPlay& play) {
        play.press(key::space);
        play.runFrame();
        play.release(key::space);
        play.press(key::right);
        play.runFrames(40);
        writeLevel(own + ".new", otherLevel);
        fs::rename(own + ".new", own);
        uint64_t until = platform::wallMilliseconds() + 5000;
        while (game.enemyCount != 1 && platform::wallMilliseconds() < until) play.runFrame();
        EXPECT_EQ(game.enemyCount, 1) << "the changed level was not loaded";
        play.runFrames(60);
    });
    fs::remove(own);  // the demo carries both versions
    EXPECT_NE(recordKinds(demo).find("FL"), std::string::npos) << "no level record between two frames";
    Replayed r = replayByTheGame(VANTREL_GAME, demo, data.root);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, recorded) << r.err;
}

// The last life lost: the game-over picture's four seconds are one record in
// the demo however often the wait read the clock, and the replay, run as
// fast as it goes, spends none of them.
TEST_F(Demos, TheGameOverWaitIsOneRecord) {
    writeLevel(data.file("level0.lvl.txt"), "1 0 0 0 -16 190 0 16 data\\e.tga 0 0");
    std::string recorded = record([&](ScriptedPlay& play) {
        play.press(key::space);
        play.runFrame();
        play.release(key::space);
        for (int i = 0; i < 2000 && game.gameStarted; ++i) play.runFrame();
        EXPECT_FALSE(game.gameStarted) << "the game did not end";
        play.runFrames(10);
    });
    std::string kinds = recordKinds(demo);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'W'), 1) << kinds;
    EXPECT_EQ(kinds.find_first_not_of("MFWE"), std::string::npos) << kinds;
    uint64_t began = platform::wallMilliseconds();
    Replayed r = replayByTheGame(VANTREL_GAME, demo, data.root);
    EXPECT_LT(platform::wallMilliseconds() - began, 4000u) << "the replay waited the recorded time";
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, recorded) << r.err;
}

// The page may save the game while the game-over picture is shown, in the
// middle of the frame that shows it and waits: the demo saved then ends
// before that frame and replays whole to the line given with it.
TEST_F(Demos, AGameSavedAtTheGameOverPictureReplaysToItsLine) {
    writeLevel(data.file("level0.lvl.txt"), "1 0 0 0 -16 190 0 16 data\\e.tga 0 0");
    SavedDemo atGameOver;
    record([&](ScriptedPlay& play) {
        pt::observeSwaps([&] {
            if (game.gameStarted && game.livesCounter && game.livesCounter->value() == 0) atGameOver = demoSoFar();
        });
        play.press(key::space);
        play.runFrame();
        play.release(key::space);
        for (int i = 0; i < 2000 && game.gameStarted; ++i) play.runFrame();
        pt::observeSwaps({});
    });
    ASSERT_FALSE(atGameOver.demo.empty()) << "no frame was shown with the last life gone";
    std::ofstream(demo, std::ios::binary | std::ios::trunc) << atGameOver.demo;
    Replayed r = replayByTheGame(VANTREL_GAME, demo, data.root);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, atGameOver.line + "\n") << r.err;
}

// A pause is part of the game's input: by key, and by the focus lost (a
// pause message the game posts, so that a replay does not depend on the
// setting where it runs), it replays to the recorded line.
TEST_F(Demos, PausesByKeyAndByFocusLossReplay) {
    writeLevel(data.file("level0.lvl.txt"), busyLevel);
    std::string recorded = record([&](ScriptedPlay& play) {
        play.press(key::space);
        play.runFrame();
        play.release(key::space);
        play.press(key::right);
        play.runFrames(30);
        pt::injectMessage({platform::MessageKind::activate, 0, 0});
        play.msPerFrame = 700;
        play.runFrames(20);
        EXPECT_TRUE(game.paused);
        play.msPerFrame = 16;
        play.press(key::p);
        play.runFrames(40);
        play.press(key::p);  // a repeat of the held key: nothing
        play.release(key::p);
        play.press(key::p);
        play.runFrames(20);
        play.release(key::p);
        play.press(key::p);
        play.runFrames(40);
        EXPECT_FALSE(game.paused);
    });
    std::string kinds = recordKinds(demo);
    EXPECT_NE(kinds.find('M'), std::string::npos);
    Replayed r = replayByTheGame(VANTREL_GAME, demo, data.root);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, recorded) << r.err;
}

// A game recorded with keys of the player's own, changed again on the keys
// screen before play, replays by the keys it names where the keys in force
// are the defaults; and a replay writes no settings, though M was pressed.
TEST_F(Demos, KeysOfThePlayersOwnReplayWhereTheDefaultsAreInForce) {
    writeLevel(data.file("level0.lvl.txt"), otherLevel);
    keyBindings.keys[size_t(Action::left)] = {'A', 0};
    keyBindings.keys[size_t(Action::right)] = {'D', 0};
    auto tap = [](ScriptedPlay& play, uint8_t code) {
        play.press(code);
        play.runFrame();
        play.release(code);
    };
    std::string recorded = record([&](ScriptedPlay& play) {
        tap(play, key::k);
        tap(play, key::enter);  // LEFT kept
        tap(play, 'L');         // RIGHT
        tap(play, key::escape);
        tap(play, key::space);
        play.press('L');
        play.runFrames(40);
        play.release('L');
        EXPECT_GT(game.player->x, 30);
        tap(play, key::m);
        play.press('A');
        play.runFrame();
        play.press(key::right);  // the default, which is not in force
        play.runFrames(10);
        EXPECT_LT(game.player->velocity, 0);
    });
    keyBindings = defaultKeys;
    EXPECT_NE(fileText(demo).find("\nkeys left=65 right=68 start=32 pause=80,19 "), std::string::npos);
    Replayed r = replayByTheGame(VANTREL_GAME, demo, data.root);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, recorded) << r.err;
    EXPECT_FALSE(fs::exists(fs::path(std::getenv("XDG_CONFIG_HOME")) / "vantrel"));
}

// The golden demos, recorded by releases and kept for ever, each with the
// line it ended on.
std::vector<std::string> goldenDemos() {
    std::vector<std::string> demos;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(sourceDir + "/tests/golden", error), end; !error && entry != end;
         entry.increment(error))
        if (entry->path().extension() == ".demo") demos.push_back(entry->path().string());
    std::sort(demos.begin(), demos.end());
    return demos;
}

class GoldenDemo : public testing::TestWithParam<std::string> {};

TEST(GoldenDemos, EachReleaseKeepsAtLeastFour) { EXPECT_GE(goldenDemos().size(), 4u); }

// Each replays to its line while the clock is read many more times in every
// frame, and runs at another pace altogether: the game's clocks see one
// reading a frame, the recorded one, whatever else reads the clock.
TEST_P(GoldenDemo, ReplaysToItsLineHoweverOftenTheClockIsRead) {
    std::string expected = fileText(fs::path(GetParam()).replace_extension(".line").string());
    ASSERT_FALSE(expected.empty()) << "no line kept for " << GetParam();
    pt::setClock(0x89ABCDEF, 7);  // moves 7 ms at every reading
    uint32_t sum = 0;
    pt::observeSwaps([&] {
        for (int i = 0; i < 100; ++i) sum += platform::tickCount() + platform::frameTicks();
    });
    Replayed r = replayHere(GetParam(), sourceDir);
    pt::observeSwaps({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.line, expected) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Kept, GoldenDemo, testing::ValuesIn(goldenDemos()), [](const auto& info) {
    std::string name = fs::path(info.param).parent_path().filename().string() + "_" +
                       fs::path(info.param).stem().string();
    for (char& c : name)
        if (!std::isalnum(uint8_t(c))) c = '_';
    return name;
});

// What a replay refuses names the release that can replay it, and shows
// only printable characters of what the file says.
TEST(DemoRefusals, NameTheReleaseThatReplaysTheDemo) {
    std::string badInputs = sourceDir + "/tests/bad_inputs/";
    Replayed earlier = replayByTheGame(VANTREL_GAME, badInputs + "earlier-format.demo", sourceDir);
    EXPECT_EQ(earlier.status, 1);
    EXPECT_NE(earlier.err.find("it was recorded by vantrel 0.2.0, and only vantrel 0.2.0 replays it"),
              std::string::npos)
        << earlier.err;
    Replayed later = replayByTheGame(VANTREL_GAME, badInputs + "later-rules.demo", sourceDir);
    EXPECT_EQ(later.status, 1);
    EXPECT_NE(later.err.find("it was recorded by vantrel 9.0.0 by rules 99, which this release does not know"),
              std::string::npos)
        << later.err;
    EXPECT_NE(later.err.find("replay it with vantrel 9.0.0 or later"), std::string::npos) << later.err;

    std::string crafted = (fs::temp_directory_path() / "demos-crafted.demo").string();
    std::ofstream(crafted, std::ios::binary) << "vantrel-demo 1\ngame \x1b]0;owned\a\x1b[2J\nlevels 0\n";
    Replayed escaped = replayByTheGame(VANTREL_GAME, crafted, sourceDir);
    fs::remove(crafted);
    EXPECT_EQ(escaped.err.find('\x1b'), std::string::npos) << "an escape sequence reached the terminal";
    EXPECT_NE(escaped.err.find("vantrel \\x1B]0;owned\\x07\\x1B[2J"), std::string::npos) << escaped.err;
}
