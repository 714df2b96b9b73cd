// Writing pictures to files: TGA by hand, JPEG and PNG through SDL2_image.
#pragma once
#include <string>

#include "canvas.h"

namespace art {

// Uncompressed true-colour TGA, rows from the top (origin bit set):
// 3 bytes a pixel (blue, green, red) or 4 with alpha.
void writeTga(const std::string& path, const Canvas& canvas, int channels);
void writeJpeg(const std::string& path, const Canvas& canvas, int quality);
void writePng(const std::string& path, const Canvas& canvas);
bool isPng(const std::string& path);

// Reads a picture the way the game will (SDL2_image's TGA and JPEG loaders;
// PNG for the icon) into a canvas, so the preview shows what was written,
// not what was meant.
Canvas readBack(const std::string& path);

// Stops the program with a message: the tool has nothing sensible to do
// after a failed write.
[[noreturn]] void fail(const std::string& what);

}  // namespace art
