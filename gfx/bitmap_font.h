// Text drawn with a font picture of 16 x 16 glyph cells, the glyph of
// character code c in column c mod 16 and row c div 16 (row 0 at the top).
#pragma once
#include "gfx/texture.h"

// One glyph in world units; also the size of a counter's icon.
constexpr double glyphWidth = 16.0;
constexpr double glyphHeight = 16.0;
// One glyph cell in texture coordinates (s across, t down).
struct TexStep {
    double s, t;
};
constexpr TexStep glyphTexStep = {0.0625, 0.0625};

class BitmapFont {
public:
    Texture texture;  // the font picture

    // Loads "data\fontgray.jpg"; needs the current rendering context.
    BitmapFont();

    // Draws the text with the lower-left corner of its first glyph at
    // (x, y, z), every glyph glyphWidth to the right of the one before.
    void drawText(double x, double y, double z, const char* text);
};

// The same in glyphs of `width` x `height` world units.
void drawSizedText(BitmapFont& font, double x, double y, double z, double width, double height, const char* text);
