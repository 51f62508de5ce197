#pragma once
// The list of cube types. A type's index is its id; ids stay stable because
// types are only appended or removed from the end.

#include <memory>
#include <vector>

#include "CubeType.h"

class CubeTypeManager {
 public:
  // Appends a type (and says so on a line); returns its id.
  int addCubeType(const CubeFaceNames& names, unsigned char noStretch, unsigned char noDivide,
                  unsigned char noRandomOffset, bool collidable);
  // Appends a type made elsewhere (read from a world file).
  void appendCubeType(std::unique_ptr<CubeType> type);
  // The type of id `id`, marked used.
  CubeType& getCubeType(int id);
  void removeLastCubeType();
  void clearCubeTypes();
  void markAllUnused();
  // Releases the face textures of every type that is neither used nor
  // previewed, in id order.
  void freeUnusedTextures();

  int count() const { return static_cast<int>(types.size()); }
  // Indexed access that leaves `used` alone.
  CubeType& operator[](int id) { return *types[id]; }
  const CubeType& operator[](int id) const { return *types[id]; }

 private:
  std::vector<std::unique_ptr<CubeType>> types;
};

// The process-wide list, created and destroyed by the indexed world.
extern CubeTypeManager* cubeTypeManager;
