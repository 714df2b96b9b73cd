#include "text.h"

#include <SDL_ttf.h>

#include <map>
#include <utility>

#include "output.h"

namespace art {

const char* const monoBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
const char* const sansBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

namespace {

std::map<std::pair<std::string, int>, TTF_Font*> fonts;

TTF_Font* font(const char* file, int size) {
    auto key = std::make_pair(std::string(file), size);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    TTF_Font* f = TTF_OpenFont(file, size);
    if (!f) fail(std::string("cannot open font ") + file + " (install fonts-dejavu-core): " + TTF_GetError());
    // The masks are drawn large and scaled down, so outlines are kept exact
    // rather than fitted to the pixel grid.
    TTF_SetFontHinting(f, TTF_HINTING_NONE);
    TTF_SetFontKerning(f, 1);
    fonts[key] = f;
    return f;
}

Mask fromSurface(SDL_Surface* rendered) {
    if (!rendered) fail(std::string("cannot render text: ") + TTF_GetError());
    SDL_Surface* s = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(rendered);
    if (!s) fail("cannot convert text");
    Mask m;
    m.width = s->w;
    m.height = s->h;
    m.a.resize(size_t(s->w) * s->h);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            m.a[size_t(y) * s->w + x] = static_cast<const uint8_t*>(s->pixels)[size_t(s->pitch) * y + x * 4 + 3] / 255.0f;
    SDL_FreeSurface(s);
    return m;
}

}  // namespace

Mask renderText(const char* fontFile, int pixelsPerEm, const std::string& utf8, int* baseline) {
    TTF_Font* f = font(fontFile, pixelsPerEm);
    if (baseline) *baseline = TTF_FontAscent(f);
    SDL_Color white{255, 255, 255, 255};
    return fromSurface(TTF_RenderUTF8_Blended(f, utf8.c_str(), white));
}

Mask renderGlyph(const char* fontFile, int pixelsPerEm, uint32_t code, int* baseline) {
    TTF_Font* f = font(fontFile, pixelsPerEm);
    if (baseline) *baseline = TTF_FontAscent(f);
    SDL_Color white{255, 255, 255, 255};
    return fromSurface(TTF_RenderGlyph32_Blended(f, code, white));
}

void startText() {
    if (TTF_Init() != 0) fail(std::string("cannot start SDL_ttf: ") + TTF_GetError());
}

void stopText() {
    for (auto& entry : fonts) TTF_CloseFont(entry.second);
    fonts.clear();
    TTF_Quit();
}

}  // namespace art
