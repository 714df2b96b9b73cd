#include "game/level_loader.h"
#include "game/enemy.h"
#include "game/game_state.h"
#include "game/stair.h"
#include "gfx/animated_sprite.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include <algorithm>
#include <cstdio>

namespace {

// The count the tables use: what the file says, never above the capacity.
int32_t usedCount(int32_t fileCount, int capacity) { return std::min(fileCount, int32_t(capacity)); }

// The old object goes before the new one is made.
template <typename Object, typename Make>
void replace(Object*& slot, Make make) {
    delete slot;
    slot = nullptr;
    slot = make();
}

AnimatedSprite* makeItem(const ItemRecord& r) {
    auto* item = new AnimatedSprite(r.x, r.y, r.z, r.width, r.height, r.depth, r.prefix.c_str(), r.firstFrame,
                                    r.lastFrame, r.format.c_str(), r.frameInterval);
    item->lifetime = uint32_t(r.lifetime);  // -1 means never
    item->points = r.points;
    return item;
}

}  // namespace

bool loadLevel(const char* fileName) { return loadLevelFile(platform::findFile(fileName)); }

bool loadLevelFile(const std::string& systemName) {
    std::string text;
    return readLevelText(systemName, text) && loadLevelText(text);
}

bool loadLevelText(const std::string& text) {
    platform::PictureBatch batch;  // the level's objects share few pictures: decode each once
    LevelDescription level;
    if (!parseLevel(text.data(), text.size(), level)) return false;

    game.enemyCount = usedCount(level.enemyCount, maxEnemies);
    for (size_t i = 0; i < level.enemies.size(); ++i) {
        const EnemyRecord& r = level.enemies[i];
        replace(game.enemies[i], [&] {
            return new Enemy(r.x, r.y, r.z, r.lowerBound, r.upperBound, r.speed, r.size, r.texture.c_str());
        });
    }
    game.stairCount = usedCount(level.stairCount, maxStairs);
    for (size_t i = 0; i < level.stairs.size(); ++i) {
        const StairRecord& r = level.stairs[i];
        replace(game.stairs[i], [&] { return new Stair(r.x, r.y, r.z, r.width, r.height, r.depth, r.type); });
    }
    game.itemCount = usedCount(level.itemCount, maxItems);
    for (size_t i = 0; i < level.items.size(); ++i) replace(game.items[i], [&] { return makeItem(level.items[i]); });
    return true;
}
