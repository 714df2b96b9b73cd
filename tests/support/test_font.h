// A font picture whose glyph cells can be told apart by colour, so that text
// drawn with it can be read back from the pixels.
#pragma once
#include "support/gl_window.h"
#include "support/pictures.h"
#include <functional>
#include <string>

// Writes data/fontgray.jpg: cell (column, row) is blue 16 x column, green
// 16 x row, red 255 in the cell's lower half and 0 in its upper half. It is
// a TGA inside: the decoder goes by the contents, and a TGA keeps the
// colours exact.
void writeCellColourFont(const TempDataRoot& data);

// The characters drawn with that font in `count` glyph places from world
// point (x, y); '?' where no glyph cell shows. Pixels come from `pixelAt`
// (the back buffer by default).
std::string readText(double x, double y, int count, std::function<Pixel(double, double)> pixelAt = worldPixel);
