#pragma once
// The scene camera: a position and an orientation steered by two angles in
// degrees. Pitch turns about the camera's own x axis (applied on the right),
// yaw about the world's y axis (applied on the left), so the orientation is
// always yaw(yaw) * pitch(pitch) whatever the order of the calls, and turning
// never tilts the horizon. The camera looks along -z of its own frame.

#include "support/BasicVector.h"
#include "support/Quaternion.h"

class Camera {
 public:
  void rotatePitch(float degrees);
  void rotateYaw(float degrees);
  void setPitch(float degrees);
  void setYaw(float degrees);
  // rot = (pitch, yaw, roll) in degrees; the camera has no roll, so roll must be 0.
  void setRotation(const Float3& rot);

  // The direction the camera looks along, in world coordinates.
  Float3 viewDirection() const { return orientation.rotate(Float3(0.f, 0.f, -1.f)); }

  Float3 position;
  Quaternion orientation;
  // Sums of the rotations applied since the last reset, never wrapped.
  float pitch = 0;
  float yaw = 0;
};
