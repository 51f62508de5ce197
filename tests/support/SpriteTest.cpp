// The corners a sprite is drawn through: each plain corner turned into a
// length (from the quick reciprocal square root) and a direction around the
// anchor, then back, rounding halves away from zero. Expected values were
// worked out apart from the engine, in single precision.

#include <gtest/gtest.h>

#include "support/Sprite.h"

namespace {

TEST(Sprite, CornersGoThroughThePolarForm) {
  const struct {
    Int2 position, point, corner;
    const char* what;
  } cases[] = {
      {Int2(100, 100), Int2(132, 116), Int2(132, 116), "64 x 32 centred at (100, 100): corner 0"},
      {Int2(100, 100), Int2(68, 116), Int2(68, 116), "corner 1"},
      {Int2(100, 100), Int2(68, 84), Int2(68, 84), "corner 2"},
      {Int2(100, 100), Int2(132, 84), Int2(132, 84), "corner 3"},
      {Int2(7, 9), Int2(7, 9), Int2(7, 9), "a corner on the anchor stays there"},
      {Int2(0, 0), Int2(800, 600), Int2(801, 601), "a large picture reaches a pixel further"},
      {Int2(0, 0), Int2(512, 0), Int2(513, 0), "512 along x comes out 512.87"},
      {Int2(512, 0), Int2(0, 0), Int2(-1, 0), "and against x, rounded away from zero"},
      {Int2(0, 0), Int2(0, 1024), Int2(0, 1026), "1024 along y comes out 1025.74"},
      {Int2(0, 0), Int2(1024, 512), Int2(1024, 512), "the estimate is closer on a slant"},
      {Int2(10, 10), Int2(10, 266), Int2(10, 266), "256 comes out 256.43"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.corner, Sprite::polarCorner(c.position, c.point)) << c.what;
}

}  // namespace
