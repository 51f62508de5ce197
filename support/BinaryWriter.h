#pragma once
// Collects a little-endian binary file in memory (world files, savegames),
// to be written out in one piece by SafeFileWriter.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class BinaryWriter {
 public:
  void writeInt32(int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                              static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    data.insert(data.end(), bytes, bytes + 4);
  }
  void writeFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeInt32(static_cast<int32_t>(bits));
  }
  void writeByte(uint8_t value) { data.push_back(value); }
  void writeBytes(const void* bytes, size_t count) {
    const unsigned char* first = static_cast<const unsigned char*>(bytes);
    data.insert(data.end(), first, first + count);
  }
  void writeBytes(const std::string& bytes) { writeBytes(bytes.data(), bytes.size()); }

  std::vector<unsigned char> data;
};
