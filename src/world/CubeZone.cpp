#include "CubeZone.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "CubeTypeManager.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/FatalReport.h"

namespace {

// A face entry holding this count is fully shadowed and has no points.
const int32_t fullyShadowedMark = -1;
const size_t pointBytes = 12;
// Position, size, type id and reserved field.
const size_t fixedRecordBytes = 32;

const char* const shadowCountFields[6] = {"-x shadow point count", "+x shadow point count",
                                          "-y shadow point count", "+y shadow point count",
                                          "-z shadow point count", "+z shadow point count"};

Float3 float3At(const unsigned char* bytes) {
  return Float3(BinaryReader::floatAt(bytes), BinaryReader::floatAt(bytes + 4), BinaryReader::floatAt(bytes + 8));
}

void writeFloat3(BinaryWriter& out, const Float3& v) {
  out.writeFloat(v.x());
  out.writeFloat(v.y());
  out.writeFloat(v.z());
}

bool isFinite(const Float3& v) { return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z()); }

std::string text(const Float3& v) {
  std::ostringstream out;
  out << "(" << v.x() << ", " << v.y() << ", " << v.z() << ")";
  return out.str();
}

}  // namespace

CubeZone::CubeZone(int typeId, const Float3& zonePosition, const Float3& zoneSize)
    : id(typeId), position(zonePosition), size(zoneSize) {}

CubeZone::CubeZone(const CubeZone& other) { *this = other; }

CubeZone& CubeZone::operator=(const CubeZone& other) {
  id = other.id;
  position = other.position;
  size = other.size;
  reserved = other.reserved;
  std::copy(other.faceFullyShadowed, other.faceFullyShadowed + 6, faceFullyShadowed);
  shadowTrianglesForEachFace.reset(other.shadowTrianglesForEachFace
                                       ? new ShadowTriangleLists(*other.shadowTrianglesForEachFace)
                                       : nullptr);
  return *this;
}

const std::vector<Float3>& CubeZone::shadowTriangles(int face) const {
  static const std::vector<Float3> none;
  return shadowTrianglesForEachFace ? (*shadowTrianglesForEachFace)[face] : none;
}

std::vector<Float3>& CubeZone::editShadowTriangles(int face) {
  if (!shadowTrianglesForEachFace) shadowTrianglesForEachFace.reset(new ShadowTriangleLists);
  return (*shadowTrianglesForEachFace)[face];
}

void CubeZone::read(BinaryReader& in, int cubeTypeCount) {
  uint64_t at = in.offset();
  const unsigned char* fixed = in.take(fixedRecordBytes, "zone record");
  position = float3At(fixed);
  size = float3At(fixed + 12);
  if (!isFinite(position) || !isFinite(size))
    in.fail(at, "zone at " + text(position) + " of size " + text(size) + " is not a finite box");
  id = BinaryReader::int32At(fixed + 24);
  if (id < 0 || id >= cubeTypeCount)
    in.fail(at + 24, "cube type id " + std::to_string(id) + " is out of range (the world has " +
                         std::to_string(cubeTypeCount) + " cube types)");
  reserved = BinaryReader::int32At(fixed + 28);
  shadowTrianglesForEachFace.reset();
  for (int face = 0; face < 6; ++face) {
    int32_t count = in.readInt32(shadowCountFields[face]);
    faceFullyShadowed[face] = count == fullyShadowedMark;
    if (count == fullyShadowedMark || count == 0) continue;
    at = in.offset() - 4;
    if (count < 0) in.fail(at, std::string(shadowCountFields[face]) + " " + std::to_string(count) + " is negative");
    if (static_cast<uint64_t>(count) * pointBytes > in.bytesLeft())
      in.fail(at, std::string(shadowCountFields[face]) + " " + std::to_string(count) + " exceeds the " +
                      std::to_string(in.bytesLeft()) + " bytes left");
    std::vector<Float3>& points = editShadowTriangles(face);
    points.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) points.push_back(float3At(in.take(pointBytes, "shadow point")));
  }
}

void CubeZone::write(BinaryWriter& out) const {
  writeFloat3(out, position);
  writeFloat3(out, size);
  out.writeInt32(id);
  out.writeInt32(reserved);
  for (int face = 0; face < 6; ++face) {
    if (faceFullyShadowed[face]) {
      out.writeInt32(fullyShadowedMark);
      continue;
    }
    const std::vector<Float3>& points = shadowTriangles(face);
    out.writeInt32(static_cast<int32_t>(points.size()));
    for (const Float3& point : points) writeFloat3(out, point);
  }
}

bool CubeZone::containsPoint(const Float3& point) const {
  CHECK(id >= 0);
  if (!cubeTypeManager->getCubeType(id).collidable) return false;
  Float3 half = size * 0.5f;
  Float3 min = position - half;
  Float3 max = half + position;
  return min <= point && point <= max;
}

std::optional<float> CubeZone::topAt(float x, float z) const {
  Float3 half = size * 0.5f;
  Float3 min = position - half;
  Float3 max = position + half;
  if (min.x() < x && x < max.x() && min.z() < z && z < max.z()) return max.y();
  return std::nullopt;
}
