// Writes the dictionaries of the svq stats benchmark (bench/SvqStatsBench.sh):
// big.svq, 65535 rows x 8 languages as sv_svqpeek_bench makes it, and the folders
// small-500, small-2000 and small-8000 of dictionaries of 20 rows x 4 languages.
#include "tests/support/SvqTestWriter.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using sv::test::TSvqTestFile;
using sv::test::TSvqTestLanguage;

namespace {

// Texts of 1 to 79 UTF-16 units, about a third of them non-ASCII, some empty or
// copied from the source so that every count has something to count.
std::u16string Text(std::mt19937& random) {
  static const std::u16string sources[] = {
      u"The quick brown fox jumps over the lazy dog, &File Open Save As... %d",
      u"\u00E9\u00E8\u00E0\u00FC\u00F6\u00DF\u00F1\u00E7 caf\u00E9 na\u00EFve",
      u"\u0424\u0430\u0439\u043B \u041E\u0442\u043A\u0440\u044B\u0442\u044C",
      u"\u30D5\u30A1\u30A4\u30EB\u958B\u304F\u4FDD\u5B58\u65E5\u672C",
      u"\u0645\u0644\u0641 \u0641\u062A\u062D \u062D\u0641\u0638"};
  const int kind = static_cast<int>(random() % 15);
  const std::u16string& source = sources[kind < 10 ? 0 : kind % 5];
  const std::size_t length = 1 + random() % 79;
  std::u16string text;
  while (text.size() < length)
    text += source[text.size() % source.size()];
  return text;
}

TSvqTestFile Dictionary(int languages, int rows, std::mt19937& random) {
  TSvqTestFile file;
  file.ContextKind = 1;
  const char* codes[] = {"en", "de", "fr", "es", "it", "ru", "ja", "ar"};
  const char* countries[] = {"US", "DE", "FR", "ES", "IT", "RU", "JP", "SA"};
  const std::uint16_t ids[] = {9, 7, 12, 10, 16, 25, 17, 1};
  for (int i = 0; i < languages; ++i) {
    TSvqTestLanguage& language = file.Languages.emplace_back();
    language.Primary = ids[i % 8];
    language.LanguageCode = codes[i % 8];
    language.CountryCode = countries[i % 8];
    language.Name = language.NativeName = "Language " + std::to_string(i);
  }
  for (int r = 0; r < rows; ++r) {
    sv::test::TSvqTestRow& row = file.Rows.emplace_back();
    row.Texts.push_back(Text(random));
    for (int c = 1; c < languages; ++c) {
      const unsigned kind = random() % 10;
      row.Texts.push_back(kind == 0 ? u"" : kind == 1 ? row.Texts[0] : Text(random));
    }
    row.FormType = u"TMainForm";
    row.ComponentName = u"Item" + std::u16string(1, static_cast<char16_t>(u'A' + r % 26));
  }
  return file;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sv_stats_bench_data FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::mt19937 random(1);
  std::filesystem::create_directories(folder);
  Dictionary(8, 65535, random).Save(folder + "/big.svq");
  for (const int count : {500, 2000, 8000}) {
    const std::string sub = folder + "/small-" + std::to_string(count);
    for (int i = 0; i < count; ++i) {
      const std::string dir = sub + "/" + std::to_string(i / 100);
      std::filesystem::create_directories(dir);
      Dictionary(4, 20, random).Save(dir + "/d" + std::to_string(i) + ".svq");
    }
  }
  return 0;
}
