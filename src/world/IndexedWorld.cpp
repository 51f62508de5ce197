#include "IndexedWorld.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/FatalReport.h"
#include "support/FileManager.h"
#include "support/SafeFileWriter.h"
#include "support/XMLSimple.h"

Cotm* cotm = nullptr;

namespace {

const char magic[] = "WORLD";
const int32_t worldFileVersion = 1;
// The smallest cube type record: six empty names and four bytes.
const uint64_t minCubeTypeBytes = 6 * 4 + 4;

}  // namespace

IndexedWorld::IndexedWorld(XMLSimple& config, Font* font, const std::string& worldFileName,
                           Sound_Abstract* soundManager)
    : sizeOneCube(static_cast<float>(config.getDouble("size_one_cube"))),
      sizeOneRegion(sizeOneCube * static_cast<float>(config.getInt("size_one_region"))) {
  CHECK(cotm == NULL && cubeTypeManager == NULL && worldIndexator == NULL);
  cotm = new Cotm{font, soundManager};
  cubeTypeManager = new CubeTypeManager;
  worldIndexator = new WorldIndexator(sizeOneRegion, sizeOneCube);
  loadWorld(worldFileName);
}

IndexedWorld::~IndexedWorld() {
  CHECK(cotm != NULL && cubeTypeManager != NULL && worldIndexator != NULL);
  delete worldIndexator;
  worldIndexator = nullptr;
  delete cubeTypeManager;
  cubeTypeManager = nullptr;
  delete cotm;
  cotm = nullptr;
}

void IndexedWorld::readWorld(BinaryReader& in, CubeTypeManager& types, WorldIndexator& table) {
  // The magic is compared as a C string, so a zero byte ends it.
  char buf[sizeof magic] = {};
  in.readBytes(buf, std::min<uint64_t>(in.bytesLeft(), sizeof magic - 1), "magic");
  if (std::string(buf) != std::string(magic))
    in.fail(0, "the file does not start with \"WORLD\"", "std::string(buf) == std::string(\"WORLD\")");
  if (in.bytesLeft() < 4)
    in.fail(5, "file ends early: version needs 4 bytes, " + std::to_string(in.bytesLeft()) + " left",
            "versionFile == 1");
  int32_t versionFile = in.readInt32("version");
  if (versionFile != worldFileVersion)
    in.fail(5, "version " + std::to_string(versionFile) + " is not 1", "versionFile == 1");

  types.clearCubeTypes();
  int32_t typeCount = in.readCount("cube type count", minCubeTypeBytes);
  for (int32_t i = 0; i < typeCount; ++i) types.appendCubeType(std::unique_ptr<CubeType>(new CubeType(in)));
  table.read(in, typeCount);
}

void IndexedWorld::writeWorld(BinaryWriter& out, CubeTypeManager& types, const WorldIndexator& table) {
  out.writeBytes(magic, sizeof magic - 1);
  out.writeInt32(worldFileVersion);
  out.writeInt32(types.count());
  for (int id = 0; id < types.count(); ++id) types.getCubeType(id).write(out);
  table.write(out);
}

void IndexedWorld::loadWorld(const std::string& fileName) {
  std::cout << "==== Loading world from file '" << fileName << "'" << std::endl;
  // A directory opens like a file on Linux, and then reads as nothing.
  std::FILE* fd = FileManager::fileExists(fileName) ? std::fopen(fileName.c_str(), "rb") : NULL;
  CHECK_MSG(fd != NULL, "IndexedWorld::loadWorld : cannot open the world file '" + fileName + "'");
  BinaryReader in(fileName, fd);
  try {
    readWorld(in, *cubeTypeManager, *worldIndexator);
  } catch (const FileFormatError& error) {
    std::fclose(fd);
    assertFailed(__DATE__, __FILE__, error.condition, __LINE__, __TIME__, error.what());
  }
  std::fclose(fd);
  std::cout << "==== Loading world done" << std::endl;
}

bool IndexedWorld::saveWorld(const std::string& fileName) {
  std::cout << "==== Saving world to file '" << fileName << "'" << std::endl;
  BinaryWriter out;
  writeWorld(out, *cubeTypeManager, *worldIndexator);
  std::string error;
  if (!SafeFileWriter::replaceFile(fileName, out.data.data(), out.data.size(), error)) {
    std::cout << "!!! ERROR !!! the world was not saved (" << error << "); '" << fileName
              << "' is unchanged" << std::endl;
    return false;
  }
  std::cout << "==== World saved to file" << std::endl;
  return true;
}

bool IndexedWorld::addCubeZone(const Float3& position, const Float3& size, int typeId) {
  return worldIndexator->addCubeZone(CubeZone(typeId, position, size));
}

bool IndexedWorld::addObject(const Float3& position, int objectType) {
  return worldIndexator->addObject(CustomObject(position, objectType));
}

void IndexedWorld::clearRegions() { worldIndexator->resetTable(); }

int IndexedWorld::cubesPerRegion() const { return static_cast<int>(sizeOneRegion / sizeOneCube); }

int IndexedWorld::addCubeType(const CubeFaceNames& names, unsigned char noStretch, unsigned char noDivide,
                              unsigned char noRandomOffset, bool collidable) {
  return cubeTypeManager->addCubeType(names, noStretch, noDivide, noRandomOffset, collidable);
}

CubeType& IndexedWorld::getCubeType(int id) { return cubeTypeManager->getCubeType(id); }
