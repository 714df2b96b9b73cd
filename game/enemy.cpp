#include "game/enemy.h"
#include "gfx/textured_quad.h"
#include "game/random.h"
#include "platform/clock.h"
#include <GL/gl.h>

int32_t enemyTouchFlag = 0;

namespace {
constexpr double threadWidth = 2, threadHeight = 200, threadDepth = -0.2;
}

Enemy::Enemy(double x, double y, double z, double lowerBound, double upperBound, double speed, double size,
             const char* textureFile)
    : x(x), y(y), z(z), lowerBound(lowerBound), upperBound(upperBound), speed(speed), size(size) {
    if (textureFile) texture.load(textureFile, true, true, noColourKey);
}

void Enemy::update() {
    uint32_t now = platform::frameTicks();
    if (lastTick == 0) lastTick = now;
    double elapsed = double(uint32_t(now - lastTick));
    y += speed * elapsed;
    lastTick = now;
    int r1 = nextRandom() % 20;
    int r2 = nextRandom() % 100;
    int factor = r2 <= 50 ? r1 : -r1;  // at a bound the speed turns and changes by up to 19 %
    if (y - size < lowerBound) {
        y = lowerBound + size;
        speed = factor * speed * 0.01 - speed;
    }
    if (y > upperBound) {
        y = upperBound;
        speed = factor * speed * 0.01 - speed;
    }
}

bool Enemy::touches(double bx, double by, double, double bw, double bh, double) {
    enemyTouchFlag = 1;
    if (bx + bw < x) enemyTouchFlag = 0;
    if (bx > x + size) enemyTouchFlag = 0;
    if (by + bh < y) enemyTouchFlag = 0;
    if (by > y + size) enemyTouchFlag = 0;
    return enemyTouchFlag == 1;
}

void Enemy::draw() {
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glPushMatrix();
    glTranslatef(GLfloat(x), GLfloat(y), GLfloat(z));
    drawTexturedQuad(size, size, 0, 1, 1, 0);
    glPopMatrix();

    // The thread: from the bottom of the world to its top, its left edge on
    // the square's centre line, behind the square.
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0, GLfloat(enemyTouchFlag));
    glPushMatrix();
    glTranslated(x + size * 0.5, 0, threadDepth);
    glBegin(GL_TRIANGLES);
    glVertex3d(0, 0, 0);
    glVertex3d(threadWidth, 0, 0);
    glVertex3d(threadWidth, threadHeight, 0);
    glVertex3d(threadWidth, threadHeight, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(0, threadHeight, 0);
    glEnd();
    glPopMatrix();
}

void Enemy::resetClock() { lastTick = 0; }
