// The buffered file stream: typed reads in both byte orders, the buffer edges,
// seeks that keep the buffer, short reads and a file truncated under the reader.
#include "svq/SvFileStream.h"
#include "tests/support/SvProcess.h"
#include "text/SvErrors.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace sv;
using sv::test::TSvTempDir;

namespace {

std::string Save(const TSvTempDir& dir, const std::vector<std::uint8_t>& bytes) {
  const std::string path = dir.File("data.bin");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

void ExpectReadError(const std::function<void()>& read) {
  try {
    read();
    FAIL() << "no error";
  } catch (const ESvStreamError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

} // namespace

TEST(SvFileStream, TypedReadsInBothByteOrders) {
  TSvTempDir dir;
  const std::string path = Save(dir, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x41, 0x00, 0xD8});
  TSvFileStream little(path);
  EXPECT_EQ(little.ReadByte(), 0x12);
  EXPECT_EQ(little.ReadWord(), 0x5634);
  EXPECT_EQ(little.ReadDWord(), 0x41BC9A78u);
  EXPECT_EQ(little.ReadUnits(1), std::u16string(1, char16_t(0xD800)));

  TSvFileStream big(path);
  big.SetSwapBytes(true);
  EXPECT_EQ(big.ReadByte(), 0x12);
  EXPECT_EQ(big.ReadWord(), 0x3456);
  EXPECT_EQ(big.ReadDWord(), 0x789ABC41u);
  EXPECT_EQ(big.ReadUnits(1), std::u16string(1, char16_t(0x00D8)));
  EXPECT_EQ(big.Position(), 9u);
}

TEST(SvFileStream, ValuesAcrossTheBufferEdgeAndFewSystemReads) {
  // Words at odd offsets so that one of them straddles every buffer edge.
  const std::size_t words = TSvFileStream::kBufferSize; // twice the buffer, plus one byte
  std::vector<std::uint8_t> bytes{0xEE};
  for (std::size_t i = 0; i < words; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(i));
    bytes.push_back(static_cast<std::uint8_t>(i >> 8));
  }
  TSvTempDir dir;
  TSvFileStream stream(Save(dir, bytes));
  EXPECT_EQ(stream.ReadByte(), 0xEE);
  for (std::size_t i = 0; i < words; ++i)
    ASSERT_EQ(stream.ReadWord(), static_cast<std::uint16_t>(i)) << i;
  // 131073 bytes in 65537 reads: only a handful of them reach the file.
  EXPECT_LE(stream.SystemReads(), 4u);

  // Whole strings across the edge, as units and as bytes.
  stream.Seek(TSvFileStream::kBufferSize - 3);
  const std::u16string units = stream.ReadUnits(4);
  const std::size_t first = (TSvFileStream::kBufferSize - 4) / 2;
  for (std::size_t k = 0; k < 4; ++k)
    EXPECT_EQ(units[k], static_cast<char16_t>(first + k));
  stream.Seek(1);
  EXPECT_EQ(stream.ReadBytes(2 * words).size(), 2 * words);
  ExpectReadError([&] { stream.ReadByte(); });
}

TEST(SvFileStream, SeekInsideTheBufferKeepsIt) {
  TSvTempDir dir;
  std::vector<std::uint8_t> bytes(300000);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7);
  TSvFileStream stream(Save(dir, bytes));
  stream.Seek(100);
  EXPECT_EQ(stream.ReadByte(), static_cast<std::uint8_t>(700));
  const std::size_t reads = stream.SystemReads();
  stream.Seek(5000);
  EXPECT_EQ(stream.ReadByte(), static_cast<std::uint8_t>(35000));
  stream.Seek(103);
  EXPECT_EQ(stream.ReadByte(), static_cast<std::uint8_t>(721));
  stream.Skip(96);
  EXPECT_EQ(stream.Position(), 200u);
  EXPECT_EQ(stream.ReadByte(), static_cast<std::uint8_t>(1400));
  EXPECT_EQ(stream.SystemReads(), reads);
  // A seek far away reads from there.
  stream.Seek(250000);
  EXPECT_EQ(stream.ReadByte(), static_cast<std::uint8_t>(250000 * 7));
  EXPECT_EQ(stream.SystemReads(), reads + 1);
}

TEST(SvFileStream, ShortReadsRaiseTheReadError) {
  TSvTempDir dir;
  const std::string path = Save(dir, {1, 2, 3});
  TSvFileStream stream(path);
  ExpectReadError([&] { stream.ReadDWord(); });
  stream.Seek(2);
  ExpectReadError([&] { stream.ReadWord(); });
  stream.Seek(0);
  // A claimed count far beyond the file fails without reading past what is there.
  ExpectReadError([&] { stream.ReadUnits(65535); });
  stream.Seek(0);
  ExpectReadError([&] { stream.ReadBytes(65535); });
  // Beyond the end a seek is allowed; the read after it fails.
  stream.Seek(1u << 31);
  ExpectReadError([&] { stream.ReadByte(); });
  stream.Seek(0);
  EXPECT_EQ(stream.ReadBytes(3), std::string("\x01\x02\x03", 3));
}

TEST(SvFileStream, FileTruncatedWhileOpenFailsWithTheReadError) {
  TSvTempDir dir;
  const std::string path = Save(dir, std::vector<std::uint8_t>(200000, 0x55));
  TSvFileStream stream(path);
  EXPECT_EQ(stream.ReadWord(), 0x5555);
  ASSERT_EQ(::truncate(path.c_str(), 1000), 0);
  stream.Seek(150000);
  ExpectReadError([&] { stream.ReadWord(); });
}

TEST(SvFileStream, MissingFileCannotBeOpened) {
  TSvTempDir dir;
  try {
    TSvFileStream stream(dir.File("none.svq"));
    FAIL() << "opened";
  } catch (const ESvStreamError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("none.svq"));
  }
}
