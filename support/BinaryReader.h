#pragma once
// Reads little-endian binary files (world files, savegames) with every read
// checked. A file that ends early or declares more than it holds throws a
// FileFormatError whose message names the file, the byte offset and the
// problem; the caller decides whether that ends the program.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

// "<file>: byte <offset>: <problem>". `condition` is the failed check when
// the problem has a name of its own in the engine's reports, else null.
class FileFormatError : public std::runtime_error {
 public:
  explicit FileFormatError(const std::string& message, const char* failedCondition = nullptr)
      : std::runtime_error(message), condition(failedCondition) {}
  const char* condition;
};

class BinaryReader {
 public:
  // Reads `size` bytes held in memory; they must outlive the reader.
  BinaryReader(const std::string& fileName, const unsigned char* data, size_t size);
  // Reads an open file from its current position to its end, in chunks.
  BinaryReader(const std::string& fileName, std::FILE* file);
  BinaryReader(const BinaryReader&) = delete;
  BinaryReader& operator=(const BinaryReader&) = delete;

  const std::string& fileName() const { return name; }
  uint64_t offset() const { return windowOffset + static_cast<uint64_t>(cursor - window); }
  uint64_t bytesLeft() const { return totalSize - offset(); }

  // Each read names what it reads ("zone count"), for the message.
  int32_t readInt32(const char* what) { return int32At(take(4, what)); }
  float readFloat(const char* what) { return floatAt(take(4, what)); }
  uint8_t readByte(const char* what) {
    if (end - cursor < 1) need(1, what);
    return *cursor++;
  }
  // The next `count` bytes (at most 64 KiB) in one piece, for records of a
  // fixed size; decode them with int32At and floatAt.
  const unsigned char* take(size_t count, const char* what) {
    if (static_cast<size_t>(end - cursor) < count) need(count, what);
    const unsigned char* bytes = cursor;
    cursor += count;
    return bytes;
  }
  static int32_t int32At(const unsigned char* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
  }
  static float floatAt(const unsigned char* p) {
    uint32_t bits = static_cast<uint32_t>(int32At(p));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void readBytes(void* out, uint64_t count, const char* what);
  void skip(uint64_t count, const char* what);

  // A count of records that take at least `minRecordBytes` each: it must not
  // be negative, and that many records must fit in what is left of the file.
  int32_t readCount(const char* what, uint64_t minRecordBytes);

  // Throws the FileFormatError for a problem found at byte `at`.
  [[noreturn]] void fail(uint64_t at, const std::string& problem, const char* condition = nullptr) const;

 private:
  // Makes at least `count` bytes readable at the cursor, or fails: the file
  // ends inside `what`.
  void need(uint64_t count, const char* what);
  // Moves the unread bytes to the front of the buffer and reads more; false
  // when `count` bytes cannot be made readable.
  bool refill(uint64_t count);

  static constexpr size_t bufferSize = 1 << 16;

  std::string name;
  std::FILE* file = nullptr;           // null when reading from memory
  std::unique_ptr<unsigned char[]> buffer;
  const unsigned char* window = nullptr;  // first byte held, at file offset windowOffset
  const unsigned char* cursor = nullptr;
  const unsigned char* end = nullptr;
  uint64_t windowOffset = 0;
  uint64_t totalSize = 0;
};
