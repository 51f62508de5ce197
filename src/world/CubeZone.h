#pragma once
// A box filled with cubes of one type: a wall, a floor or a block of terrain
// in one record. It lies in exactly one region and carries the static shadow
// data of its six faces.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "support/BasicVector.h"

class BinaryReader;
class BinaryWriter;

// Face order of the shadow data, which differs from the cube face order.
enum ShadowFace {
  SHADOW_FACE_LEFT,    // -x
  SHADOW_FACE_RIGHT,   // +x
  SHADOW_FACE_BOTTOM,  // -y
  SHADOW_FACE_TOP,     // +y
  SHADOW_FACE_BACK,    // -z
  SHADOW_FACE_FRONT    // +z
};

class CubeZone {
 public:
  CubeZone() = default;
  // A zone without shadow data.
  CubeZone(int typeId, const Float3& zonePosition, const Float3& zoneSize);
  CubeZone(const CubeZone& other);
  CubeZone& operator=(const CubeZone& other);
  CubeZone(CubeZone&&) = default;
  CubeZone& operator=(CubeZone&&) = default;

  // Reads a zone record; `cubeTypeCount` bounds the type id.
  void read(BinaryReader& in, int cubeTypeCount);
  void write(BinaryWriter& out) const;

  // True when the point lies in the box, borders included; zones of
  // non-collidable types contain nothing.
  bool containsPoint(const Float3& point) const;
  // The height of the top face when (x, z) lies strictly inside the box's
  // ground plan.
  std::optional<float> topAt(float x, float z) const;

  // The partial-shadow triangles of a shadow face: three points each,
  // relative to the centre.
  const std::vector<Float3>& shadowTriangles(int face) const;
  std::vector<Float3>& editShadowTriangles(int face);
  void clearShadowTriangles() { shadowTrianglesForEachFace.reset(); }

  int id = 0;        // cube type id, never negative
  Float3 position;   // centre of the box, world units
  Float3 size;       // full edge lengths, whole multiples of the cube size
  int reserved = 0;  // kept through the world file, used by nothing
  bool faceFullyShadowed[6] = {};  // per shadow face: it faces away from the light

 private:
  typedef std::array<std::vector<Float3>, 6> ShadowTriangleLists;
  // Held apart, and only while some face has triangles, so that a zone stays
  // small: a world holds hundreds of thousands of them.
  std::unique_ptr<ShadowTriangleLists> shadowTrianglesForEachFace;
};
