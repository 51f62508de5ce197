#pragma once
// One cell of the region table: the zones and script objects that lie in a
// cubic region of the world, and the region's mesh once it is built.

#include <memory>
#include <vector>

#include "CubeZone.h"
#include "src/script/CustomObject.h"
#include "support/VBO.h"

class BinaryReader;
class BinaryWriter;

struct WorldRegion {
  // Forgets the mesh; it is rebuilt when next needed. Every change of the
  // region's content does this first.
  void dropMesh() { vbo.reset(); }
  bool isEmpty() const { return cubeZones.empty() && objects.empty(); }

  // The two records of the region in a world file: a count, an extension
  // length (written as 0, skipped when read), the records, the extension.
  void readZones(BinaryReader& in, int cubeTypeCount);
  void readObjects(BinaryReader& in);
  void writeZones(BinaryWriter& out) const;
  void writeObjects(BinaryWriter& out) const;

  std::unique_ptr<VBO> vbo;             // the mesh, or none
  std::vector<CubeZone> cubeZones;      // in insertion order
  std::vector<CustomObject> objects;    // in insertion order
  bool touched = false;                 // reached by this frame's maintenance
};
