// The title screen: 1024 x 512 pixels stretched over the whole 640 x 480
// window, designed in the window's pixels. A night sky, floors joined by
// ladders, enemies on their threads, the name, and a panel of keys.
#include <algorithm>
#include <cmath>

#include "pictures.h"
#include "text.h"

namespace art {

namespace {

constexpr double screenW = 640, screenH = 480;

// A line of text placed by its baseline, sized by the height of its capitals.
struct Text {
    Mask mask;
    Ink ink;
    double scale;     // design units per mask pixel
    double baseline;  // mask row
    double width() const { return (ink.x1 - ink.x0) * scale; }
};

Text layout(const char* font, const std::string& text, double capHeight) {
    // Twice the screen's resolution, then sampled down.
    int em = int(std::lround(capHeight / 0.73 * 2));
    Text t;
    int baseline = 0;
    t.mask = renderText(font, em, text, &baseline);
    t.ink = inkOf(t.mask);
    t.scale = 0.5;
    t.baseline = baseline;
    return t;
}

// Where the mask's top-left goes for the ink to start at x, baseline at y.
Shape placed(const Text& t, double x, double y, double dx = 0, double dy = 0) {
    return maskShape(t.mask, x - t.ink.x0 * t.scale + dx, y - t.baseline * t.scale + dy, t.scale, t.scale);
}

Box all() { return Box{0, 0, screenW, screenH}; }

void sky(Canvas& c) {
    c.clear([](double x, double y) {
        float t = float(y / screenH);
        Colour top = rgb(6, 8, 30), bottom = rgb(40, 12, 52);
        Colour col = mix(top, bottom, t);
        // A soft glow low in the middle, behind the floors.
        float glow = float(std::exp(-(std::pow((x - 320) / 260, 2) + std::pow((y - 380) / 140, 2))));
        return mix(col, rgb(90, 40, 110), glow * 0.45f);
    });
    Random random(1977);
    for (int i = 0; i < 110; ++i) {
        double x = random.range(0, screenW), y = random.range(0, 330);
        double r = random.range(0.5, 1.4);
        float bright = float(random.range(0.35, 1.0));
        c.fill(Box{x - 4, y - 4, x + 4, y + 4}, [=](double px, double py) {
            double d = std::hypot(px - x, py - y);
            return d < r ? 1.0f : float(std::max(0.0, 0.35 * (1 - (d - r) / 3)));
        }, rgb(220, 230, 255, bright));
    }
}

// A steel girder from x0 to x1 whose top is at y.
void floorBeam(Canvas& c, double x0, double x1, double y) {
    const double h = 12;
    Box b{x0, y - 2, x1, y + h + 8};
    c.fill(b, inside([=](double x, double py) { return sdBox(x, py, (x0 + x1) / 2, y + h / 2 + 6, (x1 - x0) / 2, h / 2); }),
           rgb(0, 0, 0, 0.45f));
    c.fill(b, inside([=](double x, double py) { return sdBox(x, py, (x0 + x1) / 2, y + h / 2, (x1 - x0) / 2, h / 2); }),
           [=](double, double py) {
               float t = float((py - y) / h);
               if (t < 0.15f) return rgb(200, 215, 255);
               return mix(rgb(110, 120, 170), rgb(40, 44, 80), t);
           });
    // Rivets along it.
    for (double x = x0 + 10; x < x1 - 4; x += 22)
        c.fill(Box{x - 3, y + 2, x + 3, y + 10}, inside([=](double px, double py) { return sdCircle(px, py, x, y + 6.5, 1.8); }),
               rgb(210, 220, 255, 0.9f));
}

// A green ladder like the game's stairs, from floor top y0 down to y1.
void ladder(Canvas& c, double x, double y0, double y1) {
    const double w = 34;
    Box b{x - 4, y0 - 4, x + w + 4, y1 + 2};
    for (double ry = y0 + 10; ry < y1 - 2; ry += 13)
        c.fill(b, inside([=](double px, double py) { return sdBox(px, py, x + w / 2, ry, w / 2 - 3, 2.2, 1); }), rgb(90, 220, 90));
    for (double rx : {x + 3, x + w - 3})
        c.fill(b, inside([=](double px, double py) { return sdBox(px, py, rx, (y0 + y1) / 2, 2.8, (y1 - y0) / 2); }),
               rgb(140, 255, 140));
}

void thread(Canvas& c, double x, double y0, double y1) {
    c.fill(Box{x - 3, y0, x + 3, y1}, inside([=](double px, double py) { return sdBox(px, py, x, (y0 + y1) / 2, 1.6, (y1 - y0) / 2); }),
           rgb(230, 20, 20));
}

void titleName(Canvas& c) {
    Text name = layout(sansBoldFont, "VANTREL", 84);
    // Stretched a little wider than the font draws it.
    const double targetW = 520, stretch = targetW / name.width();
    const double x = (screenW - targetW) / 2, base = 120;
    auto at = [&](const Mask& m, int grow, double dx, double dy) {
        return maskShape(m, x - (name.ink.x0 + grow) * name.scale * stretch + dx, base - (name.baseline + grow) * name.scale + dy,
                         name.scale * stretch, name.scale);
    };
    Mask glow = name.mask.dilated(14);
    Mask rim = name.mask.dilated(5);
    c.fill(all(), at(glow, 14, 0, 0), rgb(255, 120, 40, 0.18f));
    c.fill(all(), at(rim, 5, 7, 8), rgb(0, 0, 0, 0.6f));
    // A solid edge below the letters for depth.
    for (int d = 6; d >= 1; --d) c.fill(all(), at(rim, 5, 0, d), mix(rgb(90, 20, 10), rgb(150, 40, 10), float(6 - d) / 6));
    c.fill(all(), at(rim, 5, 0, 0), rgb(40, 8, 4));
    c.fill(all(), at(name.mask, 0, 0, 0), [=](double, double y) {
        float t = clamp01(float((y - (base - 84)) / 84));
        Colour col = t < 0.45f ? mix(rgb(255, 252, 200), rgb(255, 200, 40), t / 0.45f) : mix(rgb(255, 170, 20), rgb(220, 80, 10), (t - 0.45f) / 0.55f);
        return col;
    });
    // A bright line across the top of the letters.
    c.fill(all(), [=](double px, double py) {
        return py > base - 80 && py < base - 73 ? at(name.mask, 0, 0, 0)(px, py) * 0.55f : 0.0f;
    }, rgb(255, 255, 255));

    Text remake = layout(sansBoldFont, "R E M A K E", 26);
    double rx = (screenW - remake.width()) / 2, rbase = 166;
    c.fill(all(), placed(remake, rx, rbase, 3, 3), rgb(0, 0, 0, 0.7f));
    c.fill(all(), placed(remake, rx, rbase), [=](double, double y) {
        return mix(rgb(210, 250, 255), rgb(90, 170, 255), clamp01(float((y - rbase + 26) / 26)));
    });
    // Lines either side of REMAKE.
    for (double side : {-1.0, 1.0}) {
        double x0 = side < 0 ? rx - 110 : rx + remake.width() + 20, x1 = x0 + 90;
        c.fill(Box{x0, rbase - 16, x1, rbase - 8}, inside([=](double px, double py) { return sdBox(px, py, (x0 + x1) / 2, rbase - 13, 45, 1.2); }),
               rgb(120, 190, 255, 0.8f));
    }
}

// A key cap with its label, left edge at x, centred on row y.
double keyCap(Canvas& c, const std::string& label, double x, double y) {
    Text t = layout(sansBoldFont, label, 12);
    double w = std::max(26.0, t.width() + 16), h = 24;
    double cx = x + w / 2;
    Box b{x - 3, y - h / 2 - 3, x + w + 3, y + h / 2 + 5};
    c.fill(b, inside([=](double px, double py) { return sdBox(px, py, cx, y + 3, w / 2, h / 2, 5); }), rgb(0, 0, 0, 0.6f));
    c.fill(b, inside([=](double px, double py) { return sdBox(px, py, cx, y, w / 2, h / 2, 5); }), rgb(120, 124, 150));
    c.fill(b, inside([=](double px, double py) { return sdBox(px, py, cx, y - 1.5, w / 2 - 2.5, h / 2 - 3, 4); }),
           [=](double, double py) { return mix(rgb(250, 250, 255), rgb(200, 204, 222), clamp01(float((py - y + h / 2) / h))); });
    double ty = y - 1.5 + (t.ink.y1 - t.ink.y0) * t.scale / 2 - (t.ink.y1 - t.baseline) * t.scale;
    c.fill(b, placed(t, cx - t.width() / 2, ty), rgb(24, 26, 50));
    return x + w;
}

// Two columns of four keys, each with what it does.
void keysPanel(Canvas& c) {
    const double x0 = 130, x1 = 510, y0 = 188, y1 = 306;
    auto panel = [=](double x, double y) { return sdBox(x, y, (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2, 12); };
    c.fill(all(), inside(panel), rgb(8, 10, 34, 0.82f));
    c.fill(all(), [=](double x, double y) { return std::fabs(panel(x, y) + 1.5) < 1.2 ? 1.0f : 0.0f; }, rgb(110, 160, 255, 0.9f));

    struct Row {
        std::vector<std::string> keys;
        const char* says;
    };
    const Row rows[] = {
        {{"\xE2\x86\x90", "\xE2\x86\x92"}, "walk"},
        {{"SPACE"}, "start"},
        {{"P"}, "pause"},
        {{"M"}, "sound"},
        {{"F1"}, "screen"},
        {{"F2", "F3"}, "mirror"},
        {{"K"}, "keys"},
        {{"ESC"}, "quit"},
    };
    const double first = y0 + 22, step = 24.5;
    for (int i = 0; i < 8; ++i) {
        // Keys right-aligned against their column's text.
        const double keysRight = i < 4 ? 232 : 392, textLeft = keysRight + 16;
        double y = first + (i % 4) * step;
        std::vector<double> widths;
        double total = 0;
        for (const std::string& k : rows[i].keys) {
            Text t = layout(sansBoldFont, k, 12);
            widths.push_back(std::max(26.0, t.width() + 16));
            total += widths.back();
        }
        total += 6 * (rows[i].keys.size() - 1);
        double x = keysRight - total;
        for (const std::string& k : rows[i].keys) x = keyCap(c, k, x, y) + 6;
        Text says = layout(sansBoldFont, rows[i].says, 13);
        c.fill(all(), placed(says, textLeft, y + 6.5), rgb(230, 236, 255));
    }
}

}  // namespace

void addTitle(Pictures& out) {
    Canvas c(1024, 512, screenW, screenH);
    sky(c);

    // Threads first, floors over their ends, then what hangs on them.
    thread(c, 40, 0, 342);
    thread(c, 104, 0, 342);
    thread(c, 536, 0, 342);
    thread(c, 602, 0, 342);
    ladder(c, 176, 344, 424);
    ladder(c, 430, 344, 424);
    floorBeam(c, -4, 214, 340);
    floorBeam(c, 426, 644, 340);
    floorBeam(c, -4, 644, 420);
    c.fill(Box{0, 440, screenW, screenH}, [](double, double) { return 1.0f; }, [](double, double y) {
        return mix(rgb(20, 8, 30), rgb(6, 2, 12), clamp01(float((y - 440) / 40)));
    });

    drawEnemy(c, Enemy::spider, 40, 236, 52);
    drawEnemy(c, Enemy::eye, 104, 292, 46);
    drawEnemy(c, Enemy::blob, 536, 280, 50);
    drawEnemy(c, Enemy::urchin, 602, 220, 50);
    drawCoin(c, 70, 322, 28);
    drawCoin(c, 120, 322, 28);
    drawGem(c, 560, 318, 34, 0.3, 0.7);
    drawGem(c, 360, 398, 34, 0.6, 0.4);
    drawPlayerBlocks(c, 280, 420 - 25 * 3.0, 3.0);

    titleName(c);
    keysPanel(c);
    // Quality 80: its flat fills and sharp outlines look the same as at 92
    // in the 640 x 480 window (only doubled up do the letters' bright bands
    // show a faint block), at two thirds of the bytes the page downloads.
    out.push_back(Picture{"vantreltitle.jpg", c, 3, 80, Picture::Show::opaque, screenW, screenH});
}

}  // namespace art
