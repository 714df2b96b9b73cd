#include "gfx/textured_quad.h"
#include <GL/gl.h>

void drawTexturedQuad(double width, double height, double sLeft, double sRight, double tBottom, double tTop) {
    glBegin(GL_TRIANGLES);
    glTexCoord2d(sLeft, tBottom); glVertex3d(0, 0, 0);
    glTexCoord2d(sRight, tBottom); glVertex3d(width, 0, 0);
    glTexCoord2d(sLeft, tTop); glVertex3d(0, height, 0);
    glTexCoord2d(sRight, tBottom); glVertex3d(width, 0, 0);
    glTexCoord2d(sRight, tTop); glVertex3d(width, height, 0);
    glTexCoord2d(sLeft, tTop); glVertex3d(0, height, 0);
    glEnd();
}
