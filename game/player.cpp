#include "game/player.h"
#include "gfx/textured_quad.h"
#include "platform/clock.h"
#include <GL/gl.h>
#include <string>

Texture playerFrames[playerFrameCount];
int32_t walkStep = 0;
uint32_t lastWalkStepTick = 0;

namespace {
bool walkClockStarted = false;  // lastWalkStepTick is taken at the first draw of the process
}

void resetWalkCycle() {
    walkStep = 0;
    lastWalkStepTick = 0;
    walkClockStarted = false;
}

Player::Player() {
    for (int k = 0; k < playerFrameCount; ++k) {
        std::string name = "data\\CA54R2JR_" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".tga";
        playerFrames[k].load(name.c_str(), true, true, 0xFF00FF);  // magenta is see-through
    }
}

void Player::update() {
    uint32_t now = platform::frameTicks();
    if (lastTick == 0) lastTick = now;
    uint32_t elapsed = now - lastTick;  // unsigned: survives the counter's wrap
    x += velocity * elapsed;
    lastTick = now;
    if (x < minX) {
        x = minX;
        velocity = 0;
    }
    if (x > maxX) {
        x = maxX;
        velocity = 0;
    }
}

void Player::draw() {
    uint32_t now = platform::frameTicks();
    if (!walkClockStarted) {
        walkClockStarted = true;
        lastWalkStepTick = now;
    }
    if (uint32_t(now - lastWalkStepTick) > walkStepInterval) {
        ++walkStep;
        lastWalkStepTick = now;
    }
    int phase = int(uint32_t(walkStep) % 3);
    int first = velocity < 0 ? 3 : velocity > 0 ? 9 : 6;
    glBindTexture(GL_TEXTURE_2D, playerFrames[first + phase].glName());
    glPushMatrix();
    glColor3f(1, 1, 1);
    glTranslatef(GLfloat(x), GLfloat(y), GLfloat(z));
    // Always 16 x 16, showing the picture's columns 0.2-0.8 mirrored and its
    // rows 0.2-1.0.
    drawTexturedQuad(16, 16, 0.8, 0.2, 1.0, 0.2);
    glPopMatrix();
}

void Player::resetClock() { lastTick = 0; }

void Player::savePosition() {
    savedX = x;
    savedY = y;
    savedZ = z;
    resetClock();
}

void Player::restorePosition() {
    x = savedX;
    y = savedY;
    z = savedZ;
    resetClock();
}
