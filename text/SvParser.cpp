#include "text/SvParser.h"

#include "text/SvTextUtils.h"

namespace sv {

namespace {

bool IsSeparatorBlank(char c) {
  return IsBlank(c);
}
bool IsSeparatorBlank(char16_t c) {
  return IsWideBlank(c);
}
// U+00A0 separates wide tokens but is not skipped.
bool IsSkippedBlank(char c) {
  return IsBlank(c);
}
bool IsSkippedBlank(char16_t c) {
  return c < 0x80 && IsBlank(static_cast<char>(c));
}

// Line breaks in decoded tokens are CR LF.
constexpr int kTokenLineBreak = 3;

} // namespace

template <typename TString> bool TSvTextParser<TString>::IsSeparator(TChar c) const {
  if (FSeparatorKind == skChar)
    return c == FSeparator;
  return FSeparatorKind == skBlank && IsSeparatorBlank(c);
}

template <typename TString> TString TSvTextParser<TString>::NextToken() {
  if (FText.empty() || FPosition > FLimit)
    return {};
  if (FPosition == 1 && FQuoteKind != qkNone)
    FPosition = 2; // the opening quote of the first token
  const std::size_t start = FPosition;
  // FText[p - 1] is the character at position p.
  if (FQuoteKind == qkNone) {
    while (FPosition < FLimit && !IsSeparator(FText[FPosition - 1]))
      ++FPosition;
  } else {
    // A separator ends a quoted token only between a closing and an opening quote.
    const TChar quote = QuoteChar();
    while (FPosition < FLimit) {
      const std::size_t i = FPosition - 1;
      if (IsSeparator(FText[i]) && i > 0 && FText[i - 1] == quote && i + 1 < FText.size() &&
          FText[i + 1] == quote)
        break;
      ++FPosition;
    }
  }
  TString token = FText.substr(start - 1, FPosition - start);
  if (FQuoteKind == qkNone) {
    FPosition += 1;
  } else {
    if (!token.empty())
      token.pop_back(); // the closing quote
    token = UnquoteDoubled(token, FQuoteKind);
    FPosition += 2;
  }
  if (FUnescape && token.find(TChar('#')) != TString::npos)
    token = DecodeEscapes(token, kTokenLineBreak);
  if (FTrimTokens)
    Trim(token);
  return token;
}

template <typename TString> void TSvTextParser<TString>::SkipBlanks() {
  while (!Eof() && IsSkippedBlank(FText[FPosition - 1]))
    ++FPosition;
}

template class TSvTextParser<std::string>;
template class TSvTextParser<std::u16string>;

} // namespace sv
