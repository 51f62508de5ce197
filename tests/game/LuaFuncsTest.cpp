#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <unistd.h>

#include "src/game/LuaFuncs.h"
#include "support/GLManager.h"
#include "support/SoundManager.h"
#include "tests/common/AudioTesting.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

// foreignHandle(): light user data that is no engine object.
int foreignHandle(lua_State* lua) {
  static int notAnEngineObject = 0;
  lua_pushlightuserdata(lua, &notAnEngineObject);
  return 1;
}

std::vector<ScriptFunction> apiForTests() {
  std::vector<ScriptFunction> api = scriptApi();
  api.push_back({"foreignHandle", foreignHandle});
  return api;
}

double globalNumber(lua_State* lua, const char* name) {
  lua_getfield(lua, LUA_GLOBALSINDEX, name);
  double value = lua_tonumber(lua, -1);
  lua_pop(lua, 1);
  return value;
}

class LuaFuncsTest : public testing::Test {
 protected:
  // Runs `lua_loop` of the script `text` in a child whose working directory
  // is the test's folder, with a sound manager on the given audio driver;
  // `after` then runs in the child with the state.
  ChildResult runLoop(const std::string& text, const std::string& driver = "null",
                      const std::function<void(lua_State*)>& after = nullptr) {
    std::string file = dir.write("world.lua", text);
    std::string recording = dir.file("out.wav");
    return runInChild([&] {
      if (chdir(dir.path().c_str()) != 0) _exit(126);
      useAudioDriver(driver, driver == "wave" ? recording : "");
      SoundManager manager("cubewright");
      lua_State* lua = createScriptState(&manager, nullptr, file, apiForTests());
      callScriptFunction(lua, "lua_loop");
      if (after) after(lua);
      lua_close(lua);
    });
  }
  TempDir dir;
};

TEST_F(LuaFuncsTest, AllNamesInRegistrationOrderAndOnlyBuiltOnesAreReachable) {
  const std::vector<std::string> documented = {
      "load3DModel", "load3DModelAnimated", "draw3DModel", "unload3DModel", "load2DSprite",
      "draw2DSprite", "unload2DSprite", "drawText", "drawTextCenter", "print", "assert",
      "isEditorMode", "getKey", "getMouseInfos", "getDistanceToPlayer", "move3DPosition",
      "getPeriodDuration", "setGlobalVar", "getGlobalVar", "addToGlobalVar", "getTime",
      "getWindowSize", "quitGame", "loadGame", "saveGame", "setPlayerPosition",
      "getPlayerPosition", "setPlayerSpeed", "getPlayerSpeed", "setCameraAngleAndDistance",
      "getCameraAngleAndDistance", "setCurrentPosition", "rotatePosition",
      "getCurrentObjectPosition", "setCurrentObjectPosition", "setModelAnimationSpeed",
      "stopModelAnimation", "startModelAnimation", "setPlayerMovementWalk",
      "setPlayerMovementCar", "setPlayerMovementFly", "setPlayerMovementNone",
      "getPlayerMovementType", "setObjectLocalVariable1", "setObjectLocalVariable2",
      "getObjectLocalVariable1", "getObjectLocalVariable2", "loadSound", "playSound",
      "isPlayingSound", "setColor", "setFogColor", "drawSpriteFullscreen",
      "drawSpriteFullscreenStretched", "clearBackground", "draw2DWorld", "draw3DWorld",
      "startCubeCreation", "manageCubeCreation", "createCube", "isCollidingPoint"};
  ASSERT_EQ(61u, documented.size());
  ASSERT_EQ(documented.size(), scriptApi().size());
  lua_State* lua = createScriptState(nullptr, nullptr, dir.write("world.lua", ""), scriptApi());
  int registered = 0;
  for (size_t i = 0; i < documented.size(); ++i) {
    const ScriptFunction& entry = scriptApi()[i];
    EXPECT_EQ(documented[i], entry.name);
    lua_getfield(lua, LUA_GLOBALSINDEX, entry.name);
    EXPECT_EQ(entry.function != nullptr, lua_iscfunction(lua, -1) == 1) << entry.name;
    if (entry.function != nullptr) ++registered;
    lua_pop(lua, 1);
  }
  EXPECT_EQ(25, registered);
  lua_close(lua);

  ChildResult unbuilt = runLoop("function lua_loop() draw3DWorld() end");
  EXPECT_EQ(1, unbuilt.exitCode);
  EXPECT_NE(std::string::npos,
            unbuilt.err.find("calling function lua_loop'): " + dir.file("world.lua") +
                             ":1: attempt to call global 'draw3DWorld' (a nil value)\n"))
      << unbuilt.err;
}

TEST_F(LuaFuncsTest, BadCallsEndWithTheFunctionsReport) {
  dir.write("beep.wav", toneWave(0.1));
  dir.write("words.wav", "not a sound");
  struct Case {
    const char* call;
    const char* condition;  // null for a report without a condition
    const char* message;
  };
  const Case cases[] = {
      {"print()", "argc == 1", "print was called with 0 arguments"},
      {"print(1, 2)", "argc == 1", "print was called with 2 arguments"},
      {"print(1e20)", nullptr, "print: argument 1 is 1e+20, which is not an integer from "
                               "-9223372036854775808 to 9223372036854775807"},
      {"assert()", "argc == 1", "assert was called with 0 arguments"},
      {"assert(0.4)", "lua_tointeger(lua, 1)", "An assert condition into lua script was false."},
      {"assert(nil)", "lua_tointeger(lua, 1)", "An assert condition into lua script was false."},
      {"assert(true)", "lua_tointeger(lua, 1)", "An assert condition into lua script was false."},
      {"assert({})", "lua_tointeger(lua, 1)", "An assert condition into lua script was false."},
      {"assert('0')", "lua_tointeger(lua, 1)", "An assert condition into lua script was false."},
      {"assert(0/0)", nullptr, "assert: argument 1 is nan, which is not an integer"},
      {"setGlobalVar('a')", "argc == 2", "setGlobalVar was called with 1 argument"},
      {"setGlobalVar(nil, 1)", "lua_isstring(lua, 1)",
       "setGlobalVar: argument 1 is nil, not a string or number"},
      {"setGlobalVar({}, 1)", "lua_isstring(lua, 1)",
       "setGlobalVar: argument 1 is a table, not a string or number"},
      {"setGlobalVar('a', 'x')", "lua_isnumber(lua, 2)", "setGlobalVar: argument 2 is a string, not a number"},
      {"setGlobalVar('a', nil)", "lua_isnumber(lua, 2)", "setGlobalVar: argument 2 is nil, not a number"},
      {"setGlobalVar('a', 3e9)", nullptr, "setGlobalVar: argument 2 is 3000000000, which is not an "
                                          "integer from -2147483648 to 2147483647"},
      {"getGlobalVar()", "argc == 1", "getGlobalVar was called with 0 arguments"},
      {"getGlobalVar(true)", "lua_isstring(lua, 1)", "getGlobalVar: argument 1 is a boolean"},
      {"addToGlobalVar('a', 1, 2)", "argc == 2", "addToGlobalVar was called with 3 arguments"},
      {"addToGlobalVar(nil, 1)", "lua_isstring(lua, 1)", "addToGlobalVar: argument 1 is nil"},
      {"addToGlobalVar('a', 'b')", "lua_isnumber(lua, 2)", "addToGlobalVar: argument 2 is a string"},
      {"addToGlobalVar('a', -3e9)", nullptr, "addToGlobalVar: argument 2 is -3000000000"},
      {"quitGame(1)", "argc == 0", "quitGame was called with 1 argument"},
      {"loadSound()", "argc == 1", "loadSound was called with 0 arguments"},
      {"loadSound(nil)", "lua_isstring(lua, 1)", "loadSound: argument 1 is nil, not a file name"},
      {"loadSound('missing.wav')", "false", "missing.wav: I/O error"},
      {"loadSound('words.wav')", "false", "words.wav: Unsupported file type"},
      {"playSound()", "argc == 1", "playSound was called with 0 arguments"},
      {"playSound(nil)", "soundp != 0", "playSound: argument 1 is nil, not a sound"},
      {"playSound('beep.wav')", "soundp != 0", "playSound: argument 1 is a string, not a sound"},
      {"playSound(foreignHandle())", nullptr, "playSound: argument 1 is not a live sound"},
      {"isPlayingSound(loadSound('beep.wav'), 1)", "argc == 1",
       "isPlayingSound was called with 2 arguments"},
      {"isPlayingSound(0)", "soundp != 0", "isPlayingSound: argument 1 is a number, not a sound"},
      {"isPlayingSound(foreignHandle())", nullptr, "isPlayingSound: argument 1 is not a live sound"},
      {"clearBackground(1)", "argc == 0", "clearBackground was called with 1 argument"},
      {"setColor(1, 2, 3)", "argc == 4", "setColor was called with 3 arguments"},
      {"setColor(255, 0, 0, 256)", "r < 256 && g < 256 && b < 256 && a < 256", "setColor(255, 0, 0, 256)"},
      // The upper bounds are checked first.
      {"setColor(-1, 0, 0, 300)", "r < 256 && g < 256 && b < 256 && a < 256", "setColor(-1, 0, 0, 300)"},
      {"setColor(0, -1, 0, 0)", "r >= 0 && g >= 0 && b >= 0 && a >= 0", "setColor(0, -1, 0, 0)"},
      // 255.5 rounds to the even 256; -0.5 rounds to 0 and passes the lower bound.
      {"setColor(255.5, -0.5, 0, 0)", "r < 256 && g < 256 && b < 256 && a < 256", "setColor(256, 0, 0, 0)"},
      {"setFogColor(1, 2, 3, 4)", "argc == 3", "setFogColor was called with 4 arguments"},
      {"setFogColor(0, 0, 256)", "r < 256 && g < 256 && b < 256", "setFogColor(0, 0, 256)"},
      {"setFogColor(0, 0, -1)", "r >= 0 && g >= 0 && b >= 0", "setFogColor(0, 0, -1)"},
      {"getKey()", "argc == 1", "getKey was called with 0 arguments"},
      {"getKey('ab')", "chars.size() == 1", "getKey: 'ab' is not one character"},
      {"getKey('')", "chars.size() == 1", "getKey: '' is not one character"},
      {"getMouseInfos(1)", "argc == 0", "getMouseInfos was called with 1 argument"},
      {"getWindowSize(1)", "argc == 0", "getWindowSize was called with 1 argument"},
      {"getTime(1)", "argc == 0", "getTime was called with 1 argument"},
      {"load2DSprite()", "argc == 1", "load2DSprite was called with 0 arguments"},
      {"load2DSprite({})", "lua_isstring(lua, 1)", "load2DSprite: argument 1 is a table, not a file name"},
      {"draw2DSprite(nil, 1)", "argc == 3", "draw2DSprite was called with 2 arguments"},
      {"draw2DSprite(nil, 1, 2)", "spritep != 0", "draw2DSprite: argument 1 is nil, not a sprite"},
      {"draw2DSprite(foreignHandle(), 1, 2)", nullptr, "draw2DSprite: argument 1 is not a live sprite"},
      {"draw2DSprite(loadSound('beep.wav'), 1, 2)", nullptr, "draw2DSprite: argument 1 is not a live sprite"},
      {"unload2DSprite()", "argc == 1", "unload2DSprite was called with 0 arguments"},
      {"unload2DSprite(foreignHandle())", nullptr, "unload2DSprite: argument 1 is not a live sprite"},
      {"drawSpriteFullscreen(1)", "spritep != 0", "drawSpriteFullscreen: argument 1 is a number, not a sprite"},
      {"drawSpriteFullscreenStretched()", "argc == 1", "drawSpriteFullscreenStretched was called with 0 arguments"},
      {"drawSpriteFullscreenStretched(foreignHandle())", nullptr,
       "drawSpriteFullscreenStretched: argument 1 is not a live sprite"},
      {"drawText('a', 1)", "argc == 3", "drawText was called with 2 arguments"},
      {"drawText(nil, 1, 2)", "lua_isstring(lua, 1)", "drawText: argument 1 is nil, not a text"},
      {"draw2DWorld(1)", "argc == 0", "draw2DWorld was called with 1 argument"},
      {"drawTextCenter()", "argc == 1", "drawTextCenter was called with 0 arguments"},
      {"drawTextCenter({})", "lua_isstring(lua, 1)", "drawTextCenter: argument 1 is a table, not a text"},
  };
  for (const Case& c : cases) {
    ChildResult result = runLoop(std::string("function lua_loop() ") + c.call + " end");
    SCOPED_TRACE(c.call);
    EXPECT_EQ(1, result.exitCode) << describe(result);
    if (c.condition != nullptr) {
      EXPECT_NE(std::string::npos, result.err.find(std::string("\nCondition: ") + c.condition + "\n"))
          << result.err;
    } else {
      EXPECT_EQ(std::string::npos, result.err.find("\nCondition: ")) << result.err;
    }
    EXPECT_NE(std::string::npos, result.err.find(std::string("\nMessage: ") + c.message)) << result.err;
  }
}

TEST_F(LuaFuncsTest, GlobalVariablesAndQuit) {
  std::string file = dir.write("world.lua",
                               "function lua_loop()\n"
                               "  setGlobalVar('down', 2.9)\n"
                               "  setGlobalVar('neg', -2.9)\n"
                               "  setGlobalVar(5, '7')\n"
                               "  half = addToGlobalVar('half', 1.5)\n"
                               "  setGlobalVar('max', 2147483647)\n"
                               "  wrapped = addToGlobalVar('max', 1)\n"
                               "  never = getGlobalVar('never')\n"
                               "  down = getGlobalVar('down')\n"
                               "  five = getGlobalVar('5')\n"
                               "  quitGame()\n"
                               "end\n");
  lua_State* lua = createScriptState(nullptr, nullptr, file, scriptApi());
  EXPECT_FALSE(quitRequested);
  callScriptFunction(lua, "lua_loop");
  const std::map<std::string, int32_t> expected = {
      {"down", 2}, {"neg", -2}, {"5", 7}, {"half", 1}, {"max", -2147483647 - 1}};
  EXPECT_EQ(expected, globalVars.values);
  EXPECT_EQ(1, globalNumber(lua, "half"));
  EXPECT_EQ(-2147483648.0, globalNumber(lua, "wrapped"));
  EXPECT_EQ(0, globalNumber(lua, "never"));
  EXPECT_EQ(2, globalNumber(lua, "down"));
  EXPECT_EQ(7, globalNumber(lua, "five"));
  EXPECT_TRUE(quitRequested);
  lua_close(lua);
  // A new state starts with no variables and no quit request.
  lua = createScriptState(nullptr, nullptr, file, scriptApi());
  EXPECT_TRUE(globalVars.values.empty());
  EXPECT_FALSE(quitRequested);
  lua_close(lua);
}

TEST_F(LuaFuncsTest, PeriodDurationIgnoresItsArguments) {
  std::string file = dir.write("world.lua", "function lua_loop() period = getPeriodDuration(1, 'x', {}) end\n");
  lua_State* lua = createScriptState(nullptr, nullptr, file, scriptApi());
  GLManager::periodDuration = 12345;
  callScriptFunction(lua, "lua_loop");
  EXPECT_EQ(12345, globalNumber(lua, "period"));
  GLManager::periodDuration = 0;
  lua_close(lua);
}

TEST_F(LuaFuncsTest, PrintWritesIntegersRoundedToEvenStringsAndAddresses) {
  dir.write("beep.wav", toneWave(0.1));
  ChildResult result = runLoop(
      "function lua_loop()\n"
      "  print(3.5) print(2.5) print(-2.5) print(0.6) print('3.5') print('hello') print(7)\n"
      "  print(nil) print(false) print({})\n"
      "  print(loadSound('beep.wav'))\n"
      "end\n");
  EXPECT_EQ(0, result.exitCode) << describe(result);
  const std::string expectedStart =
      "done.\nlua print: 4\nlua print: 2\nlua print: -2\nlua print: 1\nlua print: 4\n"
      "lua print: hello\nlua print: 7\nlua print: nil\nlua print: false\nlua print: table\n"
      "lua print: ";
  size_t at = result.out.find(expectedStart);
  ASSERT_NE(std::string::npos, at) << result.out;
  std::string address = result.out.substr(at + expectedStart.size());
  EXPECT_NE(std::string::npos, address.find_first_of("123456789")) << address;
  EXPECT_EQ(address.size() - 1, address.find_first_not_of("-0123456789")) << address;
}

TEST_F(LuaFuncsTest, SoundsLoadOncePlayAndReportWhetherTheyPlay) {
  dir.write("beep.wav", toneWave(0.5));
  const std::string text =
      "function lua_loop()\n"
      "  a = loadSound('beep.wav')\n"
      "  same = (a == loadSound('beep.wav')) and 1 or 0\n"
      "  before = isPlayingSound(a)\n"
      "  playSound(a)\n"
      "  after = isPlayingSound(a)\n"
      "end\n";
  auto report = [](lua_State* lua) {
    std::cout << "same " << globalNumber(lua, "same") << " before " << globalNumber(lua, "before")
              << " after " << globalNumber(lua, "after") << "\n";
  };
  ChildResult withSound = runLoop(text, "null", report);
  EXPECT_EQ(0, withSound.exitCode) << describe(withSound);
  EXPECT_NE(std::string::npos, withSound.out.find("same 1 before 0 after 1\n")) << withSound.out;

  ChildResult silent = runLoop(text, "no-such-driver", report);
  EXPECT_EQ(0, silent.exitCode) << describe(silent);
  EXPECT_NE(std::string::npos, silent.out.find("same 1 before 0 after 0\n")) << silent.out;
}

// The wave driver records what OpenAL mixed: the tone is there when the
// script played it, and the recording is silent when it did not.
TEST_F(LuaFuncsTest, PlaySoundIsHeard) {
  dir.write("beep.wav", toneWave(0.3));
  // At least as long as the tone, so that both recordings cover it.
  auto waitForTheEnd = [](lua_State* lua) {
    for (int i = 0; i < 500 && (i < 40 || callScriptFunctionForNumber(lua, "playing") == 1); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  for (bool play : {true, false}) {
    std::string text = std::string("s = loadSound('beep.wav')\n") +
                       "function lua_loop() " + (play ? "playSound(s)" : "") + " end\n"
                       "function playing() return isPlayingSound(s) end\n";
    ChildResult result = runLoop(text, "wave", waitForTheEnd);
    ASSERT_EQ(0, result.exitCode) << describe(result);
    Recording recorded = readRecording(dir.file("out.wav"));
    ASSERT_EQ("", recorded.problem);
    ASSERT_GT(recorded.channels, 0);
    SCOPED_TRACE(play ? "played" : "not played");
    size_t loudFrames = recorded.framesAbove(0, 0.1f);
    if (play) {
      EXPECT_GT(recorded.peak(0), 0.3f);
      // A 440 Hz sine is above 0.1 of its peak most of the time: most of 0.3 s.
      EXPECT_GT(loudFrames, static_cast<size_t>(0.2 * recorded.sampleRate));
    } else {
      EXPECT_EQ(0.0f, recorded.peak(0));
      EXPECT_GT(recorded.frames(), static_cast<size_t>(0.2 * recorded.sampleRate));
    }
  }
}

}  // namespace
