#include "bench/bench_game.h"
#include "bench/full_level.h"
#include "game/game_state.h"
#include "game/player.h"
#include <cstdlib>

const char* sourceDirectory() { return VANTREL_SOURCE_DIR; }

BenchGame::BenchGame(const std::string& sourceDir) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    dataRoot = makeFullCapacityData(sourceDir);
    play = std::make_unique<ScriptedPlay>();
    play->press(platform::key::space);
    play->runFrame();
    play->release(platform::key::space);
    play->press(platform::key::right);
    play->runFrames(10);
}

BenchGame::~BenchGame() {
    play.reset();
    removeFullCapacityData(dataRoot);
}

void BenchGame::frame() {
    Player& p = *game.player;
    if (p.velocity == 0) {  // stopped at a wall: turn round
        uint8_t away = p.x > 150 ? platform::key::left : platform::key::right;
        play->release(platform::key::left);
        play->release(platform::key::right);
        play->press(away);
    }
    play->runFrame();
}
