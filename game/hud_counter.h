// A number on screen with an optional icon: it changes by a fixed rate per
// millisecond, never falls below 0 when drawn, and is drawn with the font.
#pragma once
#include "gfx/bitmap_font.h"
#include "gfx/texture.h"
#include <cstdint>

class HudCounter {
public:
    double x, y, z;             // the icon's lower-left corner; the text starts one glyph to the right
    double rate;                // change of the value per millisecond (negative counts down)
    double currentValue = 0;    // never below 0 after a draw
    BitmapFont font;
    Texture icon;
    bool hasIcon;               // an icon file was given
    uint32_t lastTick = 0;      // tick of the last draw; 0 = timing not started
    char format[256] = {};      // printf-style, one floating-point conversion for the value

    // Loads the font, and the icon when a file name is given (needs the
    // current rendering context).
    HudCounter(double x, double y, double z, double rate, const char* iconFile);

    // Advances the value by the time since the last draw, then draws icon and text.
    void draw();
    void setValue(double v);
    double value() const;
    // Copies the format; a longer one than the field holds is cut short.
    void setFormat(const char* f);
};
