#include "app/screen_capture.h"
#include "platform/file_writing.h"
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <cstring>

std::vector<uint8_t> presentedFrame(int& width, int& height) {
    GLint view[4] = {};
    glGetIntegerv(GL_VIEWPORT, view);
    width = view[2];
    height = view[3];
    if (width <= 0 || height <= 0) return {};
    std::vector<uint8_t> bottomUp(size_t(width) * height * 4);
    glReadBuffer(GL_FRONT);  // what was presented
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(view[0], view[1], width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) std::memcpy(&topDown[row * y], &bottomUp[row * (height - 1 - y)], row);
    return topDown;
}

// The PNG is made in memory, then written in one go beside the file and put
// in its place: a disk that fills leaves the old picture whole. The stream
// is as large as the largest PNG of these pixels, stored without
// compression, can be; a larger one fails rather than being cut.
bool saveFramePng(const std::string& file, std::string* why) {
    std::string reason = "no frame has been presented";
    int w, h;
    std::vector<uint8_t> rgba = presentedFrame(w, h);
    std::string png(rgba.size() + rgba.size() / 8 + 65536, '\0');
    SDL_Surface* s = nullptr;
    if (!rgba.empty()) s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    SDL_RWops* memory = s ? SDL_RWFromMem(png.data(), int(png.size())) : nullptr;
    bool ok = false;
    if (s && memory && IMG_SavePNG_RW(s, memory, 0) == 0) {
        png.resize(size_t(SDL_RWtell(memory)));
        ok = platform::writeFileSafely(file, png, reason);
    } else if (!rgba.empty()) {
        reason = std::string("the picture could not be made: ") + SDL_GetError();
    }
    if (memory) SDL_RWclose(memory);
    if (s) SDL_FreeSurface(s);
    if (!ok && why) *why = reason;
    return ok;
}
