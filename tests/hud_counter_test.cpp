// HUD counters: counting, the floor at 0, the text and where it is drawn.
#include "game/hud_counter.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include "support/test_font.h"
#include <GL/gl.h>

namespace pt = platform::testing;

namespace {

class Counters : public GlTest {
protected:
    TempDataRoot data;
    void SetUp() override {
        GlTest::SetUp();
        writeCellColourFont(data);
        writeTga(data.file("LIFE.tga"), 4, 4, 3, solid(4, 4, {0, 200, 200}));  // yellow-ish icon
        pt::setClock(1000);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

}  // namespace

TEST_F(Counters, TheBonusTimerReachesZeroAfter10200MsAndStays) {
    HudCounter bonus(0, 180, 0, -0.025, nullptr);
    bonus.setFormat("%0.0f");
    bonus.setValue(255);
    bonus.draw();
    pt::advanceClock(10199);
    bonus.draw();
    EXPECT_NEAR(bonus.value(), 0.025, 1e-9);
    pt::advanceClock(1);
    bonus.draw();
    EXPECT_EQ(bonus.value(), 0);
    pt::advanceClock(100000);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bonus.draw();
    EXPECT_EQ(bonus.value(), 0);
    EXPECT_EQ(readText(16, 180, 2), "0?");
}

TEST_F(Counters, ANegativeValueStandsUntilTheNextDraw) {
    HudCounter c(0, 0, 0, 0, nullptr);
    c.setFormat("%0.0f");
    c.setValue(-3);
    EXPECT_EQ(c.value(), -3);
    c.draw();
    EXPECT_EQ(c.value(), 0);
}

TEST_F(Counters, TextIsRoundedAndStartsOneGlyphRight) {
    HudCounter score(220, 180, 0, 0, nullptr);
    score.setFormat("%0.0f");
    score.setValue(123.6);
    score.draw();
    EXPECT_EQ(readText(236, 180, 4), "124?");
    EXPECT_EQ(worldPixel(228, 188), (Pixel{0, 0, 0, 255}));  // no icon: an empty cell
    pt::advanceClock(5000);
    score.draw();
    EXPECT_EQ(score.value(), 123.6);  // rate 0: unchanged
}

TEST_F(Counters, TheIconFillsTheFirstCell) {
    HudCounter lives(180, 180, 0, 0, "data\\LIFE.tga");
    lives.setFormat("%0.0f");
    lives.setValue(5);
    lives.draw();
    EXPECT_EQ(worldPixel(181, 181), (Pixel{200, 200, 0, 255}));
    EXPECT_EQ(worldPixel(195, 195), (Pixel{200, 200, 0, 255}));
    EXPECT_EQ(readText(196, 180, 1), "5");
    EXPECT_EQ(worldPixel(179, 188), (Pixel{0, 0, 0, 255}));
}

TEST_F(Counters, AMissingIconIsSkippedAndTheTextStillDrawn) {
    HudCounter lives(180, 180, 0, 0, "data\\missing.tga");
    EXPECT_TRUE(lives.hasIcon);
    lives.setFormat("%0.0f");
    lives.setValue(7);
    lives.draw();
    EXPECT_EQ(worldPixel(188, 188), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(readText(196, 180, 1), "7");
}

TEST_F(Counters, ALongFormatIsCutShort) {
    HudCounter c(0, 0, 0, 0, nullptr);
    std::string longFormat(1000, 'x');
    c.setFormat(longFormat.c_str());
    EXPECT_EQ(std::string(c.format), std::string(255, 'x'));
    c.draw();
}
