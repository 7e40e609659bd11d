// How far each translation of a dictionary is: per language the rows with a source
// text, how many of them are translated or copied from the source, and the words of
// their source texts. Texts are compared as stored (UTF-16 units).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UBreakIterator;

namespace sv {

struct TSvLanguageStats {
  std::string Code; // BCP 47 tag, unique in its dictionary
  std::string Name; // UTF-8
  std::uint64_t Total = 0;      // rows with a non-empty source text
  std::uint64_t Translated = 0; // of those, with a non-empty text in the language
  std::uint64_t SameAsSource = 0;
  std::uint64_t TotalWords = 0;      // words of the source texts of Total's rows
  std::uint64_t TranslatedWords = 0; // words of the source texts of Translated's rows

  std::uint64_t Untranslated() const { return Total - Translated; }
  // Translated / Total in tenths of a percent, truncated; 1000 when Total is 0.
  unsigned PercentTenths() const;
  // The percent with one decimal: "99.9", "100.0".
  std::string PercentText() const;
  void Add(const TSvLanguageStats& other);
};

struct TSvDictionaryStats {
  std::string File;  // the path as found
  std::string Error; // the reader's message for a broken dictionary; then nothing else is set
  bool Broken = false;
  int Rows = 0;
  int LanguageCount = 0;
  std::string Source;                   // the source language's code; empty without languages
  std::vector<TSvLanguageStats> Stats; // every language but the source, in column order
};

// Words of a text as UAX #29 segments them, a word being a segment holding a letter
// or a digit, after the "&" accelerator markers are removed ("&&" is a literal
// "&"). Owns one ICU break iterator: one counter per thread.
class TSvWordCounter {
public:
  TSvWordCounter();
  ~TSvWordCounter();
  TSvWordCounter(const TSvWordCounter&) = delete;
  TSvWordCounter& operator=(const TSvWordCounter&) = delete;

  std::uint64_t Count(std::u16string_view text);

private:
  struct TClose {
    void operator()(UBreakIterator* iterator) const;
  };
  std::unique_ptr<UBreakIterator, TClose> FIterator;
  std::u16string FText; // the text without accelerators, reused
};

// The figures of one dictionary, the languages measured against the one whose code
// or id is sourceCode (empty: the first language). A dictionary that cannot be read,
// or has no language sourceCode, comes back Broken with the message.
TSvDictionaryStats CountDictionary(const std::string& file, std::string_view sourceCode,
                                   TSvWordCounter& words);

// Called on the calling thread while CountDictionaries runs, about ten times a
// second: dictionaries done, their number, the one done last.
using TSvStatsProgress =
    std::function<void(std::size_t done, std::size_t total, const std::string& file)>;

// CountDictionary over files with jobs workers, each with its own reader and word
// counter; the result's entry i belongs to files[i].
std::vector<TSvDictionaryStats> CountDictionaries(const std::vector<std::string>& files,
                                                  std::string_view sourceCode, unsigned jobs,
                                                  const TSvStatsProgress& progress = {});

// The figures summed per language code over the dictionaries that were read, in the
// order in which the codes first appear; each keeps the name it first had. Columns
// without a code of their own ("x-col-N", "de-x-col-N") are not summed: the same
// tag names unrelated languages in two dictionaries.
std::vector<TSvLanguageStats> SumByCode(const std::vector<TSvDictionaryStats>& dictionaries);

} // namespace sv
