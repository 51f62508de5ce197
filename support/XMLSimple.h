#pragma once
// Reads the game's XML configuration into four typed tables. The root
// element's children named "string", "double", "int" and "bool" are groups;
// each element inside a group is one entry: its name is the key, its text
// the value.

#include <map>
#include <string>

class XMLSimple {
 public:
  XMLSimple() = default;
  // Fills the tables from `fileName`; any failure is the fatal report.
  explicit XMLSimple(const std::string& fileName);

  // Each query returns the stored value, or the zero value of its type, which
  // is then stored under the key.
  std::string getString(const std::string& key);
  double getDouble(const std::string& key);
  int getInt(const std::string& key);
  bool getBool(const std::string& key);

  std::map<std::string, std::string> strings;
  std::map<std::string, double> doubles;
  std::map<std::string, int> ints;
  std::map<std::string, bool> bools;

 private:
  void storeEntry(const std::string& group, const std::string& key, const std::string& text,
                  const std::string& fileName);
};
