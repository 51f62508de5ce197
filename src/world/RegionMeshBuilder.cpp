#include "RegionMeshBuilder.h"

#include <algorithm>
#include <cmath>
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

// Most cells of the zone grid along the longest side of the region's content.
const int gridCells = 16;

Float3 along(const signed char direction[3], float distance) {
  return Float3(direction[0] * distance, direction[1] * distance, direction[2] * distance);
}

// The box of a zone, computed exactly as CubeZone::containsPoint computes it.
void zoneBox(const CubeZone& zone, Float3& min, Float3& max) {
  Float3 half = zone.size * 0.5f;
  min = zone.position - half;
  max = half + zone.position;
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

// Random numbers from 0 to 32767, whatever the C library's RAND_MAX: an
// offset stays within one repeat of the texture, where texture coordinates
// keep their precision.
const int randomRange = 32768;

void addRandomOffset(const Float3& scale, Float2 texCoords[6][4]) {
  for (const RandomOffset& offset : randomOffsets) {
    int r = std::rand() % randomRange;
    float value = static_cast<float>(r * scale[offset.scaleAxis] / 32767.0);
    for (int face = offset.firstFace; face < offset.firstFace + 2; ++face)
      for (int corner = 0; corner < 4; ++corner) texCoords[face][corner][offset.coordinate] += value;
  }
}

void addShadowTriangles(const CubeZone& zone, VBO& vbo, unsigned int shadowTexture) {
  for (int face = 0; face < 6; ++face) {
    Float3 lift = along(shadowFaceNormals[face], shadowLift);
    const std::vector<Float3>& points = zone.shadowTriangles(face);
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

RegionMeshBuilder::RegionMeshBuilder(const std::vector<CubeZone>& regionZones, float parSizeOneCube)
    : zones(regionZones), sizeOneCube(parSizeOneCube) {
  buildGrid();
}

// The grid holds every collidable zone in each cell its box touches (both
// bounds included). Its box is computed exactly as containsPoint computes
// it, and cells follow coordinates monotonically, so a point a zone contains
// always lies in one of the zone's cells.
void RegionMeshBuilder::buildGrid() {
  std::vector<int> collidable = boundCollidableZones();
  if (collidable.empty()) return;
  sizeGrid(static_cast<int>(collidable.size()));
  fillGrid(collidable);
}

std::vector<int> RegionMeshBuilder::boundCollidableZones() {
  std::vector<int> collidable;
  for (size_t i = 0; i < zones.size(); ++i) {
    if (!cubeTypeManager->getCubeType(zones[i].id).collidable) continue;
    Float3 min, max;
    zoneBox(zones[i], min, max);
    if (!(min <= max)) continue;  // an empty or not-a-number box contains no point
    for (int axis = 0; axis < 3; ++axis) {
      if (collidable.empty() || min[axis] < gridMin[axis]) gridMin[axis] = min[axis];
      if (collidable.empty() || max[axis] > gridMax[axis]) gridMax[axis] = max[axis];
    }
    collidable.push_back(static_cast<int>(i));
  }
  return collidable;
}

// Cubic cells, fewer for fewer zones, at most gridCells along the longest side.
void RegionMeshBuilder::sizeGrid(int zoneCount) {
  float longest = 0.f;
  for (int axis = 0; axis < 3; ++axis)
    if (std::isfinite(gridMax[axis] - gridMin[axis])) longest = std::max(longest, gridMax[axis] - gridMin[axis]);
  int divisions = std::min(gridCells, std::max(1, 2 * static_cast<int>(std::cbrt(zoneCount))));
  float edge = longest / divisions;  // 0 when tiny zones make it underflow
  for (int axis = 0; axis < 3; ++axis) {
    float extent = gridMax[axis] - gridMin[axis];
    bool divided = extent > 0.f && std::isfinite(extent) && edge > 0.f;
    float cells = divided ? std::ceil(extent / edge) : 1.f;
    cellCount[axis] = cells >= divisions ? divisions : cells >= 1.f ? static_cast<int>(cells) : 1;
    cellSize[axis] = divided ? edge : 1.f;
  }
}

// Counts the zones of every cell, turns the counts into starts, then fills.
void RegionMeshBuilder::fillGrid(const std::vector<int>& collidable) {
  auto forEachCell = [&](int index, auto visit) {
    Float3 min, max;
    zoneBox(zones[index], min, max);
    int lo[3], hi[3];
    for (int axis = 0; axis < 3; ++axis) {
      lo[axis] = cellOf(axis, min[axis]);
      hi[axis] = cellOf(axis, max[axis]);
    }
    for (int z = lo[2]; z <= hi[2]; ++z)
      for (int y = lo[1]; y <= hi[1]; ++y)
        for (int x = lo[0]; x <= hi[0]; ++x) visit(x + cellCount[0] * (y + cellCount[1] * z));
  };
  cellStart.assign(static_cast<size_t>(cellCount[0]) * cellCount[1] * cellCount[2] + 1, 0);
  for (int index : collidable) forEachCell(index, [&](int cell) { ++cellStart[cell + 1]; });
  for (size_t cell = 1; cell < cellStart.size(); ++cell) cellStart[cell] += cellStart[cell - 1];
  std::vector<int> next(cellStart.begin(), cellStart.end() - 1);
  cellZones.resize(static_cast<size_t>(cellStart.back()));
  for (int index : collidable) forEachCell(index, [&](int cell) { cellZones[next[cell]++] = index; });
}

int RegionMeshBuilder::cellOf(int axis, float value) const {
  if (cellCount[axis] == 0 || !(value >= gridMin[axis] && value <= gridMax[axis])) return -1;
  float cell = std::floor((value - gridMin[axis]) / cellSize[axis]);
  if (cell >= 0.f && cell < cellCount[axis] - 1) return static_cast<int>(cell);
  return cell < 0.f ? 0 : cellCount[axis] - 1;  // the last cell also takes what rounding pushed past it
}

// True when another zone of the region holds all four probes of the face.
bool RegionMeshBuilder::isFaceHidden(const CubeZone& zone, const Float3 probes[4]) const {
  int x = cellOf(0, probes[0].x()), y = cellOf(1, probes[0].y()), z = cellOf(2, probes[0].z());
  if (x < 0 || y < 0 || z < 0) return false;  // outside every collidable zone
  int cell = x + cellCount[0] * (y + cellCount[1] * z);
  for (int i = cellStart[cell]; i < cellStart[cell + 1]; ++i) {
    const CubeZone& other = zones[cellZones[i]];
    if (&other == &zone) continue;
    bool holdsAll = true;
    for (int corner = 0; corner < 4 && holdsAll; ++corner) holdsAll = other.containsPoint(probes[corner]);
    if (holdsAll) return true;
  }
  return false;
}

void RegionMeshBuilder::addZone(const CubeZone& zone, VBO& vbo) const {
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
    Float3 worldCorners[4], probes[4];
    Float2 faceTexCoords[4];
    for (int corner = 0; corner < 4; ++corner) {
      worldCorners[corner] = corners[face][corner] + zone.position;
      faceTexCoords[corner] = Float2(texCoords[face][corner].x(), 1.f - texCoords[face][corner].y());
      probes[corner] = zone.position + (worldCorners[corner] + probe - zone.position) * probeShrink;
    }
    const CubeTypeTextureIds& textures = type.texturesForMesh();
    bool fullyShadowed = zone.faceFullyShadowed[shadowFaceOf[face]];
    unsigned int texture = fullyShadowed ? textures.faceShadowed[face] : textures.face[face];
    if (isFaceHidden(zone, probes)) continue;
    vbo.addQuad(texture, worldCorners, faceTexCoords);
  }

  if (drawShadows) addShadowTriangles(zone, vbo, type.texturesForMesh().shadow);
}

void RegionMeshBuilder::addAllZones(VBO& vbo) const {
  for (const CubeZone& zone : zones) addZone(zone, vbo);
}

void addZoneToMesh(const CubeZone& zone, VBO& vbo, const std::vector<CubeZone>& regionZones, float sizeOneCube) {
  RegionMeshBuilder(regionZones, sizeOneCube).addZone(zone, vbo);
}
