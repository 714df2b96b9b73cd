#include "platform/picture.h"
#include "platform/paths.h"
#include "platform/picture_checks.h"
#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstring>
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

}  // namespace

int Picture::load(const char* gameName) {
    clear();
    std::vector<uint8_t> bytes;
    if (!readWholeFile(mapPath(gameName), bytes)) return -1;
    return decode(bytes.data(), bytes.size());
}

int Picture::decode(const uint8_t* data, size_t size) {
    clear();
    if (!data || size == 0 || size > size_t(maxFileSize)) return -1;
    SurfacePtr surface = decodeSurface(data, size);
    if (!surface || surface->w <= 0 || surface->h <= 0) return -1;
    bool alpha = hasAlpha(surface.get());
    Uint32 format = alpha ? SDL_PIXELFORMAT_BGRA32 : SDL_PIXELFORMAT_BGR24;  // byte order in memory
    SurfacePtr converted(SDL_ConvertSurfaceFormat(surface.get(), format, 0));
    if (!converted || SDL_LockSurface(converted.get()) != 0) return -1;
    bytesPerPixel = alpha ? 4 : 3;
    width = converted->w;
    height = converted->h;
    size_t row = size_t(width) * bytesPerPixel;
    pixels.resize(row * height);
    const uint8_t* source = static_cast<const uint8_t*>(converted->pixels);
    for (int y = 0; y < height; ++y)  // drops the padding SDL puts after each row
        std::memcpy(pixels.data() + row * y, source + size_t(converted->pitch) * y, row);
    SDL_UnlockSurface(converted.get());
    return 0;
}

void Picture::clear() {
    width = height = bytesPerPixel = 0;
    pixels.clear();
    pixels.shrink_to_fit();
}

}  // namespace platform
