#include "LuaFuncs.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>

#include "platform/Platform.h"
#include "src/script/ScriptNumbers.h"
#include "support/FatalReport.h"
#include "support/GLManager.h"
#include "support/KeyboardManager.h"
#include "support/Scene2D.h"
#include "support/Font.h"
#include "support/Image.h"
#include "support/SoundManager.h"
#include "support/Sprite.h"
#include "support/SpriteManager.h"

Color fogColor(255, 255, 255, 255);
const Color fullscreenBackgroundColor(0, 0, 0, 255);
bool fullscreenSpriteShown = false;

namespace {

// ---- Argument helpers shared by the bindings ----

std::string countMessage(const char* functionName, int argc) {
  return std::string(functionName) + " was called with " + std::to_string(argc) +
         (argc == 1 ? " argument" : " arguments");
}

// "NAME: argument N is a TYPE, not EXPECTED"
std::string argumentMessage(lua_State* lua, const char* functionName, int index,
                            const std::string& expected) {
  std::string type = luaL_typename(lua, index);
  if (type != "nil") type = "a " + type;
  return std::string(functionName) + ": argument " + std::to_string(index) + " is " + type +
         ", not " + expected;
}

// The string at `index` with its exact bytes (a number is turned into its text).
std::string stringArgument(lua_State* lua, int index) {
  size_t length = 0;
  const char* text = lua_tolstring(lua, index, &length);
  return text == nullptr ? std::string() : std::string(text, length);
}

// One kind of engine object that scripts hold as light user data.
struct HandleKind {
  const char* noun;           // what the script should have passed, e.g. "sound"
  const char* nullCondition;  // the condition of the null check, e.g. "soundp != 0"
  bool (*isLive)(const void* handle);
};

// The light user data at `index`, checked to be a live object of `kind`:
// anything else ends with the fatal report naming the function and argument.
void* handleArgument(lua_State* lua, int index, const char* functionName, const HandleKind& kind) {
  void* handle = lua_touserdata(lua, index);  // null for anything but user data
  if (handle == nullptr) {
    std::string message = argumentMessage(lua, functionName, index, std::string("a ") + kind.noun);
    assertFailed(__DATE__, __FILE__, kind.nullCondition, __LINE__, __TIME__, message.c_str());
  }
  if (!kind.isLive(handle)) {
    FATAL_ERROR(std::string(functionName) + ": argument " + std::to_string(index) +
                " is not a live " + kind.noun + " (address " +
                std::to_string(reinterpret_cast<intptr_t>(handle)) +
                "): the engine never handed it out as a " + kind.noun +
                ", or has released it");
  }
  return handle;
}

// ---- Text and checks ----

// The value as "print" writes it: numbers (and numeric strings) rounded to
// an integer, other strings as they are, user data as its address.
std::string printedValue(lua_State* lua, int index) {
  switch (lua_type(lua, index)) {
    case LUA_TNUMBER:
      return std::to_string(longArgument(lua, index, Rounding::NearestEven, "print"));
    case LUA_TSTRING:
      if (lua_isnumber(lua, index)) {
        return std::to_string(longArgument(lua, index, Rounding::NearestEven, "print"));
      }
      return stringArgument(lua, index);
    case LUA_TLIGHTUSERDATA:
    case LUA_TUSERDATA:
      return std::to_string(reinterpret_cast<intptr_t>(lua_touserdata(lua, index)));
    case LUA_TBOOLEAN:
      return lua_toboolean(lua, index) ? "true" : "false";
    default:
      return luaL_typename(lua, index);  // nil, table, function, thread
  }
}

int scriptPrint(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("print", argc));
  std::cout << "lua print: " << printedValue(lua, 1) << std::endl;
  return 0;
}

int scriptAssert(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("assert", argc));
  if (longArgument(lua, 1, Rounding::NearestEven, "assert") == 0) {
    // The condition names the script's value as the engine reads it (rounded).
    assertFailed(__DATE__, __FILE__, "lua_tointeger(lua, 1)", __LINE__, __TIME__,
                 "An assert condition into lua script was false.");
  }
  return 0;
}

// ---- Game state ----

// The name argument of the global-variable functions.
std::string globalVarName(lua_State* lua, const char* functionName) {
  CHECK_MSG(lua_isstring(lua, 1), argumentMessage(lua, functionName, 1, "a string or number"));
  return stringArgument(lua, 1);
}

// The amount argument of "setGlobalVar" and "addToGlobalVar", truncated.
int32_t globalVarAmount(lua_State* lua, const char* functionName) {
  CHECK_MSG(lua_isnumber(lua, 2), argumentMessage(lua, functionName, 2, "a number"));
  return intArgument(lua, 2, Rounding::TowardZero, functionName);
}

int scriptSetGlobalVar(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 2, countMessage("setGlobalVar", argc));
  std::string name = globalVarName(lua, "setGlobalVar");
  globalVars.set(name, globalVarAmount(lua, "setGlobalVar"));
  return 0;
}

int scriptGetGlobalVar(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("getGlobalVar", argc));
  lua_pushnumber(lua, globalVars.get(globalVarName(lua, "getGlobalVar")));
  return 1;
}

int scriptAddToGlobalVar(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 2, countMessage("addToGlobalVar", argc));
  std::string name = globalVarName(lua, "addToGlobalVar");
  lua_pushnumber(lua, globalVars.add(name, globalVarAmount(lua, "addToGlobalVar")));
  return 1;
}

int scriptQuitGame(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("quitGame", argc));
  quitRequested = true;
  return 0;
}

// ---- Sound ----

SoundManager& soundManager(const char* functionName) {
  CHECK_MSG(scriptSoundManager != nullptr,
            std::string(functionName) + ": the script has no sound manager");
  return *scriptSoundManager;
}

const HandleKind soundHandle = {"sound", "soundp != 0", [](const void* handle) {
                                  return scriptSoundManager->isLiveSound(handle);
                                }};

Sound_Abstract* soundArgument(lua_State* lua, const char* functionName) {
  soundManager(functionName);  // the live sounds are the manager's
  return static_cast<Sound_Abstract*>(handleArgument(lua, 1, functionName, soundHandle));
}

int scriptLoadSound(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("loadSound", argc));
  CHECK_MSG(lua_isstring(lua, 1), argumentMessage(lua, "loadSound", 1, "a file name"));
  Sound_Abstract* sound = soundManager("loadSound").getSound(stringArgument(lua, 1));
  lua_pushlightuserdata(lua, static_cast<void*>(sound));
  return 1;
}

int scriptPlaySound(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("playSound", argc));
  soundArgument(lua, "playSound")->play(false);
  return 0;
}

int scriptIsPlayingSound(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("isPlayingSound", argc));
  lua_pushnumber(lua, soundArgument(lua, "isPlayingSound")->isPlaying() ? 1 : 0);
  return 1;
}

// ---- Sprites ----

const HandleKind spriteHandle = {"sprite", "spritep != 0", [](const void* handle) {
                                   return GLManager::spriteManager != nullptr &&
                                          GLManager::spriteManager->isLiveSprite(handle);
                                 }};

Sprite* spriteArgument(lua_State* lua, const char* functionName) {
  return static_cast<Sprite*>(handleArgument(lua, 1, functionName, spriteHandle));
}

SpriteManager& spriteManager(const char* functionName) {
  CHECK_MSG(GLManager::spriteManager != nullptr, std::string(functionName) + ": there is no sprite manager");
  return *GLManager::spriteManager;
}

// The 2D view's virtual size.
Int2 viewSize(const char* functionName) {
  CHECK_MSG(GLManager::scene2D != nullptr, std::string(functionName) + ": there is no 2D view");
  return GLManager::scene2D->virtualSize;
}

int scriptLoad2DSprite(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("load2DSprite", argc));
  CHECK_MSG(lua_isstring(lua, 1), argumentMessage(lua, "load2DSprite", 1, "a file name"));
  Sprite* sprite = spriteManager("load2DSprite").createSprite(stringArgument(lua, 1), HOTSPOT_TOP_LEFT);
  lua_pushlightuserdata(lua, static_cast<void*>(sprite));
  return 1;
}

int scriptDraw2DSprite(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 3, countMessage("draw2DSprite", argc));
  Sprite* sprite = spriteArgument(lua, "draw2DSprite");
  sprite->position = Int2(intArgument(lua, 2, Rounding::TowardZero, "draw2DSprite"),
                          intArgument(lua, 3, Rounding::TowardZero, "draw2DSprite"));
  sprite->draw();
  return 0;
}

int scriptUnload2DSprite(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("unload2DSprite", argc));
  Sprite* sprite = spriteArgument(lua, "unload2DSprite");
  spriteManager("unload2DSprite").removeSprite(sprite);
  return 0;
}

// Clears the screen and draws the sprite centred in the 2D view at its
// current scale.
void drawCentredOnBackground(Sprite* sprite, const Int2& view) {
  GLManager::clearScreen(fullscreenBackgroundColor);
  Int2 size = sprite->getSize();
  sprite->position = Int2(view.x() / 2 - size.x() / 2, view.y() / 2 - size.y() / 2);
  sprite->draw();
  fullscreenSpriteShown = true;
}

int scriptDrawSpriteFullscreen(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("drawSpriteFullscreen", argc));
  Sprite* sprite = spriteArgument(lua, "drawSpriteFullscreen");
  drawCentredOnBackground(sprite, viewSize("drawSpriteFullscreen"));
  return 0;
}

int scriptDrawSpriteFullscreenStretched(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("drawSpriteFullscreenStretched", argc));
  Sprite* sprite = spriteArgument(lua, "drawSpriteFullscreenStretched");
  Int2 view = viewSize("drawSpriteFullscreenStretched");
  const Image* image = sprite->images[sprite->currentImage];
  float scale = std::min(static_cast<float>(view.x()) / image->width, static_cast<float>(view.y()) / image->height);
  sprite->scaleX = sprite->scaleY = scale;
  drawCentredOnBackground(sprite, view);
  sprite->scaleX = sprite->scaleY = 1.0f;
  return 0;
}

// ---- Text ----

const Font& font(const char* functionName) {
  CHECK_MSG(scriptFont != nullptr, std::string(functionName) + ": the script has no font");
  return *scriptFont;
}

std::string textArgument(lua_State* lua, const char* functionName) {
  CHECK_MSG(lua_isstring(lua, 1), argumentMessage(lua, functionName, 1, "a text"));
  return stringArgument(lua, 1);
}

int scriptDrawText(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 3, countMessage("drawText", argc));
  std::string text = textArgument(lua, "drawText");
  int x = intArgument(lua, 2, Rounding::TowardZero, "drawText");
  int y = intArgument(lua, 3, Rounding::TowardZero, "drawText");
  font("drawText").drawText(Float2(1, 1), text.c_str(), x, y);
  return 0;
}

int scriptDrawTextCenter(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("drawTextCenter", argc));
  std::string text = textArgument(lua, "drawTextCenter");
  const Font& textFont = font("drawTextCenter");
  Int2 view = viewSize("drawTextCenter");
  int x = (view.x() - textFont.getTextWidth(text.c_str(), -1, 1.0f)) / 2;
  int y = (view.y() - textFont.getHeight()) / 2;
  textFont.drawText(Float2(1, 1), text.c_str(), x, y);
  return 0;
}

// ---- Frame drawing ----

int scriptClearBackground(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("clearBackground", argc));
  GLManager::clearScreen(fogColor);
  return 0;
}

// The colour components of "setColor" and "setFogColor", rounded, with the
// upper bounds checked before the lower ones.
Color colorArguments(lua_State* lua, bool withAlpha, const char* functionName) {
  int r = intArgument(lua, 1, Rounding::NearestEven, functionName);
  int g = intArgument(lua, 2, Rounding::NearestEven, functionName);
  int b = intArgument(lua, 3, Rounding::NearestEven, functionName);
  std::string given = std::string(functionName) + "(" + std::to_string(r) + ", " + std::to_string(g) +
                      ", " + std::to_string(b);
  if (withAlpha) {
    int a = intArgument(lua, 4, Rounding::NearestEven, functionName);
    given += ", " + std::to_string(a) + ")";
    CHECK_MSG(r < 256 && g < 256 && b < 256 && a < 256, given);
    CHECK_MSG(r >= 0 && g >= 0 && b >= 0 && a >= 0, given);
    return Color(r, g, b, a);
  }
  given += ")";
  CHECK_MSG(r < 256 && g < 256 && b < 256, given);
  CHECK_MSG(r >= 0 && g >= 0 && b >= 0, given);
  return Color(r, g, b, 255);
}

int scriptSetColor(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 4, countMessage("setColor", argc));
  Color color = colorArguments(lua, true, "setColor");
  glColor4ub(color.r, color.g, color.b, color.a);
  return 0;
}

int scriptSetFogColor(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 3, countMessage("setFogColor", argc));
  fogColor = colorArguments(lua, false, "setFogColor");
  return 0;
}

// "draw2DWorld": 2D drawing for the rest of the frame. The world scene's 2D
// layer (the under-water tint and the editor's screens) is drawn when a world
// scene exists.
int scriptDraw2DWorld(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("draw2DWorld", argc));
  int64_t start = platform::monotonicMicroseconds();
  CHECK_MSG(GLManager::scene2D != nullptr, "draw2DWorld: there is no 2D view");
  GLManager::scene2D->beginDrawing();
  callScriptFunctionForNumber(lua, "lua_getNbObjects");
  fullscreenSpriteShown = false;
  lua_pushnumber(lua, static_cast<lua_Number>(platform::monotonicMicroseconds() - start));
  return 1;
}

// ---- Input, window and time ----

int scriptGetKey(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 1, countMessage("getKey", argc));
  std::string chars = stringArgument(lua, 1);
  CHECK_MSG(chars.size() == 1, "getKey: '" + chars + "' is not one character");
  CHECK_MSG(KeyboardManager::instance != nullptr, "getKey: there is no keyboard");
  unsigned char code = static_cast<unsigned char>(chars[0]);
  lua_pushnumber(lua, KeyboardManager::instance->keys[code] ? 1 : 0);
  return 1;
}

int scriptGetMouseInfos(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("getMouseInfos", argc));
  for (bool held : GLManager::mouseButtons) lua_pushnumber(lua, held ? 1 : 0);
  lua_pushnumber(lua, GLManager::mousePosition.x());
  lua_pushnumber(lua, GLManager::mousePosition.y());
  return 5;
}

int scriptGetWindowSize(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("getWindowSize", argc));
  CHECK_MSG(GLManager::scene2D != nullptr, "getWindowSize: there is no 2D view");
  lua_pushnumber(lua, GLManager::scene2D->virtualSize.x());
  lua_pushnumber(lua, GLManager::scene2D->virtualSize.y());
  return 2;
}

int scriptGetTime(lua_State* lua) {
  int argc = lua_gettop(lua);
  CHECK_MSG(argc == 0, countMessage("getTime", argc));
  lua_pushnumber(lua, getTimeMilliseconds());
  return 1;
}

// Takes any arguments and ignores them.
int scriptGetPeriodDuration(lua_State* lua) {
  lua_pushnumber(lua, static_cast<lua_Number>(GLManager::periodDuration));
  return 1;
}

}  // namespace

const std::vector<ScriptFunction>& scriptApi() {
  static const std::vector<ScriptFunction> functions = {
      {"load3DModel", nullptr},
      {"load3DModelAnimated", nullptr},
      {"draw3DModel", nullptr},
      {"unload3DModel", nullptr},
      {"load2DSprite", scriptLoad2DSprite},
      {"draw2DSprite", scriptDraw2DSprite},
      {"unload2DSprite", scriptUnload2DSprite},
      {"drawText", scriptDrawText},
      {"drawTextCenter", scriptDrawTextCenter},
      {"print", scriptPrint},
      {"assert", scriptAssert},
      {"isEditorMode", nullptr},
      {"getKey", scriptGetKey},
      {"getMouseInfos", scriptGetMouseInfos},
      {"getDistanceToPlayer", nullptr},
      {"move3DPosition", nullptr},
      {"getPeriodDuration", scriptGetPeriodDuration},
      {"setGlobalVar", scriptSetGlobalVar},
      {"getGlobalVar", scriptGetGlobalVar},
      {"addToGlobalVar", scriptAddToGlobalVar},
      {"getTime", scriptGetTime},
      {"getWindowSize", scriptGetWindowSize},
      {"quitGame", scriptQuitGame},
      {"loadGame", nullptr},
      {"saveGame", nullptr},
      {"setPlayerPosition", nullptr},
      {"getPlayerPosition", nullptr},
      {"setPlayerSpeed", nullptr},
      {"getPlayerSpeed", nullptr},
      {"setCameraAngleAndDistance", nullptr},
      {"getCameraAngleAndDistance", nullptr},
      {"setCurrentPosition", nullptr},
      {"rotatePosition", nullptr},
      {"getCurrentObjectPosition", nullptr},
      {"setCurrentObjectPosition", nullptr},
      {"setModelAnimationSpeed", nullptr},
      {"stopModelAnimation", nullptr},
      {"startModelAnimation", nullptr},
      {"setPlayerMovementWalk", nullptr},
      {"setPlayerMovementCar", nullptr},
      {"setPlayerMovementFly", nullptr},
      {"setPlayerMovementNone", nullptr},
      {"getPlayerMovementType", nullptr},
      {"setObjectLocalVariable1", nullptr},
      {"setObjectLocalVariable2", nullptr},
      {"getObjectLocalVariable1", nullptr},
      {"getObjectLocalVariable2", nullptr},
      {"loadSound", scriptLoadSound},
      {"playSound", scriptPlaySound},
      {"isPlayingSound", scriptIsPlayingSound},
      {"setColor", scriptSetColor},
      {"setFogColor", scriptSetFogColor},
      {"drawSpriteFullscreen", scriptDrawSpriteFullscreen},
      {"drawSpriteFullscreenStretched", scriptDrawSpriteFullscreenStretched},
      {"clearBackground", scriptClearBackground},
      {"draw2DWorld", scriptDraw2DWorld},
      {"draw3DWorld", nullptr},
      {"startCubeCreation", nullptr},
      {"manageCubeCreation", nullptr},
      {"createCube", nullptr},
      {"isCollidingPoint", nullptr},
  };
  return functions;
}
