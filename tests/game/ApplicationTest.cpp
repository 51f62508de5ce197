#include <gtest/gtest.h>

#include "src/game/Application.h"
#include "tests/common/ChildProcess.h"

namespace {

TEST(Application, OptionScanner) {
  struct Case {
    std::vector<std::string> args;
    bool fullscreen;
    const char* dat;
    const char* lua;
    const char* config;
  };
  const Case cases[] = {
      {{"prog"}, false, "world.dat", "world.lua", "world.xml"},
      {{"prog", "--fullscreen"}, true, "world.dat", "world.lua", "world.xml"},
      {{"prog", "--world_dat", "a.dat", "--world_dat", "b.dat"}, false, "b.dat", "world.lua", "world.xml"},
      {{"prog", "--world_lua", "--fullscreen"}, false, "world.dat", "--fullscreen", "world.xml"},
      {{"prog", "--world_config", "c.xml", "--world_lua", "g.lua"}, false, "world.dat", "g.lua", "c.xml"},
      {{"prog", "-fullscreen", "--FULLSCREEN", "fullscreen", "--world_dat=x.dat", "extra"},
       false, "world.dat", "world.lua", "world.xml"},
      {{"prog", "--world_dat", "--world_lua", "--world_lua", "x"}, false, "--world_lua", "x", "world.xml"},
      {{"prog", "--world_dat", ""}, false, "", "world.lua", "world.xml"},
  };
  for (const Case& c : cases) {
    StartupSettings s = parseCommandLine(c.args);
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    EXPECT_EQ(c.fullscreen, s.fullscreen) << line;
    EXPECT_EQ(c.dat, s.worldDataFile) << line;
    EXPECT_EQ(c.lua, s.worldLuaFile) << line;
    EXPECT_EQ(c.config, s.worldConfigFile) << line;
    EXPECT_FALSE(s.showHelp || s.showVersion) << line;
  }
}

TEST(Application, MissingValueIsBadArguments) {
  for (const char* option : {"--world_dat", "--world_lua", "--world_config"}) {
    std::vector<std::string> args = {"prog", "--fullscreen", option};
    ChildResult result = runInChild([args] { parseCommandLine(args); });
    EXPECT_EQ(1, result.exitCode) << option;
    EXPECT_NE(std::string::npos, result.err.find("\nMessage: Bad arguments!\n")) << result.err;
    EXPECT_EQ(std::string::npos, result.err.find("Condition:")) << result.err;
  }
}

TEST(Application, HelpAndVersionEndTheScan) {
  StartupSettings help = parseCommandLine({"prog", "--help", "--world_dat"});
  EXPECT_TRUE(help.showHelp);
  StartupSettings version = parseCommandLine({"prog", "--fullscreen", "--version"});
  EXPECT_TRUE(version.showVersion);
  StartupSettings value = parseCommandLine({"prog", "--world_lua", "--help"});
  EXPECT_FALSE(value.showHelp);  // a value is never read as an option
  EXPECT_EQ("--help", value.worldLuaFile);
}

TEST(Application, ArgumentListKeepsTheBytesItWasGiven) {
  char program[] = "/usr/bin/cubewright";
  char accented[] = "caf\xc3\xa9.dat";
  char* argv[] = {program, accented, nullptr};
  std::vector<std::string> args = getCommandLineArguments(2, argv);
  ASSERT_EQ(2u, args.size());
  EXPECT_EQ(program, args[0]);
  EXPECT_EQ("caf\xc3\xa9.dat", args[1]);
}

}  // namespace
