// Text drawn from the 16 x 16 glyph grid.
#include "gfx/bitmap_font.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include "support/test_font.h"
#include <GL/gl.h>

namespace {

struct Cell {
    int column, row;
    bool lowerHalf;
};

Cell cellOf(Pixel p) { return {p.b / 16, p.g / 16, p.r > 128}; }

class Font : public GlTest {
protected:
    TempDataRoot data;
    void SetUp() override {
        GlTest::SetUp();
        writeCellColourFont(data);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // The cell shown a quarter and three quarters up the glyph at world x.
    void expectGlyph(BitmapFont&, double x, double y, int column, int row) {
        Cell low = cellOf(worldPixel(x + 8, y + 4)), high = cellOf(worldPixel(x + 8, y + 12));
        EXPECT_EQ(low.column, column);
        EXPECT_EQ(low.row, row);
        EXPECT_TRUE(low.lowerHalf) << "the cell's bottom is at the glyph's bottom";
        EXPECT_EQ(high.row, row);
        EXPECT_FALSE(high.lowerHalf);
    }
};

}  // namespace

TEST_F(Font, LettersAndDigitsComeFromTheirCells) {
    BitmapFont font;
    ASSERT_NE(font.texture.glName(), 0u);
    font.drawText(0, 0, 0, "A");
    expectGlyph(font, 0, 0, 1, 4);
    font.drawText(100, 100, 0, "0");
    expectGlyph(font, 100, 100, 0, 3);
}

TEST_F(Font, GlyphsFollowEachOtherOneWidthApart) {
    BitmapFont font;
    font.drawText(200, 180, 0, "12");
    expectGlyph(font, 200, 180, 1, 3);
    expectGlyph(font, 216, 180, 2, 3);
    EXPECT_EQ(readText(200, 180, 3), "12?");
    EXPECT_EQ(worldPixel(199, 188), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(worldPixel(233, 188), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(worldPixel(208, 197), (Pixel{0, 0, 0, 255}));
}

TEST_F(Font, HighBytesFoldBackIntoThePicture) {
    BitmapFont font;
    font.drawText(0, 50, 0, "\xF1\xEF");
    expectGlyph(font, 0, 50, 1, 0);
    expectGlyph(font, 16, 50, 15, 15);
}

TEST_F(Font, TheEnableStateIsRestoredAndTheColourLeftWhite) {
    BitmapFont font;
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0, 0);
    font.drawText(0, 0, 0, "");
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    font.drawText(0, 0, 0, "x");
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}
