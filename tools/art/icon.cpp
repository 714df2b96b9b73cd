// The desktop icon: the figure on a floor under a ladder, a spider on its
// thread and a gem above, on a dark rounded square. Drawn at 256 and at 64
// pixels from the same design of 256 x 256 units, and at 192 and 512 for the
// page's web app manifest.
#include <cmath>

#include "pictures.h"

namespace art {

namespace {

constexpr double side = 256;

void plate(Canvas& c) {
    auto square = [](double x, double y) { return sdBox(x, y, side / 2, side / 2, 116, 116, 40); };
    c.fill(Box{0, 0, side, side}, inside(square, 4), rgb(0, 0, 0, 0.35f), 4);
    c.fill(Box{0, 0, side, side}, inside(square), [](double, double y) {
        return mix(rgb(14, 18, 58), rgb(58, 20, 78), clamp01(float(y / side)));
    }, 4);
}

// A yellow bar like the game's floors, its top at y.
void floorBar(Canvas& c, double x0, double x1, double y) {
    c.fill(Box{x0, y - 2, x1, y + 12}, inside([=](double x, double py) { return sdBox(x, py, (x0 + x1) / 2, y + 5, (x1 - x0) / 2, 5, 2); }),
           [=](double, double py) { return mix(rgb(255, 250, 150), rgb(220, 170, 0), clamp01(float((py - y) / 10))); });
}

// A green ladder from the floor top y1 up to y0.
void ladder(Canvas& c, double x, double y0, double y1) {
    const double w = 40;
    Box b{x - 4, y0 - 4, x + w + 4, y1 + 2};
    for (double ry = y0 + 12; ry < y1 - 4; ry += 18)
        c.fill(b, inside([=](double px, double py) { return sdBox(px, py, x + w / 2, ry, w / 2 - 4, 3, 1.5); }), rgb(90, 220, 90));
    for (double rx : {x + 4, x + w - 4})
        c.fill(b, inside([=](double px, double py) { return sdBox(px, py, rx, (y0 + y1) / 2, 3.5, (y1 - y0) / 2); }),
               rgb(150, 255, 150));
}

void thread(Canvas& c, double x, double y0, double y1) {
    c.fill(Box{x - 4, y0, x + 4, y1}, inside([=](double px, double py) { return sdBox(px, py, x, (y0 + y1) / 2, 2, (y1 - y0) / 2); }),
           rgb(230, 20, 20));
}

Canvas drawIcon(int pixels) {
    Canvas c(pixels, pixels, side, side);
    c.clear(Colour{0, 0, 0, 0});
    plate(c);
    floorBar(c, 26, 230, 198);
    floorBar(c, 26, 230, 100);
    ladder(c, 118, 100, 198);
    thread(c, 200, 24, 230);
    drawEnemy(c, Enemy::spider, 200, 150, 58);
    drawGem(c, 62, 72, 44, 0.3, 0.6);
    drawPlayerBlocks(c, 40, 198 - 25 * 3.4, 3.4);
    return c;
}

}  // namespace

void addIcon(Pictures& out) {
    out.push_back(Picture{"icon-256.png", drawIcon(256), 4, 0, Picture::Show::plain, 256, 256});
    out.push_back(Picture{"icon-64.png", drawIcon(64), 4, 0, Picture::Show::plain, 64, 64});
    out.push_back(Picture{"icon-192.png", drawIcon(192), 4, 0, Picture::Show::plain, 192, 192});
    out.push_back(Picture{"icon-512.png", drawIcon(512), 4, 0, Picture::Show::plain, 512, 512});
}

}  // namespace art
