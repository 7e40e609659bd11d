#include "export/SvExportText.h"

#include "locale/SvUtf8.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace sv {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendReplacement(std::string& out) {
  out += "\xEF\xBF\xBD";
}

// The ASCII characters, other than controls and DEL, that an escape writes
// otherwise; unused places hold 0, which is a control anyway.
struct TSpecials {
  char16_t Units[4];
};

constexpr TSpecials SpecialsOf(TSvEscape escape) {
  switch (escape) {
  case TSvEscape::Plain:
    return {{0, 0, 0, 0}};
  case TSvEscape::XmlText:
  case TSvEscape::XmlTextCp:
    return {{u'&', u'<', u'>', 0}};
  case TSvEscape::XmlAttribute:
    return {{u'&', u'<', u'>', u'"'}};
  case TSvEscape::Json:
  case TSvEscape::Po:
    return {{u'"', u'\\', 0, 0}};
  case TSvEscape::Csv:
    return {{u'"', 0, 0, 0}};
  }
  return {{0, 0, 0, 0}};
}

// Whether the escape must look at the unit: a control, DEL, a special, a
// surrogate (a pair is written by the escape too), U+FFFE or U+FFFF.
bool NeedsCare(char16_t u, const TSpecials& specials) {
  return u < 0x20 || u == 0x7F || u == specials.Units[0] || u == specials.Units[1] ||
         u == specials.Units[2] || u == specials.Units[3] || (u & 0xF800) == 0xD800 ||
         u >= 0xFFFE;
}

#ifdef __SSE2__
// Eight units at once: a mask of two bits per unit that needs care.
inline int CareMask8(__m128i v, const __m128i (&specials)[4]) {
  const __m128i zero = _mm_setzero_si128();
  __m128i care = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFFE0))), zero),
                              _mm_cmpeq_epi16(v, _mm_set1_epi16(0x7F)));
  care = _mm_or_si128(care, _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xF800))),
                                            _mm_set1_epi16(static_cast<short>(0xD800))));
  // U+FFFE and U+FFFF: all ones once the low bit is set.
  care = _mm_or_si128(care, _mm_cmpeq_epi16(_mm_or_si128(v, _mm_set1_epi16(1)), _mm_set1_epi16(-1)));
  care = _mm_or_si128(care, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, specials[0]), _mm_cmpeq_epi16(v, specials[1])),
                                         _mm_or_si128(_mm_cmpeq_epi16(v, specials[2]), _mm_cmpeq_epi16(v, specials[3]))));
  return _mm_movemask_epi8(care);
}

// The same for sixteen units, with AVX2.
__attribute__((target("avx2"))) std::size_t FindCareAvx2(const char16_t* s, std::size_t i, std::size_t n,
                                                         const TSpecials& sp) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i control = _mm256_set1_epi16(static_cast<short>(0xFFE0));
  const __m256i del = _mm256_set1_epi16(0x7F);
  const __m256i surrogateBits = _mm256_set1_epi16(static_cast<short>(0xF800));
  const __m256i surrogate = _mm256_set1_epi16(static_cast<short>(0xD800));
  const __m256i one = _mm256_set1_epi16(1);
  const __m256i ones = _mm256_set1_epi16(-1);
  const __m256i s0 = _mm256_set1_epi16(static_cast<short>(sp.Units[0]));
  const __m256i s1 = _mm256_set1_epi16(static_cast<short>(sp.Units[1]));
  const __m256i s2 = _mm256_set1_epi16(static_cast<short>(sp.Units[2]));
  const __m256i s3 = _mm256_set1_epi16(static_cast<short>(sp.Units[3]));
  for (; i + 16 <= n; i += 16) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    __m256i care = _mm256_or_si256(_mm256_cmpeq_epi16(_mm256_and_si256(v, control), zero),
                                   _mm256_cmpeq_epi16(v, del));
    care = _mm256_or_si256(care, _mm256_cmpeq_epi16(_mm256_and_si256(v, surrogateBits), surrogate));
    care = _mm256_or_si256(care, _mm256_cmpeq_epi16(_mm256_or_si256(v, one), ones));
    care = _mm256_or_si256(care, _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi16(v, s0), _mm256_cmpeq_epi16(v, s1)),
                                                 _mm256_or_si256(_mm256_cmpeq_epi16(v, s2), _mm256_cmpeq_epi16(v, s3))));
    const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(care));
    if (mask != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
  }
  return i;
}
#endif

// The first unit from i on that needs care; n when none does. Sixteen units at a
// time with AVX2 where the processor has it, eight with SSE2, which every x86-64
// has; the last units of a text by a load that overlaps those already looked at,
// or in loads of four and two.
std::size_t FindCare(const char16_t* s, std::size_t i, std::size_t n, const TSpecials& sp) {
#ifdef __SSE2__
  static const bool avx2 = BestUtf8Path() == TSvUtf8Path::Avx2;
  if (avx2 && i + 16 <= n) {
    i = FindCareAvx2(s, i, n, sp);
    if (i + 16 <= n)
      return i;
  }
  const __m128i specials[4] = {
      _mm_set1_epi16(static_cast<short>(sp.Units[0])), _mm_set1_epi16(static_cast<short>(sp.Units[1])),
      _mm_set1_epi16(static_cast<short>(sp.Units[2])), _mm_set1_epi16(static_cast<short>(sp.Units[3]))};
  for (; i + 8 <= n; i += 8) {
    const int mask = CareMask8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), specials);
    if (mask != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
  }
  if (i == n)
    return n;
  if (n >= 8) {
    // The last eight units; those before i were looked at.
    const std::size_t skipped = 8 - (n - i);
    const unsigned mask =
        static_cast<unsigned>(CareMask8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 8)), specials)) >>
        (2 * skipped);
    return mask != 0 ? i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2 : n;
  }
  // Units past n are never read: the lanes of a short load hold 0 and are masked.
  if (n - i >= 4) {
    const unsigned mask = static_cast<unsigned>(
        CareMask8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i)), specials) & 0xFF);
    if (mask != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    i += 4;
  }
  if (n - i >= 2) {
    int pair;
    std::memcpy(&pair, s + i, sizeof pair);
    const unsigned mask = static_cast<unsigned>(CareMask8(_mm_cvtsi32_si128(pair), specials) & 0xF);
    if (mask != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    i += 2;
  }
#endif
  for (; i < n; ++i)
    if (NeedsCare(s[i], sp))
      return i;
  return n;
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
  const TSpecials specials = SpecialsOf(escape);
  const std::size_t n = text.size();
  const char16_t* units = text.data();
  // Runs of units that need no care go through the vectorised conversion, which
  // gives the same bytes for them; most texts are one such run.
  std::size_t i = FindCare(units, 0, n, specials);
  std::size_t start = out.size();
  out.resize(start + Utf8Room(n));
  char* p = WriteUtf8(text.substr(0, i), out.data() + start);
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
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      const char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00);
      p = WriteOne(p, c, false, escape, replaced);
      i += 2;
    } else {
      p = WriteOne(p, u, (u & 0xF800) == 0xD800, escape, replaced);
      ++i;
    }
    const std::size_t next = FindCare(units, i, n, specials);
    p = WriteUtf8(text.substr(i, next - i), p);
    i = next;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return replaced;
}

std::size_t AppendEscaped(std::string_view utf8, TSvEscape escape, std::string& out) {
  const TSpecials specials = SpecialsOf(escape);
  std::size_t replaced = 0;
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    // A run of ASCII that needs no care is appended whole.
    std::size_t run = i;
    while (run < n && static_cast<unsigned char>(utf8[run]) < 0x80 &&
           !NeedsCare(static_cast<char16_t>(utf8[run]), specials))
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
