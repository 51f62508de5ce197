#include <gtest/gtest.h>

#include <iostream>

#include "src/script/ScriptHost.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

// say(text): writes the text on a line of its own.
int say(lua_State* lua) {
  std::cout << lua_tostring(lua, 1) << std::endl;
  return 0;
}
// raise(value): raises `value` itself as the error, whatever its type.
int raise(lua_State* lua) {
  lua_settop(lua, 1);
  return lua_error(lua);
}
const std::vector<ScriptFunction> testApi = {{"say", say}, {"notBuilt", nullptr}, {"raise", raise}};

class ScriptHostTest : public testing::Test {
 protected:
  std::string script(const std::string& text) { return dir.write("world.lua", text); }
  lua_State* create(const std::string& text) {
    return createScriptState(nullptr, nullptr, script(text), testApi);
  }
  // Creates the state from `text` in a child and calls `function` (none when empty).
  ChildResult runScript(const std::string& text, const std::string& function) {
    std::string file = script(text);
    return runInChild([file, function] {
      lua_State* lua = createScriptState(nullptr, nullptr, file, testApi);
      if (!function.empty()) callScriptFunction(lua, function);
    });
  }
  TempDir dir;
};

TEST_F(ScriptHostTest, TheStateIsBareApartFromTheRegisteredFunctions) {
  lua_State* lua = create("");
  const char* absent[] = {"print",  "assert", "string",  "table",        "math",
                          "io",     "os",     "debug",   "coroutine",    "package",
                          "require", "pairs", "ipairs",  "tostring",     "tonumber",
                          "type",   "pcall",  "error",   "setmetatable", "getmetatable",
                          "select", "unpack", "loadstring", "dofile",    "_G",
                          "notBuilt"};
  for (const char* name : absent) {
    lua_getfield(lua, LUA_GLOBALSINDEX, name);
    EXPECT_TRUE(lua_isnil(lua, -1)) << name;
    lua_pop(lua, 1);
  }
  for (const char* name : {"say", "raise"}) {
    lua_getfield(lua, LUA_GLOBALSINDEX, name);
    EXPECT_TRUE(lua_iscfunction(lua, -1)) << name;
    lua_pop(lua, 1);
  }
  lua_pushstring(lua, "text");
  EXPECT_EQ(0, lua_getmetatable(lua, -1)) << "strings have no methods without the string library";
  lua_pop(lua, 1);
  EXPECT_EQ(0, lua_gettop(lua));
  lua_close(lua);
}

TEST_F(ScriptHostTest, LoadingLinesAroundTheFirstRunAndCallsLeaveTheStackAsItWas) {
  std::string file = script(
      "#!/usr/bin/env lua -- a first line starting with # is skipped\n"
      "say('first run')\n"
      "frames = 0\n"
      "function lua_loop() frames = frames + 1 return 1, 2, 3 end\n"
      "function lua_getNbObjects() return frames end\n"
      "return 'a result of the chunk'\n");
  ChildResult result = runInChild([file] {
    quitRequested = true;
    globalVars.set("left over", 1);
    lua_State* lua = createScriptState(nullptr, nullptr, file, testApi);
    if (quitRequested || !globalVars.values.empty() || lua_gettop(lua) != 0) _exit(3);
    for (int i = 0; i < 100; ++i) callScriptFunction(lua, "lua_loop");
    if (lua_gettop(lua) != 0 || callScriptFunctionForNumber(lua, "lua_getNbObjects") != 100) _exit(4);
    if (lua_gettop(lua) != 0) _exit(5);
  });
  EXPECT_EQ(0, result.exitCode) << describe(result);
  EXPECT_EQ("Loading script '" + file + "' ... first run\ndone.\n", result.out);
}

TEST_F(ScriptHostTest, NumberResultsAreRoundedHalfToEven) {
  struct Case {
    const char* returned;
    int expected;
  };
  const Case cases[] = {{"2.5", 2}, {"3.5", 4}, {"0.6", 1}, {"-2.5", -2}, {"'3'", 3}, {"' 0x10 '", 16}};
  for (const Case& c : cases) {
    lua_State* lua = create(std::string("function lua_getNbObjects() return ") + c.returned + " end");
    EXPECT_EQ(c.expected, callScriptFunctionForNumber(lua, "lua_getNbObjects")) << c.returned;
    lua_close(lua);
  }
}

TEST_F(ScriptHostTest, ErrorsEndWithTheScriptReport) {
  struct Case {
    std::string text;      // the script file
    std::string function;  // the function called after loading, if any
    std::string message;   // after "Message: lua ('"; FILE stands for the script's path
  };
  const Case cases[] = {
      {"function lua_loop(", "", "in file FILE'): FILE:1: <name> or '...' expected near '<eof>'"},
      {"x = 1\nundefinedFunction()", "", "in file FILE'): FILE:2: attempt to call global "
                                         "'undefinedFunction' (a nil value)"},
      {"function lua_loop()\n  undefinedFunction()\nend", "lua_loop",
       "calling function lua_loop'): FILE:2: attempt to call global 'undefinedFunction' (a nil value)"},
      {"function lua_loop() local n = string.len('x') end", "lua_loop",
       "calling function lua_loop'): FILE:1: attempt to index global 'string' (a nil value)"},
      {"function lua_loop() notBuilt() end", "lua_loop",
       "calling function lua_loop'): FILE:1: attempt to call global 'notBuilt' (a nil value)"},
      {"", "lua_onInitGame", "calling function lua_onInitGame'): attempt to call a nil value"},
      {"function lua_loop() raise('plain text') end", "lua_loop",
       "calling function lua_loop'): plain text"},
      {"function lua_loop() raise(42) end", "lua_loop", "calling function lua_loop'): 42"},
      {"function lua_loop() raise({}) end", "lua_loop",
       "calling function lua_loop'): (error object is a table value)"},
      {"function lua_loop() raise(nil) end", "lua_loop",
       "calling function lua_loop'): (error object is a nil value)"},
      {"raise(true)", "", "in file FILE'): (error object is a boolean value)"},
  };
  for (const Case& c : cases) {
    ChildResult result = runScript(c.text, c.function);
    std::string file = dir.file("world.lua");
    std::string expected = c.message;
    for (size_t at; (at = expected.find("FILE")) != std::string::npos;) expected.replace(at, 4, file);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find("\nMessage: lua ('" + expected + "\n")) << result.err;
    EXPECT_EQ(std::string::npos, result.err.find("Condition:")) << result.err;
  }
}

TEST_F(ScriptHostTest, MissingFileNonNumberResultAndNamelessReport) {
  std::string missing = dir.file("gone.lua");
  ChildResult noFile = runInChild([missing] { createScriptState(nullptr, nullptr, missing, testApi); });
  EXPECT_EQ(1, noFile.exitCode);
  EXPECT_EQ("Loading script '" + missing + "' ... ", noFile.out);
  EXPECT_NE(std::string::npos,
            noFile.err.find("\nMessage: lua ('in file " + missing + "'): cannot open " + missing))
      << noFile.err;

  struct Case {
    const char* returned;
    const char* report;
  };
  const Case cases[] = {
      {"'three'", "\nCondition: lua_isnumber(lua, -1)\n"},
      {"nil", "\nCondition: lua_isnumber(lua, -1)\n"},
      {"3e9", "\nMessage: lua_getNbObjects returned 3000000000, which is not a 32-bit integer\n"},
      {"0/0", "which is not a 32-bit integer\n"},
  };
  for (const Case& c : cases) {
    std::string file = script(std::string("function lua_getNbObjects() return ") + c.returned + " end");
    ChildResult result = runInChild([file] {
      lua_State* lua = createScriptState(nullptr, nullptr, file, testApi);
      callScriptFunctionForNumber(lua, "lua_getNbObjects");
    });
    EXPECT_EQ(1, result.exitCode) << c.returned;
    EXPECT_NE(std::string::npos, result.err.find(c.report)) << c.returned << "\n" << result.err;
  }

  ChildResult nameless = runInChild([] { reportScriptError(luaL_newstate(), nullptr, false); });
  EXPECT_EQ(1, nameless.exitCode);
  EXPECT_NE(std::string::npos, nameless.err.find("\nCondition: functionName != NULL\n"));
}

}  // namespace
