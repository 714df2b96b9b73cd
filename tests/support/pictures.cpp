#include "support/pictures.h"
#include "platform/paths.h"
#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

TempDataRoot::TempDataRoot() {
    char pattern[] = "/tmp/vantrel-test-XXXXXX";
    root = mkdtemp(pattern);
    fs::create_directory(root + "/data");
    platform::setDataRoot(root);
}

TempDataRoot::~TempDataRoot() {
    platform::setDataRoot("");
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::string TempDataRoot::file(const std::string& name) const { return root + "/data/" + name; }

Pixels solid(int width, int height, std::vector<uint8_t> pixel) {
    Pixels out;
    for (int i = 0; i < width * height; ++i) out.insert(out.end(), pixel.begin(), pixel.end());
    return out;
}

void writeBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << file;
}

std::vector<uint8_t> readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

namespace {

std::vector<uint8_t> tgaHeader(uint8_t type, int width, int height, int bits, bool topDown, int mapLength = 0) {
    std::vector<uint8_t> h(18, 0);
    h[1] = mapLength ? 1 : 0;
    h[2] = type;
    h[5] = uint8_t(mapLength & 0xFF);
    h[6] = uint8_t(mapLength >> 8);
    h[7] = mapLength ? 24 : 0;
    h[12] = uint8_t(width & 0xFF);
    h[13] = uint8_t(width >> 8);
    h[14] = uint8_t(height & 0xFF);
    h[15] = uint8_t(height >> 8);
    h[16] = uint8_t(bits);
    h[17] = uint8_t((topDown ? 0x20 : 0) | (bits == 32 ? 8 : 0));
    return h;
}

// Rows in the order the file stores them.
Pixels storedRows(const Pixels& topFirst, int width, int height, int bpp, RowOrder order) {
    if (order == RowOrder::topDown) return topFirst;
    Pixels out;
    size_t row = size_t(width) * bpp;
    for (int y = height - 1; y >= 0; --y)
        out.insert(out.end(), topFirst.begin() + long(row * y), topFirst.begin() + long(row * (y + 1)));
    return out;
}

// Runs of equal pixels become run packets, everything else one-pixel raw packets.
Pixels runLengthEncode(const Pixels& data, int bpp) {
    Pixels out;
    size_t count = data.size() / bpp;
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        while (i + run < count && run < 128 &&
               std::equal(data.begin() + long(i * bpp), data.begin() + long((i + 1) * bpp),
                          data.begin() + long((i + run) * bpp)))
            ++run;
        out.push_back(uint8_t(run > 1 ? 0x80 | (run - 1) : 0));
        out.insert(out.end(), data.begin() + long(i * bpp), data.begin() + long((i + 1) * bpp));
        i += run;
    }
    return out;
}

}  // namespace

void writeTga(const std::string& file, int width, int height, int bpp, const Pixels& pixels, RowOrder order,
              bool runLength) {
    std::vector<uint8_t> bytes = tgaHeader(runLength ? 10 : 2, width, height, bpp * 8, order == RowOrder::topDown);
    Pixels rows = storedRows(pixels, width, height, bpp, order);
    if (runLength) rows = runLengthEncode(rows, bpp);
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    writeBytes(file, bytes);
}

void writeGreyTga(const std::string& file, int width, int height, const Pixels& grey) {
    std::vector<uint8_t> bytes = tgaHeader(3, width, height, 8, true);
    bytes.insert(bytes.end(), grey.begin(), grey.end());
    writeBytes(file, bytes);
}

void writeMappedTga(const std::string& file, int width, int height, const Pixels& paletteBgr, const Pixels& indices) {
    std::vector<uint8_t> bytes = tgaHeader(1, width, height, 8, true, int(paletteBgr.size() / 3));
    bytes.insert(bytes.end(), paletteBgr.begin(), paletteBgr.end());
    bytes.insert(bytes.end(), indices.begin(), indices.end());
    writeBytes(file, bytes);
}

void writeJpeg(const std::string& file, int width, int height, const Pixels& bgr) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(bgr.data()), width, height, 24,
                                                        width * 3, SDL_PIXELFORMAT_BGR24);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(IMG_SaveJPG(s, file.c_str(), 100), 0) << IMG_GetError();
    SDL_FreeSurface(s);
}
