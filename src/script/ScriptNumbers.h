#pragma once
// How the script API turns the numbers of a script (Lua doubles) into engine
// integers. Lua's own conversion truncates here and is undefined for values
// beyond the integer's range, so the engine rounds and checks by itself.

#include <cstdint>
#include <lua.hpp>
#include <string>

enum class Rounding {
  NearestEven,  // to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4)
  TowardZero,   // truncated (2.9 -> 2, -2.9 -> -2)
};

// `value` rounded to the nearest integer, halves to even, whatever the
// floating-point rounding mode.
double roundHalfToEven(double value);

// Rounds `value` and stores it in `result` when it lies in [minimum, maximum];
// false for NaN and values outside, leaving `result` as it was.
bool roundToInteger(double value, Rounding rounding, int64_t minimum, int64_t maximum,
                    int64_t& result);

// The number at stack `index` as a 32-bit integer (a non-number reads as 0).
// NaN or a value beyond the 32-bit range ends with the fatal report naming
// `functionName`, the argument and its value.
int32_t intArgument(lua_State* lua, int index, Rounding rounding, const char* functionName);
// The same with the range of Lua's integer type (64 bits), for values the
// engine only prints or compares with 0.
int64_t longArgument(lua_State* lua, int index, Rounding rounding, const char* functionName);

// A number as the engine's messages write it: up to 15 significant digits,
// so that 3000000000 stays 3000000000.
std::string numberText(double value);
