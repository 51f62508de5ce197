#include "GlobalVars.h"

GlobalVars globalVars;

int32_t GlobalVars::get(const std::string& name) const {
  auto found = values.find(name);
  return found == values.end() ? 0 : found->second;
}

int32_t GlobalVars::add(const std::string& name, int32_t amount) {
  auto inserted = values.emplace(name, amount);
  if (!inserted.second) {
    int32_t& value = inserted.first->second;
    // Unsigned arithmetic wraps around; signed overflow would be undefined.
    value = static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(amount));
  }
  return inserted.first->second;
}
