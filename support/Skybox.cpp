#include "Skybox.h"

#include <GL/gl.h>

#include "support/DrawingRoutines.h"
#include "support/GLManager.h"
#include "support/Scene3D.h"
#include "support/SpriteManager.h"

Skybox::Skybox(const std::string& top, const std::string& bottom, const std::string& front, const std::string& back,
               const std::string& left, const std::string& right, float size)
    : size(size, size, size) {
  const std::string* names[6] = {&top, &bottom, &front, &back, &left, &right};
  for (int face = 0; face < 6; ++face) {
    sprites[face] = GLManager::spriteManager->createSprite(*names[face], HOTSPOT_TOP_LEFT);
    textures[face] = sprites[face]->getTexture();
  }
}

Skybox::~Skybox() {
  for (Sprite* sprite : sprites) GLManager::spriteManager->removeSprite(sprite);
}

void Skybox::draw() const {
  glColor4ub(255, 255, 255, 255);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadMatrixf(GLManager::scene3D->viewMatrix);
  const Float3& eye = GLManager::scene3D->camera.position;
  glTranslatef(eye.x(), eye.y(), eye.z());
  drawBox(textures, size, Float3(1.f, 1.f, 1.f), true);
  glPopMatrix();
}
