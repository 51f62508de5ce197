#pragma once
// The persistent world: the cube type list and the region table, loaded from
// the world file when the world is created and saved back on request.
//
// The world file, little-endian, no padding: "WORLD", version 1, the cube
// type count and the cube type records, then the region table section
// (origin, size, and for every cell its zones record and objects record).

#include <string>

#include "CubeTypeManager.h"
#include "WorldIndexator.h"

class BinaryReader;
class BinaryWriter;
class Font;
class Sound_Abstract;
class XMLSimple;

// The font and sound manager the world scene hands to the world; kept only
// so that the world's creation and destruction can check each other.
struct Cotm {
  Font* font;
  Sound_Abstract* soundManager;
};
extern Cotm* cotm;

class IndexedWorld {
 public:
  // Creates the process-wide cube type list and region table and loads the
  // world file. The cube and region sizes come from `config`
  // ("size_one_cube", "size_one_region").
  IndexedWorld(XMLSimple& config, Font* font, const std::string& worldFileName, Sound_Abstract* soundManager);
  ~IndexedWorld();
  IndexedWorld(const IndexedWorld&) = delete;
  IndexedWorld& operator=(const IndexedWorld&) = delete;

  // Replaces the whole world with the file's; a file that cannot be read
  // ends the program with a report naming the file, the byte and the problem.
  void loadWorld(const std::string& fileName);
  // Writes the world to a new file beside `fileName`, then replaces the old
  // file with it. On failure the old file stays as it was, an error line is
  // printed and false returned; the world in memory is untouched.
  bool saveWorld(const std::string& fileName);

  // The file format on its own, for the world tool and tests: reading throws
  // FileFormatError on any problem.
  static void readWorld(BinaryReader& in, CubeTypeManager& types, WorldIndexator& table);
  static void writeWorld(BinaryWriter& out, CubeTypeManager& types, const WorldIndexator& table);

  // Places a new zone without shadow data; false when the table refuses it.
  bool addCubeZone(const Float3& position, const Float3& size, int typeId);
  // Places a new script object; false when the table refuses it.
  bool addObject(const Float3& position, int objectType);
  // Empties the region table; the cube types stay.
  void clearRegions();
  // Cubes along a region edge.
  int cubesPerRegion() const;

  int addCubeType(const CubeFaceNames& names, unsigned char noStretch, unsigned char noDivide,
                  unsigned char noRandomOffset, bool collidable);
  CubeType& getCubeType(int id);

  float sizeOneCube;    // "size_one_cube"
  float sizeOneRegion;  // sizeOneCube x "size_one_region"
  // Next step: the water, created after the world is loaded, and drawWater.
};
