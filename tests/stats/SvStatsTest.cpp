// svq stats end to end: every figure of a generated corpus against a count of its
// texts, the same bytes whatever the number of workers, and the HTML page in a browser.
#include "tests/stats/SvStatsCorpus.h"
#include "tests/support/SvProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace sv::test {
namespace {

using nlohmann::json;

std::string ReadAll(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Checks every file's and every total's figures of stats over the corpus, with the
// source language whose 2-letter code is primary (empty: the first); the JSON text.
std::string CheckCorpus(const std::vector<TCorpusFile>& corpus, const std::string& folder,
                        const std::string& source, const std::string& primary) {
  std::vector<std::string> args = {"stats", "-f", "json", "-j", "3", folder};
  if (!source.empty())
    args.insert(args.end(), {"-s", source});
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
    std::size_t column = primary.empty() ? 0 : languages.size();
    for (std::size_t c = 0; c < languages.size() && !primary.empty(); ++c)
      column = languages[c].LanguageCode == primary ? c : column;
    if (entry->Broken || column == languages.size()) {
      EXPECT_TRUE(file["error"].is_string() && !file.contains("stats")) << file;
      continue;
    }
    json stats = file["stats"];
    for (json& s : stats) {
      const std::string code = s["code"];
      s.erase("code");
      json& total = totals[code];
      for (const auto& [key, value] : s.items())
        if (value.is_number_unsigned())
          total[key] = value.get<std::uint64_t>() + (total.contains(key) ? total[key].get<std::uint64_t>() : 0);
      // A column without a code of its own is not summed.
      if (code.find("x-col-") != std::string::npos)
        totals.erase(code);
    }
    EXPECT_EQ(stats, ExpectedStats(entry->File, column)) << file["file"];
    EXPECT_EQ(file["rows"], entry->File.Rows.size());
    EXPECT_EQ(file["language_count"], languages.size());
    EXPECT_TRUE(file["error"].is_null());
  }
  std::vector<std::string> expectedPaths;
  for (const auto& [path, entry] : byPath)
    expectedPaths.push_back(path);
  EXPECT_EQ(paths, expectedPaths) << "every dictionary, nothing else, sorted byte by byte";
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
  const std::string parallel = CheckCorpus(corpus, folder, {}, {});
  CheckCorpus(corpus, folder, "de_DE", "de");

  // One worker, into a file: the same bytes.
  EXPECT_EQ(RunProcess(SVQ_EXE, {"stats", "--format=json", "-j1", "-o", temp.File("o.json"), folder}).ExitCode, 1);
  EXPECT_EQ(ReadAll(temp.File("o.json")), parallel);

  // CSV: a row per dictionary and language, names with commas and quotes quoted.
  const std::string csv = RunProcess(SVQ_EXE, {"stats", "-f", "csv", folder}).Output;
  std::ptrdiff_t rows = 1;
  const json doc = json::parse(parallel);
  for (const json& file : doc["files"])
    rows += static_cast<std::ptrdiff_t>(file.value("stats", json::array()).size());
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), rows);
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
  EXPECT_TRUE(ReadAll(artifacts + "/stats.png").starts_with("\x89PNG"));
  const TSvProcessResult dom = chromium("--dump-dom", "p2");
  ASSERT_EQ(dom.ExitCode, 0);

  // Totals first, then every dictionary's languages, each row's cells in JSON order.
  std::string expected, shown;
  auto add = [&](const json& list) {
    for (const json& s : list) {
      char percent[16];
      std::snprintf(percent, sizeof percent, "%.1f", s["percent"].get<double>());
      expected += s["code"].get<std::string>() + "|" + s["name"].get<std::string>() + "|";
      for (const char* key : {"total", "translated", "untranslated", "same_as_source", "total_words",
                              "translated_words"})
        expected += std::to_string(s[key].get<long>()) + "|";
      expected += std::string(percent) + "|\n";
    }
  };
  add(doc["totals"]);
  for (const json& file : doc["files"])
    if (file.contains("stats"))
      add(file["stats"]);
    else
      EXPECT_NE(dom.Output.find(file["error"].get<std::string>()), std::string::npos);
  const std::regex row("<tr[^>]*>([\\s\\S]*?)</tr>"), cell("<td[^>]*>([^<]*)</td>");
  for (std::sregex_iterator r(dom.Output.begin(), dom.Output.end(), row), end; r != end; ++r) {
    const std::string inner = (*r)[1];
    std::string line;
    for (std::sregex_iterator c(inner.begin(), inner.end(), cell); c != end; ++c)
      line += (*c)[1].str() + "|";
    if (!line.empty())
      shown += std::regex_replace(std::regex_replace(line, std::regex("&lt;"), "<"), std::regex("&gt;"), ">") + "\n";
  }
  EXPECT_EQ(shown, expected);
}

} // namespace
} // namespace sv::test
