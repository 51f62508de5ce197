#pragma once
// The script host: the game script's Lua state, the calls of its global
// functions, the report of its errors, and the references through which the
// script functions reach the engine.
//
// The state is bare: none of Lua's libraries is opened, so the script sees
// the language and the engine's functions only ("print" and "assert" are the
// engine's). Every error raised in the script ends the program with the
// fatal report "lua ('in file NAME'): ..." or "lua ('calling function NAME'): ...".

#include <lua.hpp>
#include <string>
#include <vector>

#include "GlobalVars.h"

class SoundManager;
class Font;
class World;
class CustomObject;

// One script function: the global name the script calls, and its binding.
// A null function is a name whose engine part is not built yet: it is not
// registered, so calling it is Lua's error for calling a nil value.
struct ScriptFunction {
  const char* name;
  lua_CFunction function;
};

// Process-wide references for the script functions. createScriptState sets
// the first three; the game manager and the object code keep
// `currentWorld`, `currentObject` and `distanceToPlayer` up to date.
extern SoundManager* scriptSoundManager;  // the game manager's; "loadSound" asks it
extern Font* scriptFont;                  // the game manager's; the text functions draw with it
extern bool quitRequested;                // set by "quitGame"; the game ends after the frame
extern World* currentWorld;               // the world scene the script acts on
extern CustomObject* currentObject;       // the object whose lua_manage ran last, or null
extern float distanceToPlayer;            // from `currentObject` to the player, taken with it

// Creates the script state: sets the references above (empty `globalVars`,
// `quitRequested` cleared), prints "Loading script 'FILE' ... ", registers
// `api` in its order, runs `fileName` and prints "done.". Any error in the
// file is the script error report. The caller closes the state (lua_close).
lua_State* createScriptState(SoundManager* soundManager, Font* font, const std::string& fileName,
                             const std::vector<ScriptFunction>& api);

// Calls the script's global function `functionName` without arguments and
// drops its result; the stack is left as it was.
void callScriptFunction(lua_State* lua, const std::string& functionName);
// The same for a function that must return a number, rounded to the nearest
// integer (halves to even).
int callScriptFunctionForNumber(lua_State* lua, const std::string& functionName);

// The script error report for the error value on top of the stack, raised
// while running the file `name` (whileLoading) or calling the function `name`.
[[noreturn]] void reportScriptError(lua_State* lua, const char* functionName, bool whileLoading);
