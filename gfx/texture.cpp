#include "gfx/texture.h"
#include "gfx/colour_key.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <vector>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

TextureCache textureCache;

namespace {

Texture* firstLive = nullptr;

void setSampling(bool repeat, bool mipmaps) {
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    GLint wrap = repeat ? GL_REPEAT : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

void uploadPixels(const uint8_t* pixels, int width, int height, int bpp, bool mipmaps) {
    GLenum format = bpp == 4 ? GL_BGRA_EXT : GL_BGR_EXT;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are tight, whatever the width
    if (mipmaps)
        gluBuild2DMipmaps(GL_TEXTURE_2D, bpp, width, height, format, GL_UNSIGNED_BYTE, pixels);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, bpp == 4 ? GL_RGBA : GL_RGB, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
}

// A new GL texture, left bound, with the picture in it when its pixels are
// 3 or 4 bytes wide. A colour key needs 3 bytes of colour to read, so it is
// applied only to 3-byte pixels; 4-byte pixels keep their own alpha.
GLuint makeGlTexture(const platform::Picture& image, const uint8_t* pixels, bool repeat, bool mipmaps, uint32_t key) {
    GLuint name = 0;
    glGenTextures(1, &name);
    // No name means no current context: GLU's mipmap builder would crash
    // reading the version of a context that is not there.
    if (name == 0) return 0;
    glBindTexture(GL_TEXTURE_2D, name);
    setSampling(repeat, mipmaps);
    int bpp = image.bytesPerPixel;
    long count = long(image.width) * image.height;
    if (!pixels || count <= 0) return name;
    if (bpp == 3 && key != noColourKey) {
        std::vector<uint8_t> keyed = keyedPixels(pixels, count, bpp, key);
        uploadPixels(keyed.data(), image.width, image.height, 4, mipmaps);
    } else if (bpp == 3 || bpp == 4) {
        uploadPixels(pixels, image.width, image.height, bpp, mipmaps);
    }
    return name;
}

void linkLive(Texture* t) {
    t->nextLive = firstLive;
    if (firstLive) firstLive->previousLive = t;
    firstLive = t;
}

void unlinkLive(Texture* t) {
    if (t->previousLive) t->previousLive->nextLive = t->nextLive;
    else firstLive = t->nextLive;
    if (t->nextLive) t->nextLive->previousLive = t->previousLive;
}

}  // namespace

Texture::Texture() { linkLive(this); }

Texture::~Texture() {
    releaseCell();
    unlinkLive(this);
}

void Texture::releaseCell() {
    if (ownsCell) {
        if (*nameCell) glDeleteTextures(1, nameCell);
        delete nameCell;
    }
    nameCell = nullptr;
    ownsCell = false;
}

int32_t Texture::load(const char* file, bool repeatWrap, bool withMipmaps, uint32_t key) {
    path = lowerCaseKey(file);
    if (useCache) {
        if (uint32_t* shared = textureCache.find(path)) {
            releaseCell();
            nameCell = shared;
            image.clear();  // what fills the cell is the decoding Texture's picture, not ours
            return -1;
        }
    }
    int32_t result = image.load(file);
    if (result == -1) {
        releaseCell();
        nameCell = new uint32_t(0);
        ownsCell = true;
        return -1;
    }
    upload(image.pixels.data(), repeatWrap, withMipmaps, key);
    if (useCache) {
        textureCache.insert(path, nameCell);
        ownsCell = false;  // the cache keeps it for every sharer
    }
    return result;
}

uint32_t Texture::glName() const { return nameCell ? *nameCell : 0; }

int32_t Texture::upload(const uint8_t* pixels, bool repeatWrap, bool withMipmaps, uint32_t key) {
    releaseCell();
    repeat = repeatWrap;
    mipmaps = withMipmaps;
    colourKey = key;
    nameCell = new uint32_t(makeGlTexture(image, pixels, repeat, mipmaps, colourKey));
    ownsCell = true;
    return 1;
}

TextureCache::~TextureCache() {
    for (auto& entry : cells) delete entry.second;
}

uint32_t* TextureCache::find(const std::string& key) const {
    auto it = cells.find(key);
    return it == cells.end() ? nullptr : it->second;
}

void TextureCache::insert(const std::string& key, uint32_t* cell) { cells.emplace(key, cell); }

std::string lowerCaseKey(const char* path) {
    std::string key = path ? path : "";
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return key;
}

void reuploadTextures() {
    for (auto& entry : textureCache.cells) *entry.second = 0;
    // Only a Texture that decoded a picture has one to upload; failed loads
    // and sharers served by the cache have none.
    for (Texture* t = firstLive; t; t = t->nextLive)
        if (t->nameCell && t->image.bytesPerPixel != 0)
            *t->nameCell = makeGlTexture(t->image, t->image.pixels.data(), t->repeat, t->mipmaps, t->colourKey);
}

int texturesHeld() {
    int held = 0;
    for (Texture* t = firstLive; t; t = t->nextLive)
        if (t->ownsCell && *t->nameCell) ++held;
    for (auto& entry : textureCache.cells)
        if (*entry.second) ++held;
    return held;
}
