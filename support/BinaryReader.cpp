#include "BinaryReader.h"

#include <algorithm>

BinaryReader::BinaryReader(const std::string& fileName, const unsigned char* data, size_t size)
    : name(fileName), window(data), cursor(data), end(data + size), totalSize(size) {}

BinaryReader::BinaryReader(const std::string& fileName, std::FILE* stream)
    : name(fileName), file(stream), buffer(new unsigned char[bufferSize]) {
  window = cursor = end = buffer.get();
  long start = std::ftell(file);
  if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
    long last = std::ftell(file);
    if (last >= start) totalSize = static_cast<uint64_t>(last - start);
    std::fseek(file, start, SEEK_SET);
  }
  // A stream whose size cannot be told reads as empty: every read fails.
}

void BinaryReader::fail(uint64_t at, const std::string& problem, const char* condition) const {
  throw FileFormatError(name + ": byte " + std::to_string(at) + ": " + problem, condition);
}

bool BinaryReader::refill(uint64_t count) {
  if (file == nullptr || count > bufferSize || count > bytesLeft()) return false;
  size_t kept = static_cast<size_t>(end - cursor);
  unsigned char* front = buffer.get();
  std::memmove(front, cursor, kept);
  windowOffset = offset();
  size_t wanted = static_cast<size_t>(std::min<uint64_t>(bufferSize - kept, bytesLeft() - kept));
  size_t got = std::fread(front + kept, 1, wanted, file);
  window = cursor = front;
  end = front + kept + got;
  return static_cast<uint64_t>(end - cursor) >= count;
}

void BinaryReader::need(uint64_t count, const char* what) {
  if (refill(count)) return;
  uint64_t left = std::min<uint64_t>(bytesLeft(), static_cast<uint64_t>(end - cursor));
  fail(offset(), std::string("file ends early: ") + what + " needs " + std::to_string(count) + " bytes, " +
                     std::to_string(left) + " left");
}

void BinaryReader::readBytes(void* out, uint64_t count, const char* what) {
  if (count > bytesLeft())
    fail(offset(), std::string("file ends early: ") + what + " needs " + std::to_string(count) +
                       " bytes, " + std::to_string(bytesLeft()) + " left");
  unsigned char* target = static_cast<unsigned char*>(out);
  while (count > 0) {
    if (cursor == end) need(1, what);
    size_t piece = static_cast<size_t>(std::min<uint64_t>(count, static_cast<uint64_t>(end - cursor)));
    std::memcpy(target, cursor, piece);
    target += piece;
    cursor += piece;
    count -= piece;
  }
}

void BinaryReader::skip(uint64_t count, const char* what) {
  if (count > bytesLeft())
    fail(offset(), std::string(what) + " of " + std::to_string(count) + " bytes exceeds the " +
                       std::to_string(bytesLeft()) + " bytes left");
  uint64_t held = static_cast<uint64_t>(end - cursor);
  if (count <= held) {
    cursor += count;
    return;
  }
  // Past the buffer: jump in the file and start an empty window there.
  uint64_t target = offset() + count;
  if (std::fseek(file, static_cast<long>(count - held), SEEK_CUR) != 0)
    fail(offset(), std::string("cannot skip ") + what);
  windowOffset = target;
  window = cursor = end = buffer.get();
}

int32_t BinaryReader::readCount(const char* what, uint64_t minRecordBytes) {
  uint64_t at = offset();
  int32_t count = readInt32(what);
  if (count < 0) fail(at, std::string(what) + " " + std::to_string(count) + " is negative");
  if (static_cast<uint64_t>(count) * minRecordBytes > bytesLeft())
    fail(at, std::string(what) + " " + std::to_string(count) + " exceeds the " + std::to_string(bytesLeft()) +
                 " bytes left");
  return count;
}
