#include "game/state_hash.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/hud_counter.h"
#include "game/player.h"
#include "game/random.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"

namespace {

// FNV-1a over each value's bytes, field by field: padding and pointers never
// take part, so the same state hashes the same in every process.
struct Hash {
    uint64_t h = fnvStart;

    void bytes(const void* p, size_t n) { h = fnv1a(p, n, h); }
    void add(double v) { bytes(&v, sizeof v); }
    void add(int32_t v) { bytes(&v, sizeof v); }
    void add(uint32_t v) { bytes(&v, sizeof v); }
    void add(bool v) { add(int32_t(v)); }
};

void addPlayer(Hash& h, const Player& p) {
    for (double v : {p.x, p.y, p.z, p.width, p.height, p.depth, p.savedX, p.savedY, p.savedZ, p.velocity, p.maxX, p.minX})
        h.add(v);
    h.add(p.lastTick);
}

void addEnemy(Hash& h, const Enemy& e) {
    for (double v : {e.x, e.y, e.z, e.lowerBound, e.upperBound, e.speed, e.size}) h.add(v);
    h.add(e.lastTick);
}

void addStair(Hash& h, const Stair& s) {
    for (double v : {s.x, s.y, s.z, s.width, s.height, s.depth}) h.add(v);
    h.add(s.type);
}

void addSprite(Hash& h, const AnimatedSprite* s) {
    h.add(s != nullptr);
    if (!s) return;
    for (bool v : {s->playing, s->looping, s->alive}) h.add(v);
    for (int32_t v : {s->frameCount, s->frameIndex, s->frameInterval, s->points}) h.add(v);
    for (double v : {s->x, s->y, s->z, s->width, s->height, s->depth}) h.add(v);
    for (uint32_t v : {s->lastFrameTick, s->firstDrawTick, s->lifetime}) h.add(v);
}

void addCounter(Hash& h, const HudCounter* c) {
    h.add(c != nullptr);
    if (!c) return;
    h.add(c->currentValue);
    h.add(c->rate);
    h.add(c->lastTick);
}

}  // namespace

uint64_t gameStateHash() {
    Hash h;
    for (bool v : {game.gameStarted, game.flipVertical, game.flipHorizontal, game.climbing}) h.add(v);
    h.add(game.climbTargetY);
    for (uint32_t v : {game.climbTick, game.climbStepPart}) h.add(v);
    for (int32_t v : {game.currentLevel, game.enemyCount, game.stairCount, game.itemCount, walkStep, enemyTouchFlag})
        h.add(v);
    h.add(lastWalkStepTick);
    h.add(randomState());
    h.add(game.player != nullptr);
    if (game.player) addPlayer(h, *game.player);
    for (HudCounter* c : {game.scoreCounter, game.livesCounter, game.bonusTimer}) addCounter(h, c);
    for (AnimatedSprite* s : {game.explosion, game.titlePicture, game.gameOverPicture}) addSprite(h, s);
    for (int i = 0; i < game.enemyCount && i < maxEnemies; ++i)
        if (game.enemies[i]) addEnemy(h, *game.enemies[i]);
    for (int i = 0; i < game.stairCount && i < maxStairs; ++i)
        if (game.stairs[i]) addStair(h, *game.stairs[i]);
    for (int i = 0; i < game.itemCount && i < maxItems; ++i) addSprite(h, game.items[i]);
    return h.h;
}
