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
#include "support/Color.h"

// The colour "clearBackground" clears with; set by "setFogColor" and copied
// into the world scene every frame.
extern Color fogColor;
// The colour the screen is cleared with before a full-screen sprite.
extern const Color fullscreenBackgroundColor;
// Set by the full-screen sprite functions, cleared by "draw2DWorld"; while
// set, the world scene holds the player still.
extern bool fullscreenSpriteShown;

// All 61 names, in registration order.
const std::vector<ScriptFunction>& scriptApi();
