#include <gtest/gtest.h>

#include "support/Scene2D.h"
#include "tests/common/ChildProcess.h"

namespace {

TEST(Scene2D, StartsAt640By480FollowingTheWindow) {
  Scene2D view;
  EXPECT_EQ(Int2(640, 480), view.windowSize);
  EXPECT_EQ(Int2(640, 480), view.virtualSize);
  EXPECT_EQ(1.f, view.scaleX);
  EXPECT_EQ(1.f, view.scaleY);
  EXPECT_TRUE(view.followWindow);
}

TEST(Scene2D, PointerPositionsAreScaledOnlyWhenTheViewDoesNotFollow) {
  Scene2D view;
  view.scaleX = 0.8f;
  view.scaleY = 0.8f;
  EXPECT_EQ(Int2(400, 300), view.toViewCoordinates(400, 300));
  view.followWindow = false;
  EXPECT_EQ(Int2(320, 240), view.toViewCoordinates(400, 300));
  EXPECT_EQ(Int2(0, 0), view.toViewCoordinates(1, 1)) << "truncated toward zero";
  EXPECT_EQ(Int2(-1, 0), view.toViewCoordinates(-2, 0));
}

TEST(Scene2D, AZeroSizedWindowIsFatal) {
  for (Int2 size : {Int2(0, 600), Int2(800, 0)}) {
    ChildResult result = runInChild([size] {
      Scene2D view;
      view.windowSize = size;
      view.apply();
    });
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nCondition: windowSize.x() != 0 && windowSize.y() != 0\n"))
        << result.err;
  }
}

}  // namespace
