// A decoded picture, as the textures want it: width x height pixels of 3
// bytes (blue, green, red) or 4 bytes (blue, green, red, alpha), rows one
// after the other without padding, the first row at the top of the picture
// whatever the file's own row order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class Picture {
public:
    int width = 0, height = 0;  // pixels; 0 while empty
    int bytesPerPixel = 0;      // 3, or 4 when the picture has alpha; 0 while empty
    std::vector<uint8_t> pixels;

    // Decodes a TGA or JPEG file named the game's way ("data\x.tga"), or
    // by a bare file name from the level folder (see picture_names.h). 0 on
    // success; -1 when the file is missing, unreadable or not a picture we
    // take, or the name is one picturePath refuses (then nothing is opened),
    // and the picture is then empty.
    int load(const char* gameName);
    // The same for a file's contents already in memory.
    int decode(const uint8_t* data, size_t size);
    void clear();
};

// While a PictureBatch lives, each file is decoded once: later loads of the
// same file get a copy of what the first one decoded (or its failure).
// Starting the game and loading a level each open one, so that the objects
// that show the same picture do not decode it again and again.
class PictureBatch {
public:
    PictureBatch();
    ~PictureBatch();
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;
};

// Pictures larger than this are refused as broken (width and height each,
// and their product).
constexpr int maxPictureSide = 8192;
constexpr long maxPicturePixels = 4096L * 4096L;

}  // namespace platform
