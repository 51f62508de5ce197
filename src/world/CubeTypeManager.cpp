#include "CubeTypeManager.h"

#include <iostream>

#include "support/FatalReport.h"

CubeTypeManager* cubeTypeManager = nullptr;

int CubeTypeManager::addCubeType(const CubeFaceNames& names, unsigned char noStretch, unsigned char noDivide,
                                 unsigned char noRandomOffset, bool collidable) {
  std::cout << "Add cube type with " << names[0] << ", etc. and collidable = " << (collidable ? 1 : 0)
            << std::endl;
  types.emplace_back(new CubeType(noStretch, noDivide, noRandomOffset, names, collidable));
  return count() - 1;
}

void CubeTypeManager::appendCubeType(std::unique_ptr<CubeType> type) { types.push_back(std::move(type)); }

CubeType& CubeTypeManager::getCubeType(int id) {
  CHECK_MSG(id >= 0 && id < count(), "CubeTypeManager::getCubeType : no cube type " + std::to_string(id) +
                                         " (there are " + std::to_string(count()) + ")");
  CubeType& type = *types[id];
  type.used = true;
  return type;
}

void CubeTypeManager::removeLastCubeType() {
  if (!types.empty()) types.pop_back();
}

void CubeTypeManager::clearCubeTypes() { types.clear(); }

void CubeTypeManager::markAllUnused() {
  for (auto& type : types) type->used = false;
}

void CubeTypeManager::freeUnusedTextures() {
  for (auto& type : types)
    if (!type->used && !type->previewed) type->freeTextures();
}
