// Feeds arbitrary bytes to the picture decoder (our checks in front of
// SDL2_image's TGA and JPEG decoders), then to the colour-key conversion,
// checking that every decoded picture is exactly as large as it says.
#include "gfx/colour_key.h"
#include "platform/picture.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Picture picture;
    if (picture.decode(data, size) != 0) {
        if (picture.bytesPerPixel != 0 || !picture.pixels.empty()) std::abort();  // a failure leaves it empty
        return 0;
    }
    long count = long(picture.width) * picture.height;
    if (picture.width <= 0 || picture.height <= 0 || count > platform::maxPicturePixels) std::abort();
    if (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) std::abort();
    if (picture.pixels.size() != size_t(count) * size_t(picture.bytesPerPixel)) std::abort();
    std::vector<uint8_t> keyed = keyedPixels(picture.pixels.data(), count, picture.bytesPerPixel, 0xFF00FF);
    if (keyed.size() != size_t(count) * 4) std::abort();
    return 0;
}
