#include "DemoWorld.h"

#include <cmath>

#include "support/FatalReport.h"

namespace {

// Cubes along x and z; the landscape covers 3 x 3 region columns.
const int extent = 48;

enum DemoType { GRASS, DIRT, STONE, SAND, WOOD, LEAVES, ROCK };

void addTypes(CubeTypeManager& types) {
  // Per-cube textures (noStretch 1, noDivide 1) without random offsets.
  const struct {
    CubeFaceNames names;
    unsigned char noStretch, noDivide, noRandomOffset;
    bool collidable;
  } definitions[] = {
      {{"grass.png", "dirt.png", "grass_side.png", "grass_side.png", "grass_side.png", "grass_side.png"}, 1, 1, 1, true},
      {{"dirt.png", "dirt.png", "dirt.png", "dirt.png", "dirt.png", "dirt.png"}, 1, 1, 0, true},
      {{"stone.png", "stone.png", "stone.png", "stone.png", "stone.png", "stone.png"}, 1, 1, 0, true},
      {{"sand.png", "sand.png", "sand.png", "sand.png", "sand.png", "sand.png"}, 1, 1, 0, true},
      {{"wood_top.png", "wood_top.png", "bark.png", "bark.png", "bark.png", "bark.png"}, 1, 1, 1, true},
      // Leaves do not block the player.
      {{"leaves.png", "leaves.png", "leaves.png", "leaves.png", "leaves.png", "leaves.png"}, 1, 1, 0, false},
      // Boulders carry one texture stretched over the whole zone.
      {{"rock.png", "rock.png", "rock.png", "rock.png", "rock.png", "rock.png"}, 0, 1, 0, true},
  };
  for (const auto& d : definitions) types.addCubeType(d.names, d.noStretch, d.noDivide, d.noRandomOffset, d.collidable);
}

// Ground height in cubes (1 to 12) of column (x, z): rolling hills.
int heightAt(int x, int z) {
  double h = 5.0 + 3.0 * std::sin(x / 7.0) + 2.5 * std::cos(z / 6.0) + 1.5 * std::sin((x + z) / 11.0);
  return std::max(1, std::min(12, static_cast<int>(std::lround(h))));
}

// Adds a box of cubes from lattice corner `low` (inclusive) to `high` (exclusive).
void addBox(WorldIndexator& table, int type, int x0, int y0, int z0, int x1, int y1, int z1) {
  float c = demoSizeOneCube;
  Float3 size((x1 - x0) * c, (y1 - y0) * c, (z1 - z0) * c);
  Float3 centre(x0 * c + size.x() * 0.5f, y0 * c + size.y() * 0.5f, z0 * c + size.z() * 0.5f);
  CHECK_MSG(table.addCubeZone(CubeZone(type, centre, size)), "the demo world crosses a region border");
}

void addTree(WorldIndexator& table, int x, int z) {
  int ground = heightAt(x, z);
  addBox(table, WOOD, x, ground, z, x + 1, ground + 4, z + 1);
  addBox(table, LEAVES, x - 1, ground + 4, z - 1, x + 2, ground + 7, z + 2);
}

}  // namespace

void buildDemoWorld(CubeTypeManager& types, WorldIndexator& table) {
  addTypes(types);
  int r = demoCubesPerRegion;
  // Bedrock: one stone slab under every region column.
  for (int rx = 0; rx < extent / r; ++rx)
    for (int rz = 0; rz < extent / r; ++rz) addBox(table, STONE, rx * r, -4, rz * r, (rx + 1) * r, 0, (rz + 1) * r);
  // One column per cube: dirt below, grass (or sand on the low ground) on top.
  for (int x = 0; x < extent; ++x)
    for (int z = 0; z < extent; ++z) {
      int h = heightAt(x, z);
      if (h > 1) addBox(table, DIRT, x, 0, z, x + 1, h - 1, z + 1);
      addBox(table, h <= 3 ? SAND : GRASS, x, h - 1, z, x + 1, h, z + 1);
    }
  const int trees[][2] = {{4, 10}, {20, 9}, {12, 25}, {9, 40}, {40, 40}};
  for (const auto& tree : trees) addTree(table, tree[0], tree[1]);
  // Two boulders.
  addBox(table, ROCK, 26, heightAt(26, 36), 34, 29, heightAt(26, 36) + 2, 37);
  addBox(table, ROCK, 42, heightAt(42, 5), 2, 44, heightAt(42, 5) + 2, 4);
}
