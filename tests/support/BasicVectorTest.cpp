#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/BasicVector.h"

TEST(BasicVector, OrderingHoldsOnlyWhenEveryComponentHolds) {
  EXPECT_TRUE(Int3(1, -1, 0) < Int3(2, 2, 2));
  EXPECT_FALSE(Int3(1, 3, 0) < Int3(2, 2, 2));
  EXPECT_FALSE(Int3(1, 3, 0) >= Int3(2, 2, 2));  // neither holds: the order is partial
  EXPECT_TRUE(Int3(0, 0, 0) <= Int3(0, 0, 0));
  EXPECT_TRUE(Int3(0, 0, 0) >= Int3(0, 0, 0));
  EXPECT_FALSE(Int3(0, 0, 0) < Int3(0, 0, 0));
  EXPECT_FALSE(Int3(0, 0, 0) > Int3(0, 0, 0));
  EXPECT_TRUE(Int3(-1, 0, 0) <= Int3(0, 0, 0));
  EXPECT_FALSE(Int3(-1, 1, 0) <= Int3(0, 0, 0));
  EXPECT_TRUE(Int3(3, 3, 3) > Int3(2, 2, 2));
  EXPECT_FALSE(Int3(3, 2, 3) > Int3(2, 2, 2));
  // The inside-the-table test of the region table.
  Int3 size(4, 2, 4);
  EXPECT_TRUE(Int3(3, 1, 0) >= Int3(0, 0, 0) && Int3(3, 1, 0) < size);
  EXPECT_FALSE(Int3(3, 2, 0) >= Int3(0, 0, 0) && Int3(3, 2, 0) < size);
  EXPECT_TRUE(Int2(1, 1) < Int2(2, 2));
}

TEST(BasicVector, EqualityIsExact) {
  float one = 1.0f;
  float next = std::nextafter(one, 2.0f);
  EXPECT_FALSE(Float3(1, one, 1) == Float3(1, next, 1));
  EXPECT_TRUE(Float3(1, one, 1) != Float3(1, next, 1));
  EXPECT_TRUE(Int3(1, 2, 3) == Int3(1, 2, 3));
  EXPECT_FALSE(Int3(1, 2, 3) != Int3(1, 2, 3));
}

TEST(BasicVector, ArithmeticIsPerComponent) {
  Int3 a(1, 2, 3);
  a += Int3(10, 20, 30);
  EXPECT_EQ(Int3(11, 22, 33), a);
  a -= Int3(1, 2, 3);
  EXPECT_EQ(Int3(10, 20, 30), a);
  EXPECT_EQ(Int3(5, 10, 15), a / 2);
  EXPECT_EQ(Int3(20, 40, 60), a * 2);
  EXPECT_EQ(Float2(1.5f, -1), Float2(1, 1) + Float2(0.5f, -2));
  EXPECT_EQ(Float2(0.5f, 3), Float2(1, 1) - Float2(0.5f, -2));
  EXPECT_EQ(3, a.z() / 10);
  a[1] = 7;
  EXPECT_EQ(7, a.y());
}

TEST(BasicVector, LengthNormaliseAndSphericalDirection) {
  Float3 v(3, 0, 4);
  EXPECT_FLOAT_EQ(5.0f, v.length());
  v.normalize();
  EXPECT_FLOAT_EQ(0.6f, v.x());
  EXPECT_FLOAT_EQ(0.0f, v.y());
  EXPECT_FLOAT_EQ(0.8f, v.z());
  for (float phi : {0.0f, 1.0f, 4.0f}) {
    Float3 up = Float3::fromSpherical(2, 0, phi);
    EXPECT_EQ(Float3(0, 2, 0), up) << phi;
  }
  Float3 side = Float3::fromSpherical(1, static_cast<float>(M_PI / 2), 0);
  EXPECT_NEAR(1.0f, side.x(), 1e-6);
  EXPECT_NEAR(0.0f, side.y(), 1e-6);
  EXPECT_NEAR(0.0f, side.z(), 1e-6);
  Float3 zero(0, 0, 0);
  zero.normalize();
  EXPECT_FALSE(std::isfinite(zero.x()));
}

TEST(BasicVector, TextForm) {
  std::ostringstream text;
  text << Int3(4, 2, 4);
  EXPECT_EQ("BasicVector<3,?(sizeof=4)> (4;2;4;)", text.str());
  std::ostringstream floats;
  floats << Float2(0.5f, -3);
  EXPECT_EQ("BasicVector<2,?(sizeof=4)> (0.5;-3;)", floats.str());
}
