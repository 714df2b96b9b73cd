// A real window and rendering context for tests, made by the game's own
// createWindow, and reading back what was drawn.
#pragma once
#include <cstdint>
#include <gtest/gtest.h>

struct Pixel {
    uint8_t r, g, b, a;
    bool operator==(const Pixel&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Pixel& p);

// Opens the game's 640 x 480 window (or full screen), failing the test if it
// cannot; message boxes are answered from the script, if any.
void openGameWindow(bool fullScreenWanted = false);
void closeGameWindow();

// The back buffer's pixel at window pixel (x, y), origin at the bottom left.
Pixel readPixel(int x, int y);
// The pixel under world point (wx, wy) in the 640 x 480 view.
Pixel worldPixel(double wx, double wy);
// The texture name bound to GL_TEXTURE_2D.
unsigned boundTexture();

// A fixture whose tests draw into the game's window.
class GlTest : public testing::Test {
protected:
    void SetUp() override { openGameWindow(); }
    void TearDown() override { closeGameWindow(); }
};
