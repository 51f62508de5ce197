#include <gtest/gtest.h>

#include "src/script/GlobalVars.h"

namespace {

TEST(GlobalVars, GetNeverAddsAndAddInsertsOrWrapsAround) {
  GlobalVars vars;
  EXPECT_EQ(0, vars.get("never"));
  EXPECT_EQ(0u, vars.values.count("never"));
  EXPECT_EQ(1, vars.add("count", 1));
  EXPECT_EQ(-4, vars.add("count", -5));
  vars.set("big", 2147483647);
  EXPECT_EQ(-2147483647 - 1, vars.add("big", 1));
  EXPECT_EQ(2147483647, vars.add("big", -1));
  // Names are compared byte by byte, zero bytes included.
  vars.set(std::string("a\0b", 3), 7);
  vars.set("a", 8);
  EXPECT_EQ(7, vars.get(std::string("a\0b", 3)));
  EXPECT_EQ(8, vars.get("a"));
  vars.clear();
  EXPECT_TRUE(vars.values.empty());
}

}  // namespace
