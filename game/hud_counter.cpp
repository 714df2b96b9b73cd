#include "game/hud_counter.h"
#include "gfx/textured_quad.h"
#include "platform/clock.h"
#include <GL/gl.h>
#include <cstdio>

HudCounter::HudCounter(double x, double y, double z, double rate, const char* iconFile)
    : x(x), y(y), z(z), rate(rate), hasIcon(iconFile != nullptr) {
    if (iconFile) icon.load(iconFile, true, false, noColourKey);
}

void HudCounter::draw() {
    uint32_t now = platform::frameTicks();
    if (lastTick == 0) lastTick = now;
    uint32_t elapsed = now - lastTick;
    currentValue += rate * elapsed;
    if (currentValue < 0) currentValue = 0;
    char text[256];
    std::snprintf(text, sizeof text, format, currentValue);

    if (hasIcon && icon.glName() != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, icon.glName());
        glPushMatrix();
        glColor3f(1, 1, 1);
        glTranslatef(GLfloat(x), GLfloat(y), GLfloat(z));
        drawTexturedQuad(glyphWidth, glyphHeight, 0, 1, 1, 0);  // one glyph cell, upright
        glPopMatrix();
    }
    font.drawText(x + glyphWidth, y, z, text);
    lastTick = now;
}

void HudCounter::setValue(double v) { currentValue = v; }

double HudCounter::value() const { return currentValue; }

void HudCounter::setFormat(const char* f) { std::snprintf(format, sizeof format, "%s", f ? f : ""); }
