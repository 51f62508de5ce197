#include <gtest/gtest.h>

#include "src/game/LuaManager.h"

TEST(LuaManager, ViewDistanceSteps) {
  EXPECT_FLOAT_EQ(1720.0f, changedViewDistance(1500, true));
  EXPECT_FLOAT_EQ(1500.0f, changedViewDistance(1720, false));
  // Smaller stops changing once the distance is at or below 410.
  float distance = 1500;
  for (int i = 0; i < 100; ++i) distance = changedViewDistance(distance, false);
  EXPECT_LE(distance, 410.0f);
  EXPECT_GT(distance, 400.0f);
  EXPECT_EQ(distance, changedViewDistance(distance, false));
  EXPECT_FLOAT_EQ(410.0f, changedViewDistance(410, false));
  // Larger has no upper bound.
  EXPECT_FLOAT_EQ(400.0f + 1e6f * 1.2f, changedViewDistance(400 + 1e6f, true));
}

TEST(LuaManager, MenuRegionsAreStrict) {
  const MenuRegion button = {50, 150, 150, 215};
  struct Case {
    int x, y;
    bool inside;
  };
  const Case cases[] = {{51, 151, true}, {149, 214, true}, {50, 180, false}, {150, 180, false},
                        {100, 150, false}, {100, 215, false}, {100, 180, true}};
  for (const Case& c : cases) EXPECT_EQ(c.inside, button.contains(c.x, c.y)) << c.x << "," << c.y;
}
