// The 8-bit and UTF-16 tokenizers with every option on arbitrary text and separator.
// Byte 0 picks the options, byte 1 (and 2 for UTF-16) the separator, the rest is text.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "text/SvParser.h"

#include <string>

namespace {

template <typename TParser, typename TString>
void Tokenize(const TString& text, typename TString::value_type separator, std::uint8_t options) {
  TParser parser(text, static_cast<sv::TSvQuoteKind>(options % 3), separator);
  parser.SetUnescape(options & 4);
  parser.SetTrimTokens(options & 8);
  if (options & 16)
    parser.SetSeparatorKind(sv::skBlank);
  const bool plain = (options % 3) == 0 && !(options & (4 | 8 | 16 | 32));
  if (options & 32)
    parser.SkipBlanks();
  TString joined;
  std::size_t tokens = 0;
  while (!parser.Eof()) {
    const std::size_t before = parser.Position();
    const TString token = parser.NextToken();
    if (parser.Position() <= before)
      sv::fuzz::Fail("NextToken did not advance");
    if (++tokens > text.size() + 1)
      sv::fuzz::Fail("more tokens than characters");
    if (plain) {
      if (tokens > 1)
        joined += separator;
      joined += token;
    }
  }
  // Past the end every token is empty.
  if (!parser.NextToken().empty())
    sv::fuzz::Fail("a token past the end");
  // Plain tokens put back together with their separator give the text, but for a
  // trailing separator.
  if (plain && joined != text && joined + separator != text)
    sv::fuzz::Fail("tokens do not give back the text");
}

} // namespace

void sv::fuzz::FuzzParser(const std::uint8_t* data, std::size_t size) {
  if (size < 3)
    return;
  const std::uint8_t options = data[0];
  if (options & 64) {
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    Tokenize<sv::TSvAnsiParser>(text, static_cast<char>(data[1]), options);
  } else {
    std::u16string text((size - 3) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(data[3 + 2 * i] | data[4 + 2 * i] << 8);
    Tokenize<sv::TSvWideParser>(text, static_cast<char16_t>(data[1] | data[2] << 8), options);
  }
  return;
}
