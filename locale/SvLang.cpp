#include "locale/SvLang.h"

#include "locale/SvCodePageNames.h"
#include "locale/SvLocaleTables.h"
#include "text/SvErrors.h"
#include "text/SvStrings.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>

namespace sv {

namespace {

std::unique_ptr<TSvLang> GLang;

// ICU refuses ranges beyond the int32 number range; long texts go in slices.
constexpr std::size_t kSlice = std::size_t{1} << 24;
constexpr std::size_t kMaxTarget = 0x7fffffff;

// Invalid or unmapped bytes become U+FFFD (ICU's own choice is U+001A for some
// single-byte code pages).
void ToUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* error) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR)
    return;
  static constexpr UChar kReplacement = 0xFFFD;
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
}

// Sets the substitutes: "?" in the code page for what it cannot hold, U+FFFD for
// invalid input.
bool SetSubstitutes(UConverter* converter) {
  UErrorCode error = U_ZERO_ERROR;
  static constexpr UChar kQuestion[] = {u'?'};
  ucnv_setSubstString(converter, kQuestion, 1, &error);
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &error);
  ucnv_setToUCallBack(converter, ToUnicodeReplacement, nullptr, nullptr, nullptr, &error);
  return U_SUCCESS(error);
}

// ICU's 720 follows IBM's rotation of three controls (byte 1A reads U+001C, 1C
// U+007F, 7F U+001A); in the platform's table they read as themselves. The
// characters are mapped on the UTF-16 side, in both directions.
constexpr int kArabicDos = 720;

char16_t FromIbmControl(char16_t c) {
  switch (c) {
  case 0x1C:
    return 0x1A;
  case 0x7F:
    return 0x1C;
  case 0x1A:
    return 0x7F;
  default:
    return c;
  }
}

char16_t ToIbmControl(char16_t c) {
  switch (c) {
  case 0x1A:
    return 0x1C;
  case 0x1C:
    return 0x7F;
  case 0x7F:
    return 0x1A;
  default:
    return c;
  }
}

// Grows out so that at least a few units are free beyond used.
template <typename S> void Reserve(S& out, std::size_t used) {
  if (out.size() - used < 8)
    out.resize(out.size() * 2 + 64);
}

} // namespace

void TSvLang::TSvConverterClose::operator()(UConverter* converter) const {
  ucnv_close(converter);
}

TSvLang::TSvLang() = default;
TSvLang::~TSvLang() = default;

UConverter* TSvLang::Initialize(int codePage) {
  auto found = FConverters.find(codePage);
  if (found != FConverters.end()) {
    FLastResult = found->second ? kSvOk : kSvFalse;
    return found->second.get();
  }
  FLastResult = kSvFalse;
  TSvConverter converter;
  for (const std::string& name : IcuNamesOf(codePage)) {
    UErrorCode error = U_ZERO_ERROR;
    converter.reset(ucnv_open(name.c_str(), &error));
    if (U_SUCCESS(error) && converter) {
      FLastResult = SetSubstitutes(converter.get()) ? kSvOk : kSvFail;
      break;
    }
    converter.reset();
    if (error != U_FILE_ACCESS_ERROR) { // the name exists, but ICU cannot load it
      FLastResult = kSvFail;
      break;
    }
  }
  if (FLastResult == kSvFail)
    return nullptr; // not kept: a later call may try again
  return FConverters.emplace(codePage, std::move(converter)).first->second.get();
}

void TSvLang::CheckResult(const char* failureMessage, const char* unknownMessage) {
  if (FLastResult == kSvFail) {
    FAvailable = false;
    throw ESvError(SvTr(failureMessage));
  }
  if (FLastResult == kSvFalse)
    throw ESvError(SvTr(unknownMessage));
}

bool TSvLang::SupportsCodePage(int codePage) {
  UConverter* converter = Initialize(codePage);
  if (FLastResult == kSvFail)
    throw ESvError(""); // the enumeration step failed
  return converter != nullptr;
}

void TSvLang::EnumCodePages(const TSvCodePageCallback& callback) {
  for (const TSvCodePageData& row : CodePageTable()) {
    UConverter* converter = Initialize(row.CodePage);
    if (FLastResult == kSvFail)
      throw ESvError(""); // the enumeration step failed
    if (!converter)
      continue;
    UErrorCode error = U_ZERO_ERROR;
    const std::string name = ucnv_getName(converter, &error);
    const std::string description = SvTr(row.Description);
    if (callback)
      callback(row.CodePage, name, description);
    if (FOnCodePage)
      FOnCodePage(*this, row.CodePage, name, description);
  }
  FLastResult = kSvFalse; // the end of the list
}

std::u16string TSvLang::ConvertToUnicode(const std::string& text, int codePage) {
  UConverter* converter = Initialize(codePage);
  CheckResult(SvN("Could not initialize converter"), SvN("Unknown code page"));
  ucnv_resetToUnicode(converter);
  std::u16string out(text.size() + 16, u'\0');
  std::size_t used = 0;
  const char* source = text.data();
  const char* const end = text.data() + text.size();
  UErrorCode error = U_ZERO_ERROR;
  do {
    const char* sliceEnd = source + std::min<std::size_t>(end - source, kSlice);
    const bool last = sliceEnd == end;
    for (;;) {
      Reserve(out, used);
      UChar* target = out.data() + used;
      UChar* targetEnd = out.data() + std::min(out.size(), used + kMaxTarget / 2);
      error = U_ZERO_ERROR;
      ucnv_toUnicode(converter, &target, targetEnd, &source, sliceEnd, nullptr, last, &error);
      used = static_cast<std::size_t>(target - out.data());
      if (error != U_BUFFER_OVERFLOW_ERROR)
        break;
      out.resize(out.size() * 2);
    }
  } while (U_SUCCESS(error) && source != end);
  FLastResult = U_SUCCESS(error) ? kSvOk : kSvFail;
  CheckResult(SvN("Could convert the string"), SvN("Unknown code page"));
  out.resize(used);
  if (codePage == kArabicDos)
    for (char16_t& c : out)
      c = FromIbmControl(c);
  return out;
}

std::string TSvLang::ConvertFromUnicode(const std::u16string& text, int codePage) {
  UConverter* converter = Initialize(codePage);
  CheckResult(SvN("Could not initialize converter"), SvN("Unknown code page"));
  ucnv_resetFromUnicode(converter);
  std::u16string controls;
  if (codePage == kArabicDos) {
    controls = text;
    for (char16_t& c : controls)
      c = ToIbmControl(c);
  }
  const std::u16string& input = codePage == kArabicDos ? controls : text;
  std::string out(input.size() + 16, '\0');
  std::size_t used = 0;
  const UChar* source = input.data();
  const UChar* const end = input.data() + input.size();
  UErrorCode error = U_ZERO_ERROR;
  do {
    const UChar* sliceEnd = source + std::min<std::size_t>(end - source, kSlice);
    const bool last = sliceEnd == end;
    for (;;) {
      Reserve(out, used);
      char* target = out.data() + used;
      char* targetEnd = out.data() + std::min(out.size(), used + kMaxTarget);
      error = U_ZERO_ERROR;
      ucnv_fromUnicode(converter, &target, targetEnd, &source, sliceEnd, nullptr, last, &error);
      used = static_cast<std::size_t>(target - out.data());
      if (error != U_BUFFER_OVERFLOW_ERROR)
        break;
      out.resize(out.size() * 2);
    }
  } while (U_SUCCESS(error) && source != end);
  FLastResult = U_SUCCESS(error) ? kSvOk : kSvFail;
  CheckResult(SvN("Could convert the string"), SvN("Unknown code page"));
  out.resize(used);
  return out;
}

TSvLang* SvLang() {
  return GLang.get();
}

void StartLangService() {
  GLang = std::make_unique<TSvLang>();
}

void FinishLangService() {
  GLang.reset();
}

} // namespace sv
