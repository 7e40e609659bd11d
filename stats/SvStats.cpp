#include "stats/SvStats.h"

#include "export/SvExportSource.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace sv {

unsigned TSvLanguageStats::PercentTenths() const {
  if (Total == 0)
    return 1000;
  return static_cast<unsigned>(Translated * 1000 / Total);
}

std::string TSvLanguageStats::PercentText() const {
  const unsigned tenths = PercentTenths();
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void TSvLanguageStats::Add(const TSvLanguageStats& other) {
  Total += other.Total;
  Translated += other.Translated;
  SameAsSource += other.SameAsSource;
  TotalWords += other.TotalWords;
  TranslatedWords += other.TranslatedWords;
}

void TSvWordCounter::TClose::operator()(UBreakIterator* iterator) const {
  ubrk_close(iterator);
}

TSvWordCounter::TSvWordCounter() {
  UErrorCode error = U_ZERO_ERROR;
  FIterator.reset(ubrk_open(UBRK_WORD, "", nullptr, 0, &error));
  if (U_FAILURE(error))
    throw ESvError(SvFormat("Cannot open the word break iterator: %s", {u_errorName(error)}));
}

TSvWordCounter::~TSvWordCounter() = default;

namespace {

// Whether the segment holds a letter (L*) or a decimal digit (Nd).
bool HasLetterOrDigit(std::u16string_view segment) {
  const char16_t* units = segment.data();
  const int32_t length = static_cast<int32_t>(segment.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(units, i, length, c);
    if (c < 0x80 ? (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') : u_isalnum(c))
      return true;
  }
  return false;
}

} // namespace

std::uint64_t TSvWordCounter::Count(std::u16string_view text) {
  std::u16string_view plain = text;
  if (text.find(u'&') != std::u16string_view::npos) {
    FText.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != u'&') {
        FText += text[i];
      } else if (i + 1 < text.size() && text[i + 1] == u'&') {
        FText += u'&';
        ++i;
      }
    }
    plain = FText;
  }
  if (plain.empty())
    return 0;
  if (plain.size() > INT32_MAX)
    throw ESvError("Text too long to count its words");
  UErrorCode error = U_ZERO_ERROR;
  UBreakIterator* iterator = FIterator.get();
  ubrk_setText(iterator, plain.data(), static_cast<int32_t>(plain.size()), &error);
  if (U_FAILURE(error))
    throw ESvError(SvFormat("Cannot count words: %s", {u_errorName(error)}));
  std::uint64_t count = 0;
  int32_t start = ubrk_first(iterator);
  for (int32_t end = ubrk_next(iterator); end != UBRK_DONE; start = end, end = ubrk_next(iterator))
    if (HasLetterOrDigit(plain.substr(static_cast<std::size_t>(start),
                                      static_cast<std::size_t>(end - start))))
      ++count;
  return count;
}

TSvDictionaryStats CountDictionary(const std::string& file, std::string_view sourceCode,
                                   TSvWordCounter& words) {
  TSvDictionaryStats result;
  result.File = file;
  try {
    TSvExportSource source(file);
    const std::vector<TSvExportLanguage>& languages = source.Languages();
    result.Rows = source.RowCount();
    result.LanguageCount = static_cast<int>(languages.size());
    int sourceColumn = languages.empty() ? -1 : 0;
    if (!sourceCode.empty()) {
      sourceColumn = source.FindLanguage(sourceCode);
      if (sourceColumn < 0)
        throw ESvError(SvFormat(SvTr("the dictionary has no language '%s'"), {std::string(sourceCode)}));
    }
    if (sourceColumn < 0)
      return result;
    result.Source = languages[sourceColumn].Code;
    std::vector<std::size_t> columns;
    for (const TSvExportLanguage& language : languages) {
      if (language.Index == sourceColumn)
        continue;
      columns.push_back(static_cast<std::size_t>(language.Index));
      TSvLanguageStats& stats = result.Stats.emplace_back();
      stats.Code = language.Code;
      stats.Name = language.Name;
    }
    const std::size_t sourceIndex = static_cast<std::size_t>(sourceColumn);
    source.ForEachRow([&](int, const TSvSvqRowView& row) {
      const std::u16string_view sourceText = row.Texts[sourceIndex];
      if (sourceText.empty())
        return;
      const std::uint64_t count = words.Count(sourceText);
      for (std::size_t k = 0; k < columns.size(); ++k) {
        TSvLanguageStats& stats = result.Stats[k];
        const std::u16string_view text = row.Texts[columns[k]];
        ++stats.Total;
        stats.TotalWords += count;
        if (text.empty())
          continue;
        ++stats.Translated;
        stats.TranslatedWords += count;
        stats.SameAsSource += text == sourceText;
      }
    });
  } catch (const std::exception& fault) {
    result = TSvDictionaryStats();
    result.File = file;
    result.Broken = true;
    result.Error = fault.what();
  }
  return result;
}

std::vector<TSvDictionaryStats> CountDictionaries(const std::vector<std::string>& files,
                                                  std::string_view sourceCode, unsigned jobs,
                                                  const TSvStatsProgress& progress) {
  std::vector<TSvDictionaryStats> results(files.size());
  jobs = static_cast<unsigned>(std::clamp<std::size_t>(files.size(), 1, std::max(jobs, 1u)));
  // Made here, so that a failure to make one is the caller's exception.
  std::vector<std::unique_ptr<TSvWordCounter>> counters;
  for (unsigned i = 0; i < jobs; ++i)
    counters.push_back(std::make_unique<TSvWordCounter>());
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t done = 0, last = 0;
  auto work = [&](TSvWordCounter& words) {
    for (std::size_t i = next++; i < files.size(); i = next++) {
      results[i] = CountDictionary(files[i], sourceCode, words);
      const std::lock_guard lock(mutex);
      last = i;
      if (++done == files.size())
        finished.notify_one(); // otherwise progress is shown on its own clock
    }
  };
  std::vector<std::jthread> workers;
  for (unsigned i = 0; i < jobs; ++i)
    workers.emplace_back(work, std::ref(*counters[i]));
  if (progress) {
    std::unique_lock lock(mutex);
    while (done < files.size()) {
      finished.wait_for(lock, std::chrono::milliseconds(100));
      progress(done, files.size(), files[last]);
    }
  }
  workers.clear(); // joined before the results move
  return results;
}

std::vector<TSvLanguageStats> SumByCode(const std::vector<TSvDictionaryStats>& dictionaries) {
  std::vector<TSvLanguageStats> totals;
  std::map<std::string, std::size_t, std::less<>> index;
  for (const TSvDictionaryStats& dictionary : dictionaries) {
    for (const TSvLanguageStats& stats : dictionary.Stats) {
      // "x-col-N" names a column of its own dictionary, not a language.
      if (stats.Code.find("x-col-") != std::string::npos)
        continue;
      const auto [found, added] = index.try_emplace(stats.Code, totals.size());
      if (added) {
        TSvLanguageStats& total = totals.emplace_back();
        total.Code = stats.Code;
        total.Name = stats.Name;
      }
      totals[found->second].Add(stats);
    }
  }
  return totals;
}

} // namespace sv
