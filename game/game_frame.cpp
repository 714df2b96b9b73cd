#include "game/game_frame.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "game/sounds.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "gfx/solid_box.h"
#include "platform/clock.h"
#include "platform/video.h"
#include <GL/gl.h>
#include <cstdint>

namespace {

// A climb rises one step every 1/60 s of the tick count: 12 units a second,
// one step a frame on a 60 Hz display, as long on any display and unpaced.
constexpr double climbStep = 0.2;           // world units
constexpr uint32_t climbStepsPerSecond = 60;
constexpr uint32_t stepPartsPerStep = 1000;  // the climb's clock counts thousandths of a step
// A climb starts half a step on, so that steps are due at the nearest whole
// step: frames 16 and 17 ms apart at 60 Hz each rise exactly one step.
constexpr uint32_t climbStartPart = stepPartsPerStep / 2;

void drawCounters() {
    game.scoreCounter->draw();
    game.livesCounter->draw();
    game.bonusTimer->draw();  // also counts the bonus down
}

// Mirrors everything drawn after it, up to the next frame's identity load.
void applyViewFlips() {
    if (game.flipVertical) {  // about y = 100
        glTranslatef(0, 100, 0);
        glScalef(1, -1, 1);
        glTranslatef(0, -100, 0);
    }
    if (game.flipHorizontal) {  // about x = 160
        glTranslatef(160, 0, 0);
        glScalef(-1, 1, 1);
        glTranslatef(-160, 0, 0);
    }
}

// One step up; at the target the climb ends there exactly.
void riseOneStep(Player& p) {
    p.y += climbStep;
    if (!(p.y < game.climbTargetY)) {
        p.y = game.climbTargetY;
        game.climbing = false;
        p.savePosition();
        game.bonusTimer->setValue(startBonus);
    }
}

// The steps the time since the last rise has made. Whole numbers only, so
// that every build and target rises the same way.
uint32_t climbStepsDue() {
    uint32_t now = platform::frameTicks();
    uint32_t steps = 0;
    if (game.climbTick != 0) {
        // At most 2^32 ms times 60, in thousandths: whole steps fit 32 bits.
        uint64_t parts = game.climbStepPart + uint64_t(now - game.climbTick) * climbStepsPerSecond;
        steps = uint32_t(parts / stepPartsPerStep);
        game.climbStepPart = uint32_t(parts % stepPartsPerStep);
    }
    game.climbTick = now;
    return steps;
}

// Walks, or rises while climbing; the velocity stays through a climb.
void movePlayer() {
    Player& p = *game.player;
    if (!game.climbing) {
        p.update();
        return;
    }
    for (uint32_t steps = climbStepsDue(); steps > 0 && game.climbing; --steps) riseOneStep(p);
}

// A hit: the explosion starts where the player is, a life goes, and the
// player goes back to its saved position.
void playerHit() {
    Player& p = *game.player;
    game.explosion->x = p.x;
    game.explosion->y = p.y;
    game.explosion->z = p.z;
    game.explosion->playing = true;
    game.livesCounter->setValue(game.livesCounter->value() - 1);
    p.restorePosition();
    p.velocity = 0;
    playSound(Sound::hit);
}

// The contact test sees the player's box shrunk by 2 on every side. Once an
// enemy hits, the explosion plays and the rest are drawn but not moved.
void moveAndDrawEnemies() {
    const Player& p = *game.player;
    for (int i = 0; i < game.enemyCount && i < maxEnemies; ++i) {
        Enemy& e = *game.enemies[i];
        if (!game.explosion->playing && !game.paused) {
            e.update();
            if (e.touches(p.x + 2, p.y + 2, p.z + 2, p.width - 4, p.height - 4, p.depth - 4)) playerHit();
        }
        e.draw();
    }
}

// The count is read again at every pass: an exit stair loads the next level
// in the middle of the loop, which then goes on over the new level's stairs.
void testAndDrawStairs() {
    const Player& p = *game.player;
    for (int i = 0; i < game.stairCount && i < maxStairs; ++i) {
        int32_t reached = game.paused ? 0 : game.stairs[i]->test(p.x, p.y, p.z, p.width, p.height - 2, p.depth);
        if (reached == climbStair) {
            game.climbTargetY = game.stairs[i]->height + p.y;
            game.climbing = true;
            game.climbTick = platform::frameTicks();
            game.climbStepPart = climbStartPart;
            game.scoreCounter->setValue(game.scoreCounter->value() + game.bonusTimer->value());
            playSound(Sound::climb);
        } else if (reached == exitStair) {
            changeLevel(game.currentLevel + 1);
            playSound(Sound::exit);
        }
        // After a level change this slot may lie past the new level's stairs
        // or be empty: there is nothing of this level to draw there.
        if (i < game.stairCount && game.stairs[i]) game.stairs[i]->draw();
    }
}

void collectAndDrawItems() {
    const Player& p = *game.player;
    for (int i = 0; i < game.itemCount && i < maxItems; ++i) {
        AnimatedSprite*& item = game.items[i];
        if (!item) continue;
        if (game.paused) {  // drawn as it stands
            if (item->alive) item->draw();
        } else if (!item->alive) {  // its lifetime ran out at an earlier draw
            delete item;
            item = nullptr;
        } else if (item->overlaps(p.x, p.y, p.z, p.width, p.height - 2, p.depth)) {
            game.scoreCounter->setValue(game.scoreCounter->value() + item->points);
            playSound(itemSound(item->points));
            delete item;
            item = nullptr;
        } else {
            item->draw();
        }
    }
}

// Eleven yellow bars at y = 16, 32, ... 176, behind everything else.
void drawFloors() {
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 0);
    for (int y = 16; y < 192; y += 16) {
        glPushMatrix();
        glTranslated(0, y, -1);
        drawSolidBox(640, 1, 0.5);
        glPopMatrix();
    }
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
}

// The last life is gone: the game-over picture stays on screen for the
// pause (no message is handled meanwhile), then the name is asked for when
// the score enters its table, or the game returns to its title.
// The game's clocks keep the frame's reading through the pause; the next
// frame's reading takes the pause in.
void gameOver() {
    game.gameOverPicture->draw();
    platform::presentWindow();
    playSound(Sound::gameOver);  // heard through the pause
    platform::waitTicks(gameOverPause);
    if (!askForName()) restartGame();
}

void playExplosion() {
    if (!game.explosion->playing) return;
    game.explosion->draw();  // it stands still while the game's clock is held
    if (game.explosion->playing || game.paused) return;
    resetClocks();  // it has just finished
    if (game.livesCounter->value() == 0) gameOver();
    game.player->restorePosition();
    game.player->velocity = 0;
}

// "PAUSED" in the middle of the picture, never mirrored.
void drawPausedNotice() {
    static const char notice[] = "PAUSED";
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    double width = (sizeof notice - 1) * glyphWidth;
    game.scoreCounter->font.drawText((320 - width) / 2, (200 - glyphHeight) / 2, 0.5, notice);
}

}  // namespace

// While paused the frame draws everything where it stands and moves, tests
// and collects nothing: the game's clock is held, so nothing counts either.
void gameFrame() {
    drawCounters();  // before the flips: never mirrored
    applyViewFlips();
    glEnable(GL_TEXTURE_2D);
    if (!game.paused) movePlayer();
    if (!game.explosion->playing) game.player->draw();
    moveAndDrawEnemies();
    glEnable(GL_TEXTURE_2D);  // the enemies leave texturing off
    testAndDrawStairs();
    glEnable(GL_TEXTURE_2D);
    collectAndDrawItems();
    drawFloors();
    playExplosion();
    if (game.paused) drawPausedNotice();
}
