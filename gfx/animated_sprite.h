// A textured rectangle showing one picture of a numbered sequence, stepping
// to the next at a fixed interval while playing, alive until its lifetime
// has passed since it was first drawn. Bonus items, the explosion, and the
// title and game-over pictures are sprites.
#pragma once
#include "gfx/texture.h"
#include <cstdint>
#include <memory>

// Lifetime meaning "never expires".
constexpr uint32_t foreverLifetime = 0xFFFFFFFF;
// A sequence longer than this is refused (see AnimatedSprite's constructor).
constexpr int maxSpriteFrames = 1000;

class AnimatedSprite {
public:
    bool playing = true;       // steps through the frames while true; cleared after the last
                               // frame of a sprite that does not loop
    bool looping = false;      // after the last frame, start again at frame 0
    int32_t frameCount = 1;
    int32_t frameIndex = 0;    // the frame to draw
    double x, y, z;            // lower-left corner, world units
    double width, height;      // world units
    double depth;              // kept, not used
    std::unique_ptr<Texture[]> frames;
    uint32_t lastFrameTick = 0;  // tick of the last frame step; 0 = not drawn yet
    int32_t frameInterval;       // milliseconds a frame stays
    uint32_t firstDrawTick = 0;  // tick of the first draw; 0 = not drawn yet
    uint32_t lifetime = foreverLifetime;  // milliseconds from the first draw until it expires
    bool alive = true;
    int32_t points = 0;          // score of a bonus item

    // Frames first..last. One frame: `prefix` is the file name. More: each
    // frame's name is `format` applied to (prefix, number), "%s%02d" when
    // `format` is null. A format of another shape than text, one %s, text,
    // one integer conversion, text, or a range that is reversed or longer
    // than maxSpriteFrames, gives one frame without a picture instead.
    AnimatedSprite(double x, double y, double z, double width, double height, double depth,
                   const char* prefix, int32_t firstFrame, int32_t lastFrame, const char* format,
                   int32_t frameInterval);

    // Steps the animation by the clock and draws the current frame; the
    // caller has 2D texturing on.
    void draw();
    // True when the other rectangle overlaps or touches this one (its z and
    // depth are not looked at).
    bool overlaps(double ox, double oy, double oz, double ow, double oh, double od) const;
};
