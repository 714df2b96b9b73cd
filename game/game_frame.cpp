#include "game/game_frame.h"
#include "app/keyboard.h"
#include <GL/gl.h>

bool drawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    processKeys();  // keys pressed since the last frame take effect in this one
    return true;
}
