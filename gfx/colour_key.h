// The colour key: pictures without alpha get one, 0 where a pixel's colour
// is the key and 255 elsewhere.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// `count` pixels of `bytesPerPixel` bytes (blue, green, red first; at least
// 3) become `count` pixels of 4 bytes. Empty when the pixels are narrower
// than 3 bytes: they have no colour to compare.
std::vector<uint8_t> keyedPixels(const uint8_t* pixels, long count, int bytesPerPixel, uint32_t key);
