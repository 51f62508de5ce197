#pragma once
// Turns the cube zones of a region into textured quads (and shadow
// triangles) in the region's mesh: faces that touch a collidable zone of the
// same region are left out, faces in full shadow get the darker texture, and
// partial shadows are laid over the faces as half-transparent triangles.
//
// A face is hidden when one other zone of the region contains all four of
// its probes (points 0.5 world units out of the face's corners). The zones
// that may contain a point are found through a grid over the region, built
// once per region, so building a region's mesh grows about linearly with its
// zones rather than with their square.

#include <vector>

#include "support/BasicVector.h"

class CubeZone;
class VBO;

// Whether meshes get their shadow triangles; true at start. Whoever changes
// it drops every region's mesh so that all are rebuilt.
extern bool drawShadows;

class RegionMeshBuilder {
 public:
  // `regionZones` are all zones of the region; they must stay unchanged while
  // the builder is used. `sizeOneCube` is the edge of one cube in world units.
  RegionMeshBuilder(const std::vector<CubeZone>& regionZones, float sizeOneCube);

  // Adds one zone of the region (an element of regionZones) to `vbo`.
  void addZone(const CubeZone& zone, VBO& vbo) const;
  // Adds every zone of the region, in list order.
  void addAllZones(VBO& vbo) const;

 private:
  bool isFaceHidden(const CubeZone& zone, const Float3 probes[4]) const;
  // The grid cell of a coordinate on one axis, or -1 outside the grid.
  int cellOf(int axis, float value) const;
  void buildGrid();
  // The collidable zones that can contain a point, with gridMin and gridMax
  // set around them.
  std::vector<int> boundCollidableZones();
  void sizeGrid(int zoneCount);
  void fillGrid(const std::vector<int>& collidable);

  const std::vector<CubeZone>& zones;
  float sizeOneCube;
  // Collidable zones by grid cell: those of cell c are
  // cellZones[cellStart[c]] to cellZones[cellStart[c + 1] - 1].
  Float3 gridMin, gridMax, cellSize;
  int cellCount[3] = {0, 0, 0};
  std::vector<int> cellStart;
  std::vector<int> cellZones;
};

// Adds `zone` to `vbo`, hiding its faces against the other zones of
// `regionZones` (which holds `zone`). For a whole region, one
// RegionMeshBuilder is faster.
void addZoneToMesh(const CubeZone& zone, VBO& vbo, const std::vector<CubeZone>& regionZones, float sizeOneCube);
