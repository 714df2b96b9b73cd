// An enemy: a textured square that moves up and down on a vertical thread
// between two bounds and turns back at each with a randomly changed speed.
#pragma once
#include "gfx/texture.h"
#include <cstdint>

class Enemy {
public:
    double x;           // left edge, world units; never changes
    double y;           // bottom edge; moves
    double z;           // depth the square is drawn at
    double lowerBound;  // y stays at or above lowerBound + size
    double upperBound;  // y stays at or below upperBound
    double speed;       // world units per millisecond, positive upward
    double size;        // side of the square
    Texture texture;
    uint32_t lastTick = 0;  // tick of the last update; 0 = clock not started

    // Loads the picture when a file name is given (needs the current
    // rendering context).
    Enemy(double x, double y, double z, double lowerBound, double upperBound, double speed, double size,
          const char* textureFile);

    // Moves by the time since the last update, turning back at the bounds.
    // Draws two random numbers every time, bound or not.
    void update();
    // Whether the box (x, y, z, width, height, depth; z and depth not looked
    // at) touches the square, meeting edges included. Also sets enemyTouchFlag.
    bool touches(double bx, double by, double bz, double bw, double bh, double bd);
    // The square, then its thread; leaves 2D texturing off.
    void draw();
    void resetClock();
};

// The result of the latest contact test of any enemy (1 touching, 0 not);
// it turns the threads magenta while set.
extern int32_t enemyTouchFlag;
