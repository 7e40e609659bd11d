// The built-in tables of scripts, code pages, encodings, charsets and locales,
// and the lookups that scan them. Every scan starts at the first row and the
// first match wins, so row order is data.
#pragma once

#include <mutex>

#include <cstdint>
#include <span>
#include <string>

namespace sv {

using TSvScript = std::uint8_t; // index into ScriptTable; 0 = not set

struct TSvScriptData {
  const char* Name;
  const char* Identifier;
  const char* Abbreviation;
};

// Encoding kinds: the ten columns of the encoding group table.
enum TSvEncodingKind : std::uint8_t {
  ekUtf8 = 0,
  ekUtf16LE = 1,
  ekUtf16BE = 2,
  ekUnicodeEscape = 3,
  ekWindows = 4,
  ekIso = 5,
  ekMac = 6,
  ekOem = 7,
  ekEbcdic = 8,
  ekOther = 9
};

struct TSvEncodingData {
  const char* Name;
  const char* Description; // localizable; see EncodingDescription
  std::int32_t Kind;
};

// The support flags of a code page. Each is learned when first asked for, through
// the probes set at program start, and cannot change during a run.
enum TSvCodePageSupportFlag : std::uint8_t { cpsInstalled = 1, cpsService = 2 };
using TSvCodePageSupport = std::uint8_t; // a set of TSvCodePageSupportFlag

struct TSvCodePageData {
  TSvScript Script;
  std::int32_t CodePage;
  const char* Name;        // the encoding's internet name
  const char* Description; // localizable; see CodePageDescription
  std::uint8_t Kind;       // TSvEncodingKind
  TSvCodePageSupport Support;
};

using TSvEncodingGroup = const char* const[10]; // names by encoding kind; "" is empty

struct TSvCharsetData {
  const char* Name;
  std::int32_t Value;
};

struct TSvCharsetCodePage {
  std::int32_t Charset;
  std::int32_t CodePage;
  std::int32_t RightToLeft;
};

struct TSvLocaleData {
  const char* LanguageName; // localizable English texts; see the *NameOf lookups
  const char* CountryName;
  const char* VariantName;
  const char* Language;
  const char* Country;
  const char* Variant;
  TSvScript Script;
  std::uint8_t Encodings; // index into EncodingGroupTable
  std::int32_t PrimaryLanguage;
  std::int32_t SubLanguage;
  const char* Abbreviation;
  std::uint8_t Charset;
  std::uint8_t PalmLanguage;
  std::uint8_t PalmCountry;
  std::uint8_t SymbianLanguage;
  const char* SymbianCode;
  const char* OracleAbbreviation;
  const char* OracleLanguage;
  const char* OracleTerritory;
};

struct TNLSData {
  const char* Name;
  std::int32_t Value;
};

// The tables. LocaleTable includes its terminating row (empty Language).
std::span<const TSvScriptData> ScriptTable();
std::span<const TSvEncodingData> UnicodeEncodingTable();
std::span<TSvCodePageData> CodePageTable(); // Support: read it through CodePageSupport
std::span<const TSvEncodingGroup> EncodingGroupTable();
std::span<const TSvCharsetData> CharsetTable();
std::span<const TSvCharsetCodePage> CharsetCodePageTable();
std::span<const TSvLocaleData> LocaleTable();
std::span<const TNLSData> LanguageConstantTable();
std::span<const TNLSData> SublanguageConstantTable();

// Loads the localizable texts from the string table (program start) and releases them.
void LoadLocaleTableNames();
void ReleaseLocaleTableNames();
// The loaded (translated) texts of a row's localizable fields.
const std::string& CodePageDescription(const TSvCodePageData& row);
const std::string& EncodingDescription(const TSvEncodingData& row);
const std::string& LanguageNameOfRow(const TSvLocaleData& row);
const std::string& CountryNameOfRow(const TSvLocaleData& row);
const std::string& VariantNameOfRow(const TSvLocaleData& row);

// Lookups on the code page and script tables; none is nullptr.
const TSvCodePageData* FindCodePage(int codePage);
const TSvCodePageData* FindCodePageByName(const std::string& name);
int CodePageOfName(const std::string& name);
TSvScript ScriptOfCodePage(int codePage);
// The support flags of codePage, learned through the probes on first use.
TSvCodePageSupport CodePageSupport(int codePage);
// Installed: no; service: yes. The service is not asked for an installed code page.
bool IsServiceOnlyCodePage(int codePage);
// Whether the platform (the service) converts a code page; each is asked once per
// code page. Setting them (null: learn nothing) forgets what was learned.
using TSvCodePageProbe = bool (*)(int codePage);
void SetCodePageSupportProbes(TSvCodePageProbe installed, TSvCodePageProbe service);

// The support flags, the platform's converters and the conversion service learn on
// first use and are shared by every thread; their entry points hold this lock.
std::recursive_mutex& CodePageLock();
void MarkCodePageSupport(int codePage, TSvCodePageSupportFlag flag);
int FirstCodePageOfScript(TSvScript script);
bool HasWindowsCodePage(TSvScript script);
std::string ScriptAbbreviation(TSvScript script);
TSvScript ScriptOfAbbreviation(const std::string& text, TSvScript defaultScript);
int CharsetOfCodePage(int codePage);
int CharsetOfScript(TSvScript script);

// Lookups on the locale table.
const TSvLocaleData* FindLocale(const std::string& language, const std::string& country,
                                const std::string& variant, TSvScript script);
const TSvLocaleData* FindLocaleById(int primary, int sublanguage);
bool IsUnknownLanguageId(int primary, int sublanguage);
TSvScript DefaultScriptOf(const std::string& language, const std::string& country,
                          const std::string& variant);
int DefaultAnsiCodePageOf(const std::string& language, TSvScript script, const std::string& country,
                          const std::string& variant);
std::string LanguageCodeOf(int primary);
int PrimaryLanguageOf(const std::string& language);
std::string CountryCodeOf(int primary, int sublanguage);
bool LocalePartsOf(int primary, int sublanguage, std::string& country, TSvScript& script,
                   std::string& variant);
int SubLanguageOf(const std::string& language, const std::string& country, int primary,
                  const std::string& variant, TSvScript script);
std::uint16_t LanguageIdOf(const std::string& language, const std::string& country,
                           TSvScript script, const std::string& variant);
std::string LanguageNameOf(const std::string& language, TSvScript script,
                           const std::string& variant);
std::string CountryNameOf(const std::string& language, const std::string& country,
                          TSvScript script);

} // namespace sv
