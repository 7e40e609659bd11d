// UTF-16 to UTF-8 straight into a caller's buffer, vectorised: AVX2 where the
// processor has it (chosen once, at the first call), else SSE2, which every x86-64
// has; other machines run the scalar loop.
//
// The bytes are exactly those of WideToAnsi(text, 65001) (and of ICU's
// u_strToUTF8WithSub with U+FFFD): a surrogate pair becomes its 4-byte sequence;
// a surrogate that is not half of a pair (a high one not followed by a low one, a
// low one not preceded by a high one) becomes U+FFFD, the bytes EF BF BD; U+0000 is
// the byte 0. Nothing raises and nothing is allocated beyond out's growth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sv {

// Appends the UTF-8 form of text to out.
void AppendUtf8(std::u16string_view text, std::string& out);

// The room WriteUtf8 needs for a text of units code units: three bytes a unit
// (no unit makes more) and 16 bytes that a vector store may write past the end.
constexpr std::size_t Utf8Room(std::size_t units) {
  return 3 * units + 16;
}
// Writes the UTF-8 form of text to out, which has Utf8Room(text.size()) bytes;
// answers the end of the bytes written. Bytes past the end may be overwritten.
char* WriteUtf8(std::u16string_view text, char* out);

// The units a stopping conversion stops at: ASCII characters chosen with Add, and
// always a surrogate that is not half of a pair, U+FFFE and U+FFFF (pairs are
// converted). Bit h of Low[l] is set when the character 16 * h + l is chosen: the
// form a byte shuffle looks up sixteen characters at a time.
class TSvUtf8Stops {
public:
  // Adds an ASCII character (below 0x80).
  constexpr TSvUtf8Stops& Add(char16_t ascii) {
    Low[ascii & 15] = static_cast<std::uint8_t>(Low[ascii & 15] | 1u << (ascii >> 4 & 7));
    return *this;
  }
  // Whether an ASCII character (below 0x80) is chosen.
  constexpr bool IsAsciiStop(char16_t ascii) const { return (Low[ascii & 15] >> (ascii >> 4)) & 1; }
  const std::uint8_t* LowNibbles() const { return Low; }

private:
  alignas(16) std::uint8_t Low[16] = {};
};

// WriteUtf8 up to the first stop of text: converts the units before it and sets
// consumed to its index (text.size() when there is none). Same room as WriteUtf8.
char* WriteUtf8Until(std::u16string_view text, const TSvUtf8Stops& stops, char* out,
                     std::size_t& consumed);

// Whether text holds a surrogate that is not half of a pair.
bool HasLoneSurrogate(std::u16string_view text);

// The code paths, for the tests and the benches; AppendUtf8 takes the best available.
enum class TSvUtf8Path { Scalar, Sse2, Avx2 };
bool IsUtf8PathAvailable(TSvUtf8Path path);
TSvUtf8Path BestUtf8Path();
// AppendUtf8 and WriteUtf8Until on path, which must be available.
void AppendUtf8(std::u16string_view text, std::string& out, TSvUtf8Path path);
char* WriteUtf8Until(std::u16string_view text, const TSvUtf8Stops& stops, char* out,
                     std::size_t& consumed, TSvUtf8Path path);

} // namespace sv
