// The font sheet, the stair, the lives icon, the explosion and GAME OVER.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "output.h"
#include "pictures.h"
#include "text.h"

namespace art {

namespace {

constexpr double pi = 3.14159265358979323846;

// Sprites shown on a square of world units cover 1 : 1.2 of the screen;
// they are designed in 100 x 120 units so that circles come out round.
constexpr double spriteW = 100, spriteH = 120;

Box whole(const Canvas& c) { return Box{0, 0, c.width / c.scaleX, c.height / c.scaleY}; }

}  // namespace

// 16 x 16 cells of 16 pixels, character c in column c % 16 and row c / 16.
// Each glyph is drawn four times larger and averaged down, widened a little so
// that it fills more of its cell, baseline on the cell's row 12.
void addFont(Pictures& out) {
    Canvas c(256, 256, 256, 256);
    c.clear(rgb(0, 0, 0));
    constexpr int detail = 4, cell = 16;
    constexpr double widen = 1.25, baselineRow = 12.25;
    for (uint32_t code = 33; code <= 126; ++code) {
        int baseline = 0;
        Mask glyph = renderGlyph(monoBoldFont, 15 * detail, code, &baseline);
        double cellX = double(code % 16) * cell, cellY = double(code / 16) * cell;
        double scaleX = widen / detail, scaleY = 1.0 / detail;
        double x = cellX + cell / 2.0 - glyph.width * scaleX / 2.0;
        double y = cellY + baselineRow - baseline * scaleY;
        Shape shape = maskShape(glyph, x, y, scaleX, scaleY);
        // Clipped to its own cell: nothing may spill into a neighbour.
        Shape clipped = [=](double px, double py) {
            return px >= cellX && px < cellX + cell && py >= cellY && py < cellY + cell ? std::min(1.0f, shape(px, py) * 1.15f)
                                                                                      : 0.0f;
        };
        Paint shade = [=](double, double py) {
            return mix(rgb(255, 255, 255), rgb(206, 212, 222), clamp01(float((py - cellY - 2) / 12)));
        };
        c.fill(Box{cellX, cellY, cellX + cell, cellY + cell}, clipped, shade, 4);
    }
    out.push_back(Picture{"fontgray.jpg", c, 3, 95, Picture::Show::opaque, 512, 512});
}

// A ladder stretched over each stair zone (20 x 32 world units, 40 x 77
// pixels) and tinted green by the game: drawn in greys, light rails and rungs
// on a mid-grey wall.
void addStair(Pictures& out) {
    constexpr double w = 40, h = 76.8;
    Canvas c(32, 64, w, h);
    c.clear([](double x, double y) {
        float n = float(fbm(x * 0.25, y * 0.12, 7, 3));
        float v = 0.36f + 0.10f * n;
        // Mortar lines of a brick wall behind the ladder.
        double row = std::fmod(y, 9.6);
        double offset = (int(y / 9.6) % 2) * 10.0;
        if (row < 1.2 || std::fmod(x + offset, 20.0) < 1.2) v -= 0.08f;
        return Colour{v, v, v, 1};
    });
    constexpr int rungs = 6;
    const double step = h / rungs;
    for (int i = 0; i < rungs; ++i) {
        double y = step * (i + 0.5);
        // Shadow under the rung, the rung, its lit top edge.
        c.fill(Box{0, y - 4, w, y + 6}, inside([=](double px, double py) { return sdBox(px, py, w / 2, y + 2.6, 14, 2.2, 1); }),
               rgb(30, 30, 30, 0.6f));
        c.fill(Box{0, y - 4, w, y + 6}, inside([=](double px, double py) { return sdBox(px, py, w / 2, y, 14, 2.4, 1); }),
               [=](double, double py) { return mix(rgb(255, 255, 255), rgb(176, 176, 176), clamp01(float((py - y + 2.4) / 4.8))); });
    }
    for (double railX : {6.0, 34.0}) {
        c.fill(Box{railX - 6, 0, railX + 6, h}, inside([=](double px, double py) { return sdBox(px, py, railX + 1.5, h / 2, 3.2, h); }),
               rgb(20, 20, 20, 0.5f));
        c.fill(Box{railX - 6, 0, railX + 6, h}, inside([=](double px, double py) { return sdBox(px, py, railX, h / 2, 3.2, h); }),
               [=](double px, double) {
                   float t = clamp01(float((px - railX + 3.2) / 6.4));
                   return mix(rgb(255, 255, 255), rgb(150, 150, 150), t);
               });
    }
    out.push_back(Picture{"stair.tga", c, 3, 0, Picture::Show::stair, 40, 76.8});
}

namespace {

double sdHeart(double x, double y, double cx, double cy, double s) {
    // Two lobes and the triangle between their outer tangents and the point.
    double r = 0.26 * s, lx = cx - 0.22 * s, rx = cx + 0.22 * s, ly = cy - 0.14 * s;
    double tipY = cy + 0.46 * s;
    double lobes = std::min(sdCircle(x, y, lx, ly, r), sdCircle(x, y, rx, ly, r));
    // The tangent from the tip to the right lobe, mirrored for the left one.
    double dx = rx - cx, dy = ly - tipY, d = std::hypot(dx, dy);
    double a = std::atan2(dy, dx) + std::asin(r / d);  // the outer tangent
    double t = std::sqrt(d * d - r * r);
    double tx = cx + std::cos(a) * t, ty = tipY + std::sin(a) * t;
    double tri = sdPolygon(x, y, {cx, tipY, tx, ty, cx, ly - 0.1 * s, 2 * cx - tx, ty});
    return std::min(lobes, tri);
}

}  // namespace

// A red heart with a dark rim and a shine, on a transparent background.
void addLife(Pictures& out) {
    Canvas c(32, 32, spriteW, spriteH);
    const double cx = 50, cy = 62, s = 92;
    auto heart = [=](double x, double y) { return sdHeart(x, y, cx, cy, s); };
    c.fill(whole(c), inside(heart, 5), rgb(60, 0, 10), 6);
    c.fill(whole(c), inside(heart), [=](double x, double y) {
        float t = clamp01(float((y - (cy - 0.4 * s)) / (0.9 * s)));
        float side = clamp01(float((x - cx + 0.5 * s) / s));
        return mix(rgb(255, 80, 90), rgb(170, 0, 20), clamp01(t * 0.8f + side * 0.3f));
    }, 6);
    c.fill(whole(c), inside([=](double x, double y) { return sdEllipse(x, y, cx - 0.22 * s, cy - 0.2 * s, 0.09 * s, 0.07 * s); }),
           rgb(255, 255, 255, 0.85f), 6);
    out.push_back(Picture{"LIFE.tga", c, 4, 0, Picture::Show::plain, 32, 38.4});
}

namespace {

// Fire colour by heat: smoke, dark red, orange, yellow, white.
Colour fireColour(float heat) {
    static const Colour stops[] = {rgb(40, 36, 36), rgb(120, 20, 10), rgb(230, 80, 10), rgb(255, 180, 30),
                                   rgb(255, 240, 150), rgb(255, 255, 255)};
    heat = clamp01(heat) * 5;
    int i = std::min(4, int(heat));
    return mix(stops[i], stops[i + 1], heat - i);
}

struct Spark {
    double angle, speed, life, size;
};

}  // namespace

// 27 frames at 30 ms: a flash, a fireball that swells, cools to smoke and
// thins away, a ring of shock and sparks flying out. The last frame is clear.
void addExplosion(Pictures& out) {
    constexpr int frames = 27;
    const double cx = 50, cy = 60;
    Random random(2718);
    std::vector<Spark> sparks;
    for (int i = 0; i < 26; ++i)
        sparks.push_back(Spark{random.range(0, 2 * pi), random.range(34, 62), random.range(0.45, 0.85), random.range(2.4, 3.6)});

    for (int f = 0; f < frames; ++f) {
        double t = f / double(frames - 1);
        Canvas c(64, 64, spriteW, spriteH);
        double grow = 1 - std::pow(1 - std::min(1.0, t / 0.45), 3);
        double radius = 10 + 24 * grow + 4 * t;
        float fade = 1 - smoothstep(0.55f, 1.0f, float(t));
        float heatScale = float(1.25 - 1.3 * t);

        c.fill(whole(c), [](double, double) { return 1.0f; }, [=](double x, double y) {
            double dx = x - cx, dy = y - cy, d = std::hypot(dx, dy) / radius;
            double n = fbm(x * 0.07, y * 0.07 + t * 2.5, 11, 4);
            double edge = d + (n - 0.5) * 0.7;
            float density = 1 - smoothstep(0.55f, 1.0f, float(edge));
            // As it burns out the middle clears first, leaving a ring of smoke.
            float hollow = smoothstep(0.35f, 0.95f, float(t)) * (1 - smoothstep(0.1f, 0.8f, float(d)));
            density *= 1 - 0.8f * hollow;
            // Soft at the picture's edges rather than cut off by them.
            density *= 1 - smoothstep(42.0f, 49.0f, float(std::max(std::fabs(dx), std::fabs(dy))));
            float heat = density * heatScale * float(1.1 - 0.6 * d + (n - 0.5) * 0.5);
            Colour col = fireColour(heat);
            col.a = clamp01(density * 1.3f) * fade;
            return col;
        }, 1);

        // The first frames' flash and the shock ring.
        if (t < 0.12) {
            float flash = float(1 - t / 0.12);
            c.fill(whole(c), [](double, double) { return 1.0f; }, [=](double x, double y) {
                double d = std::hypot(x - cx, y - cy);
                return rgb(255, 255, 230, flash * clamp01(float(1 - d / (20 + 60 * t))));
            }, 1);
        }
        if (t > 0.02 && t < 0.35) {
            double ringR = 14 + 150 * t;
            float ringA = float(0.8 * (1 - t / 0.35));
            c.fill(whole(c), [=](double x, double y) {
                double d = std::fabs(std::hypot(x - cx, y - cy) - ringR);
                return d < 3.0 ? float(1 - d / 3.0) : 0.0f;
            }, rgb(255, 230, 180, ringA), 3);
        }
        for (const Spark& s : sparks) {
            if (t > s.life || t < 0.03) continue;
            double reach = s.speed * std::pow(t, 0.6);
            double trail = s.speed * std::pow(std::max(0.0, t - 0.1), 0.6);
            double x = cx + std::cos(s.angle) * reach, y = cy + std::sin(s.angle) * reach + 40 * t * t;
            double tx = cx + std::cos(s.angle) * trail, ty = cy + std::sin(s.angle) * trail + 40 * std::max(0.0, t - 0.1) * std::max(0.0, t - 0.1);
            float life = float(1 - t / s.life);
            Colour col = mix(rgb(255, 120, 30), rgb(255, 250, 200), life);
            col.a = clamp01(life * 1.5f);
            c.fill(whole(c), inside([=](double px, double py) { return sdSegment(px, py, tx, ty, x, y, s.size * (0.5 + 0.5 * life)); }),
                   col, 3);
        }
        char name[32];
        std::snprintf(name, sizeof name, "nuke%02d.tga", f + 1);
        out.push_back(Picture{name, c, 4, 0, Picture::Show::plain, 32, 38.4});
    }
}

// GAME OVER on a dark, half-transparent plate with a glowing rim, shown
// 256 x 64 world units (512 x 154 pixels).
void addGameOver(Pictures& out) {
    constexpr double w = 512, h = 153.6;
    Canvas c(512, 128, w, h);
    auto plate = [=](double x, double y) { return sdBox(x, y, w / 2, h / 2, w / 2 - 10, h / 2 - 10, 26); };
    c.fill(whole(c), inside(plate), [=](double, double y) {
        return mix(rgb(40, 4, 10, 0.78f), rgb(0, 0, 0, 0.78f), clamp01(float(y / h)));
    });
    c.fill(whole(c), [=](double x, double y) {
        double d = std::fabs(plate(x, y) + 3);
        return d < 2.5 ? 1.0f : 0.0f;
    }, rgb(255, 110, 40, 0.95f));

    Mask text = renderText(sansBoldFont, 160, "GAME OVER");
    Ink ink = inkOf(text);
    // The letters fill a box a little taller than the font's own shapes.
    const Box target{42, 30, w - 42, h - 30};
    double sx = (target.x1 - target.x0) / (ink.x1 - ink.x0), sy = (target.y1 - target.y0) / (ink.y1 - ink.y0);
    double ox = target.x0 - ink.x0 * sx, oy = target.y0 - ink.y0 * sy;
    const int rim = 7;
    Mask outline = text.dilated(rim);
    c.fill(whole(c), maskShape(outline, ox - rim * sx + 5, oy - rim * sy + 6, sx, sy), rgb(0, 0, 0, 0.7f));
    c.fill(whole(c), maskShape(outline, ox - rim * sx, oy - rim * sy, sx, sy), rgb(60, 0, 0));
    c.fill(whole(c), maskShape(text, ox, oy, sx, sy), [=](double, double y) {
        float t = clamp01(float((y - target.y0) / (target.y1 - target.y0)));
        if (t < 0.5f) return mix(rgb(255, 246, 140), rgb(255, 150, 20), t * 2);
        return mix(rgb(255, 150, 20), rgb(210, 24, 12), (t - 0.5f) * 2);
    });
    out.push_back(Picture{"gameover.tga", c, 4, 0, Picture::Show::plain, 512, 153.6});
}

}  // namespace art
