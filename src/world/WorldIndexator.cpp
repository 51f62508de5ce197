#include "WorldIndexator.h"

#include <cmath>
#include <iostream>
#include <limits>
#include <sstream>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/FatalReport.h"

WorldIndexator* worldIndexator = nullptr;

namespace {

// Region indices are clamped to this magnitude (and a NaN coordinate lands on
// it), far beyond the table's limits, so every position has an index.
const float regionIndexLimit = 1 << 30;

// A corner may poke this far into the next region and still count as inside.
const float borderTolerance[3] = {-0.01f, 0.0f, 0.01f};

// The smallest cell of a world file: two empty records of count and extension length.
const long long minCellBytes = 16;

int regionCoordinate(float position, float sizeOneRegion) {
  float index = std::floor(position / sizeOneRegion);
  if (std::isnan(index) || index > regionIndexLimit) return static_cast<int>(regionIndexLimit);
  if (index < -regionIndexLimit) return -static_cast<int>(regionIndexLimit);
  return static_cast<int>(index);
}

std::string text(const Int3& v) {
  std::ostringstream out;
  out << "(" << v.x() << ", " << v.y() << ", " << v.z() << ")";
  return out.str();
}

Int3 readInt3(BinaryReader& in, const char* what) {
  int x = in.readInt32(what);
  int y = in.readInt32(what);
  int z = in.readInt32(what);
  return Int3(x, y, z);
}

// Index of the nearest element to `position`; ties go to the later one.
template <typename Element>
size_t nearestIndex(const std::vector<Element>& elements, const Float3& position) {
  size_t best = 0;
  float bestDistance = std::numeric_limits<float>::infinity();
  for (size_t i = 0; i < elements.size(); ++i) {
    float distance = (elements[i].position - position).length();
    if (distance <= bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

WorldIndexator::WorldIndexator(float parSizeOneRegion, float parSizeOneCube)
    : sizeOneRegion(parSizeOneRegion), sizeOneCube(parSizeOneCube) {
  CHECK(parSizeOneRegion > 0.f);
  CHECK(parSizeOneCube > 0.f);
  // Next step: check that the device manager exists (condition "deviceManager").
  resetTable();
}

size_t WorldIndexator::cellIndex(const Int3& t, const Int3& size) {
  return static_cast<size_t>(t.x()) +
         static_cast<size_t>(size.x()) * (static_cast<size_t>(t.y()) + static_cast<size_t>(size.y()) * t.z());
}

bool WorldIndexator::isInTable(const Int3& tableIndex) const {
  return tableIndex >= Int3(0, 0, 0) && tableIndex < tableRegionSize;
}

WorldRegion& WorldIndexator::getRegion(const Int3& posIndex) {
  CHECK(posIndex >= Int3(0,0,0) && posIndex < tableRegionSize);
  return tableRegions[cellIndex(posIndex, tableRegionSize)];
}

Int3 WorldIndexator::regionIndexOf(const Float3& position) const {
  return Int3(regionCoordinate(position.x(), sizeOneRegion), regionCoordinate(position.y(), sizeOneRegion),
              regionCoordinate(position.z(), sizeOneRegion)) -
         tableRegionOrigin;
}

bool WorldIndexator::findRegionForBox(const Float3& centre, const Float3& size, Int3& tableIndex) {
  Float3 lo = centre - size * 0.5f;
  Float3 hi = size * 0.5f + centre;
  Int3 a = regionIndexOf(lo);
  Int3 b = regionIndexOf(hi);
  // A box that pokes at most 0.01 into the next region belongs to the region
  // of its other corner.
  auto toleratedIn = [&](const Float3& corner, const Int3& region) {
    for (float ox : borderTolerance)
      for (float oy : borderTolerance)
        for (float oz : borderTolerance)
          if (regionIndexOf(corner + Float3(ox, oy, oz)) == region) return true;
    return false;
  };
  Int3 chosen;
  if (a == b || toleratedIn(hi, a)) {
    chosen = a;
  } else if (toleratedIn(lo, b)) {
    chosen = b;
  } else {
    return false;
  }
  if (!isInTable(chosen)) {
    Int3 lowEndGrowth;
    if (!ensureInTable(chosen + tableRegionOrigin, &lowEndGrowth)) return false;
    chosen -= lowEndGrowth;
  }
  tableIndex = chosen;
  return true;
}

bool WorldIndexator::withinLimits(const long long size[3]) {
  long long cells = 1;
  for (int axis = 0; axis < 3; ++axis) {
    if (size[axis] > maxRegionsPerAxis) return false;
    cells *= size[axis];
  }
  return cells <= maxRegions;
}

bool WorldIndexator::ensureInTable(const Int3& regionIndex, Int3* lowEndGrowth) {
  Int3 d = regionIndex - tableRegionOrigin;
  Int3 modMax, modMin;
  long long newSize[3];
  for (int axis = 0; axis < 3; ++axis) {
    modMax[axis] = d[axis] >= tableRegionSize[axis] ? d[axis] - tableRegionSize[axis] + 1 : 0;
    modMin[axis] = d[axis] < 0 ? d[axis] : 0;
    newSize[axis] = static_cast<long long>(tableRegionSize[axis]) - modMin[axis] + modMax[axis];
  }
  CHECK(modMin <= Int3(0,0,0));
  if (!withinLimits(newSize)) {
    std::cout << "Placement refused: region " << text(regionIndex) << " lies beyond the region table's limits ("
              << maxRegionsPerAxis << " regions on an axis, " << maxRegions << " in all)" << std::endl;
    return false;
  }
  resize(modMin, modMax);
  if (lowEndGrowth != nullptr) *lowEndGrowth = modMin;
  return true;
}

void WorldIndexator::resize(const Int3& lowEndChange, const Int3& farEndChange) {
  Int3 newSize = tableRegionSize - lowEndChange + farEndChange;
  std::vector<WorldRegion> fresh(static_cast<size_t>(newSize.x()) * newSize.y() * newSize.z());
  for (int i = 0; i < tableRegionSize.x(); ++i)
    for (int j = 0; j < tableRegionSize.y(); ++j)
      for (int k = 0; k < tableRegionSize.z(); ++k) {
        Int3 target = Int3(i, j, k) - lowEndChange;
        if (!(target >= Int3(0, 0, 0) && target < newSize)) continue;  // only empty regions are cut away
        WorldRegion& region = tableRegions[cellIndex(Int3(i, j, k), tableRegionSize)];
        region.dropMesh();
        fresh[cellIndex(target, newSize)] = std::move(region);
      }
  tableRegions.swap(fresh);
  tableRegionOrigin += lowEndChange;
  tableRegionSize = newSize;
}

bool WorldIndexator::addCubeZone(const CubeZone& zone) {
  Int3 tableIndex;
  if (!findRegionForBox(zone.position, zone.size, tableIndex)) return false;
  WorldRegion& region = getRegion(tableIndex);
  region.dropMesh();
  region.cubeZones.push_back(zone);
  return true;
}

bool WorldIndexator::addObject(const CustomObject& object) {
  Int3 tableIndex;
  if (!findRegionForBox(object.position, Float3(0, 0, 0), tableIndex)) return false;
  WorldRegion& region = getRegion(tableIndex);
  region.dropMesh();
  region.objects.push_back(object);
  return true;
}

bool WorldIndexator::removeAt(const Float3& position) {
  Int3 tableIndex = regionIndexOf(position);
  if (!isInTable(tableIndex)) return false;
  WorldRegion& region = getRegion(tableIndex);
  region.dropMesh();
  for (auto it = region.cubeZones.begin(); it != region.cubeZones.end(); ++it)
    if (it->position == position) {
      region.cubeZones.erase(it);
      return true;
    }
  for (auto it = region.objects.begin(); it != region.objects.end(); ++it)
    if (it->position == position) {
      region.objects.erase(it);
      return true;
    }
  return false;
}

bool WorldIndexator::removeNearest(const Float3& position) {
  Int3 tableIndex = regionIndexOf(position);
  if (!isInTable(tableIndex)) return false;
  WorldRegion& region = getRegion(tableIndex);
  region.dropMesh();
  if (!region.cubeZones.empty()) {
    region.cubeZones.erase(region.cubeZones.begin() + nearestIndex(region.cubeZones, position));
    return true;
  }
  if (!region.objects.empty()) {
    region.objects.erase(region.objects.begin() + nearestIndex(region.objects, position));
    return true;
  }
  return false;
}

void WorldIndexator::clearRegionAt(const Float3& position) {
  Int3 tableIndex = regionIndexOf(position);
  if (!isInTable(tableIndex)) return;
  WorldRegion& region = getRegion(tableIndex);
  region.dropMesh();
  region.cubeZones.clear();
  region.objects.clear();
}

bool WorldIndexator::isCollidingPoint(const Float3& position) {
  Int3 tableIndex = regionIndexOf(position);
  if (!isInTable(tableIndex)) return false;
  for (const CubeZone& zone : getRegion(tableIndex).cubeZones)
    if (zone.containsPoint(position)) return true;
  return false;
}

float WorldIndexator::groundHeight(float x, float z) const {
  Int3 column = regionIndexOf(Float3(x, 0.f, z));
  bool inTable = column.x() >= 0 && column.x() < tableRegionSize.x() && column.z() >= 0 &&
                 column.z() < tableRegionSize.z();
  for (int y = tableRegionSize.y() - 1; inTable && y >= 0; --y) {
    std::optional<float> highest;
    for (const CubeZone& zone : tableRegions[cellIndex(Int3(column.x(), y, column.z()), tableRegionSize)].cubeZones) {
      std::optional<float> top = zone.topAt(x, z);
      if (top && (!highest || *top > *highest)) highest = top;
    }
    if (highest) return *highest;
  }
  return std::numeric_limits<float>::lowest();
}

void WorldIndexator::fitToContent() {
  Int3 lo(-1, -1, -1), hi(0, 0, 0);
  for (int i = 0; i < tableRegionSize.x(); ++i)
    for (int j = 0; j < tableRegionSize.y(); ++j)
      for (int k = 0; k < tableRegionSize.z(); ++k) {
        if (tableRegions[cellIndex(Int3(i, j, k), tableRegionSize)].isEmpty()) continue;
        Int3 r = Int3(i, j, k) + tableRegionOrigin;
        for (int axis = 0; axis < 3; ++axis) {
          lo[axis] = std::min(lo[axis], r[axis]);
          hi[axis] = std::max(hi[axis], r[axis]);
        }
      }
  resize(lo - tableRegionOrigin, hi - tableRegionOrigin + Int3(1, 1, 1) - tableRegionSize);
}

void WorldIndexator::dropAllMeshes() {
  for (WorldRegion& region : tableRegions) region.dropMesh();
}

void WorldIndexator::resetTable() {
  // Next step: the freeing progress screen is shown here for large tables.
  tableRegions.clear();
  tableRegions.resize(8);
  tableRegionOrigin = Int3(-1, -1, -1);
  tableRegionSize = Int3(2, 2, 2);
}

void WorldIndexator::write(BinaryWriter& out) const {
  for (const Int3* v : {&tableRegionOrigin, &tableRegionSize})
    for (int axis = 0; axis < 3; ++axis) out.writeInt32((*v)[axis]);
  for (int i = 0; i < tableRegionSize.x(); ++i)
    for (int j = 0; j < tableRegionSize.y(); ++j)
      for (int k = 0; k < tableRegionSize.z(); ++k) {
        const WorldRegion& region = tableRegions[cellIndex(Int3(i, j, k), tableRegionSize)];
        region.writeZones(out);
        region.writeObjects(out);
      }
}

void WorldIndexator::readTableShape(BinaryReader& in, Int3& origin, Int3& size) {
  uint64_t at = in.offset();
  origin = readInt3(in, "region table origin");
  size = readInt3(in, "region table size");
  long long sizes[3];
  for (int axis = 0; axis < 3; ++axis) {
    sizes[axis] = size[axis];
    // A table always reaches from its origin (at most -1) past region 0.
    if (origin[axis] > -1 || static_cast<long long>(origin[axis]) + size[axis] < 1)
      in.fail(at, "region table at origin " + text(origin) + " with size " + text(size) +
                      " does not cover regions -1 and 0 on every axis");
  }
  if (!withinLimits(sizes))
    in.fail(at + 12, "region table size " + text(size) + " exceeds the limits of " +
                         std::to_string(maxRegionsPerAxis) + " regions on an axis and " +
                         std::to_string(maxRegions) + " in all");
  long long cells = sizes[0] * sizes[1] * sizes[2];  // at most maxRegions now
  if (static_cast<uint64_t>(cells * minCellBytes) > in.bytesLeft())
    in.fail(at + 12, "region table of " + std::to_string(cells) + " regions exceeds the " +
                         std::to_string(in.bytesLeft()) + " bytes left");
}

void WorldIndexator::read(BinaryReader& in, int cubeTypeCount) {
  resetTable();
  Int3 origin, size;
  readTableShape(in, origin, size);
  resize(origin - tableRegionOrigin, origin + size - (tableRegionOrigin + tableRegionSize));
  for (int i = 0; i < size.x(); ++i)
    for (int j = 0; j < size.y(); ++j)
      for (int k = 0; k < size.z(); ++k) {
        WorldRegion& region = tableRegions[cellIndex(Int3(i, j, k), tableRegionSize)];
        region.readZones(in, cubeTypeCount);
        region.readObjects(in);
        // Next step: the loading progress screen is redrawn here, at most every 0.1 s.
      }
}
