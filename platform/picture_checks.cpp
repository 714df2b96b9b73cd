#include "platform/picture.h"
#include "platform/picture_checks.h"

namespace platform {

namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint16_t be16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

bool saneSize(long width, long height) {
    return width > 0 && height > 0 && width <= maxPictureSide && height <= maxPictureSide &&
           width * height <= maxPicturePixels;
}

// Walks the run-length packets: each starts with a byte whose low 7 bits
// give 1 to 128 pixels, followed by one pixel (a run) or that many (raw).
bool rlePacketsCoverPixels(const uint8_t* data, size_t size, size_t at, size_t pixels, size_t bpp) {
    size_t done = 0;
    while (done < pixels) {
        if (at >= size) return false;
        uint8_t header = data[at++];
        size_t count = size_t(header & 0x7F) + 1;
        size_t bytes = (header & 0x80) ? bpp : count * bpp;
        if (bytes > size - at) return false;
        at += bytes;
        done += count;
    }
    return true;
}

}  // namespace

bool looksLikeJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool tgaIsWhole(const uint8_t* data, size_t size) {
    constexpr size_t headerSize = 18;
    if (size < headerSize) return false;
    uint8_t idLength = data[0], colourMapType = data[1], imageType = data[2];
    uint16_t mapLength = le16(data + 5);
    uint8_t mapEntryBits = data[7];
    uint16_t width = le16(data + 12), height = le16(data + 14);
    uint8_t pixelBits = data[16];
    if (!saneSize(width, height) || pixelBits == 0 || pixelBits > 32) return false;
    size_t at = headerSize + idLength + (colourMapType ? size_t(mapLength) * ((mapEntryBits + 7) / 8) : 0);
    if (at > size) return false;
    size_t bpp = (pixelBits + 7) / 8;
    size_t pixels = size_t(width) * height;
    switch (imageType) {
    case 1: case 2: case 3:  // colour-mapped, true colour, greyscale
        return pixels * bpp <= size - at;
    case 9: case 10: case 11:  // the same, run-length encoded
        return rlePacketsCoverPixels(data, size, at, pixels, bpp);
    default:
        return false;
    }
}

bool jpegIsSane(const uint8_t* data, size_t size) {
    size_t at = 2;  // after the start-of-image marker
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return false;
        uint8_t marker = data[at + 1];
        if (marker == 0xFF) { ++at; continue; }  // fill byte
        uint16_t length = be16(data + at + 2);
        if (length < 2) return false;
        bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (at + 10 > size) return false;
            // Grey or colour only: the decoder hands four-component (CMYK)
            // pixels back as if the black plate were alpha, which would show
            // as garbage.
            uint8_t components = data[at + 9];
            return (components == 1 || components == 3) && saneSize(be16(data + at + 7), be16(data + at + 5));
        }
        if (marker == 0xDA) return false;  // image data before any frame header
        at += 2 + size_t(length);
    }
    return false;
}

}  // namespace platform
