// One language record as the SVQ reader decodes it into its project language, for
// the tests and the benchmark of the language model.
#pragma once

#include "language/SvLanguage.h"

#include <string>

namespace sv::test {

struct TLanguageRecord {
  int LanguageId = 0;
  std::string LanguageCode;
  int SublanguageId = 0;
  std::string CountryCode;
  int CodePage = 0;
  std::u16string Name;
  std::u16string NativeName;
};

// The reader's calls for one record, in its order.
inline void DecodeRecord(TSvProjectLanguage& language, const TLanguageRecord& record) {
  language.Clear();
  language.SetLanguageId(record.LanguageId);
  language.SetLanguageCode(record.LanguageCode);
  if (language.GetLanguageId() == 0)
    language.SetLanguageCode(std::string());
  language.SetSublanguageId(record.SublanguageId);
  language.SetCountryCode(record.CountryCode);
  if (language.GetSublanguageId() == 0)
    language.SetCountryCode(std::string());
  language.SetCodePage(record.CodePage);
  language.Name = record.Name;
  // The reader decodes the stored native name in this code page.
  static_cast<void>(language.GetCodePage());
  language.NativeName = record.NativeName;
  language.Update();
}

} // namespace sv::test
