#include "gfx/solid_box.h"
#include <new>
#include <utility>

ShapeListRecord* shapeLists[shapeKindCount] = {};

namespace {

struct Face {
    GLdouble normal[3];
    int corners[4];
};

// Corner numbers index the corner table built in drawBoxFaces.
constexpr Face boxFaces[6] = {
    {{-1, 0, 0}, {0, 1, 2, 3}}, {{0, 1, 0}, {3, 2, 6, 7}}, {{1, 0, 0}, {7, 6, 5, 4}},
    {{0, -1, 0}, {4, 5, 1, 0}}, {{0, 0, 1}, {5, 6, 2, 1}}, {{0, 0, -1}, {7, 4, 0, 3}},
};

bool validKind(int kind) { return kind >= 0 && kind < shapeKindCount; }

}  // namespace

void drawBoxFaces(double x0, double x1, double y0, double y1, double z0, double z1, GLenum primitive) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    if (z0 > z1) std::swap(z0, z1);
    const GLdouble corners[8][3] = {
        {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0},
        {x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0},
    };
    for (const Face& face : boxFaces) {
        glBegin(primitive);
        for (int corner : face.corners) {
            glNormal3dv(face.normal);
            glVertex3dv(corners[corner]);
        }
        glEnd();
    }
}

bool sameParameters(const double* a, const double* b, int count) {
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

GLuint findDisplayList(int kind, const double* parameters, int count) {
    if (!validKind(kind)) return 0;
    for (ShapeListRecord* r = shapeLists[kind]; r; r = r->next)
        if (sameParameters(r->parameters.get(), parameters, count)) return r->listName;
    return 0;
}

GLuint makeDisplayList(int kind, const double* parameters, int count) {
    if (!validKind(kind) || count < 0) return 0;
    ShapeListRecord* record = new (std::nothrow) ShapeListRecord;
    if (!record) return 0;
    record->parameters.reset(new (std::nothrow) double[count > 0 ? count : 1]);
    // A name of 0 would never be found again, and every later draw would add
    // another record: keep none then.
    record->listName = record->parameters ? glGenLists(1) : 0;
    if (record->listName == 0) {
        delete record;
        return 0;
    }
    for (int i = 0; i < count; ++i) record->parameters[i] = parameters[i];
    record->parameterCount = count;
    record->next = shapeLists[kind];
    shapeLists[kind] = record;
    return record->listName;
}

void drawSolidBox(double width, double height, double depth) {
    // The lookup key lives on the stack: a frame full of boxes allocates nothing.
    const double size[3] = {width, height, depth};
    if (GLuint list = findDisplayList(solidBoxKind, size, 3)) {
        glCallList(list);
        return;
    }
    GLuint list = makeDisplayList(solidBoxKind, size, 3);
    if (list) glNewList(list, GL_COMPILE_AND_EXECUTE);  // drawn while it is compiled
    drawBoxFaces(-width / 2, width / 2, -height / 2, height / 2, -depth / 2, depth / 2, GL_QUADS);
    if (list) glEndList();
}

void forgetDisplayLists() {
    for (ShapeListRecord*& head : shapeLists) {
        while (head) {
            ShapeListRecord* next = head->next;
            delete head;
            head = next;
        }
    }
}
