// Animated sprites: frame names, stepping, the end of a sequence, lifetime,
// overlap and drawing.
#include "gfx/animated_sprite.h"
#include "gfx/frame_names.h"
#include "platform/testing.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <GL/gl.h>
#include <climits>

namespace pt = platform::testing;

namespace {

class Sprites : public GlTest {
protected:
    TempDataRoot data;
    void SetUp() override {
        GlTest::SetUp();
        for (int i = 1; i <= 3; ++i)
            writeTga(data.file("item0" + std::to_string(i) + ".tga"), 2, 2, 3, solid(2, 2, {uint8_t(i * 60), 0, 0}));
        pt::setClock(1000);
    }
    // The frame whose texture a draw at the current clock binds.
    int drawnFrame(AnimatedSprite& s) {
        s.draw();
        for (int i = 0; i < s.frameCount; ++i)
            if (s.frames[i].glName() == boundTexture()) return i;
        return -1;
    }
    AnimatedSprite threeFrames() { return {0, 0, 0, 16, 16, 0, "data\\item", 1, 3, "%s%02d.tga", 30}; }
};

std::vector<std::string> framePaths(const AnimatedSprite& s) {
    std::vector<std::string> paths;
    for (int i = 0; i < s.frameCount; ++i) paths.push_back(s.frames[i].path);
    return paths;
}

}  // namespace

TEST_F(Sprites, FrameNamesComeFromPrefixNumberAndFormat) {
    AnimatedSprite single(0, 0, 0, 1, 1, 0, "data\\gameover.tga", 0, 0, "%n", 30);
    EXPECT_EQ(framePaths(single), std::vector<std::string>{"data\\gameover.tga"});

    AnimatedSprite nuke(0, 0, 0, 1, 1, 0, "data\\nuke", 1, 27, "%s%02d.tga", 30);
    ASSERT_EQ(nuke.frameCount, 27);
    EXPECT_EQ(nuke.frames[0].path, "data\\nuke01.tga");
    EXPECT_EQ(nuke.frames[26].path, "data\\nuke27.tga");

    AnimatedSprite noFormat(0, 0, 0, 1, 1, 0, "data\\item", 1, 3, nullptr, 30);
    EXPECT_EQ(framePaths(noFormat), (std::vector<std::string>{"data\\item01", "data\\item02", "data\\item03"}));
}

TEST(FrameNameFormats, OnlyTheSafeShapeIsAccepted) {
    for (const char* ok : {"%s%02d.tga", "%s_%d", "%%%s%3i%%", "%s%-+ 05.3d", "%s%x.tga", "%s%u", "%s%#o", "%s%#X",
                           "%10s%02d.tga", "%-999.999s%999.999d", "%.s%.d", "%s%hd.tga", "%s%hhu", "%s%hhx"})
        EXPECT_TRUE(validFrameNameFormat(ok)) << ok;
    for (const char* bad : std::initializer_list<const char*>{
             "%n", "%s%n", "%s%s", "%x%x%x", "%", "%s%", "%s%d%", "%d%s", "%s%d%d", "%s", "%d", "%s%ld", "%s%lld",
             "%s%jd", "%s%zd", "%s%hhhd", "%ls%d", "%hs%d", "%s%*d", "%*s%d", "%s%.*d", "%s%1000d", "%s%.1000d",
             "%999999999s%d", "%1000s%d", "%0s%d", "%#s%d", "%+s%d", "%s%#d", "%s%#u", "%1$s%2$d", "%s%'d",
             "%-%s%d", "%s%f", "%s%p", "%s%c", "", nullptr})
        EXPECT_FALSE(validFrameNameFormat(bad)) << (bad ? bad : "null");
    std::string longFormat = "%s" + std::string(10000, 'a') + "%d";
    EXPECT_EQ(frameFileName(longFormat.c_str(), "p", 7), "p" + std::string(10000, 'a') + "7");
    EXPECT_EQ(frameFileName("%s%x", "p", -1), "pffffffff");
    // A width on the prefix pads it on the left; h and hh print the number cut to 16 and 8 bits.
    EXPECT_EQ(frameFileName("%10s%02d.tga", "data\\gem", 7), "  data\\gem07.tga");
    EXPECT_EQ(frameFileName("%-4.2s|%d", "abc", 5), "ab  |5");
    EXPECT_EQ(frameFileName("%s%hd.tga", "p", 12), "p12.tga");
    EXPECT_EQ(frameFileName("%s%hd.tga", "p", 40000), "p-25536.tga");
    EXPECT_EQ(frameFileName("%s%hhu", "p", 300), "p44");
    EXPECT_EQ(frameFileName("%s%hhx", "p", -1), "pff");
    EXPECT_EQ(frameFileName("%s%#x", "p", 255), "p0xff");
    EXPECT_EQ(frameFileName("%999s%.999d", "p", 1).size(), 999u + 999u);
}

TEST_F(Sprites, HostileFormatsAndRangesGiveOneFrameWithoutAPicture) {
    std::string veryLong(5000, '%');
    for (const char* bad : {"%n", "%s%s", "%x%x%x", "%", veryLong.c_str()}) {
        AnimatedSprite s(0, 0, 0, 1, 1, 0, "data\\item", 1, 3, bad, 30);
        EXPECT_EQ(s.frameCount, 1) << bad;
        EXPECT_EQ(s.frames[0].glName(), 0u);
        s.draw();  // draws, without a picture
    }
    AnimatedSprite reversed(0, 0, 0, 1, 1, 0, "data\\item", 3, 1, "%s%02d.tga", 30);
    AnimatedSprite huge(0, 0, 0, 1, 1, 0, "data\\item", INT_MIN, INT_MAX, "%s%02d.tga", 30);
    AnimatedSprite tooMany(0, 0, 0, 1, 1, 0, "data\\item", 1, maxSpriteFrames + 1, "%s%02d.tga", 30);
    for (AnimatedSprite* s : {&reversed, &huge, &tooMany}) {
        EXPECT_EQ(s->frameCount, 1);
        EXPECT_EQ(s->frames[0].glName(), 0u);
    }
}

TEST_F(Sprites, AStepNeedsMoreThanTheIntervalAndALongPauseStepsOnce) {
    AnimatedSprite s = threeFrames();
    EXPECT_TRUE(s.playing);  // sprites play from the start
    EXPECT_EQ(drawnFrame(s), 0);
    pt::advanceClock(30);
    EXPECT_EQ(drawnFrame(s), 0);
    pt::advanceClock(1);
    EXPECT_EQ(drawnFrame(s), 1);
    pt::advanceClock(100000);
    EXPECT_EQ(drawnFrame(s), 2);
}

TEST_F(Sprites, WithoutLoopingTheLastFrameShowsTwiceThenFrameZeroForGood) {
    AnimatedSprite s = threeFrames();
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        shown.push_back(drawnFrame(s));
        pt::advanceClock(31);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 2, 0, 0}));
    EXPECT_FALSE(s.playing);
}

TEST_F(Sprites, LoopingStartsAgainAtFrameZero) {
    AnimatedSprite s = threeFrames();
    s.looping = true;
    std::vector<int> shown;
    for (int i = 0; i < 5; ++i) {
        shown.push_back(drawnFrame(s));
        pt::advanceClock(31);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_TRUE(s.playing);
}

TEST_F(Sprites, LifetimeCountsFromTheFirstDraw) {
    AnimatedSprite s = threeFrames();
    s.lifetime = 5000;
    pt::setClock(77777);
    s.draw();
    pt::advanceClock(5000);
    s.draw();
    EXPECT_TRUE(s.alive);
    pt::advanceClock(1);
    EXPECT_NE(drawnFrame(s), -1);  // still drawn on the draw that ends it
    EXPECT_FALSE(s.alive);

    AnimatedSprite forever = threeFrames();
    forever.draw();
    pt::advanceClock(0xFFFFFFF0u);  // wraps the clock
    forever.draw();
    EXPECT_TRUE(forever.alive);
}

TEST(SpriteOverlap, TouchingCountsHalfAUnitOffDoesNot) {
    AnimatedSprite s(10, 10, 0, 16, 16, 0, "none", 0, 0, nullptr, 30);
    EXPECT_TRUE(s.overlaps(26, 26, 0, 1, 1, 0));
    EXPECT_TRUE(s.overlaps(9, 9, 5, 1, 1, 5));
    EXPECT_FALSE(s.overlaps(26.5, 10, 0, 1, 1, 0));
    EXPECT_FALSE(s.overlaps(10, 8.5, 0, 1, 1, 0));
}

TEST_F(Sprites, DrawsItsPictureUprightOverItsRectangle) {
    Pixels greenOverRed = solid(8, 4, {0, 255, 0}), red = solid(8, 4, {0, 0, 255});
    greenOverRed.insert(greenOverRed.end(), red.begin(), red.end());
    writeTga(data.file("flag.tga"), 8, 8, 3, greenOverRed);
    AnimatedSprite s(100, 50, 0, 40, 20, 0, "data\\flag.tga", 0, 0, nullptr, 30);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    s.draw();
    EXPECT_EQ(worldPixel(120, 65), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(worldPixel(120, 55), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(worldPixel(98, 60), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(worldPixel(142, 60), (Pixel{0, 0, 0, 255}));
}
