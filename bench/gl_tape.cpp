#include "bench/gl_tape.h"
#include <GL/gl.h>
#include <dlfcn.h>
#include <vector>

namespace {

enum class Op : unsigned char {
    clear, enable, disable, loadIdentity, pushAttrib, popAttrib, bindTexture, color3f, begin, end,
    texCoord2d, texCoord2f, vertex3d, vertex3f, pushMatrix, popMatrix, translatef, translated, scalef, callList,
};

struct Call {
    Op op;
    GLenum e;
    GLuint u;
    double d[3];
};

std::vector<Call> tape;
bool recording = false;

void note(Op op, GLenum e = 0, GLuint u = 0, double a = 0, double b = 0, double c = 0) {
    if (recording) tape.push_back({op, e, u, {a, b, c}});
}

template <typename F>
F driver(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The driver's own entry points, found once.
struct Driver {
    void (*clear)(GLbitfield) = driver<decltype(clear)>("glClear");
    void (*enable)(GLenum) = driver<decltype(enable)>("glEnable");
    void (*disable)(GLenum) = driver<decltype(disable)>("glDisable");
    void (*loadIdentity)() = driver<decltype(loadIdentity)>("glLoadIdentity");
    void (*pushAttrib)(GLbitfield) = driver<decltype(pushAttrib)>("glPushAttrib");
    void (*popAttrib)() = driver<decltype(popAttrib)>("glPopAttrib");
    void (*bindTexture)(GLenum, GLuint) = driver<decltype(bindTexture)>("glBindTexture");
    void (*color3f)(GLfloat, GLfloat, GLfloat) = driver<decltype(color3f)>("glColor3f");
    void (*begin)(GLenum) = driver<decltype(begin)>("glBegin");
    void (*end)() = driver<decltype(end)>("glEnd");
    void (*texCoord2d)(GLdouble, GLdouble) = driver<decltype(texCoord2d)>("glTexCoord2d");
    void (*texCoord2f)(GLfloat, GLfloat) = driver<decltype(texCoord2f)>("glTexCoord2f");
    void (*vertex3d)(GLdouble, GLdouble, GLdouble) = driver<decltype(vertex3d)>("glVertex3d");
    void (*vertex3f)(GLfloat, GLfloat, GLfloat) = driver<decltype(vertex3f)>("glVertex3f");
    void (*pushMatrix)() = driver<decltype(pushMatrix)>("glPushMatrix");
    void (*popMatrix)() = driver<decltype(popMatrix)>("glPopMatrix");
    void (*translatef)(GLfloat, GLfloat, GLfloat) = driver<decltype(translatef)>("glTranslatef");
    void (*translated)(GLdouble, GLdouble, GLdouble) = driver<decltype(translated)>("glTranslated");
    void (*scalef)(GLfloat, GLfloat, GLfloat) = driver<decltype(scalef)>("glScalef");
    void (*callList)(GLuint) = driver<decltype(callList)>("glCallList");
};

const Driver& gl() {
    static Driver d;
    return d;
}

}  // namespace

void startRecording() {
    tape.clear();
    recording = true;
}

size_t stopRecording() {
    recording = false;
    return tape.size();
}

void replayTape() {
    const Driver& g = gl();
    for (const Call& c : tape) {
        const double* d = c.d;
        switch (c.op) {
        case Op::clear: g.clear(c.u); break;
        case Op::enable: g.enable(c.e); break;
        case Op::disable: g.disable(c.e); break;
        case Op::loadIdentity: g.loadIdentity(); break;
        case Op::pushAttrib: g.pushAttrib(c.u); break;
        case Op::popAttrib: g.popAttrib(); break;
        case Op::bindTexture: g.bindTexture(c.e, c.u); break;
        case Op::color3f: g.color3f(GLfloat(d[0]), GLfloat(d[1]), GLfloat(d[2])); break;
        case Op::begin: g.begin(c.e); break;
        case Op::end: g.end(); break;
        case Op::texCoord2d: g.texCoord2d(d[0], d[1]); break;
        case Op::texCoord2f: g.texCoord2f(GLfloat(d[0]), GLfloat(d[1])); break;
        case Op::vertex3d: g.vertex3d(d[0], d[1], d[2]); break;
        case Op::vertex3f: g.vertex3f(GLfloat(d[0]), GLfloat(d[1]), GLfloat(d[2])); break;
        case Op::pushMatrix: g.pushMatrix(); break;
        case Op::popMatrix: g.popMatrix(); break;
        case Op::translatef: g.translatef(GLfloat(d[0]), GLfloat(d[1]), GLfloat(d[2])); break;
        case Op::translated: g.translated(d[0], d[1], d[2]); break;
        case Op::scalef: g.scalef(GLfloat(d[0]), GLfloat(d[1]), GLfloat(d[2])); break;
        case Op::callList: g.callList(c.u); break;
        }
    }
}

// The entry points the game's frame calls.
extern "C" {
void glClear(GLbitfield m) { note(Op::clear, 0, m); gl().clear(m); }
void glEnable(GLenum e) { note(Op::enable, e); gl().enable(e); }
void glDisable(GLenum e) { note(Op::disable, e); gl().disable(e); }
void glLoadIdentity() { note(Op::loadIdentity); gl().loadIdentity(); }
void glPushAttrib(GLbitfield m) { note(Op::pushAttrib, 0, m); gl().pushAttrib(m); }
void glPopAttrib() { note(Op::popAttrib); gl().popAttrib(); }
void glBindTexture(GLenum t, GLuint n) { note(Op::bindTexture, t, n); gl().bindTexture(t, n); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { note(Op::color3f, 0, 0, r, g, b); gl().color3f(r, g, b); }
void glBegin(GLenum m) { note(Op::begin, m); gl().begin(m); }
void glEnd() { note(Op::end); gl().end(); }
void glTexCoord2d(GLdouble s, GLdouble t) { note(Op::texCoord2d, 0, 0, s, t); gl().texCoord2d(s, t); }
void glTexCoord2f(GLfloat s, GLfloat t) { note(Op::texCoord2f, 0, 0, s, t); gl().texCoord2f(s, t); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { note(Op::vertex3d, 0, 0, x, y, z); gl().vertex3d(x, y, z); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { note(Op::vertex3f, 0, 0, x, y, z); gl().vertex3f(x, y, z); }
void glPushMatrix() { note(Op::pushMatrix); gl().pushMatrix(); }
void glPopMatrix() { note(Op::popMatrix); gl().popMatrix(); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { note(Op::translatef, 0, 0, x, y, z); gl().translatef(x, y, z); }
void glTranslated(GLdouble x, GLdouble y, GLdouble z) { note(Op::translated, 0, 0, x, y, z); gl().translated(x, y, z); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { note(Op::scalef, 0, 0, x, y, z); gl().scalef(x, y, z); }
void glCallList(GLuint list) { note(Op::callList, 0, list); gl().callList(list); }
}

#include <cstdio>
void dumpTapeOps(const char* file) {
    std::FILE* f = std::fopen(file, "w");
    for (const Call& c : tape) std::fprintf(f, "%d %u %u %.3f %.3f %.3f\n", int(c.op), c.e, c.u, c.d[0], c.d[1], c.d[2]);
    std::fclose(f);
}
