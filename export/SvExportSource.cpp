#include "export/SvExportSource.h"

#include "export/SvExportCodes.h"
#include "export/SvExportText.h"
#include "language/SvLanguage.h"
#include "locale/SvConvert.h"
#include "locale/SvPlatformConvert.h"
#include "svq/SvSvqFormat.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace sv {

namespace {

// The code page of a language's 8-bit strings: the one its record stores, when this
// system converts it; else the one the language model derives from its codes.
int OwnCodePage(const TSvSvqLanguageStrings& strings) {
  if (strings.StoredCodePage != 0 && IsPlatformCodePage(strings.StoredCodePage))
    return strings.StoredCodePage;
  return strings.CodePage;
}

} // namespace

std::size_t TSvReplacements::Total() const {
  std::size_t total = 0;
  for (const auto& [where, count] : FCounts)
    total += count;
  return total;
}

TSvExportSource::TSvExportSource(const std::string& fileName) : FFileName(fileName) {
  FFile.Open(fileName);
  const int count = FFile.LanguageCount();
  std::vector<std::string> ids;
  int firstCodePage = 0; // the information block's 8-bit text is in this code page
  FFile.SeekLanguages();
  for (int i = 0; i < count; ++i) {
    const TSvProjectLanguage* language = FFile.ReadNextLanguage();
    TSvExportLanguage& entry = FLanguages.emplace_back();
    entry.Index = i;
    entry.Id = language->GetId();
    entry.Name = DecodeString(FFile.LanguageStrings().Name, OwnCodePage(FFile.LanguageStrings()));
    // No stored name: the one derived from the codes, as the report prints it.
    if (entry.Name.empty())
      AppendUtf8Replacing(language->Name, entry.Name);
    if (i == 0)
      firstCodePage = OwnCodePage(FFile.LanguageStrings());
    ids.push_back(entry.Id);
  }
  // Version 1 records carry no codes: their ids are derived, not stored.
  if (FFile.Version() < 2)
    for (std::string& id : ids)
      id.clear();
  const std::vector<std::string> tags = UniqueLanguageTags(ids);
  for (int i = 0; i < count; ++i)
    FLanguages[i].Code = tags[i];

  const TSvSvqInformation information = FFile.ReadInformationStrings();
  FInformation.Present = information.Present;
  FInformation.Description = DecodeString(information.Description, firstCodePage);
  FInformation.Owner = DecodeString(information.Owner, firstCodePage);
  for (const TSvSvqString& user : information.Users)
    FInformation.Users.push_back(DecodeString(user, firstCodePage));
  FInformation.Time = information.Time;
}

std::string TSvExportSource::DecodeString(const TSvSvqString& text, int codePage) {
  std::string result;
  std::size_t replaced = 0;
  if (text.Wide) {
    replaced = AppendUtf8Replacing(text.Units, result);
  } else if (FFile.CharacterSet() == csUtf8 || codePage == 65001) {
    replaced = AppendValidUtf8(text.Bytes, result);
  } else if (codePage != 0 && IsPlatformCodePage(codePage)) {
    const std::u16string wide = AnsiToWide(text.Bytes, codePage);
    // A single-byte or double-byte code page holds no U+FFFD of its own: each one
    // stands for bytes that did not convert.
    for (char16_t unit : wide)
      replaced += unit == 0xFFFD;
    AppendUtf8Replacing(wide, result);
  } else {
    // No code page to read the bytes in: ASCII stays, other bytes are replaced.
    for (char c : text.Bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        result += c;
      } else {
        result += "\xEF\xBF\xBD";
        ++replaced;
      }
    }
  }
  FReplacements.Add(-1, -1, replaced);
  return result;
}

std::string TSvExportSource::BaseName() const {
  std::string name = FFileName;
  const std::size_t slash = name.find_last_of('/');
  if (slash != std::string::npos)
    name.erase(0, slash + 1);
  if (name.size() > 4) {
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
      if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c - 'A' + 'a');
    if (tail == ".svq")
      name.erase(name.size() - 4);
  }
  return name;
}

bool TSvExportSource::HasFormType() const {
  return sv::HasFormType(FFile.ContextKind());
}

bool TSvExportSource::HasComponentName() const {
  return sv::HasComponentName(FFile.ContextKind());
}

int TSvExportSource::FindLanguage(std::string_view code) const {
  for (const TSvExportLanguage& language : FLanguages)
    if (SameCode(language.Code, code) || (!language.Id.empty() && SameCode(language.Id, code)))
      return language.Index;
  return -1;
}

std::string IsoDateTime(double time) {
  using namespace std::chrono;
  if (time == 0)
    return {};
  double whole = std::floor(time);
  long long seconds = std::llround((time - whole) * 86400.0);
  if (seconds >= 86400) {
    whole += 1;
    seconds -= 86400;
  }
  const year_month_day date(sys_days(1899y / December / 30) + days(static_cast<long long>(whole)));
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

} // namespace sv
