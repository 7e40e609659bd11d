#include "export/SvExportText.h"

#include "locale/SvUtf8.h"

#include <array>
#include <cstdint>

namespace sv {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool IsHigh(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendHex4(unsigned value, std::string& out) {
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(value >> shift) & 15];
}

void AppendReplacement(std::string& out) {
  out += "\xEF\xBF\xBD";
}

// Whether the ASCII character needs the escape's attention.
bool NeedsCare(char16_t c, TSvEscape escape) {
  if (c < 0x20 || c == 0x7F)
    return true;
  switch (escape) {
  case TSvEscape::Plain:
    return false;
  case TSvEscape::XmlText:
  case TSvEscape::XmlTextCp:
    return c == '&' || c == '<' || c == '>';
  case TSvEscape::XmlAttribute:
    return c == '&' || c == '<' || c == '>' || c == '"';
  case TSvEscape::Json:
  case TSvEscape::Po:
    return c == '"' || c == '\\';
  case TSvEscape::Csv:
    return c == '"';
  }
  return false;
}

// One code point (c), lone surrogates as themselves (surrogate set), in the escape.
// Returns 1 when it was replaced.
std::size_t AppendOne(char32_t c, bool surrogate, TSvEscape escape, std::string& out) {
  switch (escape) {
  case TSvEscape::Plain:
  case TSvEscape::Csv:
    if (surrogate) {
      AppendReplacement(out);
      return 1;
    }
    if (escape == TSvEscape::Csv && c == '"')
      out += "\"\"";
    else
      AppendCodePoint(c, out);
    return 0;
  case TSvEscape::XmlText:
  case TSvEscape::XmlAttribute:
  case TSvEscape::XmlTextCp:
    if (surrogate || IsXmlForbidden(c)) {
      if (escape == TSvEscape::XmlTextCp) {
        out += "<cp hex=\"";
        AppendHex4(static_cast<unsigned>(c), out);
        out += "\"/>";
        return 0;
      }
      AppendReplacement(out);
      return 1;
    }
    switch (c) {
    case '&': out += "&amp;"; return 0;
    case '<': out += "&lt;"; return 0;
    case '>': out += "&gt;"; return 0;
    case '\r': out += "&#13;"; return 0;
    default: break;
    }
    if (escape == TSvEscape::XmlAttribute) {
      switch (c) {
      case '"': out += "&quot;"; return 0;
      case '\t': out += "&#9;"; return 0;
      case '\n': out += "&#10;"; return 0;
      default: break;
      }
    }
    AppendCodePoint(c, out);
    return 0;
  case TSvEscape::Json:
    switch (c) {
    case '"': out += "\\\""; return 0;
    case '\\': out += "\\\\"; return 0;
    case '\n': out += "\\n"; return 0;
    case '\r': out += "\\r"; return 0;
    case '\t': out += "\\t"; return 0;
    case '\b': out += "\\b"; return 0;
    case '\f': out += "\\f"; return 0;
    default: break;
    }
    if (surrogate || c < 0x20 || c == 0x7F) {
      out += "\\u";
      AppendHex4(static_cast<unsigned>(c), out);
      return 0;
    }
    AppendCodePoint(c, out);
    return 0;
  case TSvEscape::Po:
    // A catalog's strings end at NUL, and U+0004 separates msgctxt from msgid in
    // a compiled catalog: neither can be carried.
    if (surrogate || c == 0 || c == 4) {
      AppendReplacement(out);
      return 1;
    }
    switch (c) {
    case '"': out += "\\\""; return 0;
    case '\\': out += "\\\\"; return 0;
    case '\n': out += "\\n"; return 0;
    case '\r': out += "\\r"; return 0;
    case '\t': out += "\\t"; return 0;
    case '\a': out += "\\a"; return 0;
    case '\b': out += "\\b"; return 0;
    case '\f': out += "\\f"; return 0;
    case '\v': out += "\\v"; return 0;
    default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      out += '\\';
      out += static_cast<char>('0' + ((c >> 6) & 7));
      out += static_cast<char>('0' + ((c >> 3) & 7));
      out += static_cast<char>('0' + (c & 7));
      return 0;
    }
    AppendCodePoint(c, out);
    return 0;
  }
  return 0;
}

} // namespace

void AppendCodePoint(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::size_t AppendEscaped(std::u16string_view text, TSvEscape escape, std::string& out) {
  // Which ASCII characters need the escape's attention, per escape.
  static const auto kCare = [] {
    std::array<std::array<bool, 128>, 7> care{};
    for (int e = 0; e < 7; ++e)
      for (char16_t c = 0; c < 128; ++c)
        care[e][c] = NeedsCare(c, static_cast<TSvEscape>(e));
    return care;
  }();
  const std::array<bool, 128>& care = kCare[static_cast<int>(escape)];
  std::size_t replaced = 0;
  const std::size_t n = text.size();
  const char16_t* units = text.data();
  // Most texts need no escape and hold no surrogate: they are converted whole by
  // the vectorised conversion, which gives the same bytes for them.
  bool plain = true;
  for (std::size_t i = 0; i < n && plain; ++i) {
    const char16_t u = units[i];
    plain = u < 0x80 ? !care[u] : u < 0xD800 || (u > 0xDFFF && u < 0xFFFE);
  }
  if (plain) {
    const std::size_t start = out.size();
    out.resize(start + Utf8Room(n));
    char* end = WriteUtf8(text, out.data() + start);
    out.resize(static_cast<std::size_t>(end - out.data()));
    return 0;
  }
  // Written through a pointer into room made ahead: a unit that needs no escape
  // takes at most 3 bytes, and a surrogate pair 4 for 2 units.
  std::size_t used = out.size();
  out.resize(used + 3 * n);
  char* p = out.data() + used;
  for (std::size_t i = 0; i < n;) {
    const char16_t u = units[i];
    if (u < 0x80) {
      if (!care[u]) {
        *p++ = static_cast<char>(u);
        ++i;
        continue;
      }
    } else if (u < 0x800) {
      *p++ = static_cast<char>(0xC0 | (u >> 6));
      *p++ = static_cast<char>(0x80 | (u & 0x3F));
      ++i;
      continue;
    } else if ((u < 0xD800 || u > 0xDFFF) && u < 0xFFFE) {
      *p++ = static_cast<char>(0xE0 | (u >> 12));
      *p++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (u & 0x3F));
      ++i;
      continue;
    }
    // Escapes, surrogates and U+FFFE/U+FFFF: appended one by one.
    out.resize(static_cast<std::size_t>(p - out.data()));
    if (IsHigh(u) && i + 1 < n && IsLow(units[i + 1])) {
      const char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00);
      replaced += AppendOne(c, false, escape, out);
      i += 2;
    } else {
      replaced += AppendOne(u, IsHigh(u) || IsLow(u), escape, out);
      ++i;
    }
    used = out.size();
    out.resize(used + 3 * (n - i));
    p = out.data() + used;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return replaced;
}

std::size_t AppendEscaped(std::string_view utf8, TSvEscape escape, std::string& out) {
  std::size_t replaced = 0;
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      replaced += AppendOne(b, false, escape, out);
      ++i;
      continue;
    }
    // Names and the information block are valid UTF-8 when they get here; a
    // multibyte sequence is decoded only for the XML and JSON checks.
    int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    if (i + length > n)
      length = static_cast<int>(n - i);
    char32_t c = b & (length == 4 ? 0x07 : length == 3 ? 0x0F : 0x1F);
    for (int k = 1; k < length; ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    replaced += AppendOne(c, false, escape, out);
    i += length;
  }
  return replaced;
}

std::size_t AppendUtf8Replacing(std::u16string_view text, std::string& out) {
  return AppendEscaped(text, TSvEscape::Plain, out);
}

std::size_t AppendValidUtf8(std::string_view bytes, std::string& out) {
  std::size_t replaced = 0;
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    // The well-formed sequences of Unicode's table 3-7.
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0)
        low = 0xA0;
      if (b == 0xED)
        high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0)
        low = 0x90;
      if (b == 0xF4)
        high = 0x8F;
    }
    // A maximal ill-formed prefix becomes one U+FFFD.
    std::size_t k = 1;
    if (length > 0) {
      for (; k < static_cast<std::size_t>(length) && i + k < n; ++k) {
        const auto t = static_cast<unsigned char>(bytes[i + k]);
        if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF))
          break;
      }
    }
    if (length > 0 && k == static_cast<std::size_t>(length)) {
      out.append(bytes.data() + i, k);
    } else {
      AppendReplacement(out);
      ++replaced;
    }
    i += k;
  }
  return replaced;
}

} // namespace sv
