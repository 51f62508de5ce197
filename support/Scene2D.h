#pragma once
// The 2D view: an orthographic projection with its origin at the top-left
// corner and y downwards, for sprites, text and menus. Its coordinates are
// units of `virtualSize`, which equals the window size while it follows the
// window.

#include "support/BasicVector.h"

class Scene2D {
 public:
  // Sets the projection from the sizes and selects an identity model-view.
  void apply();
  // apply(), then the drawing state of 2D pictures: no lighting, no depth
  // test, both faces filled and front faces culled (the 2D routines wind
  // clockwise on screen, y pointing down).
  void beginDrawing();
  // A window pixel position in the view's coordinates.
  Int2 toViewCoordinates(int x, int y) const;

  Int2 windowSize{640, 480};   // the window's client size in pixels
  Int2 virtualSize{640, 480};  // the size of the 2D coordinate space
  float scaleX = 1.f;          // virtualSize / windowSize, per axis
  float scaleY = 1.f;
  bool followWindow = true;  // keep virtualSize equal to windowSize
};
