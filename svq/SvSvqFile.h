// TSvSvqFile: a sequential reader of SVQ dictionary files. It decodes the header
// at Open and then reads, from wherever its caller positions it, language records
// into its own TSvProjectLanguage, translation rows into a caller's list and the
// information block into caller variables. It keeps nothing but the header.
#pragma once

#include "svq/SvFileStream.h"
#include "svq/SvSvqFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sv {

class TSvProjectLanguage;
class TSvWideStringList;

// Days since 1899-12-30 plus the fraction of the day; 0 is no time.
using TSvDateTime = double;

// The date-time value of a calendar date and time of day; 0 when the date is not
// one of the years 1 to 9999 or the time is not a clock time.
TSvDateTime EncodeSvqDateTime(int year, int month, int day, int hour, int minute, int second);

// A string of a language record or of the information block as stored: bytes in a
// dictionary of 8-bit strings ("Ansi", "UTF-8"), UTF-16 code units in a "Unicode" one.
struct TSvSvqString {
  bool Wide = false;
  std::string Bytes;
  std::u16string Units;

  bool empty() const { return Wide ? Units.empty() : Bytes.empty(); }
};

// The strings of the language record read last, as stored, and its code page.
struct TSvSvqLanguageStrings {
  TSvSvqString Name;
  TSvSvqString NativeName;
  int CodePage = 0;       // the language's code page as the language model derives it
  int StoredCodePage = 0; // the code page the record stores
};

// One translation row as views into the reader's buffer. The views stay valid until
// the reader reads again; a caller that keeps a text copies it.
struct TSvSvqRowView {
  std::vector<std::u16string_view> Texts; // one per language, in column order
  bool HasFormType = false;
  bool HasComponentName = false;
  std::u16string_view FormType;      // empty when the row carries none
  std::u16string_view ComponentName; // likewise
};

// The information block as stored. Present is false for version 1 and when the
// header has no information offset; Time is 0 when there is no valid time stamp.
struct TSvSvqInformation {
  bool Present = false;
  TSvSvqString Description;
  TSvSvqString Owner;
  std::vector<TSvSvqString> Users;
  double Time = 0;
};

class TSvSvqFile {
public:
  TSvSvqFile();
  ~TSvSvqFile();
  TSvSvqFile(const TSvSvqFile&) = delete;
  TSvSvqFile& operator=(const TSvSvqFile&) = delete;

  // Opens the file, decodes the header and language 0, and leaves the stream at the
  // language block. On failure the stream stays open until Close.
  void Open(const std::string& fileName);
  // Frees the stream when the reader opened it. Harmless when nothing is open.
  void Close();

  int Version() const { return FHeader.Version; }
  std::uint8_t ByteOrder() const { return FHeader.ByteOrder; }
  std::uint8_t CharacterSet() const { return FHeader.CharacterSet; }
  std::uint8_t ContextKind() const { return FHeader.ContextKind; }
  int LanguageCount() const { return FHeader.LanguageCount; }
  int RowCount() const { return FHeader.RowCount; }
  int LocaleCount() const { return FHeader.LocaleCount; }
  // The header after the version 1 fix-up and the byte-order conversion.
  const TSvSvqHeader& Header() const { return FHeader; }

  // "Invalid language offset" when the offset is 0.
  void SeekLanguages();
  // "Invalid translation offset" when the offset is 0.
  void SeekTranslations();
  void SeekInformation();

  // Record index, read from the start of the block; none for a negative index.
  TSvProjectLanguage* ReadLanguage(int index);
  // The record at the current position, decoded into the reader's language object.
  TSvProjectLanguage* ReadNextLanguage();
  // Appends columnCount texts of the row at the current position (-1: the language
  // count); fewer columns are read and dropped, more are appended empty. The context
  // strings are assigned only when the row carries them.
  void ReadRow(TSvWideStringList& texts, int columnCount, std::string& formType,
               std::string& componentName);
  // The row at the current position as views into the reader's buffer, the texts in
  // language order. The same object serves every call.
  const TSvSvqRowView& ReadRowView();
  // The strings of the language record that ReadNextLanguage (or ReadLanguage) read
  // last, as stored.
  const TSvSvqLanguageStrings& LanguageStrings() const { return FLanguageStrings; }
  // The information block with its strings as stored.
  TSvSvqInformation ReadInformationStrings();
  // Description, owner, users (when given) and the time stamp of the information block.
  void ReadInformation(std::string& description, std::string& owner,
                       std::vector<std::string>* users, TSvDateTime& time);

  // Primitive readers at the current position; each subtracts what it consumed
  // from the remaining length of the current record.
  std::uint8_t ReadByte();
  std::uint16_t ReadWord();
  std::string ReadAnsiChars(int count);
  std::u16string ReadWideChars(int count);
  std::string ReadChars(int count, int codePage);
  std::string ReadAnsiString();
  std::u16string ReadWideString();
  std::string ReadString(int codePage);
  // A string in the file's character-set storage, as stored.
  void ReadRawString(TSvSvqString& text);
  void Skip(int count);

  // The open stream, or none.
  TSvFileStream* Stream() const { return FStream.get(); }

private:
  void ReadHeader();
  TSvFileStream& Input();
  // A 2-character code: empty when its first character is NUL.
  std::string ReadCode();
  // ReadWideString into FRowText, whose storage serves every text of the rows.
  const std::u16string& ReadRowText();
  // A row text appended to FRowBuffer; its span there.
  std::pair<std::size_t, std::size_t> AppendRowText();
  // A stored string as 8-bit text: as stored, or UTF-16 narrowed in codePage.
  static std::string Narrow(const TSvSvqString& text, int codePage);
  // The time stamp that closes the information block of version 3 and later.
  TSvDateTime ReadTimeStamp();

  TSvSvqHeader FHeader{};
  std::unique_ptr<TSvFileStream> FStream; // the reader opens and frees its own stream
  std::int32_t FRemaining = 0;
  std::u16string FRowText;
  std::u16string FRowBuffer; // the texts of the row that ReadRowView read, and more
  std::size_t FRowUsed = 0;  // the units of FRowBuffer that hold them
  std::vector<std::pair<std::size_t, std::size_t>> FRowSpans; // start and length per text
  TSvSvqRowView FRowView;
  TSvSvqLanguageStrings FLanguageStrings;
  std::unique_ptr<TSvProjectLanguage> FLanguage;
};

} // namespace sv
