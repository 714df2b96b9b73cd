// Enemies: the random sequence, the bounce at the bounds, contact, drawing.
#include "game/enemy.h"
#include "game/random.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include <GL/gl.h>

namespace pt = platform::testing;

namespace {

std::vector<int> firstFive(uint32_t seed) {
    seedRandom(seed);
    std::vector<int> out;
    for (int i = 0; i < 5; ++i) out.push_back(nextRandom());
    return out;
}

// With seed 123456 the first two numbers give the factor 17 (9977 % 20 = 17,
// 22818 % 100 = 18, not above 50), the next two the factor 10.
class Enemies : public testing::Test {
protected:
    void SetUp() override {
        seedRandom(123456);
        pt::setClock(1000);
    }
};

}  // namespace

TEST(Random, IsTheSameSequenceEverywhere) {
    EXPECT_EQ(firstFive(1), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    EXPECT_EQ(firstFive(123456), (std::vector<int>{9977, 22818, 10150, 16017, 7706}));
}

TEST_F(Enemies, BouncesOnlyBeyondABoundWithTheSeededFactors) {
    Enemy e(60, 36, 0, 20, 170, -0.04, 16, nullptr);
    e.update();  // starts the clock; sitting exactly on the bound is no bounce
    EXPECT_EQ(e.y, 36);
    EXPECT_DOUBLE_EQ(e.speed, -0.04);
    pt::advanceClock(100);
    e.update();  // down to 32, below the bound: back to 36, factor 10
    EXPECT_EQ(e.y, 36);
    EXPECT_DOUBLE_EQ(e.speed, 10 * -0.04 * 0.01 + 0.04);
    pt::advanceClock(1000);
    e.update();
    EXPECT_DOUBLE_EQ(e.y, 36 + 36.0);
}

TEST_F(Enemies, CrossedBoundsApplyBothBouncesWithOneFactor) {
    Enemy e(0, 80, 0, 100, 50, 0.1, 16, nullptr);
    e.update();
    EXPECT_EQ(e.y, 50);
    double once = 17 * 0.1 * 0.01 - 0.1;
    EXPECT_DOUBLE_EQ(e.speed, 17 * once * 0.01 - once);
}

TEST_F(Enemies, AStillEnemyStillDrawsTwoNumbersPerUpdate) {
    Enemy e(0, 100, 0, 0, 190, 0, 16, nullptr);
    e.update();
    pt::advanceClock(5000);
    e.update();
    EXPECT_EQ(e.y, 100);
    EXPECT_EQ(nextRandom(), 7706);  // the fifth number: four were drawn
}

TEST_F(Enemies, TheClockSurvivesAWrapAndRestartsOnReset) {
    Enemy e(0, 100, 0, 0, 190, 0.01, 16, nullptr);
    pt::setClock(0xFFFFFFFFu - 49);
    e.update();
    pt::advanceClock(100);
    e.update();
    EXPECT_DOUBLE_EQ(e.y, 101);
    e.resetClock();
    pt::advanceClock(60000);
    e.update();
    EXPECT_DOUBLE_EQ(e.y, 101);
}

TEST(EnemyContact, MeetingEdgesTouchAndTheFlagKeepsTheLastResult) {
    Enemy a(100, 50, 0, 0, 190, 0, 16, nullptr), b(200, 50, 0, 0, 190, 0, 16, nullptr);
    EXPECT_TRUE(a.touches(84, 50, 0, 16, 16, 0));   // right edge on its left edge
    EXPECT_TRUE(a.touches(116, 66, 9, 16, 16, 9));  // corner to corner
    EXPECT_FALSE(a.touches(116.01, 50, 0, 16, 16, 0));
    EXPECT_FALSE(a.touches(100, 33.99, 0, 16, 16, 0));
    EXPECT_TRUE(a.touches(100, 50, 0, 16, 16, 0));
    EXPECT_EQ(enemyTouchFlag, 1);
    EXPECT_FALSE(b.touches(100, 50, 0, 16, 16, 0));
    EXPECT_EQ(enemyTouchFlag, 0);
}

TEST(EnemyDrawing, TheThreadIsRedOrMagentaWhileTouching) {
    openGameWindow();
    Enemy e(100, 100, 0, 0, 190, 0, 16, nullptr);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    enemyTouchFlag = 0;
    e.draw();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(worldPixel(109, 20), (Pixel{255, 0, 0, 255}));   // thread: x 108-110, the whole height
    EXPECT_EQ(worldPixel(109, 190), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(worldPixel(111, 20), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(worldPixel(104, 108), (Pixel{255, 255, 255, 255}));  // the square, no picture: white
    enemyTouchFlag = 1;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    e.draw();
    EXPECT_EQ(worldPixel(109, 20), (Pixel{255, 0, 255, 255}));
    closeGameWindow();
}
