// A picture being drawn: floating-point colour with premultiplied alpha, and
// the few ways the pictures are drawn into it.
//
// Shapes are drawn in "design" units, which a canvas maps onto its pixels
// with a scale per axis. Each picture's design units are the screen pixels it
// will cover in the 640 x 480 window, so a circle drawn in design units comes
// out round on screen although the texture is stretched unevenly.
//
// Everything here is plain arithmetic in a fixed order, and the only
// randomness is the seeded generator below: the same program run twice draws
// the same bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace art {

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied), 0..1
};

Colour rgb(int r, int g, int b, float a = 1.0f);
Colour mix(const Colour& x, const Colour& y, float t);
Colour withAlpha(Colour c, float a);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

struct Box {
    double x0, y0, x1, y1;  // design units; x1, y1 excluded
};

// How much of a shape covers a point: 0 outside, 1 inside, in between on
// soft edges (text masks).
using Shape = std::function<float(double x, double y)>;
// The colour a shape is filled with at a point.
using Paint = std::function<Colour(double x, double y)>;

class Canvas {
public:
    Canvas(int width, int height, double designWidth, double designHeight);

    int width, height;
    double scaleX, scaleY;  // pixels per design unit
    std::vector<float> px;  // r, g, b, a premultiplied, rows top to bottom

    // Fills a shape, sampling each pixel samples x samples times.
    void fill(const Box& bounds, const Shape& shape, const Paint& paint, int samples = 4);
    void fill(const Box& bounds, const Shape& shape, const Colour& colour, int samples = 4);
    // Paints every pixel, replacing what was there.
    void clear(const Colour& colour);
    void clear(const Paint& paint);
    // Composites a pixel over what is there (pixel coordinates).
    void blendPixel(int x, int y, const Colour& c);
    void setPixel(int x, int y, const Colour& c);
    Colour pixel(int x, int y) const;  // straight alpha
    // Draws another canvas (or the part of it in source, in its pixels) over
    // this one, its top-left corner at (x, y) in design units and its size
    // (w, h) design units, sampled nearest or smoothly, mirrored left to
    // right on request.
    void draw(const Canvas& other, double x, double y, double w, double h, bool smooth, bool mirror = false,
              const Box* source = nullptr);
    // 8-bit colour: 3 or 4 bytes a pixel in R, G, B(, A) order, rows from the
    // top. Alpha is straightened; colour under zero alpha is black.
    std::vector<uint8_t> bytes(int channels) const;
};

// Shapes, in design units. Signed distance functions give the edges; the
// shape functions turn them into coverage.
double sdCircle(double x, double y, double cx, double cy, double r);
double sdEllipse(double x, double y, double cx, double cy, double rx, double ry);
double sdBox(double x, double y, double cx, double cy, double hw, double hh, double radius = 0);
double sdSegment(double x, double y, double ax, double ay, double bx, double by, double r);
double sdPolygon(double x, double y, const std::vector<double>& xy);  // x0,y0,x1,y1,...

Shape inside(std::function<double(double, double)> sdf, double grow = 0);

// A grey mask (text, glyphs) placed in design units: its pixel (0, 0) at
// (x, y), each mask pixel maskScaleX x maskScaleY design units.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> a;
    float at(int x, int y) const;
    float sample(double x, double y) const;  // bilinear, mask pixel units
    Mask dilated(int radius) const;          // round pen of this many pixels
};
// The rows and columns of a mask that hold any ink; x1, y1 excluded.
struct Ink {
    int x0, y0, x1, y1;
};
Ink inkOf(const Mask& m);

Shape maskShape(const Mask& mask, double x, double y, double scaleX, double scaleY);

// Deterministic pseudo-random numbers (xorshift) and smooth value noise.
class Random {
public:
    explicit Random(uint64_t seed);
    uint32_t next();
    double uniform();  // [0, 1)
    double range(double lo, double hi);

private:
    uint64_t state;
};
double valueNoise(double x, double y, uint32_t seed);
double fbm(double x, double y, uint32_t seed, int octaves);

}  // namespace art
