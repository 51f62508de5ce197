#include "Scene3D.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "support/GLManager.h"

Scene3D::Scene3D() : quadric(gluNewQuadric()) {}

Scene3D::~Scene3D() { gluDeleteQuadric(quadric); }

void Scene3D::apply() {
  if (lighting)
    glEnable(GL_LIGHTING);
  else
    glDisable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_LINE);
  glPolygonMode(GL_FRONT, GL_FILL);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fov, aspect, 0.1, farPlane);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  float rotation[16];
  camera.orientation.conjugate().toMatrix(rotation);
  glMultMatrixf(rotation);
  glTranslatef(-camera.position.x(), -camera.position.y(), -camera.position.z());
  glGetFloatv(GL_MODELVIEW_MATRIX, viewMatrix);
  applyLights();
}

void Scene3D::applyLights() {
  static const float diffuse[4] = {0.8f, 0.8f, 0.8f, 0.8f};
  static const float specular[4] = {1, 1, 1, 1};
  static const float ambient[4] = {0.5f, 0.5f, 0.5f, 1};
  for (int i = 0; i < LIGHT_COUNT; ++i) {
    if (!lights[i].enabled) continue;
    GLenum light = GL_LIGHT0 + i;
    bool attenuated = lights[i].attenuationDistance > 0;
    glLightf(light, GL_CONSTANT_ATTENUATION, 1);
    glLightf(light, GL_LINEAR_ATTENUATION, attenuated ? 1 / lights[i].attenuationDistance : 0);
    glLightf(light, GL_QUADRATIC_ATTENUATION, attenuated ? 0.00005f : 0);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_AMBIENT, ambient);
  }
  // Positions go through the view just loaded, so they are world coordinates.
  for (int i = 0; i < LIGHT_COUNT; ++i)
    if (lights[i].enabled) glLightfv(GL_LIGHT0 + i, GL_POSITION, lights[i].position);
}

void Scene3D::setFog(Color colour, float distance) {
  fogDistance = distance;
  glEnable(GL_FOG);
  glHint(GL_FOG_HINT, GL_NICEST);
  glFogf(GL_FOG_START, distance * 3 / 4);
  glFogf(GL_FOG_END, distance);
  glFogf(GL_FOG_DENSITY, 0.35f);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  // Divided by 256, not 255: full intensity is 0.99609375.
  const float fogColour[4] = {colour.r / 256.f, colour.g / 256.f, colour.b / 256.f, colour.a / 256.f};
  glFogfv(GL_FOG_COLOR, fogColour);
}

void Scene3D::placeCamera(const Float3& target, float distance) {
  const double degrees = M_PI / 180;
  double theta = camera.pitch * degrees + M_PI / 2;
  double phi = M_PI / 2 - camera.yaw * degrees;
  camera.position = target + Float3(distance * std::sin(theta) * std::cos(phi), distance * std::cos(theta),
                                    distance * std::sin(theta) * std::sin(phi));
  apply();
}

void Scene3D::mouseLook(const Int2& position, bool turn) {
  if (turn) {
    camera.rotatePitch(float(lastMousePosition.y() - position.y()));
    camera.rotateYaw(float(lastMousePosition.x() - position.x()));
  }
  lastMousePosition = position;
}

// The difference folded into -180 to 180, so that easing takes the short way
// round. The angles are never wrapped, so a difference may span several turns.
static float shortestTurn(float difference) { return std::remainder(difference, 360.f); }

void Scene3D::turnCameraTowards(float pitch, float yaw, float roll) {
  float dp = shortestTurn(camera.pitch - pitch);
  float dy = shortestTurn(camera.yaw - yaw);
  float dr = shortestTurn(0 - roll);
  float k = std::min(float(GLManager::periodDuration) / 100000.f, 1.f);
  camera.setRotation(Float3(pitch + dp - dp * k, yaw + dy - dy * k, roll + dr - dr * k));
}

void Scene3D::setLighting(bool on) {
  lighting = on;
  if (on)
    glEnable(GL_LIGHTING);
  else
    glDisable(GL_LIGHTING);
  gluQuadricNormals(quadric, on ? GLU_SMOOTH : GLU_NONE);
}
