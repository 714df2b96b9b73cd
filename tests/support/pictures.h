// Small picture files made by the tests themselves, in a temporary data
// directory that the game reads from.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A fresh directory with data/ in it, made the game's data root for as long
// as it lives; removed afterwards.
class TempDataRoot {
public:
    std::string root;
    TempDataRoot();
    ~TempDataRoot();
    // The system path of data/<name>.
    std::string file(const std::string& name) const;
};

// Pixels are given top row first, each as blue, green, red (, alpha).
using Pixels = std::vector<uint8_t>;
Pixels solid(int width, int height, std::vector<uint8_t> pixel);

enum class RowOrder { bottomUp, topDown };
void writeTga(const std::string& file, int width, int height, int bytesPerPixel, const Pixels& pixels,
              RowOrder order = RowOrder::bottomUp, bool runLength = false);
// Greyscale (1 byte a pixel) and colour-mapped (a palette of BGR entries and
// 1-byte indices) pictures.
void writeGreyTga(const std::string& file, int width, int height, const Pixels& grey);
void writeMappedTga(const std::string& file, int width, int height, const Pixels& paletteBgr, const Pixels& indices);
void writeJpeg(const std::string& file, int width, int height, const Pixels& bgr);
void writeBytes(const std::string& file, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& file);
