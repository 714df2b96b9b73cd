#include "app/sound_mark.h"
#include "game/sounds.h"
#include <GL/gl.h>

namespace {

// A four-sided shape, corners in order, in the current colour.
void quad(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3, double z) {
    glVertex3d(x0, y0, z);
    glVertex3d(x1, y1, z);
    glVertex3d(x2, y2, z);
    glVertex3d(x2, y2, z);
    glVertex3d(x3, y3, z);
    glVertex3d(x0, y0, z);
}

// A stroke from (x0, y0) to (x1, y1), `half` units either side of it across.
void stroke(double x0, double y0, double x1, double y1, double half, double z) {
    quad(x0 - half, y0, x0 + half, y0, x1 + half, y1, x1 - half, y1, z);
}

}  // namespace

// In world units (the world is 320 x 200): 16 x 10 of them, 32 x 24 pixels
// in the 640 x 480 window, in front of everything else.
void drawSoundMark() {
    if (soundIsOn()) return;
    constexpr double z = 0.9;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    glColor4f(0, 0, 0, 0.6f);
    quad(300, 1, 319, 1, 319, 13, 300, 13, z - 0.01);
    glColor3f(0.9f, 0.9f, 0.95f);
    quad(302, 5, 305, 5, 305, 9, 302, 9, z);    // the loudspeaker's box
    quad(305, 5, 309, 2, 309, 12, 305, 9, z);   // its cone
    glColor3f(1, 0.3f, 0.25f);
    stroke(311, 4, 317, 10, 0.8, z + 0.01);     // struck through
    stroke(317, 4, 311, 10, 0.8, z + 0.01);
    glEnd();
    glPopAttrib();
}
