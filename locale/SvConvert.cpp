#include "locale/SvConvert.h"

#include "locale/SvLang.h"
#include "locale/SvLocaleTables.h"
#include "locale/SvPlatformConvert.h"
#include "locale/SvPlatformNls.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvParser.h"
#include "text/SvStrings.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uvernum.h>

#include <cerrno>
#include <dlfcn.h>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>
#include <cstring>
#include <map>
#include <memory>

namespace sv {

namespace {

std::string WidePieceToAnsi(const std::u16string& piece, int codePage) {
  if (piece.empty())
    return {};
  TSvLang* service = SvLang();
  if (codePage != 0 && service && service->Available() && IsServiceOnlyCodePage(codePage))
    return service->ConvertFromUnicode(piece, codePage);
  return PlatformWideToAnsi(piece, codePage);
}

std::u16string AnsiPieceToWide(const std::string& piece, int codePage) {
  if (piece.empty())
    return {};
  TSvLang* service = SvLang();
  if (codePage != 0 && service && service->Available() && IsServiceOnlyCodePage(codePage))
    return service->ConvertToUnicode(piece, codePage);
  return PlatformAnsiToWide(piece, codePage);
}

// UTF-16 as 8-bit text: its zero bytes are halves of code units, not separators.
bool IsUtf16CodePage(int codePage) {
  return codePage == 1200 || codePage == 1201;
}

bool HasZero(const std::string& text) {
  return text.find('\0') != std::string::npos;
}

// Four units at a time: a unit is 0 when subtracting 1 borrows from its top bit.
bool HasZero(const std::u16string& text) {
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    std::uint64_t units;
    std::memcpy(&units, s + i, sizeof units);
    if ((units - 0x0001000100010001u) & ~units & 0x8000800080008000u)
      return true;
  }
  for (; i < n; ++i)
    if (s[i] == 0)
      return true;
  return false;
}

// Converts the pieces between zero elements one by one; the zeros pass through.
template <typename TParser, typename TFrom, typename TConvert>
auto ConvertPieces(const TFrom& text, int codePage, TConvert convert) {
  using TChar = typename TFrom::value_type;
  if (IsUtf16CodePage(codePage) || !HasZero(text))
    return convert(text, codePage);
  decltype(convert(text, codePage)) result;
  TParser parser(text, qkNone, TChar(0));
  while (!parser.Eof()) {
    result += convert(parser.NextToken(), codePage);
    if (!parser.Eof() || text.back() == TChar(0))
      result.push_back(0);
  }
  return result;
}

// ICU's collation library, loaded when the first collator is asked for: a run that
// compares nothing does not map it. Its functions under ICU's versioned names.
#define SV_ICU_SYMBOL_TEXT(name) #name
#define SV_ICU_SYMBOL(name) SV_ICU_SYMBOL_TEXT(name)
struct TSvCollation {
  decltype(&::ucol_open) Open = nullptr;
  decltype(&::ucol_close) Close = nullptr;
  decltype(&::ucol_strcoll) StrColl = nullptr;
};

// Null when the library or one of its functions is missing. Kept loaded to the end.
const TSvCollation* Collation() {
  static const TSvCollation* const collation = []() -> const TSvCollation* {
    void* library = nullptr;
    for (const char* name : {"libicui18n.so." SV_ICU_SYMBOL(U_ICU_VERSION_MAJOR_NUM), "libicui18n.so"})
      if ((library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)))
        break;
    if (!library)
      return nullptr;
    static TSvCollation functions;
    functions.Open = reinterpret_cast<decltype(functions.Open)>(
        ::dlsym(library, SV_ICU_SYMBOL(ucol_open)));
    functions.Close = reinterpret_cast<decltype(functions.Close)>(
        ::dlsym(library, SV_ICU_SYMBOL(ucol_close)));
    functions.StrColl = reinterpret_cast<decltype(functions.StrColl)>(
        ::dlsym(library, SV_ICU_SYMBOL(ucol_strcoll)));
    if (!functions.Open || !functions.Close || !functions.StrColl)
      return nullptr;
    return &functions;
  }();
  return collation;
}

// Collators by locale identifier, opened once.
struct TSvCollatorClose {
  void operator()(UCollator* collator) const { Collation()->Close(collator); }
};
std::unique_ptr<std::map<std::uint32_t, std::unique_ptr<UCollator, TSvCollatorClose>>> GCollators;

// The collator of a locale (0: the user's locale); null when ICU has none for it.
UCollator* CollatorOf(std::uint32_t locale) {
  if (!GCollators)
    GCollators = std::make_unique<decltype(GCollators)::element_type>();
  auto found = GCollators->find(locale);
  if (found != GCollators->end())
    return found->second.get();
  std::string name;
  UErrorCode error = U_ZERO_ERROR;
  if (locale == 0) {
    name = uloc_getDefault();
  } else {
    char buffer[ULOC_FULLNAME_CAPACITY] = {};
    const int32_t length = uloc_getLocaleForLCID(locale, buffer, sizeof buffer, &error);
    if (U_SUCCESS(error) && length > 0)
      name.assign(buffer, static_cast<std::size_t>(length));
  }
  UCollator* collator = nullptr;
  const TSvCollation* collation = Collation();
  if (!name.empty() && collation) {
    error = U_ZERO_ERROR;
    collator = collation->Open(name.c_str(), &error);
    if (U_FAILURE(error)) {
      collation->Close(collator);
      collator = nullptr;
    }
  }
  GCollators->emplace(locale, collator);
  return collator;
}

// -1, 0, +1, or -2 when the locale has no collation.
int Collate(const std::u16string& s1, const std::u16string& s2, std::uint32_t locale) {
  const std::lock_guard lock(CodePageLock()); // the collators are opened on first use
  UCollator* collator = CollatorOf(locale);
  if (!collator)
    return -2;
  // Explicit lengths, so that zero units take part.
  if (s1.size() <= INT32_MAX && s2.size() <= INT32_MAX) {
    switch (Collation()->StrColl(collator, s1.data(), static_cast<int32_t>(s1.size()), s2.data(),
                         static_cast<int32_t>(s2.size()))) {
    case UCOL_LESS:
      return -1;
    case UCOL_GREATER:
      return 1;
    default:
      return 0;
    }
  }
  return -2;
}

std::uint32_t PrimaryOf(std::uint32_t locale) {
  return locale & 0x3FF;
}
std::uint32_t SubLanguageOfId(std::uint32_t locale) {
  return (locale & 0xFFFF) >> 10;
}

} // namespace

std::string WideToAnsi(const std::u16string& text, int codePage) {
  // UTF-8 and UTF-16 are the platform's own, without shared state: readers on
  // several threads do not queue for them.
  if (IsStatelessCodePage(codePage))
    return ConvertPieces<TSvWideParser>(text, codePage, PlatformWideToAnsi);
  const std::lock_guard lock(CodePageLock()); // the service's converters are shared too
  return ConvertPieces<TSvWideParser>(text, codePage, WidePieceToAnsi);
}

std::u16string AnsiToWide(const std::string& text, int codePage) {
  if (IsStatelessCodePage(codePage))
    return ConvertPieces<TSvAnsiParser>(text, codePage, PlatformAnsiToWide);
  const std::lock_guard lock(CodePageLock());
  return ConvertPieces<TSvAnsiParser>(text, codePage, AnsiPieceToWide);
}

namespace {

bool IsInstalledProbe(int codePage) {
  return IsPlatformCodePage(codePage);
}

bool IsServiceProbe(int codePage) {
  TSvLang* service = SvLang();
  if (!service)
    return false;
  try {
    return service->SupportsCodePage(codePage);
  } catch (...) {
    // A failing service is only turned off; the flags learned so far stay.
    service->SetAvailable(false);
    return false;
  }
}

} // namespace

void InitCodePageSupport() {
  StartPlatformConvert();
  for (TSvCodePageData& row : CodePageTable())
    row.Support = 0;
  // The flags are learned when first asked for: asking every code page at start
  // would load a conversion module for each.
  SetCodePageSupportProbes(IsInstalledProbe, IsServiceProbe);
}

void FinishCodePageSupport() {
  SetCodePageSupportProbes(nullptr, nullptr);
  GCollators.reset();
  FinishPlatformConvert();
}

bool IsCodePageInstalled(int codePage) {
  // The installed code pages are those of the table that the platform converts.
  return codePage == 0 || (FindCodePage(codePage) && IsPlatformCodePage(codePage));
}

int DefaultAnsiCodePageOfLocale(std::uint32_t locale) {
  const std::uint32_t primary = PrimaryOf(locale);
  const std::uint32_t sub = SubLanguageOfId(locale);
  if (primary == 0x04) // Chinese: Taiwan, Hong Kong and Macao use Big5
    return sub == 1 || sub == 3 || sub == 5 ? 950 : 936;
  const std::string text = GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE);
  int value = 0; // also when the locale gives no text
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value >= 1)
    return value;
  switch (primary) {
  case 0x01: // Arabic
  case 0x29: // Farsi
    return 1256;
  case 0x02: // Bulgarian
  case 0x19: // Russian
  case 0x22: // Ukrainian
  case 0x23: // Belarusian
    return 1251;
  case 0x05: // Czech
  case 0x0E: // Hungarian
  case 0x15: // Polish
  case 0x18: // Romanian
  case 0x1B: // Slovak
  case 0x1C: // Albanian
  case 0x24: // Slovenian
    return 1250;
  case 0x08:
    return 1253; // Greek
  case 0x0D:
    return 1255; // Hebrew
  case 0x11:
    return 932; // Japanese
  case 0x12:
    return 949; // Korean
  case 0x1E:
    return 874; // Thai
  case 0x1F:
    return 1254; // Turkish
  case 0x25:     // Estonian
  case 0x26:     // Latvian
  case 0x27:     // Lithuanian
    return 1257;
  case 0x2A:
    return 1258; // Vietnamese
  case 0x1A:     // Croatian and Serbian: Latin for sublanguages 1 and 2
    return sub == 1 || sub == 2 ? 1250 : 1251;
  case 0x2C: // Azeri
  case 0x43: // Uzbek
    return sub == 2 ? 1251 : 1254;
  default:
    return 1252;
  }
}

int CompareAnsiText(const std::string& s1, const std::string& s2, std::uint32_t locale,
                    bool /*ignoreCase*/) {
  // The bytes are text in the locale's code page (the system code page for locale 0).
  const int codePage = locale == 0 ? 0 : DefaultAnsiCodePageOfLocale(locale);
  return Collate(AnsiToWide(s1, codePage), AnsiToWide(s2, codePage), locale);
}

int CompareWideText(const std::u16string& s1, const std::u16string& s2, std::uint32_t locale,
                    bool /*ignoreCase*/) {
  const int result = Collate(s1, s2, locale);
  if (result == -2)
    throw ESvError(
        SvFormat(SvTr("Locale (%0:d) based sorting of \"%1:s\" and \"%2:s\" failed"),
                 {static_cast<long long>(locale), WideToAnsi(s1, 0), WideToAnsi(s2, 0)}));
  return result;
}

bool IsWindowsNT() {
  return true;
}

std::string ProgramPath() {
  // The arguments stand separated by zero bytes; the first is the program. Read
  // without a stream, whose locale costs more than the read.
  std::string text;
  const int fd = ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.find('\0') != std::string::npos)
      break;
  }
  ::close(fd);
  return text.substr(0, text.find('\0'));
}

} // namespace sv
