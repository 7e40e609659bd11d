#include "locale/SvPlatformConvert.h"

#include "locale/SvCodePageNames.h"
#include "locale/SvLocaleTables.h"
#include "locale/SvUtf8.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <bit>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace sv {

namespace {

constexpr int kUtf8 = 65001;
constexpr int kUtf16LE = 1200;
constexpr int kUtf16BE = 1201;
constexpr const char* kUtf16Native =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One iconv descriptor, closed with its owner.
class TSvIconv {
public:
  TSvIconv() = default;
  TSvIconv(const char* to, const char* from) : FCd(iconv_open(to, from)) {}
  TSvIconv(TSvIconv&& other) noexcept : FCd(other.FCd) { other.FCd = kNoConverter; }
  TSvIconv& operator=(TSvIconv&& other) noexcept {
    std::swap(FCd, other.FCd);
    return *this;
  }
  ~TSvIconv() {
    if (FCd != kNoConverter)
      iconv_close(FCd);
  }
  bool IsOpen() const { return FCd != kNoConverter; }
  iconv_t Get() const { return FCd; }

private:
  iconv_t FCd = kNoConverter;
};

// A single-byte code page as tables taken from its converter: by byte the
// character (-1 for an invalid byte), by character the byte (-1 for none).
struct TSvByteTable {
  std::array<std::int32_t, 256> ToWide{};
  std::vector<std::int16_t> FromWide = std::vector<std::int16_t>(0x10000, -1);
  char Question = '?'; // "?" in the code page
};

// A byte whose character in the platform's table differs from glibc's.
struct TSvByteFix {
  std::uint8_t Byte;
  char16_t Char;
};

// Code pages that convert by glibc's table of a related code page with a few
// bytes corrected. Mac Icelandic is Apple's Mac Roman with six Icelandic letters
// (glibc's MAC-IS is another table); glibc's IBM875 lacks the vertical line.
constexpr TSvByteFix kMacIcelandicFixes[] = {
    {0xA0, 0x00DD}, {0xC6, 0x2206}, {0xDC, 0x00D0}, {0xDD, 0x00F0},
    {0xDE, 0x00DE}, {0xDF, 0x00FE}, {0xE0, 0x00FD}, {0xF0, 0xF8FF},
};
constexpr TSvByteFix kEbcdicGreekFixes[] = {{0x6A, u'|'}};

struct TSvFixedCodePage {
  int CodePage;
  const char* Base; // the iconv name of the related table
  std::span<const TSvByteFix> Fixes;
};

constexpr TSvFixedCodePage kFixedCodePages[] = {
    {10079, "MACINTOSH", kMacIcelandicFixes},
    {875, "IBM875", kEbcdicGreekFixes},
};

const TSvFixedCodePage* FixedCodePageOf(int codePage) {
  for (const TSvFixedCodePage& fixed : kFixedCodePages)
    if (fixed.CodePage == codePage)
      return &fixed;
  return nullptr;
}

// Both directions between UTF-16 and one code page; opened once and reused.
struct TSvCodePageConverter {
  std::string Name; // the iconv name that opened
  TSvIconv ToWide;
  TSvIconv FromWide;
  // For a stateless single-byte code page, its tables; learned on first use.
  bool TableTried = false;
  std::unique_ptr<TSvByteTable> Table;
  // For any other code page, by BMP character: the converter cannot write it.
  // Learned with the tables; empty when the converter could not be asked.
  std::vector<bool> Unwritable;
  bool IsOpen() const { return ToWide.IsOpen() && FromWide.IsOpen(); }
};

struct TSvPlatformConvertState {
  int SystemCodePage = kUtf8;
  std::string SystemCharset = "UTF-8";
  // By code page; 0 is the system code page. A code page iconv cannot open keeps
  // a closed entry, so that it is tried only once.
  std::unordered_map<int, TSvCodePageConverter> Converters;
  std::string Buffer; // reused output buffer of the iconv path
};

std::unique_ptr<TSvPlatformConvertState> GState;

void ReadSystemCharset(TSvPlatformConvertState& state) {
  const char* ctype = std::setlocale(LC_CTYPE, nullptr);
  const char* codeset = nl_langinfo(CODESET);
  const bool plain = !ctype || std::strcmp(ctype, "C") == 0 || std::strcmp(ctype, "POSIX") == 0;
  // The C and POSIX locales answer ASCII; they count as UTF-8.
  if (plain || !codeset || !*codeset || std::strcmp(codeset, "ANSI_X3.4-1968") == 0) {
    state.SystemCharset = "UTF-8";
    state.SystemCodePage = kUtf8;
  } else {
    state.SystemCharset = codeset;
    state.SystemCodePage = CodePageOfCharset(codeset);
  }
}

TSvPlatformConvertState& State() {
  if (!GState) {
    GState = std::make_unique<TSvPlatformConvertState>();
    ReadSystemCharset(*GState);
  }
  return *GState;
}

bool IsUtf8(int codePage) {
  return codePage == kUtf8 || (codePage == 0 && State().SystemCodePage == kUtf8);
}

std::unique_ptr<TSvByteTable> FixedByteTableOf(const TSvCodePageConverter& converter,
                                               std::span<const TSvByteFix> fixes);

TSvCodePageConverter& ConverterOf(int codePage) {
  TSvPlatformConvertState& state = State();
  auto found = state.Converters.find(codePage);
  if (found != state.Converters.end())
    return found->second;
  TSvCodePageConverter converter;
  const TSvFixedCodePage* fixed = FixedCodePageOf(codePage);
  const std::vector<std::string> names = codePage == 0
                                             ? std::vector<std::string>{state.SystemCharset}
                                         : fixed ? std::vector<std::string>{fixed->Base}
                                                 : IconvNamesOf(codePage);
  for (const std::string& name : names) {
    TSvCodePageConverter candidate;
    candidate.Name = name;
    candidate.ToWide = TSvIconv(kUtf16Native, name.c_str());
    candidate.FromWide = TSvIconv(name.c_str(), kUtf16Native);
    if (candidate.IsOpen()) {
      converter = std::move(candidate);
      break;
    }
  }
  if (fixed && converter.IsOpen()) {
    // Such a code page converts by its corrected tables alone.
    converter.TableTried = true;
    converter.Table = FixedByteTableOf(converter, fixed->Fixes);
    if (!converter.Table)
      converter = TSvCodePageConverter();
  }
  return state.Converters.emplace(codePage, std::move(converter)).first->second;
}

// Runs iconv over in, appending to buffer from used on, growing it as needed.
// Answers -1 and errno as iconv does, other than for a full buffer.
std::size_t IconvInto(iconv_t cd, char** in, std::size_t* inLeft, std::string& buffer,
                      std::size_t& used) {
  for (;;) {
    if (buffer.size() - used < 16)
      buffer.resize(buffer.size() * 2 + 64);
    char* out = buffer.data() + used;
    std::size_t outLeft = buffer.size() - used;
    const std::size_t result = iconv(cd, in, inLeft, &out, &outLeft);
    used = static_cast<std::size_t>(out - buffer.data());
    if (result == static_cast<std::size_t>(-1) && errno == E2BIG)
      continue;
    return result;
  }
}

// Writes what the converter still holds: the return to the initial shift state
// (ISO 2022) or a character kept back for a combining mark (1255, 1258).
void FlushInto(iconv_t cd, std::string& buffer, std::size_t& used) {
  for (;;) {
    if (buffer.size() - used < 16)
      buffer.resize(buffer.size() * 2 + 64);
    char* out = buffer.data() + used;
    std::size_t outLeft = buffer.size() - used;
    const std::size_t result = iconv(cd, nullptr, nullptr, &out, &outLeft);
    used = static_cast<std::size_t>(out - buffer.data());
    if (result != static_cast<std::size_t>(-1) || errno != E2BIG)
      return;
  }
}

// The ISO 2022 code pages, whose shift characters SO, SI and ESC switch between
// character sets.
bool IsIso2022(int codePage) {
  return codePage >= 50220 && codePage <= 50229;
}

// ISO 2022 Chinese, whose SO set is GB 2312 or CNS plane 1 and whose single shift
// SS2 gives one character of CNS plane 2.
constexpr int kIso2022Chinese = 50227;

// The converter writes SO, SI and ESC of the text as they are; they would shift the
// text that follows into another character set, so they become "?".
std::u16string WithoutShifts(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result)
    if (c == 0x0E || c == 0x0F || c == 0x1B)
      c = u'?';
  return result;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Appends "?" as the converter writes it, in its current shift state.
void WriteQuestionMark(iconv_t cd, std::string& buffer, std::size_t& used) {
  char16_t question = u'?';
  char* q = reinterpret_cast<char*>(&question);
  std::size_t qLeft = sizeof question;
  IconvInto(cd, &q, &qLeft, buffer, used);
}

// Converts text into result. With giveUp, answers false at the first character
// that needs a stand-in instead.
bool IconvWideToAnsi(iconv_t cd, std::u16string_view text, bool giveUp, std::string& result) {
  std::string& buffer = State().Buffer;
  if (buffer.size() < text.size() * 2 + 16)
    buffer.resize(text.size() * 2 + 16);
  iconv(cd, nullptr, nullptr, nullptr, nullptr); // initial shift state
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(char16_t);
  std::size_t used = 0;
  while (inLeft > 0) {
    if (IconvInto(cd, &in, &inLeft, buffer, used) != static_cast<std::size_t>(-1))
      break;
    if (errno != EILSEQ && errno != EINVAL)
      break;
    if (giveUp)
      return false;
    // A character the code page cannot hold becomes "?"; an unpaired surrogate
    // U+FFFD where the code page holds it (the Unicode ones), else "?". Both are
    // written by the converter itself, so that they are in that code page's form.
    const auto* unit = reinterpret_cast<const char16_t*>(in);
    std::size_t skip = sizeof(char16_t);
    const bool pair =
        inLeft >= 2 * sizeof(char16_t) && IsHighSurrogate(unit[0]) && IsLowSurrogate(unit[1]);
    if (pair)
      skip = 2 * sizeof(char16_t);
    const bool lone = !pair && (IsHighSurrogate(unit[0]) || IsLowSurrogate(unit[0]));
    in += skip;
    inLeft -= skip;
    if (lone) {
      const std::size_t before = used;
      char16_t replacement = 0xFFFD;
      char* r = reinterpret_cast<char*>(&replacement);
      std::size_t rLeft = sizeof replacement;
      if (IconvInto(cd, &r, &rLeft, buffer, used) != static_cast<std::size_t>(-1))
        continue;
      used = before;
    }
    WriteQuestionMark(cd, buffer, used);
  }
  FlushInto(cd, buffer, used);
  result.assign(buffer.data(), used);
  return true;
}

// glibc's ISO 2022 Chinese reader takes a designation of the SO set only at the next
// SO, where the standard has it take effect at once (as glibc's own writer expects
// when it switches sets within a run): an SO is added after each such designation
// inside a run, before reading and after writing, so that other readers on glibc
// read what is written. SS2 and the two bytes of its character are passed over.
std::string WithRedesignationsShifted(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 16);
  bool shifted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    result += c;
    if (c == '\x0E') {
      shifted = true;
    } else if (c == '\x0F') {
      shifted = false;
    } else if (c == '\x1B') {
      const std::string_view rest = text.substr(i + 1);
      if (rest.starts_with("$)A") || rest.starts_with("$)G")) {
        result.append(rest.substr(0, 3));
        i += 3;
        if (shifted)
          result += '\x0E';
      } else if (rest.starts_with("N")) {
        const std::string_view ss2 = rest.substr(0, 3);
        result.append(ss2);
        i += ss2.size();
      }
    }
  }
  return result;
}

// glibc's ISO 2022 Chinese writer takes the single shift SS2 for a locking one: a
// CNS plane 2 character after another loses its SS2, and a character of the SO set
// after one, outside a run, loses the SO it needs: the text reads back wrong. Text
// that needs SS2 is written a character at a time, the converter returned to its
// initial state after each character written with SS2.
std::string IconvResettingSingleShifts(iconv_t cd, std::u16string_view text) {
  std::string& buffer = State().Buffer;
  if (buffer.size() < text.size() * 8 + 16)
    buffer.resize(text.size() * 8 + 16);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::size_t used = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t units =
        IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data() + i));
    std::size_t inLeft = units * sizeof(char16_t);
    i += units;
    const std::size_t before = used;
    if (IconvInto(cd, &in, &inLeft, buffer, used) == static_cast<std::size_t>(-1)) {
      used = before;
      WriteQuestionMark(cd, buffer, used);
    }
    if (std::string_view(buffer.data() + before, used - before).find("\x1BN") !=
        std::string_view::npos)
      FlushInto(cd, buffer, used);
  }
  FlushInto(cd, buffer, used);
  return std::string(buffer.data(), used);
}

std::u16string IconvAnsiToWide(iconv_t cd, std::string_view text) {
  std::string& buffer = State().Buffer;
  if (buffer.size() < text.size() * 2 + 16)
    buffer.resize(text.size() * 2 + 16);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t used = 0;
  constexpr char16_t kReplacement = 0xFFFD;
  while (inLeft > 0) {
    if (IconvInto(cd, &in, &inLeft, buffer, used) != static_cast<std::size_t>(-1))
      break;
    if (errno != EILSEQ && errno != EINVAL)
      break;
    // An invalid byte gives U+FFFD; an incomplete sequence at the end gives one.
    // DEL, which a converter may write but not read back (ISO 2022 Chinese), is
    // taken as itself. The converter keeps its shift state and designations, which
    // the bytes after it still need.
    char16_t replacement = kReplacement;
    if (errno == EINVAL) {
      inLeft = 0;
    } else {
      if (*in == '\x7F')
        replacement = 0x7F;
      ++in;
      --inLeft;
    }
    if (buffer.size() - used < sizeof replacement)
      buffer.resize(buffer.size() * 2 + 64);
    std::memcpy(buffer.data() + used, &replacement, sizeof replacement);
    used += sizeof replacement;
  }
  FlushInto(cd, buffer, used);
  std::u16string result(used / sizeof(char16_t), u'\0');
  std::memcpy(result.data(), buffer.data(), result.size() * sizeof(char16_t));
  return result;
}

// One iconv call over the whole of in, then the flush; false on any error.
template <class TOut> bool ConvertAll(iconv_t cd, std::string_view in, TOut& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string buffer(in.size() * 4 + 16, '\0');
  char* source = const_cast<char*>(in.data());
  std::size_t sourceLeft = in.size();
  char* target = buffer.data();
  std::size_t targetLeft = buffer.size();
  if (iconv(cd, &source, &sourceLeft, &target, &targetLeft) == static_cast<std::size_t>(-1) ||
      iconv(cd, nullptr, nullptr, &target, &targetLeft) == static_cast<std::size_t>(-1))
    return false;
  const std::size_t used = static_cast<std::size_t>(target - buffer.data());
  out.resize(used / sizeof(typename TOut::value_type));
  std::memcpy(out.data(), buffer.data(), out.size() * sizeof(typename TOut::value_type));
  return true;
}

std::string_view BytesOf(const std::u16string& text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

// text written by converter with the characters it cannot write skipped; false
// when the conversion stops for another reason.
bool ConvertSkipping(const TSvCodePageConverter& converter, const std::u16string& text,
                     std::string& written) {
  TSvIconv skipping((converter.Name + "//IGNORE").c_str(), kUtf16Native);
  if (!skipping.IsOpen())
    return false;
  written.assign(text.size() * 4 + 64, '\0');
  char* source = const_cast<char*>(BytesOf(text).data());
  std::size_t sourceLeft = text.size() * sizeof(char16_t);
  char* target = written.data();
  std::size_t targetLeft = written.size();
  while (sourceLeft > 0) {
    const char* before = source;
    if (iconv(skipping.Get(), &source, &sourceLeft, &target, &targetLeft) !=
            static_cast<std::size_t>(-1) ||
        errno != EILSEQ || source == before)
      break;
  }
  iconv(skipping.Get(), nullptr, nullptr, &target, &targetLeft);
  if (sourceLeft > 0)
    return false;
  written.resize(static_cast<std::size_t>(target - written.data()));
  return true;
}

// The tables of a stateless single-byte code page, asked of its converter: every
// byte alone, the bytes in one run, each base letter before each combining mark
// (a converter that composes them is no table), every character back, and no
// further character that the converter would write. Null for any other code page.
std::unique_ptr<TSvByteTable> ByteTableOf(const TSvCodePageConverter& converter) {
  auto table = std::make_unique<TSvByteTable>();
  std::u16string run;
  std::string runBytes;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    std::u16string wide;
    table->ToWide[b] = -1;
    if (!ConvertAll(converter.ToWide.Get(), std::string_view(&byte, 1), wide)) {
      if (errno != EILSEQ)
        return nullptr; // a lead byte, a shift or a converter that keeps state
      continue;
    }
    if (wide.size() != 1 || IsHighSurrogate(wide[0]) || IsLowSurrogate(wide[0]))
      return nullptr;
    table->ToWide[b] = wide[0];
    run += wide[0];
    runBytes += byte;
  }
  std::u16string wide;
  if (!ConvertAll(converter.ToWide.Get(), runBytes, wide) || wide != run)
    return nullptr;
  for (char mark : runBytes) {
    const char16_t markChar = static_cast<char16_t>(table->ToWide[static_cast<std::uint8_t>(mark)]);
    if (u_getCombiningClass(markChar) == 0)
      continue;
    std::string pairs;
    std::u16string expected;
    for (char base : runBytes) {
      pairs += base;
      pairs += mark;
      expected += static_cast<char16_t>(table->ToWide[static_cast<std::uint8_t>(base)]);
      expected += markChar;
    }
    if (!ConvertAll(converter.ToWide.Get(), pairs, wide) || wide != expected)
      return nullptr;
  }
  for (std::size_t i = 0; i < run.size(); ++i) {
    std::string bytes;
    if (!ConvertAll(converter.FromWide.Get(), BytesOf(run.substr(i, 1)), bytes) ||
        bytes.size() != 1)
      return nullptr;
    table->FromWide[run[i]] = static_cast<std::uint8_t>(bytes[0]);
  }
  // What the converter writes for the characters no byte reads as must be nothing.
  std::u16string others;
  for (char32_t c = 1; c < 0x10000; ++c)
    if (table->FromWide[c] < 0 && !IsHighSurrogate(char16_t(c)) && !IsLowSurrogate(char16_t(c)))
      others += static_cast<char16_t>(c);
  std::string written;
  if (!ConvertSkipping(converter, others, written) || !written.empty())
    return nullptr;
  if (table->FromWide[u'?'] < 0)
    return nullptr;
  table->Question = static_cast<char>(table->FromWide[u'?']);
  return table;
}

// The tables of converter's related code page with fixes applied.
std::unique_ptr<TSvByteTable> FixedByteTableOf(const TSvCodePageConverter& converter,
                                               std::span<const TSvByteFix> fixes) {
  std::unique_ptr<TSvByteTable> table = ByteTableOf(converter);
  if (!table)
    return nullptr;
  for (const TSvByteFix& fix : fixes) {
    const std::int32_t old = table->ToWide[fix.Byte];
    if (old >= 0 && table->FromWide[static_cast<std::size_t>(old)] == fix.Byte)
      table->FromWide[static_cast<std::size_t>(old)] = -1;
    table->ToWide[fix.Byte] = fix.Char;
    table->FromWide[fix.Char] = fix.Byte;
  }
  return table;
}

// The BMP characters that converter cannot write, asked in one call: each
// character followed by a line feed, the ones it cannot write skipped, so that an
// empty line stands for such a character. Empty when the answer is not clear.
std::vector<bool> UnwritableOf(const TSvCodePageConverter& converter) {
  std::u16string probe;
  probe.reserve(0x20000);
  for (char32_t c = 1; c < 0x10000; ++c)
    if (c != u'\n' && !IsHighSurrogate(char16_t(c)) && !IsLowSurrogate(char16_t(c))) {
      probe += static_cast<char16_t>(c);
      probe += u'\n';
    }
  std::string written;
  if (!ConvertSkipping(converter, probe, written))
    return {};
  std::vector<bool> unwritable(0x10000, false);
  std::size_t at = 0;
  for (std::size_t i = 0; i < probe.size(); i += 2) {
    const std::size_t end = written.find('\n', at);
    if (end == std::string::npos)
      return {};
    unwritable[probe[i]] = end == at;
    at = end + 1;
  }
  if (at != written.size())
    return {}; // a line feed inside a character's bytes: no clear answer
  return unwritable;
}

// The byte tables of converter when its code page is a stateless single-byte one;
// for any other, the characters it cannot write.
const TSvByteTable* ByteTable(TSvCodePageConverter& converter) {
  if (!converter.TableTried) {
    converter.TableTried = true;
    converter.Table = ByteTableOf(converter);
    if (!converter.Table)
      converter.Unwritable = UnwritableOf(converter);
  }
  return converter.Table.get();
}

// text with each BMP character that the converter cannot write as "?", and each
// unpaired surrogate as U+FFFD where it can write that, so that the conversion
// needs no stand-in of its own.
std::u16string WithStandIns(const std::vector<bool>& unwritable, std::u16string_view text) {
  const char16_t lone = unwritable[0xFFFD] ? u'?' : char16_t(0xFFFD);
  std::u16string result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const char16_t c = result[i];
    if (IsHighSurrogate(c) && i + 1 < result.size() && IsLowSurrogate(result[i + 1]))
      ++i; // a pair is left to the converter
    else if (IsHighSurrogate(c) || IsLowSurrogate(c))
      result[i] = lone;
    else if (unwritable[c])
      result[i] = u'?';
  }
  return result;
}

std::string TableWideToAnsi(const TSvByteTable& table, std::u16string_view text) {
  std::string result(text.size(), '\0');
  std::size_t o = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::int16_t byte = table.FromWide[text[i]];
    if (byte >= 0) {
      result[o++] = static_cast<char>(byte);
      continue;
    }
    // One "?" for a character the code page cannot hold, a pair counting as one.
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
      ++i;
    result[o++] = table.Question;
  }
  result.resize(o);
  return result;
}

std::u16string TableAnsiToWide(const TSvByteTable& table, std::string_view text) {
  std::u16string result(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::int32_t c = table.ToWide[static_cast<std::uint8_t>(text[i])];
    result[i] = c >= 0 ? static_cast<char16_t>(c) : char16_t(0xFFFD);
  }
  return result;
}

// UTF-16 in either byte order. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToBytes(std::u16string_view text, bool bigEndian) {
  std::string result(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      // the pair as it is
    } else if (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(text[i - 1])) {
      // the second half of a pair
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = 0xFFFD;
    }
    result[2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(c & 0xFF);
    result[2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(c >> 8);
  }
  return result;
}

// Bytes in UTF-16 of either byte order, a code unit per two bytes. An unpaired
// surrogate and an odd byte at the end each become one U+FFFD.
std::u16string BytesToUtf16(std::string_view text, bool bigEndian) {
  const std::size_t units = text.size() / 2;
  std::u16string result(units + text.size() % 2, u'\0');
  const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint8_t first = s[2 * i];
    const std::uint8_t second = s[2 * i + 1];
    result[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
  }
  for (std::size_t i = 0; i < units; ++i) {
    if (IsHighSurrogate(result[i]) && i + 1 < units && IsLowSurrogate(result[i + 1]))
      ++i;
    else if (IsHighSurrogate(result[i]) || IsLowSurrogate(result[i]))
      result[i] = 0xFFFD;
  }
  if (text.size() % 2)
    result[units] = 0xFFFD;
  return result;
}

// UTF-16 to UTF-8 through the vectorised conversion; an unpaired surrogate is U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text) {
  std::string result;
  AppendUtf8(text, result);
  return result;
}

// UTF-8 to UTF-16; each maximal invalid subsequence becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text) {
  const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t n = text.size();
  std::u16string result(n, u'\0'); // never more units than bytes
  char16_t* out = result.data();
  std::size_t o = 0;
  std::size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      out[o++] = s[i++];
      continue;
    }
    UChar32 c;
    U8_NEXT_OR_FFFD(s, i, n, c);
    U16_APPEND_UNSAFE(out, o, c);
  }
  result.resize(o);
  return result;
}

} // namespace

int SystemCodePage() {
  return State().SystemCodePage;
}
const std::string& SystemCharset() {
  return State().SystemCharset;
}

std::string PlatformWideToAnsi(std::u16string_view text, int codePage) {
  if (text.empty())
    return {};
  if (IsUtf8(codePage))
    return Utf16ToUtf8(text);
  if (codePage == kUtf16LE || codePage == kUtf16BE)
    return Utf16ToBytes(text, codePage == kUtf16BE);
  if (IsIso2022(codePage) && text.find_first_of(u"\x0E\x0F\x1B") != text.npos)
    return PlatformWideToAnsi(WithoutShifts(text), codePage);
  const std::lock_guard lock(CodePageLock()); // converters, their tables and the buffer
  TSvCodePageConverter& converter = ConverterOf(codePage);
  if (!converter.IsOpen())
    return {};
  if (converter.Table)
    return TableWideToAnsi(*converter.Table, text);
  std::string result;
  std::u16string withStandIns;
  std::u16string_view written = text;
  bool done = false;
  if (!converter.TableTried) {
    // The tables are learned when the first stand-in is needed, since a "?" by
    // the converter itself costs two calls and a reset.
    done = IconvWideToAnsi(converter.FromWide.Get(), text, true, result);
    if (!done)
      if (const TSvByteTable* table = ByteTable(converter))
        return TableWideToAnsi(*table, text);
  }
  if (!done) {
    if (!converter.Unwritable.empty()) {
      withStandIns = WithStandIns(converter.Unwritable, text);
      written = withStandIns;
    }
    IconvWideToAnsi(converter.FromWide.Get(), written, false, result);
  }
  if (codePage == kIso2022Chinese) {
    if (result.find("\x1BN") != std::string::npos)
      result = IconvResettingSingleShifts(converter.FromWide.Get(), written);
    if (result.find('\x0E') != std::string::npos)
      result = WithRedesignationsShifted(result);
  }
  return result;
}

std::u16string PlatformAnsiToWide(std::string_view text, int codePage) {
  if (text.empty())
    return {};
  if (IsUtf8(codePage))
    return Utf8ToUtf16(text);
  if (codePage == kUtf16LE || codePage == kUtf16BE)
    return BytesToUtf16(text, codePage == kUtf16BE);
  const std::lock_guard lock(CodePageLock());
  TSvCodePageConverter& converter = ConverterOf(codePage);
  if (!converter.IsOpen())
    return {};
  if (converter.Table)
    return TableAnsiToWide(*converter.Table, text);
  if (codePage == kIso2022Chinese && text.find('\x0E') != text.npos)
    return IconvAnsiToWide(converter.ToWide.Get(), WithRedesignationsShifted(text));
  return IconvAnsiToWide(converter.ToWide.Get(), text);
}

bool IsStatelessCodePage(int codePage) {
  // Read only: the state is made by the module start, before any reader runs.
  return codePage == kUtf8 || codePage == kUtf16LE || codePage == kUtf16BE ||
         (codePage == 0 && GState && GState->SystemCodePage == kUtf8);
}

bool IsPlatformCodePage(int codePage) {
  if (IsUtf8(codePage) || codePage == kUtf16LE || codePage == kUtf16BE)
    return true;
  const std::lock_guard lock(CodePageLock());
  return ConverterOf(codePage).IsOpen();
}

void EnumSystemCodePages(const std::function<bool(const std::string&)>& callback) {
  for (const TSvCodePageData& row : CodePageTable()) {
    if (!IsPlatformCodePage(row.CodePage))
      continue;
    if (!callback(std::to_string(row.CodePage)))
      return;
  }
}

void StartPlatformConvert() {
  GState.reset();
  State();
}

void FinishPlatformConvert() {
  GState.reset();
}

} // namespace sv
