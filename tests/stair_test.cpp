// Stairs: inclusive containment, one-shot types, drawing.
#include "game/stair.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <GL/gl.h>

namespace {

Stair at120(int32_t type) { return Stair(120, 17, 0, 20, 32, 0, type); }

// The player's box as the game tests it: 16 wide, its height reduced by 2.
int32_t testBox(Stair& s, double x, double y) { return s.test(x, y, 0, 16, 14, 0); }

}  // namespace

TEST(Stairs, ContainmentIsInclusiveAndAnyOverhangMisses) {
    Stair s(120, 17, 0, 20, 32, 0, 4);
    EXPECT_EQ(s.test(120, 17, 0, 20, 32, 0), 4);  // exactly as large
    EXPECT_EQ(s.test(119, 17, 0, 20, 32, 0), 0);
    EXPECT_EQ(s.test(121, 17, 0, 20, 32, 0), 0);
    EXPECT_EQ(s.test(120, 16, 0, 20, 32, 0), 0);
    EXPECT_EQ(s.test(120, 18, 0, 20, 32, 0), 0);
    EXPECT_EQ(s.type, 4);
}

TEST(Stairs, OneShotTypesFireOnceOthersEveryTime) {
    for (int32_t type : {1, 2}) {
        Stair s = at120(type);
        EXPECT_EQ(testBox(s, 122, 17), type);
        EXPECT_EQ(testBox(s, 122, 17), 0);
        EXPECT_EQ(testBox(s, 0, 0), 0);  // leave and come back: still spent
        EXPECT_EQ(testBox(s, 122, 17), 0);
        EXPECT_EQ(s.type, 0);
    }
    for (int32_t type : {4, 3, 7, -1}) {
        Stair s = at120(type);
        EXPECT_EQ(testBox(s, 122, 17), type);
        EXPECT_EQ(testBox(s, 123, 18), type);
        EXPECT_EQ(s.type, type);
    }
    Stair inactive = at120(0);
    EXPECT_EQ(testBox(inactive, 122, 17), 0);
    Stair outside = at120(1);
    EXPECT_EQ(testBox(outside, 200, 17), 0);
    EXPECT_EQ(outside.type, 1);  // missing leaves it armed
}

TEST(StairDrawing, IsTintedGreenAndMirrored) {
    openGameWindow();
    TempDataRoot data;
    Pixels leftWhiteRightGrey;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t v = x < 4 ? 255 : 100;
            leftWhiteRightGrey.insert(leftWhiteRightGrey.end(), {v, v, v});
        }
    writeTga(data.file("stair.tga"), 8, 8, 3, leftWhiteRightGrey);
    Stair s(100, 40, 0, 40, 40, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    s.draw();
    EXPECT_EQ(worldPixel(105, 60), (Pixel{0, 100, 0, 255}));  // the picture's right half on the left
    EXPECT_EQ(worldPixel(135, 60), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(worldPixel(95, 60), (Pixel{0, 0, 0, 255}));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[2], 0);
    EXPECT_EQ(colour[1], 1);
    closeGameWindow();
}
