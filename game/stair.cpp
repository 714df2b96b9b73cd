#include "game/stair.h"
#include "gfx/textured_quad.h"
#include <GL/gl.h>

Stair::Stair(double x, double y, double z, double width, double height, double depth, int32_t type)
    : x(x), y(y), z(z), width(width), height(height), depth(depth), type(type) {
    texture.load("data\\stair.tga", true, false, noColourKey);
}

int32_t Stair::test(double bx, double by, double, double bw, double bh, double) {
    if (bx < x || x + width < bx + bw || by < y || y + height < by + bh) return 0;
    int32_t result = type;
    if (type >= 0 && type <= 2) type = 0;  // one-shot types fire once per load
    return result;
}

void Stair::draw() {
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glColor3f(0, 1, 0);  // with the modulating texture environment: tinted green
    glPushMatrix();
    glTranslatef(GLfloat(x), GLfloat(y), GLfloat(z));
    drawTexturedQuad(width, height, 1, 0, 1, 0);  // mirrored left to right
    glPopMatrix();
}
