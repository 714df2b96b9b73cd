#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour rgb(int r, int g, int b, float a) { return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Colour mix(const Colour& x, const Colour& y, float t) {
    return Colour{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Colour withAlpha(Colour c, float a) {
    c.a = a;
    return c;
}

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float smoothstep(float edge0, float edge1, float x) {
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Canvas::Canvas(int w, int h, double designWidth, double designHeight)
    : width(w), height(h), scaleX(w / designWidth), scaleY(h / designHeight), px(size_t(w) * h * 4, 0.0f) {}

void Canvas::blendPixel(int x, int y, const Colour& c) {
    if (x < 0 || y < 0 || x >= width || y >= height || c.a <= 0) return;
    float* p = &px[(size_t(y) * width + x) * 4];
    float a = clamp01(c.a), keep = 1 - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Canvas::setPixel(int x, int y, const Colour& c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    float* p = &px[(size_t(y) * width + x) * 4];
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
}

Colour Canvas::pixel(int x, int y) const {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    const float* p = &px[(size_t(y) * width + x) * 4];
    if (p[3] <= 0) return Colour{0, 0, 0, 0};
    return Colour{p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::fill(const Box& bounds, const Shape& shape, const Paint& paint, int samples) {
    int x0 = std::max(0, int(std::floor(bounds.x0 * scaleX)));
    int y0 = std::max(0, int(std::floor(bounds.y0 * scaleY)));
    int x1 = std::min(width, int(std::ceil(bounds.x1 * scaleX)));
    int y1 = std::min(height, int(std::ceil(bounds.y1 * scaleY)));
    double step = 1.0 / samples;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float cover = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    cover += shape((x + (sx + 0.5) * step) / scaleX, (y + (sy + 0.5) * step) / scaleY);
            cover /= float(samples * samples);
            if (cover <= 0) continue;
            Colour c = paint((x + 0.5) / scaleX, (y + 0.5) / scaleY);
            c.a *= cover;
            blendPixel(x, y, c);
        }
    }
}

void Canvas::fill(const Box& bounds, const Shape& shape, const Colour& colour, int samples) {
    fill(bounds, shape, [colour](double, double) { return colour; }, samples);
}

void Canvas::clear(const Colour& colour) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setPixel(x, y, colour);
}

void Canvas::clear(const Paint& paint) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setPixel(x, y, paint((x + 0.5) / scaleX, (y + 0.5) / scaleY));
}

void Canvas::draw(const Canvas& other, double x, double y, double w, double h, bool smooth, bool mirror,
                  const Box* source) {
    Box src = source ? *source : Box{0, 0, double(other.width), double(other.height)};
    int px0 = std::max(0, int(std::floor(x * scaleX))), py0 = std::max(0, int(std::floor(y * scaleY)));
    int px1 = std::min(width, int(std::ceil((x + w) * scaleX)));
    int py1 = std::min(height, int(std::ceil((y + h) * scaleY)));
    for (int ty = py0; ty < py1; ++ty) {
        for (int tx = px0; tx < px1; ++tx) {
            // Where this pixel's centre falls in the other canvas, in its pixels.
            double fu = ((tx + 0.5) / scaleX - x) / w, fv = ((ty + 0.5) / scaleY - y) / h;
            if (fu < 0 || fv < 0 || fu >= 1 || fv >= 1) continue;
            if (mirror) fu = 1 - fu;
            double u = src.x0 + fu * (src.x1 - src.x0), v = src.y0 + fv * (src.y1 - src.y0);
            float c[4] = {0, 0, 0, 0};
            if (smooth) {
                double fu = u - 0.5, fv = v - 0.5;
                int iu = int(std::floor(fu)), iv = int(std::floor(fv));
                float du = float(fu - iu), dv = float(fv - iv);
                for (int k = 0; k < 4; ++k) {
                    int su = std::clamp(iu + (k & 1), 0, other.width - 1);
                    int sv = std::clamp(iv + (k >> 1), 0, other.height - 1);
                    float wgt = ((k & 1) ? du : 1 - du) * ((k >> 1) ? dv : 1 - dv);
                    const float* p = &other.px[(size_t(sv) * other.width + su) * 4];
                    for (int i = 0; i < 4; ++i) c[i] += p[i] * wgt;
                }
            } else {
                int su = std::clamp(int(u), 0, other.width - 1), sv = std::clamp(int(v), 0, other.height - 1);
                const float* p = &other.px[(size_t(sv) * other.width + su) * 4];
                for (int i = 0; i < 4; ++i) c[i] = p[i];
            }
            if (c[3] <= 0) continue;
            blendPixel(tx, ty, Colour{c[0] / c[3], c[1] / c[3], c[2] / c[3], c[3]});
        }
    }
}

namespace {

// The game filters textures smoothly, which mixes the colour of clear pixels
// into the edges of what is drawn. Clear pixels next to drawn ones take the
// average colour of their drawn neighbours (a few pixels deep), so edges keep
// their own colour instead of darkening toward black. Alpha is not touched.
void bleedIntoClear(std::vector<uint8_t>& rgba, int width, int height) {
    std::vector<uint8_t> filled(size_t(width) * height);
    for (size_t i = 0; i < filled.size(); ++i) filled[i] = rgba[i * 4 + 3] > 0;
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<uint8_t> next = filled;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                size_t i = size_t(y) * width + x;
                if (filled[i]) continue;
                int sum[3] = {0, 0, 0}, n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                        size_t j = size_t(ny) * width + nx;
                        if (!filled[j]) continue;
                        for (int k = 0; k < 3; ++k) sum[k] += rgba[j * 4 + k];
                        ++n;
                    }
                if (n == 0) continue;
                for (int k = 0; k < 3; ++k) rgba[i * 4 + k] = uint8_t((sum[k] + n / 2) / n);
                next[i] = 1;
            }
        filled = next;
    }
}

}  // namespace

std::vector<uint8_t> Canvas::bytes(int channels) const {
    std::vector<uint8_t> out(size_t(width) * height * channels);
    auto q = [](float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        const float* p = &px[i * 4];
        float a = p[3];
        float r = a > 0 ? p[0] / a : 0, g = a > 0 ? p[1] / a : 0, b = a > 0 ? p[2] / a : 0;
        if (channels == 3) {  // flattened onto black
            r *= a;
            g *= a;
            b *= a;
        }
        uint8_t* o = &out[i * channels];
        o[0] = q(r);
        o[1] = q(g);
        o[2] = q(b);
        if (channels == 4) o[3] = q(a);
    }
    if (channels == 4) bleedIntoClear(out, width, height);
    return out;
}

double sdCircle(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) - r; }

double sdEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    // Not a true distance, but exact on the edge and close near it.
    return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1) * std::min(rx, ry);
}

double sdBox(double x, double y, double cx, double cy, double hw, double hh, double radius) {
    double dx = std::fabs(x - cx) - hw + radius, dy = std::fabs(y - cy) - hh + radius;
    double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
    return outside + std::min(std::max(dx, dy), 0.0) - radius;
}

double sdSegment(double x, double y, double ax, double ay, double bx, double by, double r) {
    double px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
    double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(px - vx * t, py - vy * t) - r;
}

double sdPolygon(double x, double y, const std::vector<double>& xy) {
    size_t n = xy.size() / 2;
    double best = 1e30;
    bool in = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        best = std::min(best, sdSegment(x, y, xj, yj, xi, yi, 0));
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in ? -best : best;
}

Shape inside(std::function<double(double, double)> sdf, double grow) {
    return [sdf, grow](double x, double y) { return sdf(x, y) <= grow ? 1.0f : 0.0f; };
}

float Mask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return a[size_t(y) * width + x];
}

float Mask::sample(double x, double y) const {
    double fx = x - 0.5, fy = y - 0.5;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    float dx = float(fx - ix), dy = float(fy - iy);
    return at(ix, iy) * (1 - dx) * (1 - dy) + at(ix + 1, iy) * dx * (1 - dy) + at(ix, iy + 1) * (1 - dx) * dy +
           at(ix + 1, iy + 1) * dx * dy;
}

Mask Mask::dilated(int radius) const {
    Mask out;
    out.width = width + 2 * radius;
    out.height = height + 2 * radius;
    out.a.assign(size_t(out.width) * out.height, 0.0f);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            float best = 0;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy > radius * radius) continue;
                    best = std::max(best, at(x - radius + dx, y - radius + dy));
                }
            out.a[size_t(y) * out.width + x] = best;
        }
    return out;
}

Ink inkOf(const Mask& m) {
    Ink ink{m.width, m.height, 0, 0};
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (m.at(x, y) > 0.02f) {
                ink.x0 = std::min(ink.x0, x);
                ink.y0 = std::min(ink.y0, y);
                ink.x1 = std::max(ink.x1, x + 1);
                ink.y1 = std::max(ink.y1, y + 1);
            }
    return ink;
}

Shape maskShape(const Mask& mask, double x, double y, double scaleX, double scaleY) {
    const Mask* m = &mask;
    return [m, x, y, scaleX, scaleY](double px, double py) {
        return m->sample((px - x) / scaleX, (py - y) / scaleY);
    };
}

Random::Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}

uint32_t Random::next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return uint32_t(state >> 32);
}

double Random::uniform() { return next() / 4294967296.0; }

double Random::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

namespace {

double hashToUnit(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return h / 4294967296.0;
}

}  // namespace

double valueNoise(double x, double y, uint32_t seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = x - ix, fy = y - iy;
    double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    double a = hashToUnit(ix, iy, seed), b = hashToUnit(ix + 1, iy, seed);
    double c = hashToUnit(ix, iy + 1, seed), d = hashToUnit(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double fbm(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + uint32_t(i) * 101u) * amp;
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

}  // namespace art
