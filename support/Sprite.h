#pragma once
// A textured rectangle in the 2D view, anchored at `position` through its hot
// spot and scaled by scaleX, scaleY. It is also the engine's texture handle:
// cube faces, water, the skybox and model materials keep sprites for the
// texture of their image. Sprites are made and released only by the
// SpriteManager, which shares their images.

#include <vector>

#include "support/BasicVector.h"

class Image;

// Where a sprite's anchor lies in its picture.
enum HotSpotAlignment {
  HOTSPOT_TOP_LEFT = 1,
  HOTSPOT_CENTRE = 2,
  HOTSPOT_BOTTOM_RIGHT = 3,
  HOTSPOT_MIDDLE_LEFT = 4,
  HOTSPOT_MIDDLE_RIGHT = 5,
};

class Sprite {
 public:
  // `images` must hold at least one image; the hot spot is set from the
  // first one's size. An alignment outside 1 to 5 is fatal.
  Sprite(const std::vector<Image*>& images, int hotSpotAlignment);

  // Draws the picture at `position` with the current colour, filling
  // `corners` on the way.
  void draw();
  // Scales uniformly by the largest factor that keeps the picture inside
  // width x height.
  void fitInto(float width, float height);
  // The drawn size: image size times scale, each truncated toward zero.
  Int2 getSize() const;
  // The texture drawn, that of the current image.
  unsigned int getTexture() const;

  // The corner drawn for `point`, through the polar form of point - position
  // (see Sprite.cpp).
  static Int2 polarCorner(const Int2& position, const Int2& point);

  std::vector<Image*> images;  // the manager's shared images; one per sprite
  int currentImage = 0;        // the image drawn
  Int2 position;               // the anchor, in 2D view coordinates
  Int2 hotSpot;                // the anchor's offset inside the picture
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  Int2 corners[4];  // the screen corners of the last draw
};
