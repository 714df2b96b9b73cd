// The player's figure: a 16 x 16 picture that walks left and right between
// two bounds, with a three-picture walk cycle for each direction and a saved
// position to go back to when it is hit.
#pragma once
#include "gfx/texture.h"
#include <cstdint>

class Player {
public:
    double x = 0, y = 0, z = 0;                 // lower left corner, world units
    double width = 16, height = 16, depth = 0;  // the box the contact tests see
    double savedX = 0, savedY = 0, savedZ = 0;  // where a hit puts the figure back
    double velocity = 0;                        // world units per millisecond, negative to the left
    double maxX = 14;                           // highest x the figure may reach
    double minX = 0;                            // lowest x the figure may reach
    uint32_t lastTick = 0;                      // tick of the last update; 0 = timing not started

    // Loads the figure's pictures; needs the current rendering context.
    Player();

    // Moves by the velocity over the time since the last update and stops
    // at a bound.
    void update();
    // Draws the walk-cycle picture for the present direction.
    void draw();
    // The next update measures no time.
    void resetClock();
    void savePosition();
    void restorePosition();
};

// The figure's pictures: 3-5 walk left, 6-8 stand, 9-11 walk right
// (0-2 are loaded and never shown). Shared by every Player.
constexpr int playerFrameCount = 12;
extern Texture playerFrames[playerFrameCount];

// The walk cycle steps about every half second, moving or not.
extern int32_t walkStep;
extern uint32_t lastWalkStepTick;
// The walk cycle as at the program's start: its clock taken at the next draw.
void resetWalkCycle();
constexpr uint32_t walkStepInterval = 500;  // milliseconds
