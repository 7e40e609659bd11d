// The multi-language service: conversion of the code pages that only the service
// knows (ISCII, most EBCDIC and several Asian ones), here backed by ICU
// converters. One object is made at program start (StartLangService).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

struct UConverter;

namespace sv {

// Result codes of the service calls.
inline constexpr std::int32_t kSvOk = 0;
inline constexpr std::int32_t kSvFalse = 1; // a code page the service does not know
inline constexpr std::int32_t kSvFail = static_cast<std::int32_t>(0x80004005u);

class TSvLang {
public:
  // Code page, internet name (ICU's name of the converter), description.
  using TSvCodePageCallback = std::function<void(int, const std::string&, const std::string&)>;
  using TSvCodePageEvent =
      std::function<void(TSvLang&, int, const std::string&, const std::string&)>;

  TSvLang();
  ~TSvLang();
  TSvLang(const TSvLang&) = delete;
  TSvLang& operator=(const TSvLang&) = delete;

  // Whether the service converts codePage (its converter is opened and kept);
  // raises the enumeration step's error when the service cannot load it.
  bool SupportsCodePage(int codePage);
  // Lists the code pages of the table that the service converts.
  void EnumCodePages(const TSvCodePageCallback& callback);
  std::u16string ConvertToUnicode(const std::string& text, int codePage);
  std::string ConvertFromUnicode(const std::u16string& text, int codePage);
  // Raises failureMessage on kSvFail (and turns the service off), unknownMessage on kSvFalse.
  void CheckResult(const char* failureMessage, const char* unknownMessage);

  std::int32_t LastResult() const { return FLastResult; }
  void SetLastResult(std::int32_t value) { FLastResult = value; }
  bool Available() const { return FAvailable; }
  void SetAvailable(bool value) { FAvailable = value; }
  const TSvCodePageEvent& OnCodePage() const { return FOnCodePage; }
  void SetOnCodePage(TSvCodePageEvent value) { FOnCodePage = std::move(value); }

private:
  struct TSvConverterClose {
    void operator()(UConverter* converter) const;
  };
  using TSvConverter = std::unique_ptr<UConverter, TSvConverterClose>;

  // The converter of a code page, opened once; sets FLastResult. Null when it failed.
  UConverter* Initialize(int codePage);

  std::int32_t FLastResult = kSvOk;
  bool FAvailable = true;
  std::map<int, TSvConverter> FConverters; // null entries: code pages ICU does not know
  TSvCodePageEvent FOnCodePage;
};

// The one service object; null before StartLangService and after FinishLangService.
TSvLang* SvLang();
void StartLangService();
void FinishLangService();

} // namespace sv
