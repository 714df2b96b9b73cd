// Feeds arbitrary bytes to the level parser, and every item's frame-name
// format to the name builder, checking that what is kept fits the tables.
#include "game/level_file.h"
#include "gfx/frame_names.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LevelDescription level;
    if (!parseLevel(reinterpret_cast<const char*>(data), size, level)) return 0;
    if (level.enemies.size() > size_t(maxEnemies) || level.stairs.size() > size_t(maxStairs) ||
        level.items.size() > size_t(maxItems))
        std::abort();
    for (const ItemRecord& item : level.items) {
        std::string name = frameFileName(item.format.c_str(), item.prefix.c_str(), item.firstFrame);
        if (!name.empty() && !validFrameNameFormat(item.format.c_str())) std::abort();
    }
    return 0;
}
