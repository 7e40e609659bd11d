#include "svq/SvFileStream.h"

#include "text/SvErrors.h"
#include "text/SvFormat.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace sv {

namespace {

[[noreturn]] void RaiseReadError() {
  throw ESvStreamError("Stream read error");
}

} // namespace

TSvFileStream::TSvFileStream(const std::string& fileName) {
  // Read only, and no lock: other processes may read and write the file meanwhile.
  do
    FHandle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0)
    throw ESvStreamError(SvFormat("Cannot open file %s", {fileName}));
  try {
    FBuffer = std::make_unique_for_overwrite<std::uint8_t[]>(FCapacity);
  } catch (...) {
    ::close(FHandle);
    throw;
  }
}

TSvFileStream::~TSvFileStream() {
  ::close(FHandle);
}

void TSvFileStream::Seek(std::uint64_t position) {
  if (position >= FBufferStart && position - FBufferStart <= FLength) {
    FIndex = static_cast<std::size_t>(position - FBufferStart);
    return;
  }
  FBufferStart = position;
  FLength = 0;
  FIndex = 0;
}

bool TSvFileStream::Fill() {
  const std::size_t rest = FLength - FIndex;
  if (rest > 0 && FIndex > 0)
    std::memmove(FBuffer.get(), FBuffer.get() + FIndex, rest);
  FBufferStart += FIndex;
  FLength = rest;
  FIndex = 0;
  // The first read is small, enough for a small file whole; a file that needs a
  // second read gets the full buffer. Readers of many small files then reuse
  // freed blocks instead of growing and trimming the heap each time.
  if (FSystemReads > 0 && FCapacity < kBufferSize) {
    auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize);
    std::memcpy(larger.get(), FBuffer.get(), FLength);
    FBuffer = std::move(larger);
    FCapacity = kBufferSize;
  }
  if (FBufferStart + FLength > static_cast<std::uint64_t>(INT64_MAX))
    return false;
  ssize_t got;
  do {
    ++FSystemReads;
    got = ::pread(FHandle, FBuffer.get() + FLength, FCapacity - FLength,
                  static_cast<off_t>(FBufferStart + FLength));
  } while (got < 0 && errno == EINTR);
  if (got <= 0)
    return false;
  FLength += static_cast<std::size_t>(got);
  return true;
}

void TSvFileStream::ReadSlow(std::uint8_t* target, std::size_t count) {
  while (count > 0) {
    const std::size_t n = std::min(count, FLength - FIndex);
    if (n == 0) {
      if (!Fill())
        RaiseReadError();
      continue;
    }
    std::memcpy(target, FBuffer.get() + FIndex, n);
    FIndex += n;
    target += n;
    count -= n;
  }
}

std::string TSvFileStream::ReadBytes(std::size_t count) {
  std::string result;
  while (count > 0) {
    const std::size_t n = std::min(count, FLength - FIndex);
    if (n == 0) {
      if (!Fill())
        RaiseReadError();
      continue;
    }
    result.append(reinterpret_cast<const char*>(FBuffer.get() + FIndex), n);
    FIndex += n;
    count -= n;
  }
  return result;
}

std::u16string TSvFileStream::ReadUnits(std::size_t count) {
  std::u16string result;
  ReadUnits(count, result);
  return result;
}

std::size_t TSvFileStream::ReadUnitsAt(std::size_t count, std::u16string& target,
                                       std::size_t at) {
  while (count > 0) {
    const std::size_t n = std::min(count, (FLength - FIndex) / 2);
    if (n == 0) {
      if (!Fill())
        RaiseReadError();
      continue;
    }
    if (target.size() < at + n)
      target.resize(at + n);
    // Byte copies: the units in the buffer need not be aligned.
    std::memcpy(target.data() + at, FBuffer.get() + FIndex, n * 2);
    if (FSwap)
      for (std::size_t i = at; i < at + n; ++i)
        target[i] = static_cast<char16_t>(__builtin_bswap16(target[i]));
    FIndex += n * 2;
    at += n;
    count -= n;
  }
  return at;
}

void TSvFileStream::AppendUnits(std::size_t count, std::u16string& target) {
  ReadUnitsAt(count, target, target.size());
}

} // namespace sv
