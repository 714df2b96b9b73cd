#include "gfx/bitmap_font.h"
#include <GL/gl.h>
#include <cstring>

BitmapFont::BitmapFont() { texture.load("data\\fontgray.jpg", true, true, noColourKey); }

void BitmapFont::drawText(double x, double y, double z, const char* text) {
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glColor3f(1, 1, 1);
    size_t length = text ? std::strlen(text) : 0;
    for (size_t i = 0; i < length; ++i) {
        // Each byte counts as signed: codes of 128 and up get negative cells,
        // which the font's repeat wrapping folds back into the picture.
        int code = static_cast<signed char>(text[i]);
        double s0 = (code % 16) * glyphTexStep.s;
        double t0 = (code / 16) * glyphTexStep.t;
        double s1 = s0 + glyphTexStep.s, t1 = t0 + glyphTexStep.t;
        double left = x + double(i) * glyphWidth, right = left + glyphWidth;
        double bottom = y, top = y + glyphHeight;
        glBegin(GL_TRIANGLES);
        glTexCoord2d(s0, t1); glVertex3d(left, bottom, z);
        glTexCoord2d(s1, t1); glVertex3d(right, bottom, z);
        glTexCoord2d(s1, t0); glVertex3d(right, top, z);
        glTexCoord2d(s1, t0); glVertex3d(right, top, z);
        glTexCoord2d(s0, t0); glVertex3d(left, top, z);
        glTexCoord2d(s0, t1); glVertex3d(left, bottom, z);
        glEnd();
    }
    glPopAttrib();
}

void drawSizedText(BitmapFont& font, double x, double y, double z, double width, double height, const char* text) {
    glPushMatrix();
    glTranslated(x, y, z);
    glScaled(width / glyphWidth, height / glyphHeight, 1);
    font.drawText(0, 0, 0, text);
    glPopMatrix();
}
