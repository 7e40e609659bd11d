// How far each translation of a dictionary is: per language the rows with a source
// text, how many of them are translated or copied from the source, and the words of
// their source texts. Texts are compared as stored (UTF-16 units).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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

// Words of a text as ICU's word break iterator segments it (UAX #29), a word being
// a segment holding a letter or a digit, after the "&" accelerator markers are
// removed ("&&" is a literal "&"). Texts whose characters all take part only in the
// simple rules (letters, digits, connectors, the middle punctuation of "don't" and
// "1,000.5", the rest alone) are counted by those rules directly; any other text,
// with marks, joiners, surrogates or a script that ICU segments by dictionary,
// goes to the iterator; its counts are kept for the texts met again (a source text
// recurs under many forms and components). One counter per thread: it owns its
// iterator and tables.
class TSvWordCounter {
public:
  TSvWordCounter();
  ~TSvWordCounter();
  TSvWordCounter(const TSvWordCounter&) = delete;
  TSvWordCounter& operator=(const TSvWordCounter&) = delete;

  std::uint64_t Count(std::u16string_view text);
  // The count of the iterator alone, without accelerators removed.
  std::uint64_t CountByIterator(std::u16string_view text);

private:
  struct TClose {
    void operator()(UBreakIterator* iterator) const;
  };
  // The word break class of every unit of a block of 256, made when first met.
  const std::uint8_t* ClassesOf(char16_t unit) {
    const std::uint8_t* block = FClasses[unit >> 8].get();
    return block ? block : MakeClasses(unit);
  }
  const std::uint8_t* MakeClasses(char16_t unit);
  // The count by the simple rules; -1 when a unit needs the iterator.
  std::int64_t CountSimple(std::u16string_view text);

  std::unique_ptr<UBreakIterator, TClose> FIterator;
  std::u16string FText; // the text without accelerators, reused
  std::unique_ptr<std::uint8_t[]> FClasses[256];
  std::unordered_map<std::u16string, std::uint64_t> FCounted; // the iterator's, bounded
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
