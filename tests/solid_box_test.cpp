// Boxes drawn from cached display lists.
#include "app/main_loop.h"
#include "app/window.h"
#include "gfx/solid_box.h"
#include "support/gl_window.h"
#include <cmath>

namespace {

int recordCount() {
    int n = 0;
    for (ShapeListRecord* r = shapeLists[solidBoxKind]; r; r = r->next) ++n;
    return n;
}

const Pixel yellow{255, 255, 0, 255};
const Pixel black{0, 0, 0, 255};

class SolidBox : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1, 1, 0);
    }
    // A box centred on (160, 100), drawn as the floor bars are.
    void drawAt160x100(double w, double h, double d) {
        glPushMatrix();
        glTranslated(160, 100, -1);
        drawSolidBox(w, h, d);
        glPopMatrix();
    }
};

}  // namespace

TEST_F(SolidBox, IsDrawnCentredOnTheOrigin) {
    drawAt160x100(40, 20, 0.5);
    EXPECT_EQ(worldPixel(141, 91), yellow);
    EXPECT_EQ(worldPixel(179, 109), yellow);
    EXPECT_EQ(worldPixel(139, 100), black);
    EXPECT_EQ(worldPixel(181, 100), black);
    EXPECT_EQ(worldPixel(160, 111), black);
}

TEST_F(SolidBox, OneListPerDistinctSize) {
    drawAt160x100(640, 1, 0.5);
    GLuint first = shapeLists[solidBoxKind]->listName;
    EXPECT_TRUE(glIsList(first));
    drawAt160x100(640, 1, 0.5);
    EXPECT_EQ(recordCount(), 1);
    drawAt160x100(640, 1, 0.5000001);
    EXPECT_EQ(recordCount(), 2);
    drawAt160x100(0, 1, 1);
    drawAt160x100(-0.0, 1, 1);
    EXPECT_EQ(recordCount(), 3);  // 0 and -0 share a list
}

TEST_F(SolidBox, TheReplayDrawsTheSameBoxAsTheCompile) {
    drawAt160x100(40, 20, 0.5);  // compiled and drawn at once
    EXPECT_EQ(worldPixel(160, 100), yellow);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawAt160x100(40, 20, 0.5);  // replayed
    EXPECT_EQ(worldPixel(141, 91), yellow);
    EXPECT_EQ(worldPixel(139, 100), black);
}

TEST_F(SolidBox, NegativeSizesDrawTheSameBoxUnderTheirOwnKey) {
    drawAt160x100(-40, -20, -0.5);
    EXPECT_EQ(worldPixel(141, 91), yellow);
    EXPECT_EQ(worldPixel(179, 109), yellow);
    EXPECT_EQ(worldPixel(139, 100), black);
    drawAt160x100(40, 20, 0.5);
    EXPECT_EQ(recordCount(), 2);
}

TEST(SameParameters, ComparesExactlyAndNaNNeverMatches) {
    double a[3] = {1, 2, 3}, b[3] = {1, 2, 3};
    EXPECT_TRUE(sameParameters(a, b, 3));
    b[2] = std::nextafter(3.0, 4.0);
    EXPECT_FALSE(sameParameters(a, b, 3));
    EXPECT_TRUE(sameParameters(a, b, 2));
    EXPECT_TRUE(sameParameters(a, b, 0));
    double n[1] = {std::nan("")};
    EXPECT_FALSE(sameParameters(n, n, 1));
}

TEST(SolidBoxContexts, BoxesStillDrawAfterTheContextIsMadeAgain) {
    openGameWindow();
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 0);
    glTranslated(160, 100, -1);
    drawSolidBox(40, 20, 0.5);
    ASSERT_EQ(recordCount(), 1);
    destroyWindow();
    openGameWindow(true);
    resizeView(640, 480);
    EXPECT_EQ(recordCount(), 0);  // the old context's lists are forgotten
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 0);
    glTranslated(160, 100, -1);
    drawSolidBox(40, 20, 0.5);
    EXPECT_EQ(worldPixel(160, 100), yellow);
    EXPECT_EQ(recordCount(), 1);
    closeGameWindow();
}

TEST(SolidBoxContexts, WithoutAContextNothingIsCached) {
    drawSolidBox(1, 1, 1);  // no list name can be had: nothing kept, nothing piles up
    drawSolidBox(1, 1, 1);
    EXPECT_EQ(recordCount(), 0);
}
