// Solid boxes drawn from display lists, one list per distinct size, compiled
// at the first draw of that size and replayed from then on.
#pragma once
#include <GL/gl.h>
#include <memory>

struct ShapeListRecord {
    GLuint listName = 0;
    ShapeListRecord* next = nullptr;    // the next record of the same shape kind
    int parameterCount = 0;
    std::unique_ptr<double[]> parameters;  // for a box: width, height, depth
};

// One list of records per shape kind; new records go to the front.
constexpr int shapeKindCount = 16;
constexpr int solidBoxKind = 12;
extern ShapeListRecord* shapeLists[shapeKindCount];

// A box of the given size centred on the origin, in the current colour,
// texture and transform; six quads with face normals, no texture coordinates.
void drawSolidBox(double width, double height, double depth);
// The six faces between the bounds; a bound pair given the wrong way round is
// swapped first.
void drawBoxFaces(double x0, double x1, double y0, double y1, double z0, double z1, GLenum primitive);

// The list of the most recently made record with exactly these parameters;
// 0 when there is none.
GLuint findDisplayList(int kind, const double* parameters, int count);
// A new record with a new list name and a copy of the parameters; 0 when no
// record or no list name could be had.
GLuint makeDisplayList(int kind, const double* parameters, int count);
// Exact equality of every value (so 0 equals -0 and NaN equals nothing).
bool sameParameters(const double* a, const double* b, int count);

// Drops every record: their lists belonged to a context that is gone.
void forgetDisplayLists();
