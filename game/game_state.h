// The game's process-wide state: its objects, the current level's tables and
// the flags that say what is going on.
#pragma once

class Player;

struct GameState {
    Player* player = nullptr;

    bool gameStarted = false;     // false: the title picture is shown
    bool flipVertical = false;    // the play area is mirrored top to bottom (F2)
    bool flipHorizontal = false;  // the play area is mirrored left to right (F3)
};

extern GameState game;

// Puts the game on its title picture at level 0; runs on every new context.
void startGame();
