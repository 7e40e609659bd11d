// Small text helpers shared by the tokenizers, the XML model and the language
// model. 8-bit text is std::string, UTF-16 text std::u16string.
#pragma once

#include <string>

namespace sv {

// Tab, line feed, carriage return and space.
bool IsBlank(char c);
// IsBlank, and U+00A0.
bool IsWideBlank(char16_t c);

// Remove blanks from the start, the end or both ends of text in place; the text is also returned.
std::string& TrimLeft(std::string& text);
std::string& TrimRight(std::string& text);
std::string& Trim(std::string& text);
std::u16string& TrimLeft(std::u16string& text);
std::u16string& TrimRight(std::u16string& text);
std::u16string& Trim(std::u16string& text);

// As the wide trims; the removed blanks are returned in the order in which they stood.
std::u16string TakeLeadingBlanks(std::u16string& text);
std::u16string TakeTrailingBlanks(std::u16string& text);

// Quote kind 1 is the apostrophe, 2 the double quote; other kinds change nothing.
std::string UnquoteDoubled(const std::string& text, int quoteKind);
std::u16string UnquoteDoubled(const std::u16string& text, int quoteKind);

// Decodes "#" escapes; lineBreakMode: 0 LF, 1 CR, 2 LF CR, other CR LF.
std::string DecodeEscapes(const std::string& text, int lineBreakMode);
std::u16string DecodeEscapes(const std::u16string& text, int lineBreakMode);

bool IsDigit(char16_t c);                  // "0" to "9"
bool IsIdentStart(char16_t c);             // "A" to "Z", "a" to "z" and "_"
bool IsIdentChar(char16_t c);              // IsIdentStart or IsDigit
bool IsDigits(const std::string& text);    // every character a digit; true for ""
bool IsDigits(const std::u16string& text); // every character a digit; true for ""

// Float to text and back with "." as the decimal separator whatever the locale.
// StrToFloatDot raises ESvConvertError "'%s' is not a valid floating point value".
// FloatToStrDot writes up to 15 significant digits without trailing zeros, in
// exponent form ("1E20", "1.5E-6") when more than 15 digits stand before the point
// or the magnitude is below 0.00001; zero is "0".
double StrToFloatDot(const std::string& text);
std::string FloatToStrDot(double value);

// ".txt" stays; any other text gets "." in front.
std::string EnsureLeadingDot(const std::string& text);

// The program's own path, taken from a command line (see ProgramPath in SvConvert.h).
std::string ProgramPathOf(const std::string& commandLine);

} // namespace sv
