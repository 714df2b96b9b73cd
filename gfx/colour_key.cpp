#include "gfx/colour_key.h"

std::vector<uint8_t> keyedPixels(const uint8_t* pixels, long count, int bytesPerPixel, uint32_t key) {
    if (bytesPerPixel < 3 || count <= 0) return {};
    std::vector<uint8_t> keyed(size_t(count) * 4);
    for (long i = 0; i < count; ++i, pixels += bytesPerPixel) {
        uint8_t* out = &keyed[size_t(i) * 4];
        out[0] = pixels[0];
        out[1] = pixels[1];
        out[2] = pixels[2];
        uint32_t rgb = (uint32_t(pixels[2]) << 16) | (uint32_t(pixels[1]) << 8) | pixels[0];
        out[3] = rgb == key ? 0 : 255;
    }
    return keyed;
}
