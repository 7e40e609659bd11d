#include "export/SvExportText.h"

#include "locale/SvUtf8.h"

#include <cstring>

namespace sv {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendReplacement(std::string& out) {
  out += "\xEF\xBF\xBD";
}

// The units an escape must look at: C0 controls, DEL, the ASCII characters it
// writes otherwise, and (always stops) lone surrogates, U+FFFE and U+FFFF. Pairs are
// written as the conversion writes them.
constexpr TSvUtf8Stops MakeStops(std::u16string_view specials) {
  TSvUtf8Stops stops;
  for (char16_t c = 0; c < 0x20; ++c)
    stops.Add(c);
  stops.Add(0x7F);
  for (char16_t c : specials)
    stops.Add(c);
  return stops;
}

const TSvUtf8Stops& StopsOf(TSvEscape escape) {
  static constexpr TSvUtf8Stops kNone = MakeStops(u"");
  static constexpr TSvUtf8Stops kXmlText = MakeStops(u"&<>");
  static constexpr TSvUtf8Stops kXmlAttribute = MakeStops(u"&<>\"");
  static constexpr TSvUtf8Stops kQuoteBackslash = MakeStops(u"\"\\");
  static constexpr TSvUtf8Stops kQuote = MakeStops(u"\"");
  switch (escape) {
  case TSvEscape::Plain:
    return kNone;
  case TSvEscape::XmlText:
  case TSvEscape::XmlTextCp:
    return kXmlText;
  case TSvEscape::XmlAttribute:
    return kXmlAttribute;
  case TSvEscape::Json:
  case TSvEscape::Po:
    return kQuoteBackslash;
  case TSvEscape::Csv:
    return kQuote;
  }
  return kNone;
}

// The most bytes one code point takes in any escape: <cp hex="FFFF"/>.
constexpr std::size_t kMostEscapeBytes = 16;

char* WriteText(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

char* WriteHex4(char* p, unsigned value) {
  for (int shift = 12; shift >= 0; shift -= 4)
    *p++ = kHex[(value >> shift) & 15];
  return p;
}

char* WriteCodePoint(char* p, char32_t c) {
  if (c < 0x80) {
    *p++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *p++ = static_cast<char>(0xC0 | (c >> 6));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (c >> 12));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (c >> 18));
    *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

// One code point (c), a lone surrogate as itself (surrogate set), in the escape,
// written at p (kMostEscapeBytes of room); counts a replacement in replaced.
char* WriteOne(char* p, char32_t c, bool surrogate, TSvEscape escape, std::size_t& replaced) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  switch (escape) {
  case TSvEscape::Plain:
  case TSvEscape::Csv:
    if (surrogate) {
      ++replaced;
      return WriteText(p, kReplacement);
    }
    if (escape == TSvEscape::Csv && c == '"')
      return WriteText(p, "\"\"");
    return WriteCodePoint(p, c);
  case TSvEscape::XmlText:
  case TSvEscape::XmlAttribute:
  case TSvEscape::XmlTextCp:
    if (surrogate || IsXmlForbidden(c)) {
      if (escape == TSvEscape::XmlTextCp) {
        p = WriteHex4(WriteText(p, "<cp hex=\""), static_cast<unsigned>(c));
        return WriteText(p, "\"/>");
      }
      ++replaced;
      return WriteText(p, kReplacement);
    }
    switch (c) {
    case '&': return WriteText(p, "&amp;");
    case '<': return WriteText(p, "&lt;");
    case '>': return WriteText(p, "&gt;");
    case '\r': return WriteText(p, "&#13;");
    default: break;
    }
    if (escape == TSvEscape::XmlAttribute) {
      switch (c) {
      case '"': return WriteText(p, "&quot;");
      case '\t': return WriteText(p, "&#9;");
      case '\n': return WriteText(p, "&#10;");
      default: break;
      }
    }
    return WriteCodePoint(p, c);
  case TSvEscape::Json:
    switch (c) {
    case '"': return WriteText(p, "\\\"");
    case '\\': return WriteText(p, "\\\\");
    case '\n': return WriteText(p, "\\n");
    case '\r': return WriteText(p, "\\r");
    case '\t': return WriteText(p, "\\t");
    case '\b': return WriteText(p, "\\b");
    case '\f': return WriteText(p, "\\f");
    default: break;
    }
    if (surrogate || c < 0x20 || c == 0x7F)
      return WriteHex4(WriteText(p, "\\u"), static_cast<unsigned>(c));
    return WriteCodePoint(p, c);
  case TSvEscape::Po:
    // A catalog's strings end at NUL, and U+0004 separates msgctxt from msgid in
    // a compiled catalog: neither can be carried.
    if (surrogate || c == 0 || c == 4) {
      ++replaced;
      return WriteText(p, kReplacement);
    }
    switch (c) {
    case '"': return WriteText(p, "\\\"");
    case '\\': return WriteText(p, "\\\\");
    case '\n': return WriteText(p, "\\n");
    case '\r': return WriteText(p, "\\r");
    case '\t': return WriteText(p, "\\t");
    case '\a': return WriteText(p, "\\a");
    case '\b': return WriteText(p, "\\b");
    case '\f': return WriteText(p, "\\f");
    case '\v': return WriteText(p, "\\v");
    default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      *p++ = '\\';
      *p++ = static_cast<char>('0' + ((c >> 6) & 7));
      *p++ = static_cast<char>('0' + ((c >> 3) & 7));
      *p++ = static_cast<char>('0' + (c & 7));
      return p;
    }
    return WriteCodePoint(p, c);
  }
  return p;
}

// AppendOne for the UTF-8 paths: the code point appended to out.
std::size_t AppendOne(char32_t c, TSvEscape escape, std::string& out) {
  char bytes[kMostEscapeBytes];
  std::size_t replaced = 0;
  const char* end = WriteOne(bytes, c, false, escape, replaced);
  out.append(bytes, static_cast<std::size_t>(end - bytes));
  return replaced;
}

} // namespace

void AppendCodePoint(char32_t c, std::string& out) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(WriteCodePoint(bytes, c) - bytes));
}

std::size_t AppendEscaped(std::u16string_view text, TSvEscape escape, std::string& out) {
  const TSvUtf8Stops& stops = StopsOf(escape);
  const std::size_t n = text.size();
  const char16_t* units = text.data();
  // The conversion runs up to the next unit the escape must look at; most texts
  // have none.
  std::size_t start = out.size();
  out.resize(start + Utf8Room(n));
  std::size_t i = 0;
  char* p = WriteUtf8Until(text, stops, out.data() + start, i);
  if (i == n) {
    out.resize(static_cast<std::size_t>(p - out.data()));
    return 0;
  }
  // Escapes ahead: room for the longest escape of every unit left.
  start = static_cast<std::size_t>(p - out.data());
  out.resize(start + kMostEscapeBytes * (n - i) + 16);
  p = out.data() + start;
  std::size_t replaced = 0;
  while (i < n) {
    // A stop: a lone surrogate is written as the escape says.
    const char16_t u = units[i];
    p = WriteOne(p, u, (u & 0xF800) == 0xD800, escape, replaced);
    ++i;
    std::size_t consumed = 0;
    p = WriteUtf8Until(text.substr(i), stops, p, consumed);
    i += consumed;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return replaced;
}

std::size_t AppendEscaped(std::string_view utf8, TSvEscape escape, std::string& out) {
  const TSvUtf8Stops& stops = StopsOf(escape);
  std::size_t replaced = 0;
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    // A run of ASCII that needs no care is appended whole.
    std::size_t run = i;
    while (run < n && static_cast<unsigned char>(utf8[run]) < 0x80 &&
           !stops.IsAsciiStop(static_cast<char16_t>(utf8[run])))
      ++run;
    out.append(utf8.data() + i, run - i);
    i = run;
    if (i == n)
      break;
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      replaced += AppendOne(b, escape, out);
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
    replaced += AppendOne(c, escape, out);
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
