#include "app/screen_capture.h"
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

bool saveFramePng(const std::string& file) {
    int w, h;
    std::vector<uint8_t> rgba = presentedFrame(w, h);
    if (rgba.empty()) return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
    if (!s) return false;
    bool ok = IMG_SavePNG(s, file.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}
