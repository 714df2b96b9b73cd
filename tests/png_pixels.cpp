// Prints the colour of the given pixels of a PNG file, one "r g b" line each.
//
//   png_pixels FILE.png [X Y]...
#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    SDL_Surface* loaded = IMG_Load(argv[1]);
    if (!loaded) return 1;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    for (int i = 2; i + 1 < argc; i += 2) {
        int x = std::atoi(argv[i]), y = std::atoi(argv[i + 1]);
        const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4;
        std::printf("%d %d %d\n", p[0], p[1], p[2]);
    }
    SDL_FreeSurface(s);
    SDL_FreeSurface(loaded);
    return 0;
}
