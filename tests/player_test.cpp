// The player's figure: walking, bounds, the walk cycle, and how it is drawn.
#include "game/player.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <GL/gl.h>

namespace pt = platform::testing;

namespace {

int drawnFrame(Player& p) {
    p.draw();
    for (int k = 0; k < playerFrameCount; ++k)
        if (playerFrames[k].glName() == boundTexture()) return k;
    return -1;
}

// Frame k is a 20 x 20 picture: its left half blue, its right half red, its
// top four rows green (the part the figure never shows), and magenta in the
// bottom rows of columns 4-7 (the figure's lower right on screen). The blue carries k, so each frame is its own texture.
void writePlayerFrames(const TempDataRoot& data) {
    for (int k = 0; k < playerFrameCount; ++k) {
        Pixels px;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                std::vector<uint8_t> p = x < 10 ? std::vector<uint8_t>{uint8_t(200 + k), 0, 0}
                                                : std::vector<uint8_t>{0, 0, 255};
                if (y < 4) p = {0, 255, 0};
                if (y >= 16 && x >= 4 && x < 8) p = {255, 0, 255};
                px.insert(px.end(), p.begin(), p.end());
            }
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", k);
        writeTga(data.file(name), 20, 20, 3, px);
    }
}

class Players : public GlTest {
protected:
    TempDataRoot data;
    void SetUp() override {
        GlTest::SetUp();
        writePlayerFrames(data);
        pt::setClock(5000);
    }
};

}  // namespace

TEST_F(Players, StartsWhereTheGameExpects) {
    Player p;
    EXPECT_EQ(p.width, 16);
    EXPECT_EQ(p.height, 16);
    EXPECT_EQ(p.maxX, 14);
    EXPECT_EQ(p.velocity, 0);
    for (int k = 0; k < playerFrameCount; ++k) EXPECT_NE(playerFrames[k].glName(), 0u) << k;
}

TEST_F(Players, WalksByVelocityTimesTimeAndNeverJumpsAfterAPause) {
    Player p;
    p.maxX = 304;
    p.velocity = 0.091;
    pt::advanceClock(100000);
    p.update();  // the first update only starts the clock
    EXPECT_EQ(p.x, 0);
    pt::advanceClock(100);
    p.update();
    EXPECT_DOUBLE_EQ(p.x, 9.1);
    p.resetClock();
    pt::advanceClock(60000);
    p.update();
    EXPECT_DOUBLE_EQ(p.x, 9.1);
}

TEST_F(Players, AClockWrapBetweenUpdatesGivesTheSmallTimeBetween) {
    Player p;
    p.maxX = 304;
    p.velocity = 0.1;
    pt::setClock(0xFFFFFFF6u);
    p.update();
    pt::advanceClock(20);  // wraps to 10
    p.update();
    EXPECT_DOUBLE_EQ(p.x, 2.0);
}

TEST_F(Players, StopsExactlyAtABoundAndStandsInTheSameFrame) {
    Player p;
    p.maxX = 320 - p.width;
    p.x = 300;
    p.velocity = 0.091;
    p.update();
    pt::advanceClock(1000);
    p.update();
    EXPECT_EQ(p.x, 304);  // right edge at 320
    EXPECT_EQ(p.velocity, 0);
    int frame = drawnFrame(p);
    EXPECT_GE(frame, 6);
    EXPECT_LE(frame, 8);

    p.velocity = -0.091;
    pt::advanceClock(100000);
    p.update();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.velocity, 0);
}

TEST_F(Players, TheWalkCycleStepsEveryHalfSecondInEachDirection) {
    Player p;
    drawnFrame(p);  // starts the walk clock
    pt::advanceClock(500);
    EXPECT_EQ(drawnFrame(p) - 6, walkStep % 3);  // 500 ms is not yet a step
    int step = walkStep;
    pt::advanceClock(1);
    p.draw();
    EXPECT_EQ(walkStep, step + 1);
    p.velocity = -0.091;
    EXPECT_EQ(drawnFrame(p), 3 + walkStep % 3);
    p.velocity = 0.091;
    EXPECT_EQ(drawnFrame(p), 9 + walkStep % 3);
}

TEST_F(Players, SavingAndRestoringAlsoRestartTheClock) {
    Player p;
    p.maxX = 304;
    p.x = 50;
    p.y = 32;
    p.savePosition();
    EXPECT_EQ(p.lastTick, 0u);
    p.x = 100;
    p.update();
    p.restorePosition();
    EXPECT_EQ(p.x, 50);
    EXPECT_EQ(p.y, 32);
    EXPECT_EQ(p.lastTick, 0u);
}

TEST_F(Players, IsDrawnMirroredWithTheTopCutOffAndMagentaSeeThrough) {
    Player p;
    p.x = 100;
    p.y = 50;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_TEXTURE_2D);
    p.draw();
    Pixel left = worldPixel(103, 58), right = worldPixel(113, 58);
    EXPECT_EQ(left, (Pixel{255, 0, 0, 255}));  // the picture's right half shows on the left
    EXPECT_GT(right.b, 190);
    EXPECT_EQ(right.r, 0);
    EXPECT_NE(worldPixel(108, 65.5).g, 255);  // the green top rows are not shown
    EXPECT_EQ(worldPixel(113.3, 52), (Pixel{0, 0, 0, 255}));  // the magenta corner
    EXPECT_EQ(worldPixel(99, 58), (Pixel{0, 0, 0, 255}));
}
