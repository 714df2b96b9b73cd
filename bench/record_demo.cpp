// Records a demo of real play, for measuring replays and for replaying on
// other builds: the level bot plays the shipped levels one after another
// from the title. Its set clock moves 16 ms a frame, as a player at 60 frames
// a second would see it, or by the given steps in turn: "17,17,16" is what a
// 60 Hz display gives a clock that counts whole milliseconds. Given a frame
// count, the recording stops there, in the middle of a level's play.
//
//   record_demo FILE [MS,MS,... [FRAMES]]
//
// Prints the recorded game's end line, as the game does.
#include "app/command_line.h"
#include "app/demo.h"
#include "app/scripted_play.h"
#include "bench/bench_game.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "support/level_bot.h"
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// The clock's steps, ms; empty when the list cannot be read.
std::vector<uint32_t> readSteps(const char* text) {
    std::vector<uint32_t> steps;
    std::istringstream in(text);
    std::string field;
    while (std::getline(in, field, ',')) {
        char* end = nullptr;
        unsigned long ms = std::strtoul(field.c_str(), &end, 10);
        if (field.empty() || *end || ms == 0 || ms > 1000) return {};
        steps.push_back(uint32_t(ms));
    }
    return steps;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint32_t> steps = argc >= 3 ? readSteps(argv[2]) : std::vector<uint32_t>{16};
    int frames = argc == 4 ? std::atoi(argv[3]) : INT_MAX;
    if (argc < 2 || argc > 4 || steps.empty() || frames <= 0) {
        std::fprintf(stderr, "usage: %s FILE [MS,MS,... [FRAMES]]\n", argv[0]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    platform::setDataRoot(sourceDirectory());
    CommandLine line;
    line.recordFile = argv[1];
    {
        // The window first: without one there is no game to record (the
        // window's own message has said why), and no recording is begun.
        ScriptedPlay play(100000, steps[0]);
        if (!play.opened()) return 1;
        if (!startRecording(line, stderr)) return 1;
        size_t nextStep = 0;
        auto stepClock = [&] { play.msPerFrame = steps[nextStep++ % steps.size()]; };
        for (int frame = 0; frame < 60; ++frame) {  // a second on the title
            stepClock();
            play.runFrame();
        }
        play.press(platform::key::space);
        play.runFrame();
        play.release(platform::key::space);
        for (int level = 0; level < 6 && play.framesRun < frames; ++level) {
            LevelRun run = playLevel(play, std::min(20000, frames - play.framesRun), stepClock);
            std::fprintf(stderr, "level %d: %s\n", level, run.describe().c_str());
            if (!run.finished) break;
        }
    }
    finishRecording(stdout);
    return 0;
}
