// A player for the tests: it plays the running game's current level through
// ScriptedPlay, one real frame at a time, choosing the arrow key for each
// frame from what the game state shows at that moment (the figure, the
// enemies, the stairs). It knows the rules a player learns, not the game's
// code: how fast the figure walks and climbs, which box of the figure the
// enemies and stairs test, and that an enemy turns at its bounds with its
// speed changed by up to a fifth.
#pragma once
#include <functional>
#include <string>

class ScriptedPlay;

struct LevelRun {
    bool finished = false;  // the level's exit fired
    bool gameOver = false;  // every life was lost
    bool stuck = false;     // no way up from one floor for a very long time
    int frames = 0;
    int livesLost = 0;
    double highestFloor = 0;  // the figure's highest y
    std::string describe() const;  // how it ended, frames, lives lost
};

// Plays the current level until its exit fires, the game is over, the
// figure has stood on one floor for over a minute of play, or `frameLimit`
// frames have run. The exit has fired when the level number
// moves on or, past the last level (which then starts afresh), when a life
// is added: nothing else adds one. `afterFrame`, if given, sees every frame.
LevelRun playLevel(ScriptedPlay& play, int frameLimit, const std::function<void()>& afterFrame = {});
