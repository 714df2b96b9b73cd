// Checks a TGA or JPEG file's header against its contents before the decoder
// sees it: SDL2_image trusts sizes and lengths that a broken file can lie about.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

bool looksLikeJpeg(const uint8_t* data, size_t size);
// The picture's size is sane and the file holds every pixel its header promises.
bool tgaIsWhole(const uint8_t* data, size_t size);
// A frame header with a sane size and grey or colour pixels comes before the
// image data.
bool jpegIsSane(const uint8_t* data, size_t size);

}  // namespace platform
