// What the game's drawing asks of OpenGL 1.1 that the browser's GL (WebGL 1
// under the compiler's fixed-function emulation) lacks, built from what it
// has. The drawing code calls these as it calls them on a desktop; the
// emulation's own functions are reached by their emscripten_ names.
//
// - Display lists: recorded here, replayed by glCallList. They hold what the
//   game's shapes are made of: glBegin/glEnd and vertices, normals and
//   texture coordinates given as doubles.
// - The double-precision vertex calls: passed on as floats, as a desktop
//   driver stores them anyway.
// - BGR and BGRA uploads: swizzled to RGB and RGBA, the only orders WebGL
//   takes, with the internal format the same as the format, as it requires.
// - Pictures whose sides are not powers of two: scaled to the nearest powers
//   of two (WebGL 1 neither mipmaps nor repeats them), as the desktop's
//   mipmap builder does too.
// - gluBuild2DMipmaps: every level made here by averaging 2x2 blocks.
// - glPushAttrib/glPopAttrib for the groups the game saves: GL_ENABLE_BIT
//   (the switches it uses) and GL_CURRENT_BIT (the current colour, which the
//   emulation does not report, so glColor is followed here). A group not
//   named in the mask is left as it is when popped.
// - Calls without a current context do nothing, as a desktop driver ignores
//   them: pictures freed as the program ends, after the window has gone,
//   would otherwise stop the page's script. Every call here that reaches the
//   emulation checks; a shape checks once, at glBegin or glCallList.
// - glTexEnvf of the texture environment's mode, which the emulation takes
//   only as glTexEnvi.
#include <GL/gl.h>
#include <GL/glu.h>
#include <emscripten/html5.h>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

extern "C" {
void emscripten_glBegin(GLenum mode);
void emscripten_glEnd();
void emscripten_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glTexCoord2f(GLfloat s, GLfloat t);
void emscripten_glDeleteTextures(GLsizei n, const GLuint* textures);
void emscripten_glTexEnvf(GLenum target, GLenum pname, GLfloat param);
void emscripten_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const void* pixels);
}

namespace {

bool contextCurrent() { return emscripten_webgl_get_current_context() != 0; }

// --- display lists -----------------------------------------------------------

struct ListCall {
    enum Kind : uint8_t { begin, end, vertex, normal, texCoord } kind;
    GLenum mode;  // begin
    GLfloat v[3];
};

std::vector<std::vector<ListCall>> lists;  // list n is lists[n - 1]
GLuint compiling = 0;                      // the list being recorded, 0 for none
bool executing = true;                     // calls are also carried out now
bool shapeDrawn = false;                   // the glBegin (or glCallList) being run had a context

void run(const ListCall& c) {
    if (!shapeDrawn) return;
    switch (c.kind) {
    case ListCall::begin: emscripten_glBegin(c.mode); break;
    case ListCall::end: emscripten_glEnd(); break;
    case ListCall::vertex: emscripten_glVertex3f(c.v[0], c.v[1], c.v[2]); break;
    case ListCall::normal: emscripten_glNormal3f(c.v[0], c.v[1], c.v[2]); break;
    case ListCall::texCoord: emscripten_glTexCoord2f(c.v[0], c.v[1]); break;
    }
}

// Records the call into the list being compiled, and carries it out unless
// the list is compiled only.
void call(const ListCall& c) {
    if (compiling) lists[compiling - 1].push_back(c);
    if (executing) run(c);
}

ListCall point(ListCall::Kind kind, double x, double y, double z) {
    return {kind, 0, {GLfloat(x), GLfloat(y), GLfloat(z)}};
}

// --- pictures ----------------------------------------------------------------

constexpr GLenum bgr = 0x80E0, bgra = 0x80E1;  // GL_BGR_EXT, GL_BGRA_EXT

int channelsOf(GLenum format) { return format == GL_RGBA || format == bgra ? 4 : format == GL_RGB || format == bgr ? 3 : 0; }

GLsizei nearestPowerOfTwo(GLsizei n) {
    GLsizei p = 1;
    while (p < n) p *= 2;
    // The nearer of the two powers around n; a tie goes up.
    return (p > 1 && p - n > n - p / 2) ? p / 2 : p;
}

struct Picture {
    GLsizei width = 0, height = 0;
    int channels = 0;
    std::vector<uint8_t> pixels;  // rows as given, RGB or RGBA
};

// The caller's pixels as tightly packed RGB or RGBA rows. Rows of the game's
// pictures are whole multiples of 4 bytes or unpacked with an alignment of 1.
Picture readPicture(GLsizei width, GLsizei height, GLenum format, const void* data) {
    Picture p;
    p.width = width;
    p.height = height;
    p.channels = channelsOf(format);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    size_t row = size_t(width) * size_t(p.channels);
    size_t stride = (row + size_t(alignment) - 1) / size_t(alignment) * size_t(alignment);
    const uint8_t* in = static_cast<const uint8_t*>(data);
    p.pixels.resize(row * size_t(height));
    for (GLsizei y = 0; y < height; ++y)
        std::copy(in + size_t(y) * stride, in + size_t(y) * stride + row, p.pixels.begin() + ptrdiff_t(size_t(y) * row));
    if (format == bgr || format == bgra)
        for (size_t i = 0; i + 2 < p.pixels.size(); i += size_t(p.channels)) std::swap(p.pixels[i], p.pixels[i + 2]);
    return p;
}

// Bilinear scaling, pixel centres mapped onto pixel centres.
Picture scaled(const Picture& from, GLsizei width, GLsizei height) {
    if (from.width == width && from.height == height) return from;
    Picture to;
    to.width = width;
    to.height = height;
    to.channels = from.channels;
    to.pixels.resize(size_t(width) * size_t(height) * size_t(from.channels));
    auto at = [&](GLsizei x, GLsizei y, int c) {
        return float(from.pixels[(size_t(y) * size_t(from.width) + size_t(x)) * size_t(from.channels) + size_t(c)]);
    };
    for (GLsizei y = 0; y < height; ++y) {
        float fy = std::clamp((float(y) + 0.5f) * float(from.height) / float(height) - 0.5f, 0.0f, float(from.height - 1));
        GLsizei y0 = GLsizei(fy), y1 = std::min(y0 + 1, from.height - 1);
        float wy = fy - float(y0);
        for (GLsizei x = 0; x < width; ++x) {
            float fx = std::clamp((float(x) + 0.5f) * float(from.width) / float(width) - 0.5f, 0.0f, float(from.width - 1));
            GLsizei x0 = GLsizei(fx), x1 = std::min(x0 + 1, from.width - 1);
            float wx = fx - float(x0);
            for (int c = 0; c < from.channels; ++c) {
                float top = at(x0, y0, c) * (1 - wx) + at(x1, y0, c) * wx;
                float bottom = at(x0, y1, c) * (1 - wx) + at(x1, y1, c) * wx;
                to.pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(to.channels) + size_t(c)] =
                    uint8_t(top * (1 - wy) + bottom * wy + 0.5f);
            }
        }
    }
    return to;
}

Picture halved(const Picture& from) {
    Picture to;
    to.width = std::max<GLsizei>(1, from.width / 2);
    to.height = std::max<GLsizei>(1, from.height / 2);
    to.channels = from.channels;
    to.pixels.resize(size_t(to.width) * size_t(to.height) * size_t(to.channels));
    for (GLsizei y = 0; y < to.height; ++y)
        for (GLsizei x = 0; x < to.width; ++x)
            for (int c = 0; c < to.channels; ++c) {
                unsigned sum = 0;
                for (GLsizei dy = 0; dy < 2; ++dy)
                    for (GLsizei dx = 0; dx < 2; ++dx) {
                        GLsizei sx = std::min(x * 2 + dx, from.width - 1), sy = std::min(y * 2 + dy, from.height - 1);
                        sum += from.pixels[(size_t(sy) * size_t(from.width) + size_t(sx)) * size_t(from.channels) + size_t(c)];
                    }
                to.pixels[(size_t(y) * size_t(to.width) + size_t(x)) * size_t(to.channels) + size_t(c)] = uint8_t((sum + 2) / 4);
            }
    return to;
}

void upload(GLenum target, GLint level, const Picture& p) {
    GLenum format = p.channels == 4 ? GL_RGBA : GL_RGB;
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are packed tightly here
    emscripten_glTexImage2D(target, level, GLint(format), p.width, p.height, 0, format, GL_UNSIGNED_BYTE,
                            p.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

// --- saved state ---------------------------------------------------------------

constexpr GLenum switches[] = {GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_CULL_FACE};
GLfloat currentColour[4] = {1, 1, 1, 1};  // as glColor last set it

struct SavedGroups {
    GLbitfield mask;
    GLboolean switchedOn[std::size(switches)];  // GL_ENABLE_BIT
    GLfloat colour[4];                          // GL_CURRENT_BIT
};
std::vector<SavedGroups> savedGroups;

}  // namespace

extern "C" {

GLuint glGenLists(GLsizei range) {
    if (range <= 0) return 0;
    GLuint first = GLuint(lists.size()) + 1;
    lists.resize(lists.size() + size_t(range));
    return first;
}

GLboolean glIsList(GLuint list) { return list > 0 && list <= lists.size(); }

void glNewList(GLuint list, GLenum mode) {
    if (!glIsList(list) || compiling) return;
    compiling = list;
    executing = mode == GL_COMPILE_AND_EXECUTE;
    lists[list - 1].clear();
}

void glEndList() {
    compiling = 0;
    executing = true;
}

void glCallList(GLuint list) {
    if (!glIsList(list) || list == compiling) return;
    shapeDrawn = contextCurrent();
    for (const ListCall& c : lists[list - 1]) run(c);
}

void glDeleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i)
        if (glIsList(list + GLuint(i))) lists[list + GLuint(i) - 1].clear();
}

void glBegin(GLenum mode) {
    if (executing) shapeDrawn = contextCurrent();
    call({ListCall::begin, mode, {}});
}
void glEnd() { call({ListCall::end, 0, {}}); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { call(point(ListCall::vertex, x, y, z)); }
void glVertex3dv(const GLdouble* v) { call(point(ListCall::vertex, v[0], v[1], v[2])); }
void glVertex2d(GLdouble x, GLdouble y) { call(point(ListCall::vertex, x, y, 0)); }
void glNormal3dv(const GLdouble* v) { call(point(ListCall::normal, v[0], v[1], v[2])); }
void glTexCoord2d(GLdouble s, GLdouble t) { call(point(ListCall::texCoord, s, t, 0)); }

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels) {
    if (!contextCurrent()) return;
    if (!pixels || type != GL_UNSIGNED_BYTE || channelsOf(format) == 0 || width <= 0 || height <= 0) {
        emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
        return;
    }
    Picture p = readPicture(width, height, format, pixels);
    upload(target, level, scaled(p, nearestPowerOfTwo(width), nearestPowerOfTwo(height)));
}

GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
    if (!data || type != GL_UNSIGNED_BYTE || channelsOf(format) == 0) return GLU_INVALID_ENUM;
    if (width <= 0 || height <= 0) return GLU_INVALID_VALUE;
    if (!contextCurrent()) return 0;
    Picture level = scaled(readPicture(width, height, format, data), nearestPowerOfTwo(width), nearestPowerOfTwo(height));
    for (GLint n = 0;; ++n) {
        upload(target, n, level);
        if (level.width == 1 && level.height == 1) break;
        level = halved(level);
    }
    return 0;
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    if (contextCurrent()) emscripten_glDeleteTextures(n, textures);
}

void glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    if (!contextCurrent()) return;
    if (pname == GL_TEXTURE_ENV_MODE)
        glTexEnvi(target, pname, GLint(param));
    else
        emscripten_glTexEnvf(target, pname, param);
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!contextCurrent()) return;
    currentColour[0] = r, currentColour[1] = g, currentColour[2] = b, currentColour[3] = a;
    emscripten_glColor4f(r, g, b, a);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1); }

void glPushAttrib(GLbitfield mask) {
    if (!contextCurrent()) return;
    SavedGroups saved{mask, {}, {}};
    if (mask & GL_ENABLE_BIT)
        for (size_t i = 0; i < std::size(switches); ++i) saved.switchedOn[i] = glIsEnabled(switches[i]);
    std::copy(std::begin(currentColour), std::end(currentColour), saved.colour);
    savedGroups.push_back(saved);
}

void glPopAttrib() {
    if (savedGroups.empty() || !contextCurrent()) return;
    const SavedGroups& saved = savedGroups.back();
    if (saved.mask & GL_ENABLE_BIT)
        for (size_t i = 0; i < std::size(switches); ++i) (saved.switchedOn[i] ? glEnable : glDisable)(switches[i]);
    if (saved.mask & GL_CURRENT_BIT) glColor4f(saved.colour[0], saved.colour[1], saved.colour[2], saved.colour[3]);
    savedGroups.pop_back();
}

}  // extern "C"
