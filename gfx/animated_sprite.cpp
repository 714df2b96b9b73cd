#include "gfx/animated_sprite.h"
#include "gfx/textured_quad.h"
#include "gfx/frame_names.h"
#include "platform/clock.h"
#include <GL/gl.h>

AnimatedSprite::AnimatedSprite(double x, double y, double z, double width, double height, double depth,
                               const char* prefix, int32_t firstFrame, int32_t lastFrame, const char* format,
                               int32_t frameInterval)
    : x(x), y(y), z(z), width(width), height(height), depth(depth), frameInterval(frameInterval) {
    int64_t count = int64_t(lastFrame) - firstFrame + 1;
    const char* nameFormat = format ? format : "%s%02d";
    bool usable = count == 1 || (count > 1 && count <= maxSpriteFrames && validFrameNameFormat(nameFormat));
    frameCount = usable ? int32_t(count) : 1;
    frames = std::make_unique<Texture[]>(size_t(frameCount));
    if (!usable) return;  // one frame that never loads: drawn without a picture
    if (frameCount == 1) {
        frames[0].load(prefix ? prefix : "", true, false, noColourKey);
        return;
    }
    for (int32_t i = 0; i < frameCount; ++i)
        frames[i].load(frameFileName(nameFormat, prefix, firstFrame + i).c_str(), true, false, noColourKey);
}

void AnimatedSprite::draw() {
    uint32_t now = platform::frameTicks();
    if (lastFrameTick == 0) lastFrameTick = now;
    if (firstDrawTick == 0) firstDrawTick = now;
    if (uint32_t(now - firstDrawTick) > lifetime) alive = false;  // still drawn this time
    if (playing && int32_t(now - lastFrameTick) > frameInterval) {
        lastFrameTick = now;  // at most one step per draw, however long the pause
        if (++frameIndex >= frameCount) {
            if (looping) {
                frameIndex = 0;
            } else {
                playing = false;
                frameIndex = frameCount - 1;
            }
        }
    }
    if (frameIndex < 0 || frameIndex >= frameCount) frameIndex = 0;
    glBindTexture(GL_TEXTURE_2D, frames[frameIndex].glName());
    if (!playing && !looping) frameIndex = 0;  // the next draw shows frame 0

    glPushMatrix();
    glColor3f(1, 1, 1);
    glTranslated(x, y, z);
    // The corners in single precision, as the sprite has always given them.
    drawTexturedQuad(GLfloat(width), GLfloat(height), 0, 1, 1, 0);
    glPopMatrix();
}

bool AnimatedSprite::overlaps(double ox, double oy, double, double ow, double oh, double) const {
    if (ox + ow < x) return false;
    if (x + width < ox) return false;
    if (oy + oh < y) return false;
    if (y + height < oy) return false;
    return true;  // touching edges or corners count
}
