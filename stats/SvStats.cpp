#include "stats/SvStats.h"

#include "export/SvExportSource.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvStrings.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
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

TSvWordCounter::TSvWordCounter() = default;

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

// Word break classes of the simple rules, in the low bits of a unit's entry; the
// iterator's root rules take "@" as a letter and ":" (with its full-width and small
// forms) as no middle letter.
enum : std::uint8_t {
  kOther,
  kLetter,
  kNumeric,
  kConnector,      // ExtendNumLet: joins letters and digits on either side
  kMidLetter,      // between two letters
  kMidNum,         // between two digits
  kMidNumLet,      // between two letters or two digits (also the apostrophe)
  kNeedsIterator,  // marks, joiners, Hebrew, kana, CJK, Hangul, Thai, surrogates
  kClassBits = 0x0F,
  kAlnum = 0x10,   // a letter or a decimal digit: a segment with one is a word
};

std::uint8_t ClassOf(UChar32 c) {
  if (U_IS_SURROGATE(c) || (c >= 0xAC00 && c <= 0xD7A3))
    return kNeedsIterator;
  UErrorCode error = U_ZERO_ERROR;
  const UScriptCode script = uscript_getScript(c, &error);
  if (script == USCRIPT_HAN || script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA ||
      u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC) ||
      u_getIntPropertyValue(c, UCHAR_LINE_BREAK) == U_LB_COMPLEX_CONTEXT)
    return kNeedsIterator;
  std::uint8_t type = kNeedsIterator;
  switch (u_getIntPropertyValue(c, UCHAR_WORD_BREAK)) {
  case U_WB_ALETTER: type = kLetter; break;
  case U_WB_NUMERIC: type = kNumeric; break;
  case U_WB_EXTENDNUMLET: type = kConnector; break;
  case U_WB_MIDLETTER: type = c == ':' || c == 0xFE55 || c == 0xFF1A ? kOther : kMidLetter; break;
  case U_WB_MIDNUM: type = kMidNum; break;
  case U_WB_MIDNUMLET:
  case U_WB_SINGLE_QUOTE: type = kMidNumLet; break;
  case U_WB_OTHER:
  case U_WB_CR:
  case U_WB_LF:
  case U_WB_NEWLINE:
  case U_WB_WSEGSPACE:
  case U_WB_DOUBLE_QUOTE: type = c == '@' ? kLetter : kOther; break;
  default: break;
  }
  return static_cast<std::uint8_t>(type | (u_isalnum(c) ? kAlnum : 0));
}

bool InWord(std::uint8_t type) {
  return type == kLetter || type == kNumeric || type == kConnector;
}

} // namespace

const std::uint8_t* TSvWordCounter::MakeClasses(char16_t unit) {
  std::unique_ptr<std::uint8_t[]>& block = FClasses[unit >> 8];
  block = std::make_unique<std::uint8_t[]>(256);
  const UChar32 first = unit & 0xFF00;
  for (UChar32 c = 0; c < 256; ++c)
    block[static_cast<std::size_t>(c)] = ClassOf(first + c);
  return block.get();
}

std::int64_t TSvWordCounter::CountSimple(std::u16string_view text) {
  // Letters, digits and connectors join; a middle character joins two letters or
  // two digits; every other character is a segment of its own (spaces and CR LF
  // join their like, but hold no letter), a word when it is a letter or digit.
  auto classOf = [this](char16_t unit) { return ClassesOf(unit)[unit & 0xFF]; };
  std::int64_t count = 0;
  bool inWord = false, alnum = false;
  std::uint8_t last = kOther;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t entry = classOf(text[i]);
    const std::uint8_t type = entry & kClassBits;
    if (type == kNeedsIterator)
      return -1;
    if (InWord(type)) {
      inWord = true;
      alnum |= (entry & kAlnum) != 0;
      last = type;
      continue;
    }
    if (inWord && (type == kMidLetter || type == kMidNum || type == kMidNumLet) && i + 1 < n) {
      const std::uint8_t next = classOf(text[i + 1]) & kClassBits;
      if (next == kNeedsIterator)
        return -1;
      if ((last == kLetter && next == kLetter && type != kMidNum) ||
          (last == kNumeric && next == kNumeric && type != kMidLetter)) {
        alnum |= (entry & kAlnum) != 0;
        continue;
      }
    }
    if (inWord)
      count += alnum;
    inWord = alnum = false;
    count += (entry & kAlnum) != 0;
  }
  return count + (inWord && alnum);
}

std::uint64_t TSvWordCounter::Count(std::u16string_view text) {
  std::u16string_view plain = text;
  if (text.find(u'&') != std::u16string_view::npos) {
    FText.resize(text.size());
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != u'&') {
        FText[length++] = text[i];
      } else if (i + 1 < text.size() && text[i + 1] == u'&') {
        FText[length++] = u'&';
        ++i;
      }
    }
    plain = std::u16string_view(FText.data(), length);
  }
  const std::int64_t simple = CountSimple(plain);
  if (simple >= 0)
    return static_cast<std::uint64_t>(simple);
  // Dictionary segmentation costs thousands of instructions a character.
  constexpr std::size_t kMostCounted = 4096;
  std::u16string key(plain);
  if (const auto found = FCounted.find(key); found != FCounted.end())
    return found->second;
  if (FCounted.size() == kMostCounted)
    FCounted.clear();
  const std::uint64_t count = CountByIterator(plain);
  FCounted.emplace(std::move(key), count);
  return count;
}

std::uint64_t TSvWordCounter::CountByIterator(std::u16string_view plain) {
  if (plain.empty())
    return 0;
  if (plain.size() > INT32_MAX)
    throw ESvError("Text too long to count its words");
  UErrorCode error = U_ZERO_ERROR;
  if (!FIterator) {
    // Opened when a text first needs it: on the worker's own thread, and not at
    // all for dictionaries whose texts the rules count directly.
    FIterator.reset(ubrk_open(UBRK_WORD, "", nullptr, 0, &error));
    if (U_FAILURE(error))
      throw ESvError(SvFormat("Cannot open the word break iterator: %s", {u_errorName(error)}));
  }
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
        stats.SameAsSource += text.size() == sourceText.size() &&
                              std::memcmp(text.data(), sourceText.data(), 2 * text.size()) == 0;
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
