#pragma once
// Rotation quaternions (x, y, z, w) in single precision, Hamilton product.

#include <cmath>

#include "support/BasicVector.h"

struct Quaternion {
  float x = 0, y = 0, z = 0, w = 1;  // the identity

  Quaternion() = default;
  Quaternion(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}

  // Rotation of `radians` about `axis` (normalised here).
  static Quaternion fromAxisAngle(Float3 axis, float radians) {
    axis.normalize();
    float s = std::sin(radians / 2);
    return Quaternion(axis[0] * s, axis[1] * s, axis[2] * s, std::cos(radians / 2));
  }

  Quaternion operator*(const Quaternion& q) const {
    return Quaternion(w * q.x + x * q.w + y * q.z - z * q.y, w * q.y + y * q.w + z * q.x - x * q.z,
                      w * q.z + z * q.w + x * q.y - y * q.x, w * q.w - x * q.x - y * q.y - z * q.z);
  }

  Quaternion conjugate() const { return Quaternion(-x, -y, -z, w); }

  // The rotation as an OpenGL matrix (column-major, 16 floats).
  void toMatrix(float m[16]) const {
    m[0] = 1 - 2 * (y * y + z * z);
    m[1] = 2 * (x * y + w * z);
    m[2] = 2 * (x * z - w * y);
    m[4] = 2 * (x * y - w * z);
    m[5] = 1 - 2 * (x * x + z * z);
    m[6] = 2 * (y * z + w * x);
    m[8] = 2 * (x * z + w * y);
    m[9] = 2 * (y * z - w * x);
    m[10] = 1 - 2 * (x * x + y * y);
    m[3] = m[7] = m[11] = m[12] = m[13] = m[14] = 0;
    m[15] = 1;
  }

  // The vector v turned by this rotation.
  Float3 rotate(const Float3& v) const {
    Quaternion r = *this * Quaternion(v[0], v[1], v[2], 0) * conjugate();
    return Float3(r.x, r.y, r.z);
  }
};
