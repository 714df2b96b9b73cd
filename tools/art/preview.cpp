// A contact sheet of every picture, read back from the files written and
// shown the way the game shows it, magnified, for a person to look at.
#include "preview.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "output.h"
#include "text.h"

namespace art {

namespace {

constexpr double sheetW = 1400;

struct Sheet {
    Canvas c;
    double y = 0;  // top of the next row of the layout
};

void label(Canvas& c, const std::string& text, double x, double y, double size = 11, Colour colour = rgb(200, 205, 225)) {
    int baseline = 0;
    Mask m = renderText(sansBoldFont, int(size * 1.4), text, &baseline);
    c.fill(Box{x, y, x + m.width, y + m.height}, maskShape(m, x, y, 1, 1), colour, 2);
}

// The game's colour key: exactly magenta becomes transparent.
Canvas keyed(const Canvas& in) {
    Canvas out = in;
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) {
            const float* p = &in.px[(size_t(y) * in.width + x) * 4];
            if (p[0] == 1.0f && p[1] == 0.0f && p[2] == 1.0f) out.setPixel(x, y, Colour{0, 0, 0, 0});
        }
    return out;
}

Canvas tinted(const Canvas& in, float r, float g, float b) {
    Canvas out = in;
    for (size_t i = 0; i < out.px.size(); i += 4) {
        out.px[i] *= r;
        out.px[i + 1] *= g;
        out.px[i + 2] *= b;
    }
    return out;
}

Canvas opaqued(const Canvas& in) {
    Canvas out = in;
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) out.setPixel(x, y, withAlpha(in.pixel(x, y), 1));
    return out;
}

void backdrop(Canvas& c, double x, double y, double w, double h, bool checker) {
    c.fill(Box{x, y, x + w, y + h}, [=](double px, double py) { return px >= x && px < x + w && py >= y && py < y + h ? 1.0f : 0.0f; },
           [=](double px, double py) {
               if (!checker) return rgb(0, 0, 0);
               bool odd = (int(std::floor((px - x) / 8)) + int(std::floor((py - y) / 8))) % 2;
               return odd ? rgb(36, 38, 52) : rgb(22, 24, 34);
           }, 1);
}

}  // namespace

Canvas makePreview(const std::string& dir, const Pictures& pictures) {
    std::map<std::string, Canvas> read;
    for (const Picture& p : pictures) read.emplace(p.file, readBack(dir + "/" + p.file));
    auto get = [&](const std::string& name) -> const Canvas& { return read.at(name); };

    Canvas c(int(sheetW), 1720, sheetW, 1720);
    c.clear(rgb(14, 15, 22));
    const double pad = 20;

    // The title as it fills the window, GAME OVER over the title, the font.
    label(c, "vantreltitle.jpg, as in the 640 x 480 window", pad, 6);
    c.draw(get("vantreltitle.jpg"), pad, 24, 640, 480, true);
    double gx = pad + 660;
    label(c, "gameover.tga over a game frame (blended)", gx, 6);
    backdrop(c, gx, 24, 640, 200, true);
    c.draw(get("gameover.tga"), gx + 64, 24 + 23, 512, 153.6, true);
    label(c, "fontgray.jpg, 2x", gx, 236);
    c.draw(get("fontgray.jpg"), gx, 254, 512, 512, true);  // reaches y 766

    // A HUD line drawn from the font cells at the game's size: 32 x 38.4
    // pixels each, in white.
    double y = 530;
    label(c, "HUD text from fontgray.jpg at game size", pad, y - 18);
    const std::string hud = "SCORE 004250  LIVES 3  BONUS 0900";
    const Canvas& font = get("fontgray.jpg");
    for (size_t i = 0; i < hud.size(); ++i) {
        int code = (unsigned char)hud[i];
        Box cell{double(code % 16) * 16, double(code / 16) * 16, double(code % 16) * 16 + 16, double(code / 16) * 16 + 16};
        c.draw(font, pad + i * 19.2, y, 19.2, 23, true, false, &cell);  // 10 x 12 world units
    }
    y += 30;
    const std::string sample = "Aa Bb 0123456789 !?.,:;()[]+-*/=<>#%&@";
    for (size_t i = 0; i < sample.size(); ++i) {
        int code = (unsigned char)sample[i];
        Box cell{double(code % 16) * 16, double(code / 16) * 16, double(code % 16) * 16 + 16, double(code / 16) * 16 + 16};
        c.draw(font, pad + i * 16, y, 16, 19.2, true, false, &cell);  // 8 x 8 world units
    }

    // The player as the game shows it: mirrored, columns 0.2-0.8 and rows
    // 0.2-1.0 of the picture, on 32 x 38.4 pixels, here 3x.
    y = 600;
    label(c, "player frames as shown in the game, 3x (3-5 walk left, 6-8 stand, 9-11 walk right)", pad, y);
    y += 20;
    for (int i = 0; i < 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", i);
        Canvas k = keyed(get(name));
        Box crop{0.2 * k.width, 0.2 * k.height, 0.8 * k.width, 1.0 * k.height};
        double x = pad + i * 106;
        backdrop(c, x, y, 96, 115.2, false);
        c.draw(k, x, y, 96, 115.2, false, true, &crop);
        label(c, std::to_string(i), x + 2, y + 118);
    }
    // And at the game's own size, walking along a floor.
    double fy = y + 140;
    backdrop(c, pad, fy, 1260, 48, false);
    for (int i = 0; i < 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", i);
        Canvas k = keyed(get(name));
        Box crop{0.2 * k.width, 0.2 * k.height, 0.8 * k.width, 1.0 * k.height};
        c.draw(k, pad + 10 + i * 106, fy + 4, 32, 38.4, true, true, &crop);
    }
    label(c, "the files themselves (magenta is the key), 2x", pad, fy + 56);
    for (int i = 0; i < 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "CA54R2JR_%02d.tga", i);
        c.draw(get(name), pad + i * 106, fy + 76, 64, 64, false);
    }

    // Stairs tinted green and mirrored, enemies with their thread, the lives
    // icon and the items, each 3x its size on screen.
    y = fy + 160;
    label(c, "stair.tga, green", pad, y);
    label(c, "enemies with the game's thread, 3x", pad + 150, y);
    label(c, "LIFE.tga 3x", pad + 620, y);
    label(c, "items 3x", pad + 760, y);
    y += 20;
    Canvas stair = tinted(get("stair.tga"), 0, 1, 0);
    c.draw(stair, pad, y, 120, 230.4, true, true);
    double ex = pad + 150;
    for (int i = 1; i <= 4; ++i) {
        std::string name = "enemy" + std::to_string(i) + ".tga";
        backdrop(c, ex, y, 110, 230, false);
        c.fill(Box{ex, y, ex + 110, y + 230}, inside([=](double px, double py) { return sdBox(px, py, ex + 55, y + 115, 6, 115); }),
               rgb(255, 0, 0));
        c.draw(opaqued(get(name)), ex + 55 - 60 * 0.75, y + 115 - 72 * 0.75, 90, 108, true);
        ex += 116;
    }
    c.draw(get("LIFE.tga"), pad + 620, y, 96, 115.2, true);
    const char* items[] = {"coin.tga", "cherry.tga", "gem01.tga"};
    for (int i = 0; i < 3; ++i) c.draw(get(items[i]), pad + 760 + i * 84, y, 72, 86.4, true);
    label(c, "gem01-08", pad + 760, y + 100);
    for (int i = 0; i < 8; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "gem%02d.tga", i + 1);
        c.draw(get(name), pad + 760 + i * 62, y + 120, 56, 67.2, true);
    }
    // The game's own sizes, side by side.
    label(c, "game size:", pad + 620, y + 200);
    backdrop(c, pad + 700, y + 196, 300, 36, false);
    c.draw(get("LIFE.tga"), pad + 704, y + 196, 32, 38.4, true);
    for (int i = 0; i < 3; ++i) c.draw(get(items[i]), pad + 750 + i * 30, y + 200, 24, 28.8, true);
    for (int i = 1; i <= 4; ++i) c.draw(opaqued(get("enemy" + std::to_string(i) + ".tga")), pad + 850 + (i - 1) * 36, y + 196, 30, 36, true);

    // The explosion, every frame, over a checker so its alpha shows.
    y += 260;
    label(c, "nuke01-27, 2x, over a checker", pad, y);
    y += 20;
    for (int i = 0; i < 27; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "nuke%02d.tga", i + 1);
        double x = pad + (i % 14) * 96, ry = y + (i / 14) * 90;
        backdrop(c, x, ry, 80, 80, true);
        c.draw(get(name), x + 8, ry, 64, 76.8, true);
    }

    // The desktop icon at its two sizes, over a checker.
    y += 2 * 90 + 10;
    label(c, "icon-256.png and icon-64.png: the desktop icon (not read by the game)", pad, y);
    backdrop(c, pad, y + 20, 256, 256, true);
    c.draw(get("icon-256.png"), pad, y + 20, 256, 256, false);
    backdrop(c, pad + 280, y + 20, 64, 64, true);
    c.draw(get("icon-64.png"), pad + 280, y + 20, 64, 64, false);
    return c;
}

}  // namespace art
