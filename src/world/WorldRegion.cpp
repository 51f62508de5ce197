#include "WorldRegion.h"

#include <cmath>
#include <string>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"

namespace {

// The smallest records a count can announce: a zone without shadow points
// (position, size, id, reserved, six counts) and an object.
const uint64_t minZoneRecordBytes = 12 + 12 + 4 + 4 + 6 * 4;
const uint64_t objectRecordBytes = 12 + 4;

}  // namespace

void WorldRegion::readZones(BinaryReader& in, int cubeTypeCount) {
  dropMesh();
  int32_t count = in.readCount("zone count", minZoneRecordBytes);
  int32_t extension = in.readCount("zone record extension length", 1);
  cubeZones.reserve(cubeZones.size() + static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    cubeZones.emplace_back();
    cubeZones.back().read(in, cubeTypeCount);
  }
  in.skip(static_cast<uint64_t>(extension), "zone record extension");
}

void WorldRegion::readObjects(BinaryReader& in) {
  dropMesh();
  int32_t count = in.readCount("object count", objectRecordBytes);
  int32_t extension = in.readCount("object record extension length", 1);
  objects.reserve(objects.size() + static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    uint64_t at = in.offset();
    float x = in.readFloat("object position");
    float y = in.readFloat("object position");
    float z = in.readFloat("object position");
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) in.fail(at, "object position is not finite");
    at = in.offset();
    int32_t type = in.readInt32("object type");
    if (type < 0 || type >= maxCustomObjectTypes)
      in.fail(at, "object type " + std::to_string(type) + " is out of range (0 to " +
                      std::to_string(maxCustomObjectTypes - 1) + ")");
    objects.emplace_back(Float3(x, y, z), type);
  }
  in.skip(static_cast<uint64_t>(extension), "object record extension");
}

void WorldRegion::writeZones(BinaryWriter& out) const {
  out.writeInt32(static_cast<int32_t>(cubeZones.size()));
  out.writeInt32(0);
  for (const CubeZone& zone : cubeZones) zone.write(out);
}

void WorldRegion::writeObjects(BinaryWriter& out) const {
  out.writeInt32(static_cast<int32_t>(objects.size()));
  out.writeInt32(0);
  for (const CustomObject& object : objects) {
    out.writeFloat(object.position.x());
    out.writeFloat(object.position.y());
    out.writeFloat(object.position.z());
    out.writeInt32(object.type);
  }
}
