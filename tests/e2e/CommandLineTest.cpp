#include <gtest/gtest.h>

#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

TEST(CommandLine, MissingOptionValueEndsWithTheReport) {
  TempDir dir;
  ChildResult result = runProgram({CUBEWRIGHT_PROGRAM, "--world_config"}, dir.path());
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_EQ(0u, result.err.find("ERROR : The program aborted unexpectedly.")) << result.err;
  EXPECT_NE(std::string::npos, result.err.find("\nMessage: Bad arguments!\n")) << result.err;
}

TEST(CommandLine, HelpAndVersionExitWithStatusZero) {
  ChildResult help = runProgram({CUBEWRIGHT_PROGRAM, "--help"});
  EXPECT_EQ(0, help.exitCode) << describe(help);
  for (const char* option : {"--fullscreen", "--world_dat FILE", "--world_lua FILE", "--world_config FILE",
                             "world.dat", "world.lua", "world.xml", "CUBEWRIGHT_NO_DIALOG"})
    EXPECT_NE(std::string::npos, help.out.find(option)) << option;
  ChildResult version = runProgram({CUBEWRIGHT_PROGRAM, "--version"});
  EXPECT_EQ(0, version.exitCode);
  EXPECT_EQ("Engine made by Tessaly, version 0.25\n", version.out);
}

}  // namespace
