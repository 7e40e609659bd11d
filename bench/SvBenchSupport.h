// What the benches share: their dictionaries (up to 8 languages of generated texts,
// about a third of them not ASCII, rows with a form type and a component name) and
// whole-process runs with their time and peak memory.
#pragma once

#include "tests/support/SvqTestWriter.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace sv::bench {

struct TRun {
  double Seconds = 0;
  double CpuSeconds = 0; // user and system time: steadier than Seconds on a busy machine
  long PeakKiB = 0;
  int ExitCode = -1;
};

// Runs a program with standard output to /dev/null, timed, with its peak memory.
inline TRun Run(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  TRun run;
  run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.CpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.PeakKiB = usage.ru_maxrss;
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}


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
