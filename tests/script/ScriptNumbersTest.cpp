#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "src/script/ScriptNumbers.h"
#include "tests/common/ChildProcess.h"

namespace {

const int64_t int32Min = std::numeric_limits<int32_t>::min();
const int64_t int32Max = std::numeric_limits<int32_t>::max();
const int64_t int64Min = std::numeric_limits<int64_t>::min();
const int64_t int64Max = std::numeric_limits<int64_t>::max();

TEST(ScriptNumbers, RoundingToNearestTakesHalvesToEvenAndTruncationGoesTowardZero) {
  struct Case {
    double value;
    int64_t nearest, truncated;
  };
  const Case cases[] = {
      {2.5, 2, 2},        {3.5, 4, 3},    {0.6, 1, 0},      {0.4, 0, 0},
      {0.5, 0, 0},        {1.5, 2, 1},    {-2.5, -2, -2},   {-3.5, -4, -3},
      {-0.5, 0, 0},       {2.9, 3, 2},    {-2.9, -3, -2},   {7.0, 7, 7},
      {4503599627370497.0, 4503599627370497, 4503599627370497},  // 2^52 + 1, whole
      {2147483646.5, 2147483646, 2147483646},
  };
  for (const Case& c : cases) {
    int64_t nearest = -99, truncated = -99;
    EXPECT_TRUE(roundToInteger(c.value, Rounding::NearestEven, int64Min, int64Max, nearest));
    EXPECT_TRUE(roundToInteger(c.value, Rounding::TowardZero, int64Min, int64Max, truncated));
    EXPECT_EQ(c.nearest, nearest) << c.value;
    EXPECT_EQ(c.truncated, truncated) << c.value;
  }
}

TEST(ScriptNumbers, ValuesBeyondTheRangeAndNaNAreRefused) {
  struct Case {
    double value;
    Rounding rounding;
    int64_t minimum, maximum;
    bool fits;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {2147483647.4, Rounding::NearestEven, int32Min, int32Max, true},
      {2147483647.5, Rounding::NearestEven, int32Min, int32Max, false},  // rounds to 2^31
      {2147483647.9, Rounding::TowardZero, int32Min, int32Max, true},
      {-2147483648.5, Rounding::NearestEven, int32Min, int32Max, true},  // even: -2^31
      {-2147483649.0, Rounding::TowardZero, int32Min, int32Max, false},
      {9223372036854775807.0, Rounding::TowardZero, int64Min, int64Max, false},  // is 2^63
      {-9223372036854775808.0, Rounding::TowardZero, int64Min, int64Max, true},
      {1e300, Rounding::NearestEven, int64Min, int64Max, false},
      {inf, Rounding::TowardZero, int64Min, int64Max, false},
      {-inf, Rounding::TowardZero, int64Min, int64Max, false},
      {nan, Rounding::NearestEven, int64Min, int64Max, false},
      {nan, Rounding::TowardZero, int32Min, int32Max, false},
  };
  for (const Case& c : cases) {
    int64_t result = 12345;
    EXPECT_EQ(c.fits, roundToInteger(c.value, c.rounding, c.minimum, c.maximum, result)) << c.value;
    if (!c.fits) {
      EXPECT_EQ(12345, result) << c.value;
    }
  }
}

TEST(ScriptNumbers, ArgumentsReadFromTheStackAndTheReportForOneThatDoesNotFit) {
  lua_State* lua = luaL_newstate();
  lua_pushnumber(lua, -2.5);
  lua_pushstring(lua, "3.5");
  lua_pushstring(lua, "words");
  lua_pushnumber(lua, 3e9);
  EXPECT_EQ(-2, intArgument(lua, 1, Rounding::NearestEven, "f"));
  EXPECT_EQ(-2, intArgument(lua, 1, Rounding::TowardZero, "f"));
  EXPECT_EQ(4, intArgument(lua, 2, Rounding::NearestEven, "f"));
  EXPECT_EQ(0, intArgument(lua, 3, Rounding::NearestEven, "f"));  // not a number: 0
  EXPECT_EQ(3000000000, longArgument(lua, 4, Rounding::NearestEven, "f"));
  ChildResult result = runInChild([lua] { intArgument(lua, 4, Rounding::TowardZero, "setThing"); });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos,
            result.err.find("\nMessage: setThing: argument 4 is 3000000000, which is not an "
                            "integer from -2147483648 to 2147483647\n"))
      << result.err;
  lua_close(lua);
}

}  // namespace
