// svq stats end to end: every figure of a generated corpus against a count of its
// texts, the same bytes whatever the number of workers, and the HTML page in a browser.
#include "tests/stats/SvStatsCorpus.h"
#include "tests/support/SvProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace sv::test {
namespace {

using nlohmann::json;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Percent(const json& value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value.get<double>());
  return text;
}

// Checks one stats object against its expected figures.
void ExpectFigures(const json& stats, const TExpectedLanguage& expected, const std::string& where) {
  SCOPED_TRACE(where + " " + stats.dump());
  EXPECT_EQ(stats["total"], expected.Total);
  EXPECT_EQ(stats["translated"], expected.Translated);
  EXPECT_EQ(stats["untranslated"], expected.Total - expected.Translated);
  EXPECT_EQ(stats["same_as_source"], expected.Same);
  EXPECT_EQ(stats["total_words"], expected.Words);
  EXPECT_EQ(stats["translated_words"], expected.TranslatedWords);
  const std::uint64_t tenths = expected.Total ? expected.Translated * 1000 / expected.Total : 1000;
  char percent[32];
  std::snprintf(percent, sizeof percent, "%llu.%llu", static_cast<unsigned long long>(tenths / 10),
                static_cast<unsigned long long>(tenths % 10));
  EXPECT_EQ(Percent(stats["percent"]), percent);
}

// Runs stats over the corpus with source (empty: the first language) and checks
// every file's and every total's figures; the JSON text.
std::string CheckCorpus(const std::vector<TCorpusFile>& corpus, const std::string& folder,
                        const std::string& source, const std::string& sourcePrimary) {
  std::vector<std::string> args = {"stats", "-f", "json", "-j", "3", folder};
  if (!source.empty())
    args.insert(args.begin() + 1, {"-s", source});
  const TSvProcessResult run = RunProcess(SVQ_EXE, args);
  EXPECT_EQ(run.ExitCode, 1) << "the broken dictionary fails the run";
  const json doc = json::parse(run.Output);
  std::map<std::string, const TCorpusFile*> byPath;
  for (const TCorpusFile& entry : corpus)
    byPath[entry.Path] = &entry;
  const json& files = doc["files"];
  EXPECT_EQ(files.size(), byPath.size());
  std::map<std::string, TExpectedLanguage> totals;
  std::string previous;
  for (const json& file : files) {
    const std::string path = file["file"];
    EXPECT_LT(previous, path) << "sorted byte by byte";
    previous = path;
    const auto found = byPath.find(path);
    if (found == byPath.end()) {
      ADD_FAILURE() << "not in the corpus: " << path;
      continue;
    }
    const TSvqTestFile& dictionary = found->second->File;
    std::size_t sourceColumn = 0;
    // Version 1 records carry no codes: what -s finds there is not checked.
    if (!sourcePrimary.empty() && dictionary.Version == 1 && !found->second->Broken)
      continue;
    if (!sourcePrimary.empty()) {
      sourceColumn = dictionary.Languages.size();
      for (std::size_t c = 0; c < dictionary.Languages.size(); ++c)
        if (dictionary.Languages[c].LanguageCode == sourcePrimary)
          sourceColumn = c;
    }
    if (found->second->Broken || sourceColumn == dictionary.Languages.size()) {
      EXPECT_TRUE(file["error"].is_string()) << path;
      EXPECT_FALSE(file.contains("stats")) << path;
      continue;
    }
    EXPECT_TRUE(file["error"].is_null()) << path;
    EXPECT_EQ(file["rows"], dictionary.Rows.size());
    EXPECT_EQ(file["language_count"], dictionary.Languages.size());
    const std::vector<TExpectedLanguage> expected = ExpectedStats(dictionary, sourceColumn);
    const json& stats = file["stats"];
    EXPECT_FALSE(std::count_if(stats.begin(), stats.end(), [&](const json& s) { return s["code"] == file["source"]; }));
    if (stats.size() != expected.size()) {
      ADD_FAILURE() << path << ": " << stats.size() << " languages";
      continue;
    }
    for (std::size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(stats[k]["name"], expected[k].Name);
      ExpectFigures(stats[k], expected[k], path);
      if (stats[k]["code"].get<std::string>().find("x-col-") != std::string::npos)
        continue; // a column without a code of its own
      TExpectedLanguage& total = totals[stats[k]["code"]];
      total.Total += expected[k].Total;
      total.Translated += expected[k].Translated;
      total.Same += expected[k].Same;
      total.Words += expected[k].Words;
      total.TranslatedWords += expected[k].TranslatedWords;
    }
  }
  EXPECT_EQ(doc["totals"].size(), totals.size());
  for (const json& total : doc["totals"])
    ExpectFigures(total, totals[total["code"]], "totals");
  return run.Output;
}

TEST(SvqStats, EveryFigureOfACorpusMatchesACountOfItsTexts) {
  TSvTempDir temp;
  const std::string folder = temp.File("corpus");
  const std::vector<TCorpusFile> corpus = MakeCorpus(folder, 7, 40);
  const std::string parallel = CheckCorpus(corpus, folder, {}, {});
  CheckCorpus(corpus, folder, "de_DE", "de");

  // One worker, into a file: the same bytes.
  const TSvProcessResult serial =
      RunProcess(SVQ_EXE, {"stats", "--format=json", "-j1", "-o", temp.File("out.json"), folder});
  EXPECT_EQ(serial.ExitCode, 1);
  EXPECT_EQ(ReadAll(temp.File("out.json")), parallel);

  // CSV: a row per dictionary and language, names with commas and quotes quoted.
  const TSvProcessResult csv = RunProcess(SVQ_EXE, {"stats", "-f", "csv", folder});
  std::size_t languages = 0;
  const json doc = json::parse(parallel);
  for (const json& file : doc["files"])
    languages += file.contains("stats") ? file["stats"].size() : 0;
  EXPECT_EQ(static_cast<std::size_t>(std::count(csv.Output.begin(), csv.Output.end(), '\n')), languages + 1);
  EXPECT_TRUE(std::regex_search(csv.Output, std::regex(",\"Lang [a-z]+, \"\"quoted\"\" <b>\",")));
  EXPECT_TRUE(csv.Output.starts_with("file,code,name,total,translated,untranslated,same_as_source,"
                                     "total_words,translated_words,percent\r\n"));

  // Only broken faults fail; a clean folder is 0, and a fault of the command line 2.
  const std::string clean = corpus[3].Path;
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", clean}).ExitCode, 0);
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "-j", "0", clean}).ExitCode, 2);
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "-f", "xml", clean}).ExitCode, 2);
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats"}).ExitCode, 2);
}

// The text of every cell of every row of a page dumped by the browser.
std::vector<std::vector<std::string>> TableCells(const std::string& dom) {
  static const std::regex row("<tr[^>]*>([\\s\\S]*?)</tr>");
  static const std::regex cell("<td[^>]*>([\\s\\S]*?)</td>");
  std::vector<std::vector<std::string>> rows;
  for (std::sregex_iterator r(dom.begin(), dom.end(), row), end; r != end; ++r) {
    const std::string inner = (*r)[1];
    std::vector<std::string> cells;
    for (std::sregex_iterator c(inner.begin(), inner.end(), cell); c != end; ++c) {
      std::string text = std::regex_replace((*c)[1].str(), std::regex("<[^>]*>"), "");
      for (const auto& [entity, plain] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        text = std::regex_replace(text, std::regex(entity), plain);
      cells.push_back(text);
    }
    if (!cells.empty())
      rows.push_back(cells);
  }
  return rows;
}

TEST(SvqStats, HtmlPageRendersInChromiumAndHoldsTheFiguresOfTheJson) {
  TSvTempDir temp;
  const std::string folder = temp.File("corpus");
  MakeCorpus(folder, 11, 6);
  const json doc = json::parse(RunProcess(SVQ_EXE, {"stats", "-f", "json", folder}).Output);
  const std::string page = temp.File("stats.html");
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "-f", "html", "-o", page, folder}).ExitCode, 1);

  const std::string artifacts = SV_BINARY_DIR "/tests/stats/artifacts";
  std::filesystem::create_directories(artifacts);
  const std::string screenshot = artifacts + "/stats.png";
  std::filesystem::remove(screenshot);
  auto chromium = [&](const std::string& what, const std::string& profile) {
    return RunProcess("/usr/bin/chromium",
                      {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                       "--no-first-run", "--disable-background-networking",
                       "--disable-component-update", "--disable-sync", "--log-level=3",
                       "--user-data-dir=" + temp.File(profile), "--window-size=1280,2000", what,
                       "file://" + page});
  };
  EXPECT_EQ(chromium("--screenshot=" + screenshot, "profile1").ExitCode, 0);
  EXPECT_TRUE(ReadAll(screenshot).starts_with("\x89PNG")) << screenshot;
  const TSvProcessResult dom = chromium("--dump-dom", "profile2");
  ASSERT_EQ(dom.ExitCode, 0);

  // Totals first, then every dictionary's languages, in the order of the JSON.
  std::vector<std::vector<std::string>> expected;
  auto add = [&](const json& list) {
    for (const json& s : list)
      expected.push_back({s["code"], s["name"], std::to_string(s["total"].get<long>()),
                          std::to_string(s["translated"].get<long>()),
                          std::to_string(s["untranslated"].get<long>()),
                          std::to_string(s["same_as_source"].get<long>()),
                          std::to_string(s["total_words"].get<long>()),
                          std::to_string(s["translated_words"].get<long>()), Percent(s["percent"])});
  };
  add(doc["totals"]);
  for (const json& file : doc["files"]) {
    if (file.contains("stats"))
      add(file["stats"]);
    else
      EXPECT_NE(dom.Output.find(file["error"].get<std::string>()), std::string::npos);
  }
  std::vector<std::vector<std::string>> shown = TableCells(dom.Output);
  for (auto& cells : shown)
    cells.resize(std::min<std::size_t>(cells.size(), 9));
  EXPECT_EQ(shown, expected);
}

} // namespace
} // namespace sv::test
