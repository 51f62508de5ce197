#pragma once
// The script API: the engine's global functions for the game script, in the
// order they are registered. Each binding checks its argument count first
// (a wrong count is the fatal report with a condition such as "argc == 1"
// and a message naming the function), reads its arguments, calls the engine
// operation that does the work and pushes its results. Yes/no answers are
// the numbers 1 and 0.
//
// Engine objects (sounds, and later sprites and models) reach the script as
// light user data. Every function that takes one checks it against the
// engine's live objects of that kind: null, foreign or released handles end
// with the fatal report naming the function and the argument.
//
// Names whose engine parts are not built yet have a null function and stay
// unregistered (see ScriptFunction).

#include <vector>

#include "src/script/ScriptHost.h"

// All 61 names, in registration order.
const std::vector<ScriptFunction>& scriptApi();
