// Captures a window of the X display as a PNG and prints the colour of the
// given pixels, one "r g b" line each. For the real-window test.
//
//   x11_snapshot WINDOW_ID OUT.png [X Y]...
#include <SDL.h>
#include <SDL_image.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WINDOW_ID OUT.png [X Y]...\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    Window window = Window(std::strtoul(argv[1], nullptr, 0));
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                              AllPlanes, ZPixmap);
    if (!image) return 1;
    auto rgb = [&](int x, int y) {
        unsigned long p = XGetPixel(image, x, y);
        return SDL_Color{Uint8((p & image->red_mask) >> 16), Uint8((p & image->green_mask) >> 8),
                         Uint8(p & image->blue_mask), 255};
    };
    SDL_Surface* png = SDL_CreateRGBSurfaceWithFormat(0, image->width, image->height, 32, SDL_PIXELFORMAT_RGBA32);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            SDL_Color c = rgb(x, y);
            Uint8* out = static_cast<Uint8*>(png->pixels) + y * png->pitch + x * 4;
            out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = 255;
        }
    int saved = IMG_SavePNG(png, argv[2]);
    for (int i = 3; i + 1 < argc; i += 2) {
        SDL_Color c = rgb(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        std::printf("%d %d %d\n", c.r, c.g, c.b);
    }
    SDL_FreeSurface(png);
    XDestroyImage(image);
    XCloseDisplay(display);
    return saved == 0 ? 0 : 1;
}
