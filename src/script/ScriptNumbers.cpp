#include "ScriptNumbers.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>

#include "support/FatalReport.h"

double roundHalfToEven(double value) {
  double below = std::floor(value);
  double fraction = value - below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) return below + 1.0;
  return below;
}

bool roundToInteger(double value, Rounding rounding, int64_t minimum, int64_t maximum,
                    int64_t& result) {
  double rounded = rounding == Rounding::NearestEven ? roundHalfToEven(value) : std::trunc(value);
  // The rounded value is whole, so "below maximum + 1" is "at most maximum";
  // for the 64-bit maximum, maximum + 1 is exactly 2^63 as a double.
  bool inRange = rounded >= static_cast<double>(minimum) &&
                 rounded < static_cast<double>(maximum) + 1.0;
  if (!inRange) return false;  // also false for NaN
  result = static_cast<int64_t>(rounded);
  return true;
}

std::string numberText(double value) {
  if (std::isnan(value)) return "nan";  // the sign of a NaN means nothing to a script's author
  std::ostringstream text;
  text << std::setprecision(15) << value;
  return text.str();
}

static int64_t integerArgument(lua_State* lua, int index, Rounding rounding, int64_t minimum,
                               int64_t maximum, const char* functionName) {
  double value = lua_tonumber(lua, index);
  int64_t result = 0;
  if (!roundToInteger(value, rounding, minimum, maximum, result)) {
    FATAL_ERROR(std::string(functionName) + ": argument " + std::to_string(index) + " is " +
                numberText(value) + ", which is not an integer from " + std::to_string(minimum) +
                " to " + std::to_string(maximum));
  }
  return result;
}

int32_t intArgument(lua_State* lua, int index, Rounding rounding, const char* functionName) {
  return static_cast<int32_t>(integerArgument(lua, index, rounding,
                                              std::numeric_limits<int32_t>::min(),
                                              std::numeric_limits<int32_t>::max(), functionName));
}

int64_t longArgument(lua_State* lua, int index, Rounding rounding, const char* functionName) {
  return integerArgument(lua, index, rounding, std::numeric_limits<int64_t>::min(),
                         std::numeric_limits<int64_t>::max(), functionName);
}
