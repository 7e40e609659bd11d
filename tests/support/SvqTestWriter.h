// Writes SVQ dictionaries for the tests: every field, version, byte order,
// character set and context kind of the format, and deliberately broken files.
// Strings of language records and of the information block are given as bytes:
// an 8-bit file stores them as they are, a UTF-16 file stores their UTF-8
// decoding (bytes that are no UTF-8 are taken as Latin-1).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sv::test {

struct TSvqTestLanguage {
  std::uint16_t Primary = 9;
  std::string LanguageCode = "en"; // 2-character code; "" writes two NULs
  std::uint16_t Sublanguage = 1;
  std::string CountryCode = "US";
  std::string Text1;
  std::string Text2;        // version 2 and later
  std::uint16_t Number = 0; // version 3 and later
  std::uint16_t CodePage = 1252;
  std::uint8_t Byte1 = 0;
  std::string Name = "English";
  std::string NativeName = "English";
  std::string Text3;
  std::uint8_t Byte2 = 0;
  std::vector<std::uint8_t> Tail;            // version 3: bytes beyond the known fields
  std::optional<std::uint16_t> RecordLength; // version 3: overrides the computed length
};

struct TSvqTestRow {
  std::vector<std::u16string> Texts; // one per language, language 0 first
  std::u16string FormType;           // written for context kinds 1 and 3
  std::u16string ComponentName;      // written for context kinds 1 and 2
};

struct TSvqTestInformation {
  bool Present = true; // false: information offset 0
  std::string Description;
  std::string Owner;
  std::vector<std::string> Users;
  std::uint8_t Day = 0, Month = 0; // version 3: the time stamp
  std::uint16_t Year = 0;
  std::uint8_t Hour = 0, Minute = 0, Second = 0;
};

struct TSvqTestFile {
  std::string Magic = "SVQ";
  std::uint8_t Version = 3;
  std::uint8_t ByteOrder = 1;    // 0 big-endian
  std::uint8_t CharacterSet = 0; // 0 UTF-16, otherwise 8-bit
  std::uint8_t ContextKind = 0;
  std::uint8_t Byte5InVersion1 = 0; // version 1 keeps its character set in byte 7
  std::vector<TSvqTestLanguage> Languages;
  std::vector<TSvqTestRow> Rows;
  TSvqTestInformation Information;
  std::uint16_t LocaleCount = 0;
  std::vector<std::uint8_t> LocaleBlock; // written after the other blocks when not empty
  std::uint16_t Reserved30 = 0;

  // Overrides of computed header values, for broken files.
  std::optional<std::uint16_t> LanguageCount, RowCount;
  std::optional<std::uint32_t> LanguageOffset, TranslationOffset, InformationOffset;
  bool ReverseBlocks = false;            // information, translations, languages
  std::optional<std::size_t> TruncateTo; // cut the file to this many bytes

  std::vector<std::uint8_t> Build() const;
  void Save(const std::string& path) const;
};

// The sample dictionary shipped in examples/.
TSvqTestFile SampleDictionary();

} // namespace sv::test
