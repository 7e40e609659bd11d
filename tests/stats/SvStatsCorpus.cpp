#include "tests/stats/SvStatsCorpus.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

namespace sv::test {

namespace {

const std::u16string kTexts[] = {
    u"", u"", u"&File", u"Save &As...", u"Tom && Jerry", u"100 files in 3.5 s", u"&&&x",
    u"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8", u"\u4E2D\u6587\u6587\u672C\u6D4B\u8BD5",
    u"\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440", u"emoji \U0001F600 here",
    u"a_b c-d, e.g. don't", u"\t\n -- !", u"\u00DCn\u00EFc\u00F6d\u00E9 w\u00F6rds",
    u"\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22", u"x\xD800y", u"&", u"Open", u"E&xit", u"R&&D a&&b"};

struct TPoolLanguage {
  std::uint16_t Primary;
  const char* Code;
  std::uint16_t Sub;
  const char* Country;
  std::uint16_t CodePage;
};
const TPoolLanguage kLanguages[] = {{9, "en", 1, "US", 1252},  {7, "de", 1, "DE", 1252},
                                    {12, "fr", 1, "FR", 1252}, {17, "ja", 1, "JP", 932},
                                    {4, "zh", 2, "CN", 936},   {25, "ru", 1, "RU", 1251},
                                    {8, "el", 1, "GR", 1253}};

} // namespace

std::vector<TCorpusFile> MakeCorpus(const std::string& folder, unsigned seed, int count) {
  namespace fs = std::filesystem;
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  fs::create_directories(folder + "/sub/deeper");
  std::vector<TCorpusFile> corpus;
  for (int i = 0; i < count; ++i) {
    TCorpusFile& entry = corpus.emplace_back();
    const char* where[] = {"/", "/sub/", "/sub/deeper/"};
    entry.Path = folder + where[i % 3] + "d" + std::to_string(i) + (i % 5 == 4 ? ".SVQ" : ".svq");
    TSvqTestFile& file = entry.File;
    file.Version = static_cast<std::uint8_t>(1 + pick(3));
    file.ByteOrder = static_cast<std::uint8_t>(pick(2));
    file.CharacterSet = static_cast<std::uint8_t>(pick(3));
    file.ContextKind = static_cast<std::uint8_t>(pick(4));
    std::vector<int> order(std::size(kLanguages));
    for (std::size_t k = 0; k < order.size(); ++k)
      order[k] = static_cast<int>(k);
    std::shuffle(order.begin(), order.end(), random);
    const int languages = i == 0 ? 1 : 1 + pick(5);
    for (int k = 0; k < languages; ++k) {
      const TPoolLanguage& pool = kLanguages[order[k]];
      TSvqTestLanguage& language = file.Languages.emplace_back();
      language.Primary = pool.Primary;
      language.LanguageCode = pool.Code;
      language.Sublanguage = pool.Sub;
      language.CountryCode = pool.Country;
      language.CodePage = pool.CodePage;
      language.Name = std::string("Lang ") + pool.Code + (k % 2 ? ", \"quoted\" <b>" : "");
      language.NativeName = language.Name;
    }
    const int rows = i == 1 ? 0 : pick(40);
    for (int r = 0; r < rows; ++r) {
      TSvqTestRow& row = file.Rows.emplace_back();
      const std::u16string& source = kTexts[pick(static_cast<int>(std::size(kTexts)))];
      row.Texts.push_back(source);
      for (int k = 1; k < languages; ++k) {
        const int kind = pick(10);
        row.Texts.push_back(kind < 3 ? u"" : kind < 5 ? source : kTexts[pick(static_cast<int>(std::size(kTexts)))]);
      }
      row.FormType = u"TForm" + std::u16string(1, static_cast<char16_t>(u'A' + r % 3));
      row.ComponentName = u"Item";
    }
    file.Save(entry.Path);
  }
  TCorpusFile& broken = corpus.emplace_back();
  broken.Path = folder + "/sub/broken.svq";
  broken.File = corpus[2].File;
  broken.File.TruncateTo = 40;
  broken.Broken = true;
  broken.File.Save(broken.Path);
  // Skipped: another name, and links to a dictionary and to a folder.
  corpus[0].File.Save(folder + "/sub/notes.txt");
  fs::create_symlink(fs::absolute(corpus[0].Path), folder + "/link.svq");
  fs::create_directory_symlink(fs::absolute(folder + "/sub"), folder + "/sub/deeper/loop");
  return corpus;
}

namespace {

// Words as UAX #29 segments them: segments with a letter or a decimal digit, the
// accelerator markers taken out first.
std::uint64_t Words(const std::u16string& text) {
  icu::UnicodeString plain(false, text.data(), static_cast<int32_t>(text.size()));
  plain.findAndReplace(u"&&", u"\uE000");
  plain.findAndReplace(u"&", u"");
  plain.findAndReplace(u"\uE000", u"&");
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> words(
      icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), error));
  words->setText(plain);
  std::uint64_t count = 0;
  for (int32_t start = words->first(), end = words->next(); end != icu::BreakIterator::DONE;
       start = end, end = words->next()) {
    for (int32_t i = start; i < end; i = plain.moveIndex32(i, 1))
      if (U_GET_GC_MASK(plain.char32At(i)) & (U_GC_L_MASK | U_GC_ND_MASK)) {
        ++count;
        break;
      }
  }
  return count;
}

} // namespace

double Percent(std::uint64_t translated, std::uint64_t total) {
  return total == 0 ? 100.0 : static_cast<double>(translated * 1000 / total) / 10.0;
}

nlohmann::json ExpectedStats(const TSvqTestFile& file, std::size_t sourceColumn) {
  nlohmann::json result = nlohmann::json::array();
  for (std::size_t c = 0; c < file.Languages.size(); ++c) {
    if (c == sourceColumn)
      continue;
    std::uint64_t total = 0, translated = 0, same = 0, words = 0, translatedWords = 0;
    for (const TSvqTestRow& row : file.Rows) {
      const std::u16string& source = row.Texts[sourceColumn];
      if (source.empty())
        continue;
      const std::uint64_t count = Words(source);
      ++total;
      words += count;
      if (!row.Texts[c].empty()) {
        ++translated;
        translatedWords += count;
        same += row.Texts[c] == source;
      }
    }
    result.push_back({{"name", file.Languages[c].Name}, {"total", total}, {"translated", translated},
                      {"untranslated", total - translated}, {"same_as_source", same},
                      {"total_words", words}, {"translated_words", translatedWords},
                      {"percent", Percent(translated, total)}});
  }
  return result;
}

} // namespace sv::test
