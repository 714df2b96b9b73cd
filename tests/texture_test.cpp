// Pictures uploaded as textures: colour key, upload formats, failures, the
// cache, releasing, and surviving a new rendering context.
#include "app/main_loop.h"
#include "app/window.h"
#include "gfx/texture.h"
#include "support/gl_window.h"
#include "support/pictures.h"
#include <GL/gl.h>
#include <filesystem>

namespace {

GLint levelParameter(GLuint name, GLenum what, int level = 0) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

GLint parameter(GLuint name, GLenum what) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}

std::vector<uint8_t> textureBgra(GLuint name, int pixels) {
    std::vector<uint8_t> out(size_t(pixels) * 4);
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

// GL texture objects that exist among the first `upTo` names.
int glTextureCount(GLuint upTo = 4000) {
    int n = 0;
    for (GLuint name = 1; name <= upTo; ++name) n += glIsTexture(name) ? 1 : 0;
    return n;
}

// Draws the texture over the lower-left 100 x 100 world units.
void drawTextured(GLuint name) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex2f(0, 0);
    glTexCoord2f(1, 1); glVertex2f(100, 0);
    glTexCoord2f(1, 0); glVertex2f(100, 100);
    glTexCoord2f(0, 0); glVertex2f(0, 100);
    glEnd();
}

class Textures : public GlTest {
protected:
    TempDataRoot data;
    void SetUp() override {
        GlTest::SetUp();
        writeTga(data.file("red.tga"), 4, 4, 3, solid(4, 4, {0, 0, 255}));
    }
};

}  // namespace

TEST_F(Textures, TheColourKeyClearsAlphaOnExactlyThatColour) {
    // Top row: magenta, almost magenta (red 254); bottom row: two others.
    Pixels px = {255, 0, 255, 255, 0, 254, 1, 2, 3, 255, 0, 255};
    px[9] = 250;  // a pixel that differs from magenta in blue only
    writeTga(data.file("keyed.tga"), 2, 2, 3, px);
    Texture t;
    t.load("data\\keyed.tga", true, false, 0xFF00FF);
    ASSERT_NE(t.glName(), 0u);
    EXPECT_EQ(levelParameter(t.glName(), GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    std::vector<uint8_t> got = textureBgra(t.glName(), 4);
    EXPECT_EQ(got, (std::vector<uint8_t>{255, 0, 255, 0, 255, 0, 254, 255, 1, 2, 3, 255, 250, 0, 255, 255}));
}

TEST_F(Textures, AKeyOnAPictureWithAlphaIsIgnored) {
    Pixels px = {255, 0, 255, 200, 10, 20, 30, 40};
    writeTga(data.file("alpha.tga"), 2, 1, 4, px);
    Texture t;
    t.load("data\\alpha.tga", true, false, 0xFF00FF);
    EXPECT_EQ(levelParameter(t.glName(), GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(textureBgra(t.glName(), 2), px);
}

TEST_F(Textures, WithoutAKeyThreeBytesUploadAsRgb) {
    Texture t;
    t.load("data\\red.tga", true, false, noColourKey);
    EXPECT_EQ(levelParameter(t.glName(), GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(levelParameter(t.glName(), GL_TEXTURE_WIDTH), 4);
    drawTextured(t.glName());
    EXPECT_EQ(worldPixel(50, 50), (Pixel{255, 0, 0, 255}));
}

TEST_F(Textures, MipmapsFiltersAndWrapping) {
    Texture mipmapped, plain;
    mipmapped.load("data\\red.tga", true, true, noColourKey);
    plain.load("data\\red.tga", false, false, noColourKey);
    EXPECT_EQ(parameter(mipmapped.glName(), GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(parameter(mipmapped.glName(), GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(levelParameter(mipmapped.glName(), GL_TEXTURE_WIDTH, 2), 1);
    EXPECT_EQ(parameter(mipmapped.glName(), GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(plain.glName(), GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(plain.glName(), GL_TEXTURE_WRAP_T), GL_CLAMP);
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_MODULATE);
}

TEST_F(Textures, AMissingPictureMakesNoTextureAndNameZero) {
    Texture never;
    EXPECT_EQ(never.glName(), 0u);
    int before = glTextureCount();
    Texture t;
    EXPECT_EQ(t.load("data\\missing.tga", true, true, noColourKey), -1);
    EXPECT_EQ(t.glName(), 0u);
    EXPECT_EQ(glTextureCount(), before);
    EXPECT_EQ(t.path, "data\\missing.tga");
}

TEST_F(Textures, TheCacheSharesOneTextureWhateverTheLetterCase) {
    Texture first, second;
    first.useCache = second.useCache = true;
    EXPECT_EQ(first.load("data\\red.tga", true, false, noColourKey), 0);
    EXPECT_EQ(second.load("DATA\\Red.TGA", true, false, noColourKey), -1);
    EXPECT_NE(first.glName(), 0u);
    EXPECT_EQ(second.glName(), first.glName());
    EXPECT_EQ(second.nameCell, first.nameCell);
    EXPECT_EQ(second.image.bytesPerPixel, 0);  // nothing decoded
    // A failed load is not cached: the next try goes to the file again.
    Texture missing;
    missing.useCache = true;
    missing.load("data\\later.tga", true, false, noColourKey);
    writeTga(data.file("later.tga"), 4, 4, 3, solid(4, 4, {0, 255, 0}));
    Texture again;
    again.useCache = true;
    EXPECT_EQ(again.load("data\\later.tga", true, false, noColourKey), 0);
    EXPECT_NE(again.glName(), 0u);
}

TEST(TextureKeys, LowerOnlyAsciiCapitals) {
    EXPECT_EQ(lowerCaseKey("Data\\Pic\xC4Z.TGA"), "data\\pic\xC4z.tga");
    EXPECT_EQ(lowerCaseKey("[@]^_`{"), "[@]^_`{");
}

TEST_F(Textures, PathsOfAnyLengthLoad) {
    std::string dir = "data";
    while (dir.size() < 300) dir += "/abcdefghijklmnopqrstuvwxyz";
    std::filesystem::create_directories(data.root + "/" + dir);
    writeTga(data.root + "/" + dir + "/red.tga", 4, 4, 3, solid(4, 4, {0, 0, 255}));
    std::string gameName = dir + "/red.tga";
    for (char& c : gameName)
        if (c == '/') c = '\\';
    Texture t;
    EXPECT_EQ(t.load(gameName.c_str(), true, false, noColourKey), 0);
    EXPECT_NE(t.glName(), 0u);
    EXPECT_EQ(t.path.size(), gameName.size());
}

TEST_F(Textures, AKeyOnPixelsNarrowerThanThreeBytesReadsNothingPastThem) {
    Texture t;
    t.image.width = t.image.height = 4;
    t.image.bytesPerPixel = 1;
    std::vector<uint8_t> grey(16, 7);
    EXPECT_EQ(t.upload(grey.data(), true, false, 0xFF00FF), 1);
    EXPECT_NE(t.glName(), 0u);                                 // a name, filters and wrapping
    EXPECT_EQ(levelParameter(t.glName(), GL_TEXTURE_WIDTH), 0);  // but no picture
}

TEST_F(Textures, LoadingAgainAndDestroyingReleaseTheTexture) {
    int before = glTextureCount();
    {
        Texture t;
        t.load("data\\red.tga", true, false, noColourKey);
        GLuint first = t.glName();
        t.load("data\\red.tga", true, true, noColourKey);
        EXPECT_FALSE(glIsTexture(first));
        EXPECT_EQ(glTextureCount(), before + 1);
    }
    EXPECT_EQ(glTextureCount(), before);
    for (int i = 0; i < 1000; ++i) {
        Texture t;
        t.load("data\\red.tga", true, false, noColourKey);
    }
    EXPECT_EQ(glTextureCount(), before);
    EXPECT_EQ(texturesHeld(), 0);
}

TEST_F(Textures, EveryPictureIsBackInANewContext) {
    writeTga(data.file("green.tga"), 4, 4, 3, solid(4, 4, {0, 255, 0}));
    Texture red, green, sharer, missing;
    red.load("data\\red.tga", true, true, noColourKey);
    green.useCache = sharer.useCache = true;
    green.load("data\\green.tga", true, false, noColourKey);
    sharer.load("data\\GREEN.tga", true, false, noColourKey);
    missing.load("data\\missing.tga", true, false, noColourKey);

    destroyWindow();
    openGameWindow(true);
    resizeView(640, 480);
    ASSERT_TRUE(glIsTexture(red.glName()));
    drawTextured(red.glName());
    EXPECT_EQ(worldPixel(50, 50), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(parameter(red.glName(), GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(sharer.glName(), green.glName());
    drawTextured(sharer.glName());
    EXPECT_EQ(worldPixel(50, 50), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(missing.glName(), 0u);
}

TEST(TexturesWithoutAContext, LoadNothingAndDoNotCrash) {
    TempDataRoot data;
    writeTga(data.file("red.tga"), 4, 4, 3, solid(4, 4, {0, 0, 255}));
    Texture t;
    t.load("data\\red.tga", true, true, 0xFF00FF);
    EXPECT_EQ(t.glName(), 0u);
}
