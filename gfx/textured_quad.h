// The textured rectangle most objects are drawn as: two triangles over
// (0, 0)-(width, height) of the current model-view coordinates, in the order
// (0, 0) (w, 0) (0, h), (w, 0) (w, h) (0, h), at depth 0.
#pragma once

// s is the texture coordinate at the left and right edges, t at the bottom
// and top edges (t = 0 is the picture's first row, so t = 1 at the bottom
// shows it upright).
void drawTexturedQuad(double width, double height, double sLeft, double sRight, double tBottom, double tTop);
