// cubewright-world: inspects, checks and makes world files without a window.
//
//   cubewright-world info FILE       version, cube types, table, counts
//   cubewright-world check FILE      exit 0 when the file loads, else 1 and why
//   cubewright-world make-demo FILE  writes the demo game's landscape

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "DemoWorld.h"
#include "src/world/IndexedWorld.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/FileManager.h"
#include "support/SafeFileWriter.h"

namespace {

// Sizes used to read a file; they do not change what a file holds.
const float toolSizeOneCube = 1.0f;
const int toolCubesPerRegion = 16;

const char* const usage =
    "usage: cubewright-world info FILE\n"
    "       cubewright-world check FILE\n"
    "       cubewright-world make-demo FILE\n";

const char* const faceLabels[6] = {"top", "bottom", "front", "back", "left", "right"};

struct LoadedWorld {
  CubeTypeManager types;
  WorldIndexator table{toolSizeOneCube * toolCubesPerRegion, toolSizeOneCube};
  unsigned long long fileSize = 0;
  unsigned long long trailingBytes = 0;
};

// Reads the file into `world`; prints why and returns false when it cannot.
bool load(const std::string& fileName, LoadedWorld& world) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) {
    std::cerr << fileName << ": cannot open: " << std::strerror(errno) << std::endl;
    return false;
  }
  if (!FileManager::fileExists(fileName)) {
    std::cerr << fileName << ": not a regular file" << std::endl;
    std::fclose(file);
    return false;
  }
  BinaryReader in(fileName, file);
  world.fileSize = in.bytesLeft();
  bool ok = true;
  try {
    IndexedWorld::readWorld(in, world.types, world.table);
    world.trailingBytes = in.bytesLeft();
  } catch (const FileFormatError& error) {
    std::cerr << error.what() << std::endl;
    ok = false;
  }
  std::fclose(file);
  return ok;
}

const char* yesNo(bool value) { return value ? "yes" : "no"; }

void printCubeTypes(const CubeTypeManager& types) {
  std::cout << "cube types: " << types.count() << "\n";
  for (int id = 0; id < types.count(); ++id) {
    const CubeType& type = types[id];
    std::cout << "  " << id << ":";
    for (int face = 0; face < 6; ++face) std::cout << " " << faceLabels[face] << "=" << type.textureName[face];
    // The options are stored inverted: 0 means on.
    std::cout << " | stretch=" << yesNo(type.noStretch == 0) << " divide=" << yesNo(type.noDivide == 0)
              << " random_offset=" << yesNo(type.noRandomOffset == 0) << " collidable=" << yesNo(type.collidable)
              << "\n";
  }
}

void printTable(const WorldIndexator& table) {
  size_t zones = 0, objects = 0, used = 0, fullyShadowed = 0, shadowTriangles = 0;
  for (const WorldRegion& region : table.tableRegions) {
    zones += region.cubeZones.size();
    objects += region.objects.size();
    used += region.isEmpty() ? 0 : 1;
    for (const CubeZone& zone : region.cubeZones)
      for (int face = 0; face < 6; ++face) {
        fullyShadowed += zone.faceFullyShadowed[face] ? 1 : 0;
        shadowTriangles += zone.shadowTriangles(face).size() / 3;
      }
  }
  const Int3& o = table.tableRegionOrigin;
  const Int3& s = table.tableRegionSize;
  std::cout << "region table: origin (" << o.x() << ", " << o.y() << ", " << o.z() << "), size (" << s.x() << ", "
            << s.y() << ", " << s.z() << "), " << table.tableRegions.size() << " regions, " << used << " not empty\n"
            << "zones: " << zones << "\n"
            << "objects: " << objects << "\n"
            << "shadows: " << fullyShadowed << " faces fully shadowed, " << shadowTriangles << " shadow triangles\n";
}

int info(const std::string& fileName) {
  LoadedWorld world;
  if (!load(fileName, world)) return 1;
  std::cout << "file: " << fileName << " (" << world.fileSize << " bytes)\nversion: 1\n";
  printCubeTypes(world.types);
  printTable(world.table);
  if (world.trailingBytes > 0) std::cout << "trailing bytes (ignored): " << world.trailingBytes << "\n";
  return 0;
}

int check(const std::string& fileName) {
  LoadedWorld world;
  if (!load(fileName, world)) return 1;
  std::cout << fileName << ": a valid world file" << std::endl;
  return 0;
}

int makeDemo(const std::string& fileName) {
  CubeTypeManager types;
  WorldIndexator table(demoSizeOneCube * demoCubesPerRegion, demoSizeOneCube);
  buildDemoWorld(types, table);
  BinaryWriter out;
  IndexedWorld::writeWorld(out, types, table);
  std::string error;
  if (!SafeFileWriter::replaceFile(fileName, out.data.data(), out.data.size(), error)) {
    std::cerr << error << std::endl;
    return 1;
  }
  std::cout << "wrote " << fileName << " (" << out.data.size() << " bytes)" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << usage;
    return 2;
  }
  std::string command = argv[1];
  if (command == "info") return info(argv[2]);
  if (command == "check") return check(argv[2]);
  if (command == "make-demo") return makeDemo(argv[2]);
  std::cerr << usage;
  return 2;
}
