#include "Camera.h"

#include "support/FatalReport.h"

static const float radiansPerDegree = 0.017453292f;

void Camera::rotatePitch(float degrees) {
  orientation = orientation * Quaternion::fromAxisAngle(Float3(1.f, 0.f, 0.f), degrees * radiansPerDegree);
  pitch += degrees;
}

void Camera::rotateYaw(float degrees) {
  orientation = Quaternion::fromAxisAngle(Float3(0.f, 1.f, 0.f), degrees * radiansPerDegree) * orientation;
  yaw += degrees;
}

void Camera::setPitch(float degrees) {
  rotatePitch(-pitch);
  pitch = 0;
  rotatePitch(degrees);
}

void Camera::setYaw(float degrees) {
  rotateYaw(-yaw);
  yaw = 0;
  rotateYaw(degrees);
}

void Camera::setRotation(const Float3& rot) {
  orientation = Quaternion();
  pitch = 0;
  yaw = 0;
  rotatePitch(rot.x());
  rotateYaw(rot.y());
  CHECK(rot.z() == 0.f);
}
