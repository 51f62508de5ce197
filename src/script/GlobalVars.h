#pragma once
// The script's persistent integers, kept by name: they live as long as the
// script state, go into every savegame and are replaced by a loaded game.

#include <cstdint>
#include <map>
#include <string>

class GlobalVars {
 public:
  void set(const std::string& name, int32_t value) { values[name] = value; }
  // The stored value, or 0 for a name never set (which is not added).
  int32_t get(const std::string& name) const;
  // Adds `amount` to the stored value, wrapping around at 32 bits; a name
  // never set is stored with `amount`. Returns the stored value.
  int32_t add(const std::string& name, int32_t amount);
  void clear() { values.clear(); }

  std::map<std::string, int32_t> values;  // names compared byte by byte, in that order
};

// The store the script functions and the savegames use.
extern GlobalVars globalVars;
