// The player's figure.
#pragma once
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
};
