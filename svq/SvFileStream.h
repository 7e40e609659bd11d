// A buffered reader over a file descriptor, used as a binary cursor: typed reads
// in the file's byte order, absolute seeks and forward skips. Small reads are
// served from the buffer; a seek inside the buffer keeps it. A read that finds
// fewer bytes than it needs raises ESvStreamError "Stream read error".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace sv {

class TSvFileStream {
public:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  static constexpr std::size_t kFirstBuffer = 16 * 1024; // until a second read


  // Opens an existing file for reading; ESvStreamError "Cannot open file %s".
  explicit TSvFileStream(const std::string& fileName);
  ~TSvFileStream();
  TSvFileStream(const TSvFileStream&) = delete;
  TSvFileStream& operator=(const TSvFileStream&) = delete;

  // When set, 16-bit and 32-bit values and UTF-16 code units are byte-reversed.
  void SetSwapBytes(bool swap) { FSwap = swap; }
  bool SwapBytes() const { return FSwap; }

  std::uint64_t Position() const { return FBufferStart + FIndex; }
  // Absolute position; beyond the end is allowed, the next read then fails.
  void Seek(std::uint64_t position);
  // Moves count bytes forward from the current position.
  void Skip(std::uint64_t count) { Seek(Position() + count); }

  // Exactly count bytes into target.
  void Read(void* target, std::size_t count) {
    if (FLength - FIndex >= count) {
      std::memcpy(target, FBuffer.get() + FIndex, count);
      FIndex += count;
    } else {
      ReadSlow(static_cast<std::uint8_t*>(target), count);
    }
  }
  std::uint8_t ReadByte() {
    std::uint8_t value;
    Read(&value, 1);
    return value;
  }
  std::uint16_t ReadWord() {
    std::uint16_t value;
    Read(&value, 2);
    return FSwap ? __builtin_bswap16(value) : value;
  }
  std::uint32_t ReadDWord() {
    std::uint32_t value;
    Read(&value, 4);
    return FSwap ? __builtin_bswap32(value) : value;
  }
  // count bytes as they are. Storage grows with the bytes read, never ahead of them.
  std::string ReadBytes(std::size_t count);
  // count UTF-16 code units in the file's byte order, likewise.
  std::u16string ReadUnits(std::size_t count);
  // The same into target, whose storage is reused.
  void ReadUnits(std::size_t count, std::u16string& target) {
    target.clear();
    AppendUnits(count, target);
  }
  // count UTF-16 code units appended to target.
  void AppendUnits(std::size_t count, std::u16string& target);
  // count UTF-16 code units written into target from index at on; target grows with
  // the units read when it is shorter, and what it holds past them stays. Answers
  // at + count. A reused target is not cleared first.
  std::size_t ReadUnitsAt(std::size_t count, std::u16string& target, std::size_t at);

  // Reads of the file itself (not of the buffer) so far; for the tests.
  std::size_t SystemReads() const { return FSystemReads; }

private:
  void ReadSlow(std::uint8_t* target, std::size_t count);
  // Moves the unread rest of the buffer to its start and reads more behind it;
  // false at the end of the file.
  bool Fill();

  int FHandle = -1;
  std::unique_ptr<std::uint8_t[]> FBuffer;
  std::size_t FCapacity = kFirstBuffer;
  std::uint64_t FBufferStart = 0; // file position of FBuffer[0]
  std::size_t FLength = 0;        // valid bytes in the buffer
  std::size_t FIndex = 0;         // the cursor inside the buffer
  bool FSwap = false;
  std::size_t FSystemReads = 0;
};

} // namespace sv
