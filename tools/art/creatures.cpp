// Enemies that hang on threads, and the bonus items.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pictures.h"

namespace art {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double spriteW = 100, spriteH = 120;

Box around(double cx, double cy, double r) { return Box{cx - r, cy - r, cx + r, cy + r}; }

using Sdf = std::function<double(double, double)>;

// A filled shape with a dark rim of the given width.
void outlined(Canvas& c, const Box& b, const Sdf& sdf, double rim, const Colour& rimColour, const Paint& paint) {
    c.fill(b, inside(sdf, rim), rimColour);
    c.fill(b, inside(sdf), paint);
}

// Light from the upper left: a ball's colour at a point.
Paint ball(double cx, double cy, double r, Colour lit, Colour dark) {
    return [=](double x, double y) {
        double d = std::hypot(x - (cx - 0.35 * r), y - (cy - 0.4 * r)) / (1.5 * r);
        return mix(lit, dark, clamp01(float(d)));
    };
}

void shine(Canvas& c, double x, double y, double rx, double ry, float a = 0.9f) {
    c.fill(around(x, y, std::max(rx, ry) + 1), inside([=](double px, double py) { return sdEllipse(px, py, x, y, rx, ry); }),
           rgb(255, 255, 255, a));
}

// A pair of eyes looking a little down, at the player below.
void eyes(Canvas& c, double cx, double cy, double spread, double r, Colour pupil) {
    for (double side : {-1.0, 1.0}) {
        double x = cx + side * spread;
        outlined(c, around(x, cy, r * 1.4), [=](double px, double py) { return sdCircle(px, py, x, cy, r); }, r * 0.18,
                 rgb(10, 10, 20), [](double, double) { return rgb(255, 255, 255); });
        c.fill(around(x, cy, r), inside([=](double px, double py) { return sdCircle(px, py, x + side * 0.1 * r, cy + 0.25 * r, r * 0.55); }),
               pupil);
        shine(c, x - 0.3 * r, cy - 0.3 * r, 0.2 * r, 0.2 * r, 1.0f);
    }
}

void spider(Canvas& c, double cx, double cy, double u) {
    const Colour rim = rgb(16, 6, 24);
    // Four legs a side, each in two bent pieces.
    for (int i = 0; i < 4; ++i) {
        for (double side : {-1.0, 1.0}) {
            double a = (-0.55 + 0.42 * i);
            double kx = cx + side * (22 + 6 * std::cos(a)) * u, ky = cy + (a * 26 - 10) * u;
            double fx = cx + side * (44 - 4 * std::fabs(i - 1.5)) * u, fy = cy + (a * 34 + 8) * u;
            Sdf leg = [=](double x, double y) {
                return std::min(sdSegment(x, y, cx, cy, kx, ky, 3.2 * u), sdSegment(x, y, kx, ky, fx, fy, 2.6 * u));
            };
            outlined(c, Box{cx - 50 * u, cy - 50 * u, cx + 50 * u, cy + 50 * u}, leg, 2.5 * u, rim,
                     [=](double, double) { return rgb(130, 60, 200); });
        }
    }
    Sdf body = [=](double x, double y) {
        return std::min(sdEllipse(x, y, cx, cy + 8 * u, 22 * u, 24 * u), sdCircle(x, y, cx, cy - 16 * u, 16 * u));
    };
    outlined(c, around(cx, cy, 40 * u), body, 3 * u, rim, ball(cx, cy, 26 * u, rgb(220, 140, 255), rgb(90, 30, 150)));
    // A mark on the back and the eyes on the head.
    c.fill(around(cx, cy + 12 * u, 12 * u),
           inside([=](double x, double y) { return sdPolygon(x, y, {cx, cy + 2 * u, cx + 7 * u, cy + 12 * u, cx, cy + 24 * u, cx - 7 * u, cy + 12 * u}); }),
           rgb(255, 60, 60));
    eyes(c, cx, cy - 17 * u, 7.5 * u, 7 * u, rgb(200, 0, 30));
}

void blob(Canvas& c, double cx, double cy, double u) {
    const Colour rim = rgb(6, 40, 20);
    Sdf body = [=](double x, double y) {
        // A drop: round below, drawn to a point where it holds the thread,
        // with a wobbly hem of drips.
        double b = sdEllipse(x, y, cx, cy + 8 * u, 36 * u, 30 * u);
        double top = sdPolygon(x, y, {cx, cy - 42 * u, cx + 26 * u, cy - 4 * u, cx - 26 * u, cy - 4 * u});
        double d = std::min(b, top);
        for (double dx : {-22.0, -4.0, 16.0}) d = std::min(d, sdSegment(x, y, cx + dx * u, cy + 30 * u, cx + dx * u, cy + (40 + dx * 0.2) * u, 6 * u));
        return d;
    };
    outlined(c, around(cx, cy, 50 * u), body, 3.5 * u, rim, ball(cx, cy + 4 * u, 34 * u, rgb(170, 255, 150), rgb(20, 150, 60)));
    shine(c, cx - 16 * u, cy - 4 * u, 7 * u, 5 * u, 0.8f);
    shine(c, cx - 6 * u, cy - 24 * u, 3 * u, 4 * u, 0.7f);
    eyes(c, cx + 2 * u, cy + 6 * u, 11 * u, 8 * u, rgb(20, 20, 40));
    // A little open mouth.
    c.fill(around(cx, cy + 24 * u, 8 * u), inside([=](double x, double y) { return sdEllipse(x, y, cx + 2 * u, cy + 24 * u, 6 * u, 3.5 * u); }),
           rgb(60, 0, 20));
}

void eyeball(Canvas& c, double cx, double cy, double u) {
    const double r = 40 * u;
    outlined(c, around(cx, cy, r + 5 * u), [=](double x, double y) { return sdCircle(x, y, cx, cy, r); }, 3.5 * u, rgb(40, 0, 10),
             ball(cx, cy, r, rgb(255, 255, 255), rgb(200, 170, 180)));
    // Veins from the rim toward the iris.
    Random random(31);
    for (int i = 0; i < 7; ++i) {
        double a = random.range(0, 2 * pi), a2 = a + random.range(-0.4, 0.4);
        double x0 = cx + std::cos(a) * r * 0.95, y0 = cy + std::sin(a) * r * 0.95;
        double x1 = cx + std::cos(a2) * r * 0.55, y1 = cy + std::sin(a2) * r * 0.55;
        c.fill(around(cx, cy, r), inside([=](double x, double y) { return sdSegment(x, y, x0, y0, x1, y1, 1.6 * u); }),
               rgb(220, 30, 40, 0.8f));
    }
    const double ix = cx + 4 * u, iy = cy + 8 * u;
    c.fill(around(ix, iy, 22 * u), inside([=](double x, double y) { return sdCircle(x, y, ix, iy, 20 * u); }), [=](double x, double y) {
        double d = std::hypot(x - ix, y - iy) / (20 * u);
        double rays = 0.5 + 0.5 * std::sin(std::atan2(y - iy, x - ix) * 14);
        return mix(rgb(80, 220, 255), rgb(10, 70, 170), clamp01(float(d * 0.9 + rays * 0.2)));
    });
    c.fill(around(ix, iy, 12 * u), inside([=](double x, double y) { return sdCircle(x, y, ix, iy, 9 * u); }), rgb(5, 5, 15));
    shine(c, ix - 7 * u, iy - 8 * u, 5 * u, 4 * u, 1.0f);
    shine(c, cx - 20 * u, cy - 22 * u, 8 * u, 5 * u, 0.7f);
}

void urchin(Canvas& c, double cx, double cy, double u) {
    const Colour rim = rgb(50, 10, 0);
    Sdf body = [=](double x, double y) {
        double a = std::atan2(y - cy, x - cx), d = std::hypot(x - cx, y - cy);
        // Twelve spikes: the radius rises to a point at each.
        double phase = std::fabs(std::fmod(a / (2 * pi) * 12 + 120.5, 1.0) - 0.5) * 2;
        double radius = (26 + 18 * std::pow(1 - phase, 2.2)) * u;
        return d - radius;
    };
    outlined(c, around(cx, cy, 50 * u), body, 3 * u, rim, ball(cx, cy, 34 * u, rgb(255, 210, 90), rgb(220, 60, 10)));
    // Angry brows over the eyes.
    eyes(c, cx, cy + 2 * u, 10 * u, 7.5 * u, rgb(30, 0, 0));
    for (double side : {-1.0, 1.0})
        c.fill(around(cx, cy - 8 * u, 20 * u),
               inside([=](double x, double y) { return sdSegment(x, y, cx + side * 3 * u, cy - 4 * u, cx + side * 17 * u, cy - 10 * u, 2.6 * u); }),
               rim);
    c.fill(around(cx, cy + 16 * u, 8 * u), inside([=](double x, double y) { return sdBox(x, y, cx, cy + 17 * u, 7 * u, 2 * u, 2 * u); }),
           rim);
}

}  // namespace

void drawEnemy(Canvas& c, Enemy kind, double cx, double cy, double size) {
    double u = size / 100;
    switch (kind) {
    case Enemy::spider: spider(c, cx, cy, u); break;
    case Enemy::blob: blob(c, cx, cy, u); break;
    case Enemy::eye: eyeball(c, cx, cy, u); break;
    case Enemy::urchin: urchin(c, cx, cy, u); break;
    }
}

// Opaque squares, black like the play area, with the game's red thread
// drawn behind the creature where the game draws it: 2 units wide from the
// square's middle to the right, an eighth of the width of a 16-unit enemy.
// So the thread runs on unbroken through the square.
void addEnemies(Pictures& out) {
    const Enemy kinds[] = {Enemy::spider, Enemy::blob, Enemy::eye, Enemy::urchin};
    const double threadHalf = spriteW / 16, threadMiddle = spriteW / 2 + threadHalf;
    int n = 0;
    for (Enemy kind : kinds) {
        Canvas c(32, 32, spriteW, spriteH);
        c.clear(rgb(0, 0, 0));
        c.fill(Box{0, 0, spriteW, spriteH}, inside([=](double x, double) { return std::fabs(x - threadMiddle) - threadHalf; }),
               rgb(255, 0, 0));
        drawEnemy(c, kind, spriteW / 2, spriteH / 2, 96);
        char name[32];
        std::snprintf(name, sizeof name, "enemy%d.tga", ++n);
        out.push_back(Picture{name, c, 3, 0, Picture::Show::opaque, 40, 48});
    }
}

// A cut stone seen from the side, turning about its upright axis: eight
// facets around, so turning by one facet brings back the first picture.
void drawGem(Canvas& c, double cx, double cy, double size, double turn, double sparkle) {
    const double s = size;
    const double tableY = cy - 0.30 * s, girdleY = cy - 0.06 * s, culetY = cy + 0.42 * s;
    const double tableHalf = 0.24 * s, girdleHalf = 0.44 * s;
    Sdf outline = [=](double x, double y) {
        return sdPolygon(x, y, {cx - tableHalf, tableY, cx + tableHalf, tableY, cx + girdleHalf, girdleY, cx, culetY, cx - girdleHalf, girdleY});
    };
    const int facets = 8;
    Paint facetPaint = [=](double x, double y) {
        bool crown = y < girdleY;
        double half = crown ? tableHalf + (girdleHalf - tableHalf) * (y - tableY) / (girdleY - tableY)
                            : girdleHalf * (culetY - y) / (culetY - girdleY);
        double sx = std::clamp((x - cx) / std::max(half, 1e-6), -1.0, 1.0);
        double angle = std::asin(sx) / (2 * pi) * facets + turn;  // in facets
        double index = std::floor(angle);
        double centre = (index + 0.5 - turn) * 2 * pi / facets;  // the facet's direction
        double light = 0.5 + 0.5 * std::cos(centre + 0.6);      // lit from the left
        if (!crown) light = 1 - light * 0.8;
        float v = float(crown ? 0.35 + 0.65 * light : 0.15 + 0.55 * light);
        return mix(rgb(10, 50, 150), rgb(170, 240, 255), v);
    };
    outlined(c, around(cx, cy, 0.55 * s), outline, 0.04 * s, rgb(0, 20, 70), facetPaint);
    // The flat top, seen a little from above, and the girdle's edge.
    c.fill(around(cx, tableY, 0.3 * s), inside([=](double x, double y) { return sdEllipse(x, y, cx, tableY + 0.015 * s, tableHalf * 0.92, 0.035 * s); }),
           rgb(225, 250, 255, 0.9f));
    c.fill(around(cx, girdleY, 0.5 * s), inside([=](double x, double y) { return std::fabs(y - girdleY) - 0.01 * s + 0 * x; }),
           rgb(255, 255, 255, 0.35f));
    if (sparkle > 0) {
        // A four-pointed twinkle on the upper left facet.
        double sx = cx - 0.16 * s, sy = cy - 0.17 * s, r = 0.3 * s * sparkle;
        Sdf star = [=](double x, double y) {
            double dx = std::fabs(x - sx), dy = std::fabs(y - sy);
            return std::min(std::max(dx * 6, dy) - r, std::max(dx, dy * 6) - r);
        };
        c.fill(around(sx, sy, r + 1), inside(star), rgb(255, 255, 255, 0.95f));
        c.fill(around(sx, sy, r), inside([=](double x, double y) { return sdCircle(x, y, sx, sy, 0.09 * s * sparkle); }),
               rgb(255, 255, 255));
    }
}

void drawCoin(Canvas& c, double cx, double cy, double size) {
    const double r = 0.45 * size;
    const Colour rim = rgb(90, 50, 0);
    outlined(c, around(cx, cy, r + 4), [=](double x, double y) { return sdCircle(x, y, cx, cy, r); }, 0.05 * size, rim,
             ball(cx, cy, r, rgb(255, 240, 140), rgb(200, 120, 10)));
    // The raised rim, then a star struck in the middle.
    c.fill(around(cx, cy, r), [=](double x, double y) {
        double d = std::fabs(sdCircle(x, y, cx, cy, r * 0.78));
        return d < 0.025 * size ? 1.0f : 0.0f;
    }, rgb(170, 100, 0, 0.9f));
    std::vector<double> starPoints;
    for (int i = 0; i < 10; ++i) {
        double a = -pi / 2 + i * pi / 5, rr = (i % 2 ? 0.2 : 0.48) * r;
        starPoints.push_back(cx + std::cos(a) * rr);
        starPoints.push_back(cy + std::sin(a) * rr);
    }
    c.fill(around(cx + 2, cy + 2, r), inside([=](double x, double y) { return sdPolygon(x - 0.03 * size, y - 0.03 * size, starPoints); }),
           rgb(150, 80, 0, 0.8f));
    c.fill(around(cx, cy, r), inside([=](double x, double y) { return sdPolygon(x, y, starPoints); }), rgb(255, 250, 200));
    shine(c, cx - 0.5 * r, cy - 0.55 * r, 0.14 * r, 0.09 * r, 0.9f);
}

namespace {

void cherries(Canvas& c, double cx, double cy, double size) {
    const double s = size;
    struct Berry {
        double x, y;
    };
    const Berry berries[2] = {{cx - 0.2 * s, cy + 0.2 * s}, {cx + 0.2 * s, cy + 0.25 * s}};
    const double r = 0.2 * s, topX = cx + 0.06 * s, topY = cy - 0.36 * s;
    // Stems: curves from each berry up to where they join.
    for (const Berry& b : berries) {
        Sdf stem = [=](double x, double y) {
            double best = 1e9;
            double px = b.x, py = b.y - r * 0.8;
            for (int i = 1; i <= 16; ++i) {
                double t = i / 16.0;
                double mx = (b.x + topX) / 2 + (b.x < cx ? -0.08 : 0.08) * s, my = (b.y + topY) / 2 - 0.04 * s;
                double qx = (1 - t) * (1 - t) * b.x + 2 * (1 - t) * t * mx + t * t * topX;
                double qy = (1 - t) * (1 - t) * (b.y - r * 0.8) + 2 * (1 - t) * t * my + t * t * topY;
                best = std::min(best, sdSegment(x, y, px, py, qx, qy, 0.025 * s));
                px = qx;
                py = qy;
            }
            return best;
        };
        outlined(c, Box{cx - 0.6 * s, cy - 0.6 * s, cx + 0.6 * s, cy + 0.6 * s}, stem, 0.025 * s, rgb(30, 30, 0),
                 [](double, double) { return rgb(120, 170, 40); });
    }
    // A leaf where the stems meet.
    Sdf leaf = [=](double x, double y) {
        double a = -0.5, dx = x - (topX + 0.16 * s), dy = y - (topY + 0.02 * s);
        double rx = dx * std::cos(a) + dy * std::sin(a), ry = -dx * std::sin(a) + dy * std::cos(a);
        return sdEllipse(rx, ry, 0, 0, 0.17 * s, 0.07 * s);
    };
    outlined(c, around(topX, topY, 0.4 * s), leaf, 0.025 * s, rgb(10, 50, 10), ball(topX + 0.16 * s, topY, 0.15 * s, rgb(140, 230, 80), rgb(30, 120, 30)));
    for (const Berry& b : berries) {
        outlined(c, around(b.x, b.y, r + 4), [=](double x, double y) { return sdCircle(x, y, b.x, b.y, r); }, 0.035 * s, rgb(60, 0, 10),
                 ball(b.x, b.y, r, rgb(255, 90, 90), rgb(150, 0, 20)));
        shine(c, b.x - 0.35 * r, b.y - 0.4 * r, 0.2 * r, 0.14 * r, 0.9f);
    }
}

}  // namespace

// Items are shown 12 x 12 world units and blended: transparent around them.
void addItems(Pictures& out) {
    constexpr int frames = 8;
    for (int f = 0; f < frames; ++f) {
        Canvas c(32, 32, spriteW, spriteH);
        double sparkle = 0.3 + 0.4 * std::sin(pi * f / frames);
        drawGem(c, spriteW / 2, spriteH / 2 + 2, 92, double(f) / frames, sparkle);
        char name[32];
        std::snprintf(name, sizeof name, "gem%02d.tga", f + 1);
        out.push_back(Picture{name, c, 4, 0, Picture::Show::plain, 24, 28.8});
    }
    Canvas coin(32, 32, spriteW, spriteH);
    drawCoin(coin, spriteW / 2, spriteH / 2, 96);
    out.push_back(Picture{"coin.tga", coin, 4, 0, Picture::Show::plain, 24, 28.8});
    Canvas cherry(32, 32, spriteW, spriteH);
    cherries(cherry, spriteW / 2, spriteH / 2, 100);
    out.push_back(Picture{"cherry.tga", cherry, 4, 0, Picture::Show::plain, 24, 28.8});
}

}  // namespace art
