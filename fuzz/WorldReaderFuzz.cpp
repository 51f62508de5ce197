// Feeds arbitrary bytes to the world file reader. Every input must either be
// refused with a FileFormatError or load; a world that loads must save and
// load again to the same bytes, and its regions must turn into meshes and
// survive the table's editing operations. Anything else (a crash, a
// sanitizer report, a failed check, which ends the process) is a finding.

#include <cstdint>
#include <cstdlib>

#include "src/world/IndexedWorld.h"
#include "src/world/RegionMeshBuilder.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/VBO.h"

namespace {

std::vector<unsigned char> saved(CubeTypeManager& types, const WorldIndexator& table) {
  BinaryWriter out;
  IndexedWorld::writeWorld(out, types, table);
  return out.data;
}

void exerciseTable(CubeTypeManager& types, WorldIndexator& table) {
  cubeTypeManager = &types;
  size_t meshed = 0;
  for (const WorldRegion& region : table.tableRegions) {
    if (region.cubeZones.empty() || meshed > 64) continue;
    VBO vbo;
    RegionMeshBuilder(region.cubeZones, table.sizeOneCube).addAllZones(vbo);
    vbo.build();
    ++meshed;
  }
  for (WorldRegion& region : table.tableRegions)
    for (const CubeZone& zone : region.cubeZones) {
      table.isCollidingPoint(zone.position);
      table.groundHeight(zone.position.x(), zone.position.z());
    }
  table.fitToContent();
  CubeZone probe(0, Float3(0.5f, 0.5f, 0.5f), Float3(1.f, 1.f, 1.f));
  if (types.count() > 0) table.addCubeZone(probe);
  table.removeNearest(Float3(0.5f, 0.5f, 0.5f));
  cubeTypeManager = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CubeTypeManager types;
  WorldIndexator table(16.f, 1.f);
  BinaryReader in("fuzz.dat", data, size);
  try {
    IndexedWorld::readWorld(in, types, table);
  } catch (const FileFormatError&) {
    return 0;
  }
  std::vector<unsigned char> first = saved(types, table);
  CubeTypeManager typesAgain;
  WorldIndexator tableAgain(16.f, 1.f);
  BinaryReader again("saved.dat", first.data(), first.size());
  IndexedWorld::readWorld(again, typesAgain, tableAgain);  // must not throw
  if (saved(typesAgain, tableAgain) != first) std::abort();
  exerciseTable(types, table);
  return 0;
}
