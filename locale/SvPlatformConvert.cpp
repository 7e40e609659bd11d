#include "locale/SvPlatformConvert.h"

#include "locale/SvCodePageNames.h"
#include "locale/SvLocaleTables.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <bit>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <memory>
#include <unordered_map>

namespace sv {

namespace {

constexpr int kUtf8 = 65001;
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

// Both directions between UTF-16 and one code page; opened once and reused.
struct TSvCodePageConverter {
  TSvIconv ToWide;
  TSvIconv FromWide;
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

TSvCodePageConverter& ConverterOf(int codePage) {
  TSvPlatformConvertState& state = State();
  auto found = state.Converters.find(codePage);
  if (found != state.Converters.end())
    return found->second;
  TSvCodePageConverter converter;
  const std::vector<std::string> names =
      codePage == 0 ? std::vector<std::string>{state.SystemCharset} : IconvNamesOf(codePage);
  for (const std::string& name : names) {
    TSvCodePageConverter candidate{TSvIconv(kUtf16Native, name.c_str()),
                                   TSvIconv(name.c_str(), kUtf16Native)};
    if (candidate.IsOpen()) {
      converter = std::move(candidate);
      break;
    }
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

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

std::string IconvWideToAnsi(iconv_t cd, std::u16string_view text) {
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
    // A character the code page cannot hold, or an unpaired surrogate: one "?",
    // written by the converter itself so that it is "?" in that code page.
    const auto* unit = reinterpret_cast<const char16_t*>(in);
    std::size_t skip = sizeof(char16_t);
    if (inLeft >= 2 * sizeof(char16_t) && IsHighSurrogate(unit[0]) && IsLowSurrogate(unit[1]))
      skip = 2 * sizeof(char16_t);
    in += skip;
    inLeft -= skip;
    char16_t question = u'?';
    char* q = reinterpret_cast<char*>(&question);
    std::size_t qLeft = sizeof question;
    IconvInto(cd, &q, &qLeft, buffer, used);
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
  static constexpr char16_t kReplacement = 0xFFFD;
  while (inLeft > 0) {
    if (IconvInto(cd, &in, &inLeft, buffer, used) != static_cast<std::size_t>(-1))
      break;
    if (errno != EILSEQ && errno != EINVAL)
      break;
    // An invalid byte gives U+FFFD; an incomplete sequence at the end gives one.
    if (errno == EINVAL) {
      inLeft = 0;
    } else {
      ++in;
      --inLeft;
    }
    if (buffer.size() - used < sizeof kReplacement)
      buffer.resize(buffer.size() * 2 + 64);
    std::memcpy(buffer.data() + used, &kReplacement, sizeof kReplacement);
    used += sizeof kReplacement;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  FlushInto(cd, buffer, used);
  std::u16string result(used / sizeof(char16_t), u'\0');
  std::memcpy(result.data(), buffer.data(), result.size() * sizeof(char16_t));
  return result;
}

// UTF-16 to UTF-8: the exact size first, then one pass into the result.
std::string Utf16ToUtf8(std::u16string_view text) {
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  std::size_t size = 0;
  std::size_t i = 0;
  for (; i < n && s[i] < 0x80; ++i) {
  }
  if (i == n) // ASCII only
    return std::string(s, s + n);
  size = i;
  for (std::size_t j = i; j < n;) {
    UChar32 c;
    U16_NEXT_OR_FFFD(s, j, n, c); // an unpaired surrogate counts as U+FFFD
    size += U8_LENGTH(c);
  }
  std::string result(size, '\0');
  auto* out = reinterpret_cast<std::uint8_t*>(result.data());
  for (std::size_t k = 0; k < i; ++k)
    out[k] = static_cast<std::uint8_t>(s[k]);
  std::size_t o = i;
  while (i < n) {
    UChar32 c;
    U16_NEXT_OR_FFFD(s, i, n, c);
    U8_APPEND_UNSAFE(out, o, c);
  }
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
  TSvCodePageConverter& converter = ConverterOf(codePage);
  if (!converter.IsOpen())
    return {};
  return IconvWideToAnsi(converter.FromWide.Get(), text);
}

std::u16string PlatformAnsiToWide(std::string_view text, int codePage) {
  if (text.empty())
    return {};
  if (IsUtf8(codePage))
    return Utf8ToUtf16(text);
  TSvCodePageConverter& converter = ConverterOf(codePage);
  if (!converter.IsOpen())
    return {};
  return IconvAnsiToWide(converter.ToWide.Get(), text);
}

void EnumSystemCodePages(const std::function<bool(const std::string&)>& callback) {
  for (const TSvCodePageData& row : CodePageTable()) {
    if (!IsUtf8(row.CodePage) && !ConverterOf(row.CodePage).IsOpen())
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
