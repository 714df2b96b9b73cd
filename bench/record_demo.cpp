// Records a demo of real play, for measuring replays: the level bot plays
// the shipped levels one after another from the title, a frame every 16 ms
// of its set clock, as a player at 60 frames a second would.
//
//   record_demo FILE
//
// Prints the recorded game's end line, as the game does.
#include "app/command_line.h"
#include "app/demo.h"
#include "app/scripted_play.h"
#include "bench/bench_game.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "platform/testing.h"
#include "support/level_bot.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::testing::enterTestMode();
    platform::setDataRoot(sourceDirectory());
    CommandLine line;
    line.recordFile = argv[1];
    if (!startRecording(line, stderr)) return 1;
    {
        ScriptedPlay play;
        play.runFrames(60);  // a second on the title
        play.press(platform::key::space);
        play.runFrame();
        play.release(platform::key::space);
        for (int level = 0; level < 6; ++level) {
            LevelRun run = playLevel(play, 20000);
            std::fprintf(stderr, "level %d: %s\n", level, run.describe().c_str());
            if (!run.finished) break;
        }
    }
    finishRecording(stdout);
    return 0;
}
