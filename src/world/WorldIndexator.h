#pragma once
// The region table: world space cut into equal cubic regions, each holding
// the zones and script objects that lie in it. The table is a dense 3D array
// that grows on demand in any direction (within fixed limits) and can be
// fitted to its content.
//
// A table index (i, j, k) counts from the table's first cell; a region index
// is absolute: table index + tableRegionOrigin. Region r spans
// [r * sizeOneRegion, (r + 1) * sizeOneRegion) on each axis.

#include <vector>

#include "WorldRegion.h"
#include "support/BasicVector.h"

class BinaryReader;
class BinaryWriter;

class WorldIndexator {
 public:
  // Limits of the table, so that a placement far away cannot allocate
  // billions of regions: regions on one axis, and regions in all.
  static constexpr int maxRegionsPerAxis = 4096;
  static constexpr int maxRegions = 1 << 20;

  WorldIndexator(float parSizeOneRegion, float parSizeOneCube);

  // The region at a table index, which must lie inside the table.
  WorldRegion& getRegion(const Int3& posIndex);
  bool isInTable(const Int3& tableIndex) const;
  // The table index of the region holding a world position (may lie outside
  // the table).
  Int3 regionIndexOf(const Float3& position) const;
  // The table index of the one region that holds the box, growing the table
  // to reach it; false when the box spans two regions or lies beyond the
  // table's limits.
  bool findRegionForBox(const Float3& centre, const Float3& size, Int3& tableIndex);

  bool addCubeZone(const CubeZone& zone);
  bool addObject(const CustomObject& object);
  // Removes the zone, else the object, placed exactly at `position`.
  bool removeAt(const Float3& position);
  // Removes the zone, else the object, nearest to `position` in its region.
  bool removeNearest(const Float3& position);
  void clearRegionAt(const Float3& position);
  // True when a zone of the position's own region contains it.
  bool isCollidingPoint(const Float3& position);
  // The highest zone top above (x, z), or the lowest float when there is none.
  float groundHeight(float x, float z) const;

  // Grows the table so that it holds region index `regionIndex`; the growth
  // at the low end (not positive) goes to `lowEndGrowth`. False, with a line
  // on standard output, when the table would exceed its limits.
  bool ensureInTable(const Int3& regionIndex, Int3* lowEndGrowth = nullptr);
  // Shrinks or grows the table to cover exactly its non-empty regions and
  // region indices -1 and 0 on every axis.
  void fitToContent();
  void dropAllMeshes();
  // Frees every region and makes a fresh table of 2 x 2 x 2 empty regions at
  // origin (-1, -1, -1).
  void resetTable();

  // The region table section of a world file. Reading replaces the table.
  void write(BinaryWriter& out) const;
  void read(BinaryReader& in, int cubeTypeCount);

  float sizeOneRegion;  // edge of a region, world units
  float sizeOneCube;    // edge of a cube, world units
  Int3 tableRegionOrigin;
  Int3 tableRegionSize;
  std::vector<WorldRegion> tableRegions;  // cell (i, j, k) at i + size x * (j + size y * k)
  float drawDistance = 0;                 // world units around the camera that are kept and drawn
  bool progressiveLoading = true;

 private:
  // Position in tableRegions of a table index in a table of `size`.
  static size_t cellIndex(const Int3& tableIndex, const Int3& size);
  // Moves the low end by `lowEndChange` and the far end by `farEndChange`
  // (growth: low <= 0, far >= 0), keeping every region at its region index.
  void resize(const Int3& lowEndChange, const Int3& farEndChange);
  // Whether the table may take this size.
  static bool withinLimits(const long long size[3]);
  // Reads the origin and size of a world file's table; refuses a table that
  // does not cover regions -1 and 0, exceeds the limits, or has more cells
  // than the rest of the file could hold.
  static void readTableShape(BinaryReader& in, Int3& origin, Int3& size);
};

// The process-wide region table, created and destroyed by the indexed world.
extern WorldIndexator* worldIndexator;
