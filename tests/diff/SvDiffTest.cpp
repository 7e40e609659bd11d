// svq diff against known changes: generated dictionaries and copies of them with
// rows added, removed, changed and reordered, a language added and one removed,
// duplicate keys and empty source texts, header and information changes; the JSON
// is read back and must list exactly those changes, and the text lists the same.
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <random>

using nlohmann::json;
using sv::test::TSvqTestFile;
using sv::test::TSvqTestRow;

namespace {

struct TLang {
  const char* Code;
  const char* Country;
  const char* Tag;
  std::uint16_t Primary;
};
const TLang kLangs[] = {{"en", "US", "en-US", 9}, {"de", "DE", "de-DE", 7}, {"fr", "FR", "fr-FR", 12},
                        {"es", "ES", "es-ES", 10}, {"it", "IT", "it-IT", 16}};

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    const int n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    out += static_cast<char>(n == 1 ? c : (0xF0 << (4 - n)) | (c >> (6 * (n - 1))));
    for (int k = n - 2; k >= 0; --k)
      out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return out;
}

sv::test::TSvProcessResult Diff(std::vector<std::string> args) {
  args.insert(args.begin(), "diff");
  return sv::test::RunProcess(SVQ_EXE, args, {}, {"LC_ALL=C.UTF-8", "LANGUAGE="});
}

TSvqTestFile WithLanguages(TSvqTestFile file, const std::vector<int>& langs) {
  file.Languages.clear();
  for (int l : langs) {
    auto& language = file.Languages.emplace_back();
    language.LanguageCode = kLangs[l].Code;
    language.CountryCode = kLangs[l].Country;
    language.Primary = kLangs[l].Primary;
  }
  return file;
}

} // namespace

TEST(SvqDiff, ReportsExactlyTheKnownChanges) {
  const std::u16string pieces[] = {u"Open", u"\u00D6ffnen", u"a\"b\\c", u"tab\tnew\nline\x01",
                                   u"\U0001F600", u"\u30D5\u30A1", u"x"};
  for (int seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % n); };
    const auto text = [&] { return pieces[pick(7)] + pieces[pick(7)] + pieces[pick(7)]; };
    const int kind = seed % 4;
    const bool sourceFirstInNew = seed % 2 == 0; // else the added language comes first, found by -s
    TSvqTestFile oldFile;
    oldFile.ContextKind = static_cast<std::uint8_t>(kind);
    oldFile.Information = {true, "Old", "me", {"a", "b"}, 9, 12, 2026, 10, 20, 30};
    oldFile = WithLanguages(oldFile, {0, 1, 2, 3}); // en-US is the source
    TSvqTestFile newFile = WithLanguages(oldFile, sourceFirstInNew ? std::vector{0, 1, 3, 4} : std::vector{4, 0, 1, 3});
    const std::map<int, int> newColumnOf = sourceFirstInNew ? std::map<int, int>{{0, 0}, {1, 1}, {3, 2}}
                                                            : std::map<int, int>{{0, 1}, {1, 2}, {3, 3}};
    json header = json::object(), information = json::object();
    if (seed % 2) {
      newFile.Version = 2; // no time stamp in version 2
      header["version"] = {{"old", 3}, {"new", 2}};
      information["time"] = {{"old", "2026-12-09T10:20:30"}, {"new", nullptr}};
    }
    if (seed >= 3) {
      newFile.ByteOrder = 0;
      newFile.CharacterSet = 1;
      newFile.LocaleCount = 2;
      newFile.Information.Description = "New";
      newFile.Information.Users = {"a"};
      header.update({{"byte_order", {{"old", 1}, {"new", 0}}}, {"character_set", {{"old", 0}, {"new", 1}}},
                     {"locale_count", {{"old", 0}, {"new", 2}}}});
      information.update({{"description", {{"old", "Old"}, {"new", "New"}}},
                          {"users", {{"old", {"a", "b"}}, {"new", {"a"}}}}});
    }

    // Old rows from few forms, components and sources: keys repeat, some sources are empty.
    const std::u16string sources[] = {u"Open", u"Save", u"", u"Close"};
    for (int r = 0; r < 60; ++r)
      oldFile.Rows.push_back({{sources[pick(4)], text(), text(), text()},
                              pick(2) ? u"F1" : u"F2", pick(2) ? u"A" : u"B"});
    // What the dictionary holds of the key for its context kind.
    const auto key = [&](const TSvqTestRow& row) {
      return std::u16string(kind % 2 ? row.FormType : u"") + u'|' +
             (kind == 1 || kind == 2 ? row.ComponentName : u"") + u'|' + row.Texts[0];
    };
    const auto keyJson = [&](const char* what, const TSvqTestRow& row) {
      return json{{"kind", what}, {"form_type", Utf8(kind % 2 ? row.FormType : u"")},
                  {"component_name", Utf8(kind == 1 || kind == 2 ? row.ComponentName : u"")},
                  {"source", Utf8(row.Texts[0])}, {"texts", json::object()}};
    };

    // The new rows, each with the change it stands for; only the last row of a key
    // is removed, so that pairing in order keeps the others paired.
    std::vector<std::pair<TSvqTestRow, json>> newRows; // row with source first, expected change
    std::vector<json> removed;
    std::map<std::u16string, int> lastOf;
    for (int r = 0; r < 60; ++r)
      lastOf[key(oldFile.Rows[r])] = r;
    for (int r = 0; r < 60; ++r) {
      const TSvqTestRow& row = oldFile.Rows[r];
      const int roll = pick(10);
      if (roll < 2 && lastOf[key(row)] == r) {
        json change = keyJson("removed", row);
        for (int c = 0; c < 4; ++c)
          change["texts"][kLangs[c].Tag] = {{"old", Utf8(row.Texts[c])}, {"new", nullptr}};
        removed.push_back(change);
        lastOf.erase(key(row));
        continue;
      }
      TSvqTestRow next = row;
      json change = nullptr;
      if (roll >= 7) {
        change = keyJson("changed", row);
        for (int c : {1, 3})
          if (c == 1 || roll == 9) {
            next.Texts[c] += u"*";
            change["texts"][kLangs[c].Tag] = {{"old", Utf8(row.Texts[c])}, {"new", Utf8(next.Texts[c])}};
          }
      }
      next.Texts[2] = text(); // French goes, Italian comes: neither counts as a change
      newRows.push_back({next, change});
    }
    // Added rows: new keys anywhere, and one more of a key none of whose rows went.
    const auto added = [&](const TSvqTestRow& row) {
      json change = keyJson("added", row);
      for (int c : {0, 1, 3})
        change["texts"][kLangs[c].Tag] = {{"old", nullptr}, {"new", Utf8(row.Texts[c])}};
      return std::pair{row, change};
    };
    const TSvqTestRow again = *std::find_if(oldFile.Rows.begin(), oldFile.Rows.end(),
                                            [&](const TSvqTestRow& row) { return lastOf.count(key(row)); });
    for (const char16_t* source : {u"Added", u"Added 1", u"Added 2", u"Added 3"}) {
      TSvqTestRow row{{source, text(), text(), text()}, u"F3", u"Z"};
      newRows.insert(newRows.begin() + pick(static_cast<int>(newRows.size())), added(row));
    }
    newRows.push_back(added(again));
    // Reorder, keeping the order of the rows of each key.
    std::vector<std::size_t> order(newRows.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    std::map<std::u16string, std::deque<std::size_t>> rowsOf;
    for (std::size_t i = 0; i < newRows.size(); ++i)
      rowsOf[key(newRows[i].first)].push_back(i);
    json expected = json::array();
    for (const std::size_t i : order) {
      auto& next = rowsOf[key(newRows[i].first)];
      const auto& [row, change] = newRows[next.front()];
      next.pop_front();
      TSvqTestRow stored = row;
      stored.Texts.assign(4, u"");
      for (const auto& [c, n] : newColumnOf)
        stored.Texts[n] = row.Texts[c];
      stored.Texts[sourceFirstInNew ? 3 : 0] = row.Texts[2];
      newFile.Rows.push_back(stored);
      if (!change.is_null()) {
        json entry = change;
        if (entry["kind"] == "added")
          entry["texts"]["it-IT"] = {{"old", nullptr}, {"new", Utf8(row.Texts[2])}};
        expected.push_back(entry);
      }
    }
    for (const json& change : removed)
      expected.push_back(change);
    const auto count = [&](const char* what) {
      return std::count_if(expected.begin(), expected.end(), [&](const json& c) { return c["kind"] == what; });
    };

    sv::test::TSvTempDir dir;
    oldFile.Save(dir.File("old.svq"));
    newFile.Save(dir.File("new.svq"));
    const auto result = Diff({"-f", "json", "-s", "en-US", dir.File("old.svq"), dir.File("new.svq")});
    ASSERT_EQ(result.ExitCode, 1) << result.Output;
    const json actual = json::parse(result.Output);
    EXPECT_EQ(actual["old"], dir.File("old.svq"));
    EXPECT_EQ(actual["languages"], json({{"added", {"it-IT"}}, {"removed", {"fr-FR"}}}));
    EXPECT_EQ(actual["header"], header);
    EXPECT_EQ(actual["information"], information);
    EXPECT_EQ(actual["changes"], expected);
    EXPECT_EQ(actual["rows"], json({{"added", count("added")}, {"removed", count("removed")},
                                    {"changed", count("changed")},
                                    {"unchanged", 60 - count("removed") - count("changed")}}));
    EXPECT_GT(count("changed") * count("removed") * count("added"), 0);

    // The text lists every old and new text under its row.
    const auto output = Diff({"--source=en_US", dir.File("old.svq"), dir.File("new.svq")});
    EXPECT_EQ(output.ExitCode, 1);
    for (const json& change : expected)
      for (const auto& [code, pair] : change["texts"].items())
        for (const char* side : {"old", "new"})
          if (!pair[side].is_null()) {
            EXPECT_NE(output.Output.find((side[0] == 'o' ? "-" : "+") + code + ": \"" +
                                         pair[side].get<std::string>() + "\"\n"),
                      std::string::npos) << code << " " << pair[side];
          }
    EXPECT_NE(output.Output.find("@@ languages @@\n-fr-FR\n+it-IT\n"), std::string::npos);

    // A dictionary is the same as itself.
    const auto same = Diff({"-fjson", dir.File("old.svq"), dir.File("old.svq")});
    EXPECT_EQ(same.ExitCode, 0);
    EXPECT_EQ(json::parse(same.Output)["rows"]["unchanged"], 60);
  }
}

TEST(SvqDiff, TroubleIsExitTwo) {
  sv::test::TSvTempDir dir;
  TSvqTestFile file = WithLanguages({}, {0, 1});
  file.Rows = {{{u"a", u"b"}, {}, {}}};
  file.Save(dir.File("a.svq"));
  file.TruncateTo = 40;
  file.Save(dir.File("broken.svq"));
  for (const auto& args : std::vector<std::vector<std::string>>{
           {dir.File("a.svq")}, {"-f", "xml", dir.File("a.svq"), dir.File("a.svq")},
           {dir.File("a.svq"), dir.File("broken.svq")}, {dir.File("a.svq"), dir.File("none.svq")},
           {"-s", "ru", dir.File("a.svq"), dir.File("a.svq")}})
    EXPECT_EQ(Diff(args).ExitCode, 2) << args.back();
  EXPECT_EQ(Diff({dir.File("a.svq"), dir.File("a")}).ExitCode, 0);
}
