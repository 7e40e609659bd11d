// TSvTextWriter: wide text into a byte sink in one of four encodings, with a
// configurable line break, and the 7-bit escaped form of text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sv {

// Where a writer's bytes go; a sink only appends.
class TSvByteSink {
public:
  virtual ~TSvByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Collects the bytes in memory.
class TSvStringSink : public TSvByteSink {
public:
  void Write(std::string_view bytes) override { FData.append(bytes); }
  const std::string& Data() const { return FData; }

private:
  std::string FData;
};

// Writes the bytes to a file it creates (or truncates); ESvStreamError on failure.
class TSvFileSink : public TSvByteSink {
public:
  explicit TSvFileSink(const std::string& fileName);
  ~TSvFileSink() override;
  TSvFileSink(const TSvFileSink&) = delete;
  TSvFileSink& operator=(const TSvFileSink&) = delete;

  void Write(std::string_view bytes) override;
  // Flushes and closes the file, reporting a failure; the destructor closes silently.
  void Close();

private:
  std::string FFileName;
  std::FILE* FFile = nullptr;
};

enum TSvTextEncoding : std::uint8_t { teAnsi = 0, teUtf8 = 1, teUtf16LE = 2, teUtf16BE = 3 };

// The localizable display name of an encoding ("UTF-8" ...); empty for other values.
std::string TextEncodingName(TSvTextEncoding encoding);

enum TSvLineBreak : std::uint8_t { lbLineFeed = 0, lbCarriageReturn = 1 };

// A set of TSvLineBreak; the empty set means both.
class TSvLineBreaks {
public:
  constexpr TSvLineBreaks() = default;
  constexpr TSvLineBreaks(std::initializer_list<TSvLineBreak> items) {
    for (TSvLineBreak item : items)
      FBits = static_cast<std::uint8_t>(FBits | (1u << item));
  }
  constexpr bool Contains(TSvLineBreak item) const { return (FBits >> item) & 1u; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr bool operator==(const TSvLineBreaks&) const = default;

private:
  std::uint8_t FBits = 0;
};

class TSvTextWriter {
public:
  // A writer into stream, which must outlive it: UTF-8, both line break characters,
  // code page 0 (the system code page) for teAnsi, not escaped.
  explicit TSvTextWriter(TSvByteSink& stream) : FStream(stream) {}
  TSvTextWriter(const TSvTextWriter&) = delete;
  TSvTextWriter& operator=(const TSvTextWriter&) = delete;

  // Appends s in the writer's encoding; no byte order mark, terminator or length.
  void WriteText(const std::u16string& s);
  // Appends the carriage return and/or line feed that LineBreaks asks for.
  void WriteLineBreak();

  // Each code unit of s: its two-character escape when it is one of backslash,
  // double quote, apostrophe, backspace, tab, line feed, form feed or carriage
  // return and occurs in escapable; "\u" and at least four upper-case hex digits
  // from 128 up; else the character itself.
  static std::string EscapeText(const std::u16string& s, const std::u16string& escapable);

  TSvLineBreaks LineBreaks() const { return FLineBreaks; }
  void SetLineBreaks(TSvLineBreaks lineBreaks) { FLineBreaks = lineBreaks; }
  TSvTextEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TSvTextEncoding encoding) { FEncoding = encoding; }
  int CodePage() const { return FCodePage; }
  void SetCodePage(int codePage) { FCodePage = codePage; }
  // For teAnsi only: escaped 7-bit text instead of code page text.
  bool Escaped() const { return FEscaped; }
  void SetEscaped(bool escaped) { FEscaped = escaped; }
  TSvByteSink& Stream() const { return FStream; }

private:
  TSvLineBreaks FLineBreaks;
  TSvTextEncoding FEncoding = teUtf8;
  int FCodePage = 0;
  bool FEscaped = false;
  TSvByteSink& FStream;
};

} // namespace sv
