#include "CubeZoneMesh.h"

#include <cstdlib>

#include "CubeTypeManager.h"
#include "CubeZone.h"
#include "support/VBO.h"

bool drawShadows = true;

namespace {

// Face-hiding probes reach this far out of a face, in world units, and are
// pulled in by the shrink factor so that they fall inside a neighbour that
// covers the face exactly.
const float probeDistance = 0.5f;
const float probeShrink = 0.9999f;
// Shadow triangles float this far above their face, in world units.
const float shadowLift = 0.1f;
// Texture coordinates are multiplied by this unless the type's noDivide is set.
const float divideFactor = 0.04f;

// Corners of each box face (in cube face order), as signs of the half extents.
const signed char faceCorners[6][4][3] = {
    {{-1, +1, -1}, {-1, +1, +1}, {+1, +1, +1}, {+1, +1, -1}},  // top
    {{-1, -1, -1}, {+1, -1, -1}, {+1, -1, +1}, {-1, -1, +1}},  // bottom
    {{-1, -1, +1}, {+1, -1, +1}, {+1, +1, +1}, {-1, +1, +1}},  // front
    {{-1, +1, -1}, {+1, +1, -1}, {+1, -1, -1}, {-1, -1, -1}},  // back
    {{-1, -1, -1}, {-1, -1, +1}, {-1, +1, +1}, {-1, +1, -1}},  // left
    {{+1, -1, -1}, {+1, +1, -1}, {+1, +1, +1}, {+1, -1, +1}},  // right
};

// Base texture coordinates (s, t) of the same corners: 0 for zero, else
// 1 + the axis of the texture scale they take (1 x, 2 y, 3 z).
const unsigned char faceTexCoords[6][4][2] = {
    {{0, 3}, {0, 0}, {1, 0}, {1, 3}},  // top
    {{0, 0}, {1, 0}, {1, 3}, {0, 3}},  // bottom
    {{0, 0}, {1, 0}, {1, 2}, {0, 2}},  // front
    {{1, 2}, {0, 2}, {0, 0}, {1, 0}},  // back
    {{0, 0}, {3, 0}, {3, 2}, {0, 2}},  // left
    {{3, 0}, {3, 2}, {0, 2}, {0, 0}},  // right
};

// Outward directions of the cube faces and of the shadow faces.
const signed char cubeFaceNormals[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
const signed char shadowFaceNormals[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

// The shadow face of each cube face.
const int shadowFaceOf[6] = {SHADOW_FACE_TOP,  SHADOW_FACE_BOTTOM, SHADOW_FACE_FRONT,
                             SHADOW_FACE_BACK, SHADOW_FACE_LEFT,   SHADOW_FACE_RIGHT};

// The random texture offset, drawn in this order: which pair of faces, which
// coordinate (0 s, 1 t), and the scale axis it is multiplied by.
struct RandomOffset {
  int firstFace;
  int coordinate;
  int scaleAxis;
};
const RandomOffset randomOffsets[6] = {{FACE_TOP, 1, 2},  {FACE_TOP, 0, 0},  {FACE_FRONT, 1, 1},
                                       {FACE_FRONT, 0, 0}, {FACE_LEFT, 1, 1}, {FACE_LEFT, 0, 2}};

const Float2 shadowTexCoords[3] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(0.f, 1.f)};

Float3 along(const signed char direction[3], float distance) {
  return Float3(direction[0] * distance, direction[1] * distance, direction[2] * distance);
}

// Fills the box face tables for half extents `half` and texture scale `scale`.
void buildFaceTables(const Float3& half, const Float3& scale, Float3 corners[6][4], Float2 texCoords[6][4]) {
  for (int face = 0; face < 6; ++face)
    for (int corner = 0; corner < 4; ++corner) {
      const signed char* sign = faceCorners[face][corner];
      corners[face][corner] = Float3(sign[0] * half.x(), sign[1] * half.y(), sign[2] * half.z());
      const unsigned char* axis = faceTexCoords[face][corner];
      texCoords[face][corner] = Float2(axis[0] ? scale[axis[0] - 1] : 0.f, axis[1] ? scale[axis[1] - 1] : 0.f);
    }
}

void addRandomOffset(const Float3& scale, Float2 texCoords[6][4]) {
  for (const RandomOffset& offset : randomOffsets) {
    float value = static_cast<float>(std::rand() * scale[offset.scaleAxis] / 32767.0);
    for (int face = offset.firstFace; face < offset.firstFace + 2; ++face)
      for (int corner = 0; corner < 4; ++corner) texCoords[face][corner][offset.coordinate] += value;
  }
}

// True when another zone of the region holds all four probes of the face.
bool isFaceHidden(const CubeZone& zone, const Float3 worldCorners[4], const Float3& probe,
                  const std::vector<CubeZone>& regionZones) {
  Float3 probes[4];
  for (int corner = 0; corner < 4; ++corner)
    probes[corner] = zone.position + (worldCorners[corner] + probe - zone.position) * probeShrink;
  for (const CubeZone& other : regionZones) {
    if (&other == &zone) continue;
    bool holdsAll = true;
    for (int corner = 0; corner < 4 && holdsAll; ++corner) holdsAll = other.containsPoint(probes[corner]);
    if (holdsAll) return true;
  }
  return false;
}

void addShadowTriangles(const CubeZone& zone, VBO& vbo, unsigned int shadowTexture) {
  for (int face = 0; face < 6; ++face) {
    Float3 lift = along(shadowFaceNormals[face], shadowLift);
    const std::vector<Float3>& points = zone.shadowTrianglesForEachFace[face];
    for (size_t i = 0; i + 3 <= points.size(); i += 3) {
      Float3 corners[3];
      for (int c = 0; c < 3; ++c) corners[c] = (points[i + c] + lift) + zone.position;
      vbo.addTriangle(shadowTexture, corners, shadowTexCoords);
    }
  }
  // Drawn after, and blended over, the faces it darkens.
  vbo.getGeometry(shadowTexture).transparent = true;
}

}  // namespace

void addZoneToMesh(const CubeZone& zone, VBO& vbo, const std::vector<CubeZone>& regionZones, float sizeOneCube) {
  Float3 scale = zone.size / sizeOneCube;
  CubeType& type = cubeTypeManager->getCubeType(zone.id);
  if (type.noStretch == 0) scale = Float3(1.f, 1.f, 1.f);
  if (type.noDivide == 0) scale = scale * divideFactor;

  Float3 corners[6][4];
  Float2 texCoords[6][4];
  buildFaceTables(zone.size * 0.5f, scale, corners, texCoords);
  if (type.noRandomOffset == 0) addRandomOffset(scale, texCoords);

  for (int face = 0; face < 6; ++face) {
    Float3 probe = along(cubeFaceNormals[face], probeDistance);
    Float3 worldCorners[4];
    Float2 faceTexCoords[4];
    for (int corner = 0; corner < 4; ++corner) {
      worldCorners[corner] = corners[face][corner] + zone.position;
      faceTexCoords[corner] = Float2(texCoords[face][corner].x(), 1.f - texCoords[face][corner].y());
    }
    const CubeTypeTextureIds& textures = type.texturesForMesh();
    bool fullyShadowed = zone.faceFullyShadowed[shadowFaceOf[face]];
    unsigned int texture = fullyShadowed ? textures.faceShadowed[face] : textures.face[face];
    if (isFaceHidden(zone, worldCorners, probe, regionZones)) continue;
    vbo.addQuad(texture, worldCorners, faceTexCoords);
  }

  if (drawShadows) addShadowTriangles(zone, vbo, type.texturesForMesh().shadow);
}
