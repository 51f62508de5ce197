#pragma once
// The small immediate-mode drawing routines the engine shares. The 2D ones
// work in the current 2D view (Scene2D), the 3D ones in the current
// model-view matrix; all use the current colour.
//
// Texture names are OpenGL texture objects. Box faces come in the order
// top, bottom, front, back, left, right (+y, -y, +z, -z, -x, +x).

#include <string>

#include "support/BasicVector.h"

// One textured rectangle with its top-left corner at (x, y) and the texture
// window (s0, t0) to (s1, t1); t0 is at the top.
void drawTexturedRect(unsigned int texture, int x, int y, float s0, float t0, float s1, float t1, int width,
                      int height);
// One textured quad through four corners, with the texture coordinates
// (1, 1), (0, 1), (0, 0), (1, 0); a flip exchanges 0 and 1 on its axis.
void drawQuad(const Int2 corners[4], unsigned int texture, bool flipX, bool flipY);
// A plain rectangle between the corners a and b, filled or as an outline.
// Leaves texturing off.
void drawRect(const Int2& a, const Int2& b, bool filled);
// Text in the toolkit's 8-by-13 bitmap font, starting at raster position (x, y).
void drawBitmapText(const std::string& text, int x, int y);

// An axis-aligned box of `size` centred on the origin. With `textures` (six
// names, one per face) the faces are textured quads, texture coordinates
// scaled by texCoords, and texturing is left as the caller set it. Without
// textures (null) it is a wire box, and the usual filled, culled and
// textured state is restored afterwards. insideOut moves every face to the
// opposite side, keeping its winding, so that the box is seen from inside.
void drawBox(const unsigned int* textures, const Float3& size, const Float3& texCoords, bool insideOut);

// A quad in the plane y = 0 centred on the origin, size (width along x,
// depth along z), facing up, or down with `downward`. Texture -1 keeps the
// bound texture.
void drawHorizontalQuad(const Float2& size, int texture, const Float2& texCoords, bool downward);
// A quad through four corners facing down (normal -y); texture as above.
void drawCornerQuad(int texture, const Float3 corners[4], const Float2& texCoords);

// Multiplies the model-view matrix by rotations about x, then y, then z (degrees).
void rotateXYZ(float x, float y, float z);
