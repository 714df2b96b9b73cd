#include "output.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace art {

void fail(const std::string& what) {
    std::fprintf(stderr, "art: %s\n", what.c_str());
    std::exit(1);
}

void writeTga(const std::string& path, const Canvas& canvas, int channels) {
    std::vector<uint8_t> rgba = canvas.bytes(channels);
    std::vector<uint8_t> file(18, 0);
    file[2] = 2;  // uncompressed true colour
    file[12] = uint8_t(canvas.width & 0xFF);
    file[13] = uint8_t(canvas.width >> 8);
    file[14] = uint8_t(canvas.height & 0xFF);
    file[15] = uint8_t(canvas.height >> 8);
    file[16] = uint8_t(channels * 8);
    file[17] = uint8_t(0x20 | (channels == 4 ? 8 : 0));  // top-left origin, alpha bits
    for (size_t i = 0; i < rgba.size(); i += channels) {
        file.push_back(rgba[i + 2]);
        file.push_back(rgba[i + 1]);
        file.push_back(rgba[i]);
        if (channels == 4) file.push_back(rgba[i + 3]);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) fail("cannot write " + path);
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) fail("cannot write " + path);
}

namespace {

SDL_Surface* toSurface(const Canvas& canvas, int channels) {
    std::vector<uint8_t> bytes = canvas.bytes(channels);
    Uint32 format = channels == 4 ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, canvas.width, canvas.height, channels * 8, format);
    if (!s) fail(std::string("no surface: ") + SDL_GetError());
    for (int y = 0; y < canvas.height; ++y)
        SDL_memcpy(static_cast<uint8_t*>(s->pixels) + size_t(s->pitch) * y,
                   bytes.data() + size_t(canvas.width) * channels * y, size_t(canvas.width) * channels);
    return s;
}

}  // namespace

void writeJpeg(const std::string& path, const Canvas& canvas, int quality) {
    SDL_Surface* s = toSurface(canvas, 3);
    int result = IMG_SaveJPG(s, path.c_str(), quality);
    SDL_FreeSurface(s);
    if (result != 0) fail("cannot write " + path + ": " + IMG_GetError());
}

void writePng(const std::string& path, const Canvas& canvas) {
    SDL_Surface* s = toSurface(canvas, 4);
    int result = IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    if (result != 0) fail("cannot write " + path + ": " + IMG_GetError());
}

bool isPng(const std::string& path) { return path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0; }

Canvas readBack(const std::string& path) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) fail("cannot read " + path);
    bool jpeg = path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
    SDL_Surface* loaded = jpeg ? IMG_LoadJPG_RW(rw) : isPng(path) ? IMG_LoadPNG_RW(rw) : IMG_LoadTGA_RW(rw);
    SDL_RWclose(rw);
    if (!loaded) fail("cannot decode " + path + ": " + IMG_GetError());
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!s) fail("cannot convert " + path);
    Canvas c(s->w, s->h, s->w, s->h);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + size_t(s->pitch) * y + size_t(x) * 4;
            c.setPixel(x, y, rgb(p[0], p[1], p[2], p[3] / 255.0f));
        }
    SDL_FreeSurface(s);
    return c;
}

}  // namespace art
