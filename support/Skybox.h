#pragma once
// The sky: a box of six pictures around the camera, seen from inside. It
// moves with the camera and turns only with the camera's view.

#include <string>

#include "support/BasicVector.h"

class Sprite;

class Skybox {
 public:
  // One picture per face, through the sprite manager; `size` is the box's
  // side on all three axes.
  Skybox(const std::string& top, const std::string& bottom, const std::string& front, const std::string& back,
         const std::string& left, const std::string& right, float size);
  // Releases the six sprites.
  ~Skybox();
  Skybox(const Skybox&) = delete;
  Skybox& operator=(const Skybox&) = delete;

  // Draws the box inside-out around the camera of the 3D view, in the view
  // saved by its last apply, in opaque white.
  void draw() const;

  Sprite* sprites[6];          // top, bottom, front, back, left, right
  unsigned int textures[6];    // their textures, same order
  Float3 size;
};
