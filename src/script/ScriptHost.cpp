#include "ScriptHost.h"

#include <cstdint>
#include <iostream>

#include "ScriptNumbers.h"
#include "support/FatalReport.h"

SoundManager* scriptSoundManager = nullptr;
Font* scriptFont = nullptr;
bool quitRequested = false;
World* currentWorld = nullptr;
CustomObject* currentObject = nullptr;
float distanceToPlayer = 0.0f;

static void registerFunctions(lua_State* lua, const std::vector<ScriptFunction>& api) {
  for (const ScriptFunction& entry : api) {
    if (entry.function == nullptr) continue;
    lua_pushcclosure(lua, entry.function, 0);
    lua_setfield(lua, LUA_GLOBALSINDEX, entry.name);
  }
}

lua_State* createScriptState(SoundManager* soundManager, Font* font, const std::string& fileName,
                             const std::vector<ScriptFunction>& api) {
  scriptSoundManager = soundManager;
  scriptFont = font;
  globalVars.clear();
  quitRequested = false;
  std::cout << "Loading script '" << fileName << "' ... " << std::flush;
  lua_State* lua = luaL_newstate();
  CHECK_MSG(lua != NULL, "not enough memory for the script state");
  registerFunctions(lua, api);
  // The chunk's own results are of no use: none is kept on the stack.
  if (luaL_loadfile(lua, fileName.c_str()) != 0 || lua_pcall(lua, 0, 0, 0) != 0) {
    reportScriptError(lua, fileName.c_str(), true);
  }
  std::cout << "done." << std::endl;
  return lua;
}

// Pushes the global `functionName` and calls it for one result; any error is
// the script error report.
static void callForOneResult(lua_State* lua, const std::string& functionName) {
  lua_getfield(lua, LUA_GLOBALSINDEX, functionName.c_str());
  if (lua_pcall(lua, 0, 1, 0) != 0) reportScriptError(lua, functionName.c_str(), false);
}

void callScriptFunction(lua_State* lua, const std::string& functionName) {
  callForOneResult(lua, functionName);
  lua_pop(lua, 1);
}

int callScriptFunctionForNumber(lua_State* lua, const std::string& functionName) {
  callForOneResult(lua, functionName);
  CHECK(lua_isnumber(lua, -1));
  double number = lua_tonumber(lua, -1);
  int64_t value = 0;
  if (!roundToInteger(number, Rounding::NearestEven, INT32_MIN, INT32_MAX, value)) {
    FATAL_ERROR(functionName + " returned " + numberText(number) +
                ", which is not a 32-bit integer");
  }
  lua_pop(lua, 1);
  return static_cast<int>(value);
}

// The error value as text; Lua has none for values other than strings and
// numbers, so those are described by their type.
static std::string errorText(lua_State* lua) {
  size_t length = 0;
  const char* text = lua_tolstring(lua, -1, &length);
  if (text != nullptr) return std::string(text, length);
  return std::string("(error object is a ") + luaL_typename(lua, -1) + " value)";
}

void reportScriptError(lua_State* lua, const char* functionName, bool whileLoading) {
  CHECK(functionName != NULL);
  std::string message = "lua ('";
  message += whileLoading ? "in file " : "calling function ";
  message += functionName;
  message += "'): ";
  message += errorText(lua);
  FATAL_ERROR(message);
}
