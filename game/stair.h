// A stair: a rectangular zone that reports its type when the player's box
// lies wholly inside it. Types 1 (climb) and 2 report once and then become
// 0; every other type reports at every test.
#pragma once
#include "gfx/texture.h"
#include <cstdint>

class Stair {
public:
    double x, y, z;              // lower-left corner and drawing depth, world units
    double width, height;        // the zone; height is also how far a climb rises
    double depth;                // kept, not used
    Texture texture;             // "data\stair.tga"
    int32_t type;                // 0 none, 1 climb, 2 once, 4 next level, others every time

    Stair(double x, double y, double z, double width, double height, double depth, int32_t type);

    // The type when the box (x, y, z, width, height, depth; z and depth not
    // looked at) lies inside, edges included; else 0.
    int32_t test(double bx, double by, double bz, double bw, double bh, double bd);
    // Draws the picture tinted green; the caller has 2D texturing on.
    void draw();
};

constexpr int32_t climbStair = 1;
constexpr int32_t exitStair = 4;
