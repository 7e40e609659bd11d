// The writers over generated dictionaries: the JSON read back gives every text and
// context exactly, and the PO catalogs keep every row's translation under a key of
// its own.
#include "export/SvJsonWriter.h"
#include "export/SvPoWriter.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

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

// Just enough JSON to read the export back: strings become UTF-16.
struct TJson {
  enum { Null, Number, String, Array, Object } Kind = Null;
  double Value = 0;
  std::u16string Text;
  std::vector<TJson> Items;
  std::map<std::string, TJson> Members;
  const TJson& operator[](const std::string& name) const { return Members.at(name); }
};

class TJsonReader {
public:
  explicit TJsonReader(const std::string& text) : FText(text) {}
  TJson Read() {
    Skip();
    TJson value;
    const char c = FText.at(FAt);
    if (c == '{' || c == '[') {
      value.Kind = c == '{' ? TJson::Object : TJson::Array;
      ++FAt;
      Skip();
      while (FText.at(FAt) != (c == '{' ? '}' : ']')) {
        if (c == '{') {
          std::u16string name = Read().Text;
          Skip();
          EXPECT_EQ(FText.at(FAt++), ':');
          value.Members[std::string(name.begin(), name.end())] = Read();
        } else {
          value.Items.push_back(Read());
        }
        Skip();
        if (FText.at(FAt) == ',')
          ++FAt, Skip();
      }
      ++FAt;
    } else if (c == '"') {
      value.Kind = TJson::String;
      for (++FAt; FText.at(FAt) != '"';)
        value.Text += Char();
      ++FAt;
    } else if (FText.compare(FAt, 4, "null") == 0) {
      FAt += 4;
    } else {
      value.Kind = TJson::Number;
      std::size_t used = 0;
      value.Value = std::stod(FText.substr(FAt), &used);
      FAt += used;
    }
    return value;
  }
  bool AtEnd() {
    Skip();
    return FAt == FText.size();
  }

private:
  void Skip() {
    while (FAt < FText.size() && std::isspace(static_cast<unsigned char>(FText[FAt])))
      ++FAt;
  }
  // One escape or one UTF-8 character; raw controls are not JSON.
  std::u16string Char() {
    const auto b = static_cast<unsigned char>(FText.at(FAt++));
    EXPECT_GE(b, 0x20) << "raw control in a string";
    if (b == '\\') {
      const char e = FText.at(FAt++);
      const std::string simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
      if (e == 'u') {
        FAt += 4;
        return std::u16string(1, static_cast<char16_t>(std::stoi(FText.substr(FAt - 4, 4), nullptr, 16)));
      }
      return std::u16string(1, meaning.at(simple.find(e)));
    }
    if (b < 0x80)
      return std::u16string(1, b);
    const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = b & (0x7F >> length);
    for (int k = 1; k < length; ++k)
      c = (c << 6) | (FText.at(FAt++) & 0x3F);
    if (c < 0x10000)
      return std::u16string(1, static_cast<char16_t>(c));
    return {static_cast<char16_t>(0xD7C0 + (c >> 10)), static_cast<char16_t>(0xDC00 | (c & 0x3FF))};
  }
  const std::string& FText;
  std::size_t FAt = 0;
};

const std::vector<std::u16string> kAllPieces = {
    u"a", u"\"", u"\\", u"\n", u"\r", u"\t", u"&<>", u"\u00E4", u"\u65E5", u"\U0001F600",
    std::u16string(1, u'\0'), u"\x01\x1F\x7F", u"\xD800", u"\xDC00", u"\uFFFE", u"/"};

TEST(SvExportJson, ReadBackGivesEveryTextAndContextOfGeneratedDictionaries) {
  std::mt19937 random(19);
  TSvTempDir folder;
  for (int round = 0; round < 150; ++round) {
    const TSvqTestFile file = RandomDictionary(random, kAllPieces);
    const std::string path = folder.File("d" + std::to_string(round) + ".svq");
    file.Save(path);
    TSvExportSource source(path);
    TSvStringSink sink;
    WriteJson(source, {}, sink);
    const std::string trace = "round " + std::to_string(round) + "\n" + sink.Text;
    TJsonReader reader(sink.Text);
    const TJson json = reader.Read();
    ASSERT_TRUE(reader.AtEnd()) << trace;
    EXPECT_EQ(json["version"].Value, file.Version) << trace;
    const std::size_t languages = file.LanguageCount ? 0 : file.Languages.size();
    ASSERT_EQ(json["languages"].Items.size(), languages) << trace;
    std::set<std::u16string> codes;
    for (const TJson& language : json["languages"].Items)
      codes.insert(language["code"].Text);
    EXPECT_EQ(codes.size(), languages) << "codes are unique\n" << trace;
    ASSERT_EQ(json["rows"].Items.size(), file.Rows.size()) << trace;
    for (std::size_t r = 0; r < file.Rows.size(); ++r) {
      const TJson& row = json["rows"].Items[r];
      EXPECT_EQ(row["index"].Value, r) << trace;
      ASSERT_EQ(row["texts"].Items.size(), languages) << trace;
      for (std::size_t c = 0; c < languages; ++c)
        EXPECT_EQ(row["texts"].Items[c].Text, file.Rows[r].Texts[c]) << trace;
      // The context follows the text of language 0.
      const bool formType = languages > 0 && (file.ContextKind == 1 || file.ContextKind == 3);
      const bool componentName = languages > 0 && (file.ContextKind == 1 || file.ContextKind == 2);
      EXPECT_EQ(row["form_type"].Kind, formType ? TJson::String : TJson::Null) << trace;
      EXPECT_EQ(row["form_type"].Text, formType ? file.Rows[r].FormType : u"") << trace;
      EXPECT_EQ(row["component_name"].Text, componentName ? file.Rows[r].ComponentName : u"") << trace;
    }
    EXPECT_EQ(json["information"]["description"].Text, file.Version > 1 ? u"Desc\n\"x\"" : u"") << trace;
    EXPECT_TRUE(source.Replacements().Empty()) << "JSON carries every character\n" << trace;
  }
}

// A PO catalog's entries: (msgctxt or none, msgid) -> (msgstr, fuzzy).
struct TPoEntry {
  std::u16string Context, Id, Text;
  bool HasContext = false, Fuzzy = false;
};

std::vector<TPoEntry> ReadPo(const std::string& text) {
  std::vector<TPoEntry> entries;
  TPoEntry entry;
  std::u16string* field = nullptr;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.starts_with("#, fuzzy"))
      entry.Fuzzy = true;
    if (line.starts_with("msgctxt "))
      field = &entry.Context, entry.HasContext = true;
    else if (line.starts_with("msgid "))
      field = &entry.Id;
    else if (line.starts_with("msgstr "))
      field = &entry.Text;
    else if (line.empty() && field) {
      entries.push_back(entry), entry = {}, field = nullptr;
      continue;
    } else if (!line.starts_with("\""))
      continue;
    // The quoted part, C escapes undone, UTF-8 read through the JSON reader.
    std::string json = "\"";
    const std::string quoted = line.substr(line.find('"') + 1, line.size() - line.find('"') - 2);
    for (std::size_t i = 0; i < quoted.size(); ++i)
      if (quoted[i] == '\\' && quoted[i + 1] >= '0' && quoted[i + 1] <= '7') {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\u%04x", std::stoi(quoted.substr(i + 1, 3), nullptr, 8));
        json += hex, i += 3;
      } else if (quoted[i] == '\\' && (quoted[i + 1] == 'a' || quoted[i + 1] == 'v')) {
        json += quoted[++i] == 'a' ? "\\u0007" : "\\u000b";
      } else {
        json += quoted[i];
      }
    *field += TJsonReader(json += '"').Read().Text;
  }
  if (field)
    entries.push_back(entry);
  return entries;
}

TEST(SvExportPo, RepeatedKeysAreMergedOrToldApartAndNoTranslationIsLost) {
  // Few pieces: sources and contexts repeat, and line breaks at the ends differ.
  const std::vector<std::u16string> pieces = {u"a", u"\n", u"|", u"\"", u"\x01"};
  std::mt19937 random(4);
  TSvTempDir folder;
  for (int round = 0; round < 150; ++round) {
    TSvqTestFile file = RandomDictionary(random, pieces);
    if (file.LanguageCount)
      continue;
    const std::string path = folder.File("p" + std::to_string(round) + ".svq");
    file.Save(path);
    TSvExportSource source(path);
    TSvExportOptions options;
    options.Target = static_cast<int>(file.Languages.size()) - 1;
    TSvStringSink sink;
    const TSvPoCounts counts = WritePo(source, options, sink);
    const std::string trace = "round " + std::to_string(round) + "\n" + sink.Text;
    std::vector<TPoEntry> entries = ReadPo(sink.Text);
    ASSERT_FALSE(entries.empty()) << trace;
    EXPECT_TRUE(entries[0].Id.empty() && !entries[0].HasContext) << trace;
    entries.erase(entries.begin());
    std::set<std::pair<std::u16string, std::u16string>> keys;
    for (const TPoEntry& entry : entries) {
      EXPECT_FALSE(entry.Id.empty()) << trace;
      EXPECT_TRUE(keys.insert({entry.HasContext ? u"\1" + entry.Context : u"", entry.Id}).second)
          << "a key repeats\n" << trace;
    }
    // Every row with a source has an entry with its text; the entries are the
    // distinct (context, source, translation) of those rows.
    std::set<std::tuple<std::u16string, std::u16string, std::u16string>> distinct;
    int emptySources = 0;
    for (std::size_t r = 0; r < file.Rows.size(); ++r) {
      const TSvqTestRow& row = file.Rows[r];
      const std::u16string& id = row.Texts[0];
      // One language: the template, without translations.
      const std::u16string text = options.Target > 0 ? row.Texts[options.Target] : u"";
      if (id.empty()) {
        ++emptySources;
        continue;
      }
      std::u16string context;
      if (file.ContextKind == 1 && (!row.FormType.empty() || !row.ComponentName.empty()))
        context = row.FormType + u"|" + row.ComponentName;
      else if (file.ContextKind == 2)
        context = row.ComponentName;
      else if (file.ContextKind == 3)
        context = row.FormType;
      distinct.insert({context, id, text});
      bool found = false;
      for (const TPoEntry& entry : entries) {
        const bool ownContext = entry.Context == context ||
                                (entry.Context.starts_with(context) && entry.Context.ends_with(u"]") &&
                                 entry.Context.find(u"[row ", context.size()) != std::u16string::npos);
        if (entry.Id == id && entry.Text == text && ownContext) {
          found = true;
          const bool breaksDiffer = !text.empty() && ((id.front() == u'\n') != (text.front() == u'\n') ||
                                                      (id.back() == u'\n') != (text.back() == u'\n'));
          EXPECT_EQ(entry.Fuzzy, breaksDiffer) << "row " << r << "\n" << trace;
        }
      }
      EXPECT_TRUE(found) << "row " << r << "\n" << trace;
    }
    EXPECT_EQ(entries.size(), distinct.size()) << trace;
    EXPECT_EQ(counts.EmptySources, emptySources) << trace;
  }
}

} // namespace
