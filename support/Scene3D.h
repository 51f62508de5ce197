#pragma once
// The 3D view: a perspective projection seen through the scene camera, with
// linear fog and up to eight point lights.

#include "support/BasicVector.h"
#include "support/Camera.h"
#include "support/Color.h"

struct GLUquadric;

class Scene3D {
 public:
  static constexpr int LIGHT_COUNT = 8;

  struct Light {
    float position[4] = {0, 0, 0, 1};  // world coordinates, w = 1 for a point light
    bool enabled = false;
    float attenuationDistance = 1;  // linear attenuation 1 / distance; 0 or less: no attenuation
  };

  Scene3D();
  ~Scene3D();
  Scene3D(const Scene3D&) = delete;
  Scene3D& operator=(const Scene3D&) = delete;

  // Sets the 3D drawing state, the projection and the camera's view, saves
  // the view in `viewMatrix` and configures the enabled lights.
  void apply();
  // Linear fog from three quarters of `distance` to `distance`.
  void setFog(Color colour, float distance);
  // Puts the camera `distance` away from `target` against its view direction,
  // then applies the view.
  void placeCamera(const Float3& target, float distance);
  // Turns the camera by the pointer's movement since the last call when `turn` is set.
  void mouseLook(const Int2& position, bool turn);
  // Eases the camera angles towards the given ones, the short way round;
  // a frame of 0.1 s or longer gets there at once.
  void turnCameraTowards(float pitch, float yaw, float roll);
  // Lighting on or off: this view's switch, OpenGL lighting and the quadric's
  // normals (smooth while lit, none otherwise).
  void setLighting(bool on);

  float fov = 110;  // vertical field of view, degrees
  bool lighting = false;
  Int2 lastMousePosition;
  float aspect = 1.3333334f;  // window width / height
  float viewMatrix[16] = {};  // the model-view matrix of the last apply
  Light lights[LIGHT_COUNT];
  float farPlane = 10000;
  Camera camera;
  float fogDistance = 150;
  GLUquadric* quadric;  // normals setting shared by the quadric shapes drawn in 3D

 private:
  void applyLights();
};
