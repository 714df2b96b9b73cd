#include "platform/picture.h"
#include "platform/paths.h"
#include "platform/picture_checks.h"
#include "platform/picture_names.h"
#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace platform {

namespace {

// No picture of the game comes near this; a bigger file is not one of ours.
constexpr long maxFileSize = 64L * 1024 * 1024;

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

bool readWholeFile(const std::string& name, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && size <= maxFileSize && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// Only the two decoders we need: SDL2_image's format sniffing would reach
// decoders for formats the game never uses.
SurfacePtr decodeSurface(const uint8_t* data, size_t size) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
    if (!rw) return nullptr;
    SDL_Surface* surface = nullptr;
    if (looksLikeJpeg(data, size)) {
        static bool jpegReady = (IMG_Init(IMG_INIT_JPG) & IMG_INIT_JPG) != 0;
        if (jpegReady && jpegIsSane(data, size)) surface = IMG_LoadJPG_RW(rw);
    } else if (tgaIsWhole(data, size)) {
        surface = IMG_LoadTGA_RW(rw);
    }
    SDL_RWclose(rw);
    return SurfacePtr(surface);
}

bool hasAlpha(const SDL_Surface* s) { return s->format->Amask != 0; }

// Rows of the surface into tight rows, as they are (`swapRedBlue` false) or
// with the first and third byte of every 3-byte pixel exchanged.
void copyRows(const SDL_Surface* s, int bytesPerPixel, bool swapRedBlue, std::vector<uint8_t>& out) {
    size_t row = size_t(s->w) * bytesPerPixel;
    out.resize(row * s->h);
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* src = static_cast<const uint8_t*>(s->pixels) + size_t(s->pitch) * y;
        uint8_t* dst = out.data() + row * y;
        if (!swapRedBlue) {
            std::memcpy(dst, src, row);
            continue;
        }
        for (size_t i = 0; i < row; i += 3) {
            dst[i] = src[i + 2];
            dst[i + 1] = src[i + 1];
            dst[i + 2] = src[i];
        }
    }
}

// The formats our two decoders hand back, copied straight into blue, green,
// red (, alpha) order; SDL's general converter is several times slower on
// these. False for any other format.
bool copyKnownFormat(const SDL_Surface* s, std::vector<uint8_t>& out) {
    switch (s->format->format) {
    case SDL_PIXELFORMAT_BGR24: copyRows(s, 3, false, out); return true;   // true-colour TGA
    case SDL_PIXELFORMAT_RGB24: copyRows(s, 3, true, out); return true;    // JPEG
    case SDL_PIXELFORMAT_BGRA32: copyRows(s, 4, false, out); return true;  // TGA with alpha
    default: return false;
    }
}

bool convertAny(SDL_Surface* surface, bool alpha, std::vector<uint8_t>& out) {
    Uint32 format = alpha ? SDL_PIXELFORMAT_BGRA32 : SDL_PIXELFORMAT_BGR24;  // byte order in memory
    SurfacePtr converted(SDL_ConvertSurfaceFormat(surface, format, 0));
    if (!converted || SDL_LockSurface(converted.get()) != 0) return false;
    copyRows(converted.get(), alpha ? 4 : 3, false, out);  // drops SDL's row padding
    SDL_UnlockSurface(converted.get());
    return true;
}

}  // namespace

namespace {

int openBatches = 0;
std::map<std::string, Picture> batchPictures;  // by file name; an empty picture: the load failed

}  // namespace

PictureBatch::PictureBatch() { ++openBatches; }

PictureBatch::~PictureBatch() {
    if (--openBatches == 0) batchPictures.clear();
}

int Picture::load(const char* gameName) {
    clear();
    // The batch's key: no look at the disk for a known picture.
    std::string file = picturePath(gameName ? gameName : "");
    if (file.empty()) return -1;  // a name outside the game's data is never opened
    if (openBatches > 0) {
        auto known = batchPictures.find(file);
        if (known != batchPictures.end()) {
            *this = known->second;
            return bytesPerPixel ? 0 : -1;
        }
    }
    std::vector<uint8_t> bytes;
    int result = readWholeFile(resolveLetterCase(file), bytes) ? decode(bytes.data(), bytes.size()) : -1;
    if (openBatches > 0) batchPictures.emplace(file, *this);
    return result;
}

int Picture::decode(const uint8_t* data, size_t size) {
    clear();
    if (!data || size == 0 || size > size_t(maxFileSize)) return -1;
    SurfacePtr surface = decodeSurface(data, size);
    if (!surface || surface->w <= 0 || surface->h <= 0) return -1;
    bool alpha = hasAlpha(surface.get());
    bool copied = false;
    if (SDL_LockSurface(surface.get()) == 0) {
        copied = copyKnownFormat(surface.get(), pixels);
        SDL_UnlockSurface(surface.get());  // SDL converts only unlocked surfaces
    }
    if (!copied) copied = convertAny(surface.get(), alpha, pixels);
    if (!copied) {
        clear();
        return -1;
    }
    bytesPerPixel = alpha ? 4 : 3;
    width = surface->w;
    height = surface->h;
    return 0;
}

void Picture::clear() {
    width = height = bytesPerPixel = 0;
    pixels.clear();
    pixels.shrink_to_fit();
}

}  // namespace platform
