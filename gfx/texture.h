// A picture file uploaded as one OpenGL 2D texture, and the cache through
// which Textures that load the same file may share one.
#pragma once
#include "platform/picture.h"
#include <cstdint>
#include <map>
#include <string>

// A colour key: 0x00RRGGBB turns that colour transparent; this value means none.
constexpr uint32_t noColourKey = 0xFFFFFFFF;

class Texture {
public:
    bool useCache = false;         // share GL textures through the cache by file name
    uint32_t* nameCell = nullptr;  // the cell holding the GL texture name; null until the first load
    std::string path;              // the last path loaded, ASCII capitals lowered (the cache key)
    platform::Picture image;       // the decoded picture behind the GL texture; empty when the
                                   // load failed or the cache served it

    // How the picture was uploaded, so that it can be uploaded again when a
    // new rendering context replaces the old one.
    bool repeat = true;
    bool mipmaps = false;
    uint32_t colourKey = noColourKey;
    bool ownsCell = false;  // the cell and its GL texture are this Texture's alone (not in the cache)

    Texture* previousLive = nullptr;  // every Texture alive, for uploading again
    Texture* nextLive = nullptr;

    Texture();
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Decodes and uploads the picture (needs the current rendering context).
    // -1 when the name came from the cache or the picture could not be
    // loaded (the name is then 0), else the decoder's result. A GL texture
    // this Texture held alone before is released.
    int32_t load(const char* file, bool repeatWrap, bool withMipmaps, uint32_t key);
    // The GL texture name; 0 while there is no picture.
    uint32_t glName() const;
    // Uploads `pixels`, laid out as `image` says, into a new GL texture, the
    // colour key applied to pictures without alpha. Always 1.
    int32_t upload(const uint8_t* pixels, bool repeatWrap, bool withMipmaps, uint32_t key);

private:
    void releaseCell();
};

// File paths (lowered) to the cells of GL textures loaded from them. The
// cache keeps its cells for every sharer; they go with it at process exit.
struct TextureCache {
    std::map<std::string, uint32_t*> cells;

    TextureCache() = default;
    ~TextureCache();
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    uint32_t* find(const std::string& key) const;
    // Never replaces an entry that is already there.
    void insert(const std::string& key, uint32_t* cell);
};
extern TextureCache textureCache;

// The path with ASCII capitals lowered; every other byte stays.
std::string lowerCaseKey(const char* path);

// After a new rendering context is made current: every live Texture uploads
// its picture again and writes the new name into its cell, so that whoever
// shares the cell follows. Cells nobody can fill again read 0.
void reuploadTextures();

// GL textures held by live Textures (each counted once).
int texturesHeld();
