#include <gtest/gtest.h>

#include <cstdio>

#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "tests/common/TempDir.h"

namespace {

std::string problemOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const FileFormatError& error) {
    return error.what();
  }
  return "";
}

TEST(BinaryReader, ReadsLittleEndianValuesAndNamesTheByteOfAProblem) {
  BinaryWriter out;
  out.writeInt32(-2);
  out.writeFloat(1.5f);
  out.writeByte(0xab);
  out.writeBytes("xy", 2);
  EXPECT_EQ((std::vector<unsigned char>{0xfe, 0xff, 0xff, 0xff, 0, 0, 0xc0, 0x3f, 0xab, 'x', 'y'}), out.data);

  BinaryReader in("a.dat", out.data.data(), out.data.size());
  EXPECT_EQ(-2, in.readInt32("first"));
  EXPECT_EQ(1.5f, in.readFloat("second"));
  EXPECT_EQ(0xab, in.readByte("third"));
  EXPECT_EQ(9u, in.offset());
  EXPECT_EQ(2u, in.bytesLeft());
  EXPECT_EQ("a.dat: byte 9: file ends early: length needs 4 bytes, 2 left", problemOf([&] { in.readInt32("length"); }));
  EXPECT_EQ("a.dat: byte 9: padding of 3 bytes exceeds the 2 bytes left", problemOf([&] { in.skip(3, "padding"); }));
  char name[2];
  in.readBytes(name, 2, "name");
  EXPECT_EQ('y', name[1]);
  EXPECT_EQ("a.dat: byte 11: file ends early: flag needs 1 bytes, 0 left", problemOf([&] { in.readByte("flag"); }));
}

TEST(BinaryReader, CountsMustNotBeNegativeNorExceedWhatIsLeft) {
  BinaryWriter out;
  for (int32_t value : {3, -1, 4}) out.writeInt32(value);
  BinaryReader in("b.dat", out.data.data(), out.data.size());
  EXPECT_EQ(3, in.readCount("item count", 2));  // 3 x 2 bytes fit in the 8 left
  EXPECT_EQ("b.dat: byte 4: item count -1 is negative", problemOf([&] { in.readCount("item count", 1); }));
  EXPECT_EQ("b.dat: byte 8: item count 4 exceeds the 0 bytes left", problemOf([&] { in.readCount("item count", 1); }));
}

// A file several times the reader's buffer, with values straddling its
// windows, read through the file and through memory alike.
TEST(BinaryReader, ReadsLargeFilesInChunksAcrossBufferBorders) {
  BinaryWriter out;
  out.writeBytes("abc", 3);  // every later value is off the buffer's alignment
  const int32_t count = 100000;
  for (int32_t i = 0; i < count; ++i) out.writeInt32(i * 7 - 5);
  std::string tail(150000, 'z');
  tail[149999] = '!';
  out.writeBytes(tail);
  out.writeInt32(42);
  TempDir dir;
  std::string path = dir.write("large.dat", std::string(out.data.begin(), out.data.end()));

  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(nullptr, file);
  BinaryReader in("large.dat", file);
  EXPECT_EQ(out.data.size(), in.bytesLeft());
  in.skip(3, "magic");
  for (int32_t i = 0; i < count / 2; ++i) ASSERT_EQ(i * 7 - 5, in.readInt32("value")) << i;
  in.skip(4 * (count / 2 - 1), "values");  // far past the buffer
  EXPECT_EQ((count - 1) * 7 - 5, in.readInt32("last value"));
  std::string read(tail.size(), '\0');
  in.readBytes(&read[0], read.size(), "tail");  // longer than the buffer
  EXPECT_EQ(tail, read);
  EXPECT_EQ(42, in.readInt32("end"));
  EXPECT_EQ(0u, in.bytesLeft());
  EXPECT_EQ("large.dat: byte " + std::to_string(out.data.size()) + ": file ends early: more needs 1 bytes, 0 left",
            problemOf([&] { in.readByte("more"); }));
  std::fclose(file);
}

}  // namespace
