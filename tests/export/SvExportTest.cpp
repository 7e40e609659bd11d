// The PO writer over generated dictionaries: the catalogs keep every row's
// translation under a key of its own. (Every format's texts are read back by
// independent readers in tests/export_readers.)
#include "export/SvPoWriter.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

using namespace sv;
using namespace sv::test;

namespace {

// A dictionary of random shape; texts drawn from pieces that need every escape.
TSvqTestFile RandomDictionary(std::mt19937& random, const std::vector<std::u16string>& pieces) {
  TSvqTestFile file;
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  file.Version = static_cast<std::uint8_t>(1 + pick(3));
  file.ByteOrder = static_cast<std::uint8_t>(pick(2));
  file.CharacterSet = static_cast<std::uint8_t>(pick(3));
  file.Byte5InVersion1 = file.CharacterSet;
  file.ContextKind = static_cast<std::uint8_t>(pick(4));
  const std::pair<const char*, const char*> codes[] = {{"de", "DE"}, {"en", "US"}, {"", ""}, {"de", "12"}};
  const int languages = pick(4);
  // No language: the header counts none, record 0 is still there.
  if (languages == 0)
    file.LanguageCount = 0;
  for (int i = 0; i < std::max(languages, 1); ++i) {
    TSvqTestLanguage& language = file.Languages.emplace_back();
    std::tie(language.LanguageCode, language.CountryCode) = codes[pick(4)];
    language.Name = "Name \xC3\xA4 \"" + std::to_string(i);
  }
  auto text = [&] {
    std::u16string t;
    for (int n = pick(4); n > 0; --n)
      t += pieces[pick(static_cast<int>(pieces.size()))];
    return t;
  };
  for (int r = pick(25); r > 0; --r) {
    TSvqTestRow& row = file.Rows.emplace_back();
    for (int i = 0; i < languages; ++i)
      row.Texts.push_back(text());
    row.FormType = text();
    row.ComponentName = text();
  }
  file.Information.Description = "Desc\n\"x\"";
  file.Information.Owner = "Ann";
  return file;
}

struct TPoEntry {
  std::string Context, Id, Text; // ASCII: the PO test's texts are
  bool HasContext = false, Fuzzy = false;
};

// The entries of a catalog whose strings hold only \n, \" and \\ escapes.
std::vector<TPoEntry> ReadPo(std::istringstream in) {
  std::vector<TPoEntry> entries(1);
  std::string line, *field = nullptr;
  while (std::getline(in, line)) {
    if (line.empty())
      entries.emplace_back(), field = nullptr;
    else if (line == "#, fuzzy")
      entries.back().Fuzzy = true;
    else if (line.starts_with("msgctxt "))
      field = &entries.back().Context, entries.back().HasContext = true;
    else if (line.starts_with("msgid "))
      field = &entries.back().Id;
    else if (line.starts_with("msgstr "))
      field = &entries.back().Text;
    if (!field || line.back() != '"')
      continue;
    for (std::size_t i = line.find('"') + 1; i + 1 < line.size(); ++i)
      *field += line[i] != '\\' ? line[i] : line[++i] == 'n' ? '\n' : line[i];
  }
  return entries;
}

TEST(SvExportPo, RepeatedKeysAreMergedOrToldApartAndNoTranslationIsLost) {
  // Few pieces: sources and contexts repeat, and line breaks at the ends differ.
  std::mt19937 random(4);
  TSvTempDir folder;
  for (int round = 0; round < 150; ++round) {
    TSvqTestFile file = RandomDictionary(random, {u"a", u"\n", u"|", u"\"", u"\\"});
    if (file.LanguageCount)
      continue;
    // Keys and translations from short lists, so that they repeat.
    const std::u16string some[] = {u"", u"a", u"\na", u"a\n", u"|"};
    for (TSvqTestRow& row : file.Rows) {
      row.Texts.front() = some[random() % 5];
      row.Texts.back() = some[random() % 4];
      row.FormType = some[random() % 3], row.ComponentName = some[random() % 2 * 4];
    }
    const std::string path = folder.File("p" + std::to_string(round) + ".svq");
    file.Save(path);
    TSvExportSource source(path);
    TSvExportOptions options;
    options.Target = static_cast<int>(file.Languages.size()) - 1;
    TSvExportStringSink sink;
    const TSvPoCounts counts = WritePo(source, options, sink);
    const std::string trace = "round " + std::to_string(round) + "\n" + sink.Text;
    std::vector<TPoEntry> entries = ReadPo(std::istringstream(sink.Text));
    EXPECT_TRUE(entries[0].Id.empty() && !entries[0].HasContext) << "the header first\n" << trace;
    entries.erase(entries.begin());
    std::set<std::pair<std::string, std::string>> keys;
    for (const TPoEntry& entry : entries)
      EXPECT_TRUE(!entry.Id.empty() && keys.insert({entry.HasContext ? "\1" + entry.Context : "", entry.Id}).second)
          << trace;
    // Each row with a source has its entry; the entries are the distinct
    // (context, source, translation) of those rows.
    std::set<std::tuple<std::string, std::string, std::string>> distinct;
    int emptySources = 0;
    for (std::size_t r = 0; r < file.Rows.size(); ++r) {
      const TSvqTestRow& row = file.Rows[r];
      const std::string id(row.Texts[0].begin(), row.Texts[0].end());
      // One language: the template, without translations.
      const std::u16string& target = row.Texts[options.Target];
      const std::string text = options.Target > 0 ? std::string(target.begin(), target.end()) : "";
      emptySources += id.empty();
      std::u16string context = file.ContextKind == 2 ? row.ComponentName : file.ContextKind == 3 ? row.FormType : u"";
      if (file.ContextKind == 1 && (!row.FormType.empty() || !row.ComponentName.empty()))
        context = row.FormType + u"|" + row.ComponentName;
      const std::string own(context.begin(), context.end());
      if (id.empty() || !distinct.insert({own, id, text}).second)
        continue;
      const std::string tagged = (own.empty() ? "" : own + " ") + "[row " + std::to_string(r) + "]";
      const auto found = std::find_if(entries.begin(), entries.end(), [&](const TPoEntry& e) {
        return e.Id == id && e.Text == text && (e.Context == own || e.Context == tagged);
      });
      ASSERT_NE(found, entries.end()) << "row " << r << "\n" << trace;
      const bool breaksDiffer = !text.empty() && ((id.front() == '\n') != (text.front() == '\n') ||
                                                  (id.back() == '\n') != (text.back() == '\n'));
      EXPECT_EQ(found->Fuzzy, breaksDiffer) << "row " << r << "\n" << trace;
    }
    EXPECT_EQ(entries.size(), distinct.size()) << trace;
    EXPECT_EQ(counts.EmptySources, emptySources) << trace;
  }
}

} // namespace
