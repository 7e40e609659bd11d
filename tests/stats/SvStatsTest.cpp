// svq stats: every figure of a generated corpus against a count of its texts with
// ICU's own iterator, the same bytes whatever the number of workers, the HTML page in
// a browser, and workers that get what one reader gets (also run under TSan).
#include "export/SvExportSink.h"
#include "stats/SvStatsReport.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <ranges>
#include <regex>
#include <set>
#include <tuple>

namespace sv::test {
namespace {

using nlohmann::json;

struct TCorpusFile {
  std::string Path; // as svq stats names it when given the corpus folder
  TSvqTestFile File;
  bool Broken = false;
};

const std::u16string kTexts[] = {
    u"", u"", u"&File", u"Save &As...", u"Tom && Jerry", u"100 files in 3.5 s", u"&&&x",
    u"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8", u"\u4E2D\u6587\u6587\u672C\u6D4B\u8BD5",
    u"\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440", u"emoji \U0001F600 here",
    u"a_b c-d, e.g. don't", u"\t\n -- !", u"\u00DCn\u00EFc\u00F6d\u00E9 w\u00F6rds",
    u"\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22", u"x\xD800y", u"&", u"Open", u"E&xit", u"R&&D a&&b"};

// Primary language, its code, sublanguage, country, code page.
const std::tuple<std::uint16_t, const char*, std::uint16_t, const char*, std::uint16_t> kLanguages[] = {
    {9, "en", 1, "US", 1252}, {7, "de", 1, "DE", 1252}, {12, "fr", 1, "FR", 1252}, {17, "ja", 1, "JP", 932},
    {4, "zh", 2, "CN", 936},  {25, "ru", 1, "RU", 1251}, {8, "el", 1, "GR", 1253}};

// count dictionaries of every version, byte order, character set and context kind
// under folder and its subfolders, a truncated one, and a file and links to skip.
std::vector<TCorpusFile> MakeCorpus(const std::string& folder, unsigned seed, int count) {
  namespace fs = std::filesystem;
  std::mt19937 random(seed);
  auto pick = [&](std::size_t n) { return random() % n; };
  fs::create_directories(folder + "/sub/deeper");
  std::vector<TCorpusFile> corpus;
  for (int i = 0; i < count; ++i) {
    TCorpusFile& entry = corpus.emplace_back();
    entry.Path = folder + (i % 3 == 0 ? "/" : i % 3 == 1 ? "/sub/" : "/sub/deeper/") + "d" + std::to_string(i) + (i % 5 == 4 ? ".SVQ" : ".svq");
    TSvqTestFile& file = entry.File;
    file.Version = static_cast<std::uint8_t>(1 + pick(3));
    file.ByteOrder = static_cast<std::uint8_t>(pick(2));
    file.CharacterSet = static_cast<std::uint8_t>(pick(3));
    file.ContextKind = static_cast<std::uint8_t>(pick(4));
    std::vector pool(std::begin(kLanguages), std::end(kLanguages));
    std::shuffle(pool.begin(), pool.end(), random);
    for (std::size_t k = 0, n = i == 0 ? 1 : 1 + pick(5); k < n; ++k) {
      TSvqTestLanguage& l = file.Languages.emplace_back();
      std::tie(l.Primary, l.LanguageCode, l.Sublanguage, l.CountryCode, l.CodePage) = pool[k];
      l.Name = l.NativeName = "Lang " + l.LanguageCode + (k % 2 ? ", \"quoted\" <b>" : "");
    }
    for (std::size_t r = 0, rows = i == 1 ? 0 : pick(40); r < rows; ++r) {
      TSvqTestRow& row = file.Rows.emplace_back();
      row.Texts.push_back(kTexts[pick(std::size(kTexts))]);
      for (std::size_t k = 1, kind = pick(10); k < file.Languages.size(); ++k, kind = pick(10))
        row.Texts.push_back(kind < 3 ? u"" : kind < 5 ? row.Texts[0] : kTexts[pick(std::size(kTexts))]);
      row.FormType = u"TForm" + std::u16string(1, static_cast<char16_t>(u'A' + r % 3));
      row.ComponentName = u"Item";
    }
    file.Save(entry.Path);
  }
  corpus.push_back({folder + "/sub/broken.svq", corpus[2].File, true});
  corpus.back().File.TruncateTo = 40;
  corpus.back().File.Save(corpus.back().Path);
  // Skipped: another name, and links to a dictionary and to a folder.
  corpus[0].File.Save(folder + "/sub/notes.txt");
  fs::create_symlink(fs::absolute(corpus[0].Path), folder + "/link.svq");
  fs::create_directory_symlink(fs::absolute(folder + "/sub"), folder + "/sub/deeper/loop");
  return corpus;
}

// Words as UAX #29 segments them: segments with a letter or a decimal digit, the
// accelerator markers taken out first.
std::uint64_t Words(const std::u16string& text) {
  icu::UnicodeString plain(false, text.data(), static_cast<int32_t>(text.size()));
  plain.findAndReplace(u"&&", u"\uE000");
  plain.findAndReplace(u"&", u"");
  plain.findAndReplace(u"\uE000", u"&");
  UErrorCode error = U_ZERO_ERROR;
  static const std::unique_ptr<icu::BreakIterator> words(
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

// translated / total in percent, cut to one decimal.
double Percent(std::uint64_t translated, std::uint64_t total) {
  return total == 0 ? 100.0 : static_cast<double>(translated * 1000 / total) / 10.0;
}

// The JSON stats objects, without "code", of every language but sourceColumn.
json ExpectedStats(const TSvqTestFile& file, std::size_t sourceColumn) {
  json result = json::array();
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

// Checks every file's and every total's figures of stats over the corpus, with the
// source language whose 2-letter code is primary (empty: the first); the JSON text.
std::string CheckCorpus(const std::vector<TCorpusFile>& corpus, const std::vector<std::string>& args,
                        const std::string& primary) {
  const TSvProcessResult run = RunProcess(SVQ_EXE, args);
  EXPECT_EQ(run.ExitCode, 1) << "the broken dictionary fails the run";
  const json doc = json::parse(run.Output);
  std::map<std::string, const TCorpusFile*> byPath;
  for (const TCorpusFile& entry : corpus)
    byPath[entry.Path] = &entry;
  std::vector<std::string> paths;
  std::map<std::string, json> totals;
  for (const json& file : doc["files"]) {
    paths.push_back(file["file"]);
    const TCorpusFile* entry = byPath.count(paths.back()) ? byPath[paths.back()] : nullptr;
    // Version 1 records carry no codes: what -s finds there is not checked.
    if (!entry || (!primary.empty() && entry->File.Version == 1 && !entry->Broken))
      continue;
    const auto& languages = entry->File.Languages;
    const auto found = std::find_if(languages.begin(), languages.end(), [&](auto& l) { return l.LanguageCode == primary; });
    const std::size_t column = primary.empty() ? 0 : static_cast<std::size_t>(found - languages.begin());
    if (entry->Broken || column == languages.size()) {
      EXPECT_TRUE(file["error"].is_string() && !file.contains("stats")) << file;
      continue;
    }
    json stats = file["stats"];
    for (json& s : stats) {
      const std::string code = s["code"];
      s.erase("code");
      if (code.find("x-col-") != std::string::npos)
        continue; // a column without a code of its own is not summed
      for (const auto& [key, value] : s.items())
        if (json& total = totals[code][key]; value.is_number_unsigned())
          total = value.get<std::uint64_t>() + (total.is_null() ? 0 : total.get<std::uint64_t>());
        else if (total.is_null())
          total = value; // the name first seen
    }
    EXPECT_EQ(stats, ExpectedStats(entry->File, column)) << file["file"];
    EXPECT_TRUE(file["rows"] == entry->File.Rows.size() && file["language_count"] == languages.size() &&
                file["error"].is_null()) << file;
  }
  EXPECT_TRUE(std::is_sorted(paths.begin(), paths.end()) && paths.size() == byPath.size() &&
              std::set(paths.begin(), paths.end()) == std::set(std::views::keys(byPath).begin(), std::views::keys(byPath).end()))
      << "every dictionary once, nothing else, sorted byte by byte";
  EXPECT_EQ(doc["totals"].size(), totals.size());
  for (const json& total : doc["totals"]) {
    json& expected = totals[total["code"]];
    expected["percent"] = Percent(expected["translated"], expected["total"]);
    for (const auto& [key, value] : expected.items())
      EXPECT_EQ(total[key], value) << total;
  }
  return run.Output;
}

TEST(SvqStats, EveryFigureOfACorpusMatchesACountOfItsTexts) {
  TSvTempDir temp;
  const std::string folder = temp.File("corpus");
  const std::vector<TCorpusFile> corpus = MakeCorpus(folder, 7, 40);
  const std::string parallel = CheckCorpus(corpus, {"stats", "-f", "json", "-j", "3", folder}, "");
  CheckCorpus(corpus, {"stats", "--format=json", "-s", "de_DE", folder}, "de");

  // One worker, into a file: the same bytes.
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "--format=json", "-j1", "-o", temp.File("o.json"), folder}).ExitCode, 1);
  EXPECT_EQ(RunProcess("/bin/cat", {temp.File("o.json")}).Output, parallel);

  // CSV: a row per dictionary and language, names with commas and quotes quoted.
  const std::string csv = RunProcess(SVQ_EXE, {"stats", "-f", "csv", folder}).Output;
  const std::regex object("same_as_source");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n') + json::parse(parallel)["totals"].size(),
            std::distance(std::sregex_iterator(parallel.begin(), parallel.end(), object), {}) + 1);
  EXPECT_TRUE(std::regex_search(csv, std::regex(",\"Lang [a-z]+, \"\"quoted\"\" <b>\",")));
  EXPECT_TRUE(csv.starts_with("file,code,name,total,translated,untranslated,same_as_source,"
                              "total_words,translated_words,percent\r\n"));

  // A clean run is 0; faults of the command line are 2.
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", corpus[3].Path}).ExitCode, 0);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"stats", "-j", "0", folder}, {"stats", "-f", "xml", folder}, {"stats"}})
    EXPECT_EQ(RunProcess(SVQ_EXE, args).ExitCode, 2);
}

TEST(SvqStats, HtmlPageRendersInChromiumAndHoldsTheFiguresOfTheJson) {
  TSvTempDir temp;
  const std::string folder = temp.File("corpus"), page = temp.File("stats.html");
  MakeCorpus(folder, 11, 6);
  const json doc = json::parse(RunProcess(SVQ_EXE, {"stats", "-f", "json", folder}).Output);
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "-f", "html", "-o", page, folder}).ExitCode, 1);
  const std::string artifacts = SV_BINARY_DIR "/tests/stats/artifacts";
  std::filesystem::create_directories(artifacts);
  std::filesystem::remove(artifacts + "/stats.png");
  auto chromium = [&](const std::string& what, const std::string& profile) {
    return RunProcess("/usr/bin/chromium",
                      {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                       "--disable-background-networking", "--disable-component-update", "--disable-sync",
                       "--log-level=3", "--user-data-dir=" + temp.File(profile), "--window-size=1280,2000",
                       what, "file://" + page});
  };
  EXPECT_EQ(chromium("--screenshot=" + artifacts + "/stats.png", "p1").ExitCode, 0);
  EXPECT_TRUE(RunProcess("/bin/cat", {artifacts + "/stats.png"}).Output.starts_with("\x89PNG"));
  const TSvProcessResult dom = chromium("--dump-dom", "p2");
  ASSERT_EQ(dom.ExitCode, 0);

  // Totals first, then every dictionary's languages, each row's cells in JSON order.
  std::string expected, shown;
  auto add = [&](const json& list) {
    for (const json& s : list) {
      for (const char* key : {"code", "name", "total", "translated", "untranslated", "same_as_source",
                              "total_words", "translated_words", "percent"})
        expected += (s[key].is_string() ? s[key].get<std::string>() : s[key].dump()) + "|";
      expected += "\n";
    }
  };
  add(doc["totals"]);
  for (const json& file : doc["files"])
    add(file.value("stats", json::array()));
  const std::regex row("<tr[^>]*>([\\s\\S]*?)</tr>"), cell("<td[^>]*>([^<]*)</td>");
  for (std::sregex_iterator r(dom.Output.begin(), dom.Output.end(), row), end; r != end; ++r) {
    const std::string inner = (*r)[1];
    std::string line;
    for (std::sregex_iterator c(inner.begin(), inner.end(), cell); c != end; ++c)
      line += (*c)[1].str() + "|";
    shown += line.empty() ? "" : std::regex_replace(std::regex_replace(line, std::regex("&lt;"), "<"), std::regex("&gt;"), ">") + "\n";
  }
  EXPECT_EQ(shown, expected);
  EXPECT_NE(dom.Output.find("Stream read error"), std::string::npos) << "the broken dictionary's message";
}

std::string Json(const std::vector<TSvDictionaryStats>& dictionaries) {
  TSvExportStringSink sink;
  TSvExportBuffer buffer(sink);
  WriteStatsReport(dictionaries, SumByCode(dictionaries), {TSvStatsFormat::Json}, buffer);
  return sink.Text;
}

TEST(SvStatsWords, RandomTextsCountAsIcuSegmentsThem) {
  // Characters of every word break class and of the scripts segmented by
  // dictionary, in every order: the direct count must never differ from ICU's.
  const std::u16string pool[] = {
      u"a", u"Z", u"0", u"9", u".", u"'", u":", u",", u";", u"_", u"@", u" ", u"\r", u"\n", u"\"",
      u"-", u"&", u"\u00E9", u"\u00B7", u"\u2019", u"\u2024", u"\uFE55", u"\uFF1A", u"\uFF10",
      u"\u0660", u"\u066C", u"\u0644", u"\u064E", u"\u0416", u"\u05D0", u"\u00AD", u"\u0301",
      u"\u200D", u"\u3000", u"\u00A0", u"\u2028", u"\u0085", u"\u65E5", u"\u3042", u"\u30A2",
      u"\u0E01", u"\uAC00", u"\u1100", u"\u2460", u"\uFF21", u"\u00B5", u"\u02C2", u"\u2E2F",
      u"$", u"\uFF0E", u"\uFE13", u"\u0387", u"\U0001F600", u"\u2603", u"\u00A9", u"\u202F"};
  std::mt19937 random(5);
  TSvWordCounter counter;
  for (int round = 0; round < 100000; ++round) {
    std::u16string text;
    for (std::size_t k = 0, n = random() % 10; k < n; ++k)
      text += random() % 3 ? pool[random() % 8] : pool[random() % std::size(pool)];
    ASSERT_EQ(counter.Count(text), Words(text)) << round;
  }
}

TEST(SvStatsThreads, WorkersGetWhatOneReaderGets) {
  TSvTempDir temp;
  std::vector<std::string> files;
  for (const TCorpusFile& entry : MakeCorpus(temp.File("corpus"), 3, 48))
    files.push_back(entry.Path);
  const std::vector<TSvDictionaryStats> parallel = CountDictionaries(files, "", 4);
  std::vector<TSvDictionaryStats> alone;
  TSvWordCounter words;
  for (const std::string& file : files)
    alone.push_back(CountDictionary(file, "", words));
  EXPECT_EQ(Json(parallel), Json(alone));
}

} // namespace
} // namespace sv::test
