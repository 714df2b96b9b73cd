// The game set up for measuring: headless, on a full-capacity level, the
// player walking to and fro, the counters running.
#pragma once
#include "app/scripted_play.h"
#include <memory>
#include <string>

struct BenchGame {
    std::string dataRoot;
    std::unique_ptr<ScriptedPlay> play;

    // `sourceDir` holds the shipped data/.
    explicit BenchGame(const std::string& sourceDir);
    ~BenchGame();

    // One real frame through the main loop; the player turns at the walls.
    void frame();
};

// The source tree (compiled in), where the shipped data/ lies.
const char* sourceDirectory();
