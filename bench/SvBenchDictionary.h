// The dictionaries of the benches: up to 8 languages of generated texts (about a
// third of them not ASCII), rows with a form type and a component name.
#pragma once

#include "tests/support/SvqTestWriter.h"

#include <random>
#include <string>
#include <vector>

namespace sv::bench {

// Texts of 1 to 79 UTF-16 units.
inline std::vector<std::u16string> BenchTexts(std::size_t count) {
  const std::u16string ascii = u"The quick brown fox jumps over the lazy dog, &File Open Save As... %d";
  const std::u16string others[] = {
      u"\u00E9\u00E8\u00E0\u00FC\u00F6\u00DF\u00F1\u00E7",
      u"\u0424\u0430\u0439\u043B \u041E\u0442\u043A\u0440\u044B\u0442\u044C",
      u"\u30D5\u30A1\u30A4\u30EB\u958B\u304F\u4FDD\u5B58\u65E5\u672C",
      u"\u0645\u0644\u0641 \u0641\u062A\u062D \u062D\u0641\u0638", u"\U0001F600\U0001F680"};
  std::mt19937 random(1);
  std::uniform_int_distribution<int> length(1, 79);
  std::uniform_int_distribution<int> kind(0, 14);
  std::vector<std::u16string> texts;
  texts.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const int n = length(random);
    const int k = kind(random);
    std::u16string text;
    const std::u16string& source = k < 10 ? ascii : others[k % 5];
    while (static_cast<int>(text.size()) < n) {
      const char16_t unit = source[text.size() % source.size()];
      const bool high = unit >= 0xD800 && unit < 0xDC00;
      if (high && static_cast<int>(text.size()) + 2 > n)
        break;
      text += unit;
      if (high)
        text += source[text.size() % source.size()];
    }
    if (text.empty())
      text = u"x";
    texts.push_back(std::move(text));
  }
  return texts;
}

inline sv::test::TSvqTestFile BenchDictionary(int languages, int rows, const std::vector<std::u16string>& texts) {
  sv::test::TSvqTestFile file;
  file.Version = 3;
  file.ContextKind = 1;
  const char* codes[] = {"en", "de", "fr", "es", "it", "ru", "ja", "ar"};
  const char* countries[] = {"US", "DE", "FR", "ES", "IT", "RU", "JP", "SA"};
  const std::uint16_t ids[] = {9, 7, 12, 10, 16, 25, 17, 1};
  for (int i = 0; i < languages; ++i) {
    sv::test::TSvqTestLanguage language;
    language.Primary = ids[i % 8];
    language.LanguageCode = codes[i % 8];
    language.Sublanguage = 1;
    language.CountryCode = countries[i % 8];
    language.Name = "Language " + std::to_string(i);
    language.NativeName = language.Name;
    file.Languages.push_back(language);
  }
  std::size_t next = 0;
  for (int r = 0; r < rows; ++r) {
    sv::test::TSvqTestRow row;
    for (int c = 0; c < languages; ++c)
      row.Texts.push_back(texts[next++ % texts.size()]);
    row.FormType = u"TMainForm";
    row.ComponentName = u"Item" + std::u16string(1, static_cast<char16_t>(u'A' + r % 26));
    file.Rows.push_back(std::move(row));
  }
  file.Information.Description = "Benchmark";
  file.Information.Day = 9;
  file.Information.Month = 12;
  file.Information.Year = 2026;
  return file;
}

} // namespace sv::bench
