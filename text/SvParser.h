// Tokenizers that cut a text into the pieces between separator characters:
// TSvAnsiParser for 8-bit text, TSvWideParser for UTF-16 text. A parser is made
// for one text and asked for tokens until Eof.
#pragma once

#include <cstddef>
#include <string>

namespace sv {

enum TSvSeparatorKind {
  skChar = 0, // the separator is one given character
  skBlank = 1 // any blank separates
};

enum TSvQuoteKind {
  qkNone = 0,
  qkSingle = 1, // tokens stand in apostrophes
  qkDouble = 2  // tokens stand in double quotes
};

// Position and options shared by both tokenizers. Positions are 1-based.
class TSvParser {
public:
  virtual ~TSvParser() = default;

  bool Eof() const { return FPosition >= FLimit; }
  // Advances over space, TAB, LF and CR until Eof or another character.
  virtual void SkipBlanks() = 0;

  std::size_t Position() const { return FPosition; }
  std::size_t Limit() const { return FLimit; }
  bool Unescape() const { return FUnescape; }
  void SetUnescape(bool value) { FUnescape = value; }
  bool TrimTokens() const { return FTrimTokens; }
  void SetTrimTokens(bool value) { FTrimTokens = value; }
  TSvSeparatorKind SeparatorKind() const { return FSeparatorKind; }
  void SetSeparatorKind(TSvSeparatorKind value) { FSeparatorKind = value; }
  TSvQuoteKind QuoteKind() const { return FQuoteKind; }
  void SetQuoteKind(TSvQuoteKind value) { FQuoteKind = value; }

protected:
  explicit TSvParser(TSvQuoteKind quoteKind) : FQuoteKind(quoteKind) {}

  std::size_t FPosition = 1; // index of the next character to examine
  std::size_t FLimit = 1;    // length of the text + 1
  bool FUnescape = false;    // decode "#" escapes in each token
  bool FTrimTokens = false;  // remove blanks around each token
  TSvSeparatorKind FSeparatorKind = skChar;
  TSvQuoteKind FQuoteKind;
};

// The tokenizer over one text width; TSvAnsiParser and TSvWideParser name it.
template <typename TString> class TSvTextParser : public TSvParser {
public:
  using TChar = typename TString::value_type;

  TSvTextParser(const TString& text, TSvQuoteKind quoteKind, TChar separator)
      : TSvParser(quoteKind) {
    SetText(text);
    SetSeparator(separator);
  }

  const TString& Text() const { return FText; }
  // Restarts on a new text.
  void SetText(const TString& text) {
    FText = text;
    FLimit = FText.size() + 1;
    FPosition = 1;
  }

  TChar Separator() const { return FSeparator; }
  // Sets the separator character and makes it the separator kind.
  void SetSeparator(TChar separator) {
    FSeparator = separator;
    FSeparatorKind = skChar;
  }
  // Changes only the character, e.g. to cut the next token at another one.
  void SetSeparatorChar(TChar separator) { FSeparator = separator; }

  // The next token; past the end, empty tokens.
  TString NextToken();
  void SkipBlanks() override;

private:
  bool IsSeparator(TChar c) const;
  TChar QuoteChar() const { return FQuoteKind == qkSingle ? TChar('\'') : TChar('"'); }

  TString FText;
  TChar FSeparator{};
};

extern template class TSvTextParser<std::string>;
extern template class TSvTextParser<std::u16string>;

class TSvAnsiParser : public TSvTextParser<std::string> {
public:
  using TSvTextParser::TSvTextParser;
};

class TSvWideParser : public TSvTextParser<std::u16string> {
public:
  using TSvTextParser::TSvTextParser;
};

} // namespace sv
