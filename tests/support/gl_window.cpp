#include "support/gl_window.h"
#include "app/main_loop.h"
#include "app/window.h"
#include <GL/gl.h>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "rgba(" << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ", " << int(p.a) << ")";
}

void openGameWindow(bool fullScreenWanted) {
    ASSERT_TRUE(createWindow(windowTitle, windowWidth, windowHeight, colourBits, fullScreenWanted));
}

void closeGameWindow() {
    if (mainWindow || renderContext) destroyWindow();
}

Pixel readPixel(int x, int y) {
    Pixel p{};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

Pixel worldPixel(double wx, double wy) {
    return readPixel(int(wx * windowWidth / worldWidth), int(wy * windowHeight / worldHeight));
}

unsigned boundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return unsigned(name);
}
