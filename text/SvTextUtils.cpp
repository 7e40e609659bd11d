#include "text/SvTextUtils.h"

#include "text/SvErrors.h"
#include "text/SvFormat.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace sv {

bool IsBlank(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool IsWideBlank(char16_t c) {
  return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ' || c == u'\u00A0';
}

namespace {

bool IsBlankOf(char c) {
  return IsBlank(c);
}
bool IsBlankOf(char16_t c) {
  return IsWideBlank(c);
}

template <typename S> S& TrimLeftOf(S& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlankOf(text[i]))
    ++i;
  text.erase(0, i);
  return text;
}

template <typename S> S& TrimRightOf(S& text) {
  std::size_t n = text.size();
  while (n > 0 && IsBlankOf(text[n - 1]))
    --n;
  text.resize(n);
  return text;
}

template <typename S> S UnquoteDoubledOf(const S& text, int quoteKind) {
  using C = typename S::value_type;
  C quote;
  if (quoteKind == 1)
    quote = C('\'');
  else if (quoteKind == 2)
    quote = C('"');
  else
    return text;
  S result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result.push_back(text[i]);
    if (text[i] == quote)
      ++i; // the second quote of a pair
  }
  return result;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  return -1;
}

// Widens a character without sign extension, so that byte 0xC3 compares as 0xC3.
char16_t Code(char c) {
  return static_cast<unsigned char>(c);
}
char16_t Code(char16_t c) {
  return c;
}

template <typename S> S DecodeEscapesOf(const S& text, int lineBreakMode) {
  using C = typename S::value_type;
  if (text.find(C('#')) == S::npos)
    return text;
  S result;
  result.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const C c = text[i];
    if (c != C('#')) {
      result.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 == n) // a "#" at the end is dropped
      break;
    const C next = text[i + 1];
    switch (Code(next)) {
    case u'#':
      result.push_back(C('#'));
      break;
    case u'0':
      result.push_back(C(0));
      break;
    case u'C':
      result.push_back(C('\r'));
      break;
    case u'L':
      result.push_back(C('\n'));
      break;
    case u'T':
      result.push_back(C('\t'));
      break;
    case u'N':
      switch (lineBreakMode) {
      case 0:
        result.push_back(C('\n'));
        break;
      case 1:
        result.push_back(C('\r'));
        break;
      case 2:
        result.push_back(C('\n'));
        result.push_back(C('\r'));
        break;
      default:
        result.push_back(C('\r'));
        result.push_back(C('\n'));
        break;
      }
      break;
    default: {
      // Two hexadecimal digits; fewer than two characters left count as not hexadecimal.
      const int hi = HexValue(Code(next));
      const int lo = i + 2 < n ? HexValue(Code(text[i + 2])) : -1;
      result.push_back(hi >= 0 && lo >= 0 ? C(hi * 16 + lo) : C('?'));
      i += 3;
      continue;
    }
    }
    i += 2;
  }
  return result;
}

template <typename S> bool IsDigitsOf(const S& text) {
  for (auto c : text)
    if (!IsDigit(Code(c)))
      return false;
  return true;
}

} // namespace

std::string& TrimLeft(std::string& text) {
  return TrimLeftOf(text);
}
std::string& TrimRight(std::string& text) {
  return TrimRightOf(text);
}
std::string& Trim(std::string& text) {
  return TrimLeftOf(TrimRightOf(text));
}
std::u16string& TrimLeft(std::u16string& text) {
  return TrimLeftOf(text);
}
std::u16string& TrimRight(std::u16string& text) {
  return TrimRightOf(text);
}
std::u16string& Trim(std::u16string& text) {
  return TrimLeftOf(TrimRightOf(text));
}

std::u16string TakeLeadingBlanks(std::u16string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsWideBlank(text[i]))
    ++i;
  std::u16string blanks = text.substr(0, i);
  text.erase(0, i);
  return blanks;
}

std::u16string TakeTrailingBlanks(std::u16string& text) {
  std::size_t n = text.size();
  while (n > 0 && IsWideBlank(text[n - 1]))
    --n;
  std::u16string blanks = text.substr(n);
  text.resize(n);
  return blanks;
}

std::string UnquoteDoubled(const std::string& text, int quoteKind) {
  return UnquoteDoubledOf(text, quoteKind);
}
std::u16string UnquoteDoubled(const std::u16string& text, int quoteKind) {
  return UnquoteDoubledOf(text, quoteKind);
}

std::string DecodeEscapes(const std::string& text, int lineBreakMode) {
  return DecodeEscapesOf(text, lineBreakMode);
}
std::u16string DecodeEscapes(const std::u16string& text, int lineBreakMode) {
  return DecodeEscapesOf(text, lineBreakMode);
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsIdentStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}
bool IsIdentChar(char16_t c) {
  return IsIdentStart(c) || IsDigit(c);
}
bool IsDigits(const std::string& text) {
  return IsDigitsOf(text);
}
bool IsDigits(const std::u16string& text) {
  return IsDigitsOf(text);
}

namespace {

// Sign, digits with at most one ".", at least one digit, then an optional exponent.
bool IsDecimalNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(Code(s[i])))
      ++digits;
    else if (s[i] == '.' && !point)
      point = true;
    else
      break;
  }
  if (digits == 0)
    return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
      ++i;
    const std::size_t start = i;
    while (i < s.size() && IsDigit(Code(s[i])))
      ++i;
    if (i == start)
      return false;
  }
  return i == s.size();
}

} // namespace

double StrToFloatDot(const std::string& text) {
  std::string_view s(text);
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  double value = 0;
  if (IsDecimalNumber(s)) {
    if (s.front() == '+') // from_chars takes no "+"
      s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc() && end == s.data() + s.size())
      return value;
  }
  throw ESvConvertError(SvFormat("'%s' is not a valid floating point value", {text}));
}

std::string FloatToStrDot(double value) {
  if (std::isnan(value))
    return "NAN";
  if (std::isinf(value))
    return value < 0 ? "-INF" : "INF";
  if (value == 0)
    return "0";
  // The largest doubles round up to 15 digits beyond the range and could not be read
  // back; they are written as the largest 15-digit value that can.
  constexpr double kLargest15 = 1.79769313486231E308;
  if (std::fabs(value) > kLargest15)
    value = std::copysign(kLargest15, value);
  // 15 significant digits: "d.ddddddddddddddE+xx".
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const bool negative = sci.front() == '-';
  if (negative)
    sci.remove_prefix(1);
  const std::size_t e = sci.find('e');
  int exponent = 0;
  std::string_view exp = sci.substr(e + 1);
  if (exp.front() == '+')
    exp.remove_prefix(1);
  std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
  std::string digits;
  for (char c : sci.substr(0, e))
    if (c != '.')
      digits.push_back(c);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    result += digits[0];
    if (digits.size() > 1) {
      result += '.';
      result.append(digits, 1);
    }
    result += 'E';
    result += std::to_string(exponent);
  } else if (exponent < 0) {
    result += "0.";
    result.append(static_cast<std::size_t>(-exponent - 1), '0');
    result += digits;
  } else {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      result += digits;
      result.append(whole - digits.size(), '0');
    } else {
      result.append(digits, 0, whole);
      result += '.';
      result.append(digits, whole);
    }
  }
  return result;
}

std::string EnsureLeadingDot(const std::string& text) {
  if (!text.empty() && text.front() == '.')
    return text;
  return "." + text;
}

std::string ProgramPathOf(const std::string& commandLine) {
  if (commandLine.empty())
    return {};
  if (commandLine.front() == '"') {
    const std::size_t end = commandLine.find('"', 1);
    return commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }
  std::size_t end = 0;
  while (end < commandLine.size() && !IsBlank(commandLine[end]))
    ++end;
  return commandLine.substr(0, end);
}

} // namespace sv
