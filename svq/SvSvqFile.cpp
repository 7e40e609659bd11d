#include "svq/SvSvqFile.h"

#include "core/SvCollec.h"
#include "language/SvLanguage.h"
#include "locale/SvConvert.h"
#include "text/SvErrors.h"

#include <chrono>
#include <cmath>
#include <cstring>

namespace sv {

TSvDateTime EncodeSvqDateTime(int year, int month, int day, int hour, int minute, int second) {
  using namespace std::chrono;
  if (year < 1 || year > 9999 || hour < 0 || hour >= 24 || minute < 0 || minute >= 60 ||
      second < 0 || second >= 60)
    return 0;
  const year_month_day date{std::chrono::year(year),
                            std::chrono::month(static_cast<unsigned>(month)),
                            std::chrono::day(static_cast<unsigned>(day))};
  if (month < 1 || day < 1 || !date.ok())
    return 0;
  const auto days = (sys_days(date) - sys_days(1899y / December / 30)).count();
  return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

TSvSvqFile::TSvSvqFile() : FLanguage(std::make_unique<TSvProjectLanguage>()) {}

TSvSvqFile::~TSvSvqFile() {
  Close();
}

void TSvSvqFile::Open(const std::string& fileName) {
  Close();
  FStream = std::make_unique<TSvFileStream>(fileName);
  ReadHeader();
  ReadLanguage(0);
  SeekLanguages();
}

void TSvSvqFile::Close() {
  FStream.reset();
}

TSvFileStream& TSvSvqFile::Input() {
  if (!FStream)
    throw ESvStreamError("Stream read error");
  return *FStream;
}

void TSvSvqFile::ReadHeader() {
  TSvFileStream& input = Input();
  input.Seek(0);
  input.Read(&FHeader, sizeof FHeader);
  if (std::memcmp(FHeader.Magic, kSvqMagic, sizeof kSvqMagic) != 0)
    throw ESvError("The stream is not a valid SVQ stream");
  if (FHeader.Version == 1) {
    FHeader.CharacterSet = FHeader.CharacterSetV1;
    FHeader.CharacterSetV1 = 0;
    FHeader.Reserved2 = 0;
    FHeader.InformationOffset = 0;
  }
  const bool swap = SwapsBytes(FHeader.ByteOrder);
  input.SetSwapBytes(swap);
  if (swap) {
    // Field by field: the header is packed, its fields are not aligned.
    FHeader.LanguageCount = __builtin_bswap16(FHeader.LanguageCount);
    FHeader.RowCount = __builtin_bswap16(FHeader.RowCount);
    FHeader.LocaleCount = __builtin_bswap16(FHeader.LocaleCount);
    FHeader.Reserved2 = __builtin_bswap16(FHeader.Reserved2);
    FHeader.LanguageOffset = __builtin_bswap32(FHeader.LanguageOffset);
    FHeader.TranslationOffset = __builtin_bswap32(FHeader.TranslationOffset);
    FHeader.LocaleOffset = __builtin_bswap32(FHeader.LocaleOffset);
    FHeader.InformationOffset = __builtin_bswap32(FHeader.InformationOffset);
  }
}

void TSvSvqFile::SeekLanguages() {
  if (FHeader.LanguageOffset == 0)
    throw ESvError("Invalid language offset");
  Input().Seek(FHeader.LanguageOffset);
}

void TSvSvqFile::SeekTranslations() {
  if (FHeader.TranslationOffset == 0)
    throw ESvError("Invalid translation offset");
  Input().Seek(FHeader.TranslationOffset);
}

void TSvSvqFile::SeekInformation() {
  Input().Seek(FHeader.InformationOffset);
}

std::uint8_t TSvSvqFile::ReadByte() {
  const std::uint8_t value = Input().ReadByte();
  FRemaining -= 1;
  return value;
}

std::uint16_t TSvSvqFile::ReadWord() {
  const std::uint16_t value = Input().ReadWord();
  FRemaining -= 2;
  return value;
}

std::string TSvSvqFile::ReadAnsiChars(int count) {
  if (count <= 0)
    return {};
  std::string text = Input().ReadBytes(static_cast<std::size_t>(count));
  FRemaining -= count;
  return text;
}

std::u16string TSvSvqFile::ReadWideChars(int count) {
  if (count <= 0)
    return {};
  std::u16string text = Input().ReadUnits(static_cast<std::size_t>(count));
  FRemaining -= 2 * count;
  return text;
}

std::string TSvSvqFile::ReadChars(int count, int codePage) {
  if (HasAnsiStrings(FHeader.CharacterSet))
    return ReadAnsiChars(count);
  return WideToAnsi(ReadWideChars(count), codePage);
}

std::string TSvSvqFile::ReadAnsiString() {
  return ReadAnsiChars(ReadWord());
}

std::u16string TSvSvqFile::ReadWideString() {
  return ReadWideChars(ReadWord());
}

const std::u16string& TSvSvqFile::ReadRowText() {
  const int count = ReadWord();
  Input().ReadUnits(static_cast<std::size_t>(count), FRowText);
  FRemaining -= 2 * count;
  return FRowText;
}

std::string TSvSvqFile::ReadString(int codePage) {
  if (HasAnsiStrings(FHeader.CharacterSet))
    return ReadAnsiString();
  return WideToAnsi(ReadWideString(), codePage);
}

void TSvSvqFile::ReadRawString(TSvSvqString& text) {
  text.Wide = !HasAnsiStrings(FHeader.CharacterSet);
  if (text.Wide) {
    text.Bytes.clear();
    text.Units = ReadWideString();
  } else {
    text.Units.clear();
    text.Bytes = ReadAnsiString();
  }
}

std::string TSvSvqFile::Narrow(const TSvSvqString& text, int codePage) {
  return text.Wide ? WideToAnsi(text.Units, codePage) : text.Bytes;
}

void TSvSvqFile::Skip(int count) {
  if (count > 0) // forward only
    Input().Skip(static_cast<std::uint64_t>(count));
}

std::string TSvSvqFile::ReadCode() {
  std::string code = ReadChars(2, 0);
  if (code.empty() || code[0] == '\0')
    code.clear();
  return code;
}

TSvProjectLanguage* TSvSvqFile::ReadLanguage(int index) {
  SeekLanguages();
  if (index < 0)
    return nullptr;
  TSvProjectLanguage* language = nullptr;
  for (int i = 0; i <= index; ++i)
    language = ReadNextLanguage();
  return language;
}

TSvProjectLanguage* TSvSvqFile::ReadNextLanguage() {
  const int version = Version();
  TSvProjectLanguage& language = *FLanguage;
  if (HasRecordLength(version))
    FRemaining = ReadWord() - 2; // the length counts its own two bytes
  language.Clear();
  language.SetLanguageId(ReadWord());
  if (HasCodes(version)) {
    language.SetLanguageCode(ReadCode());
    if (language.GetLanguageId() == 0)
      language.SetLanguageCode({});
  } else {
    language.SetLanguageCode({});
  }
  language.SetSublanguageId(ReadWord());
  if (HasCodes(version)) {
    language.SetCountryCode(ReadCode());
    if (language.GetSublanguageId() == 0)
      language.SetCountryCode({});
  } else {
    language.SetCountryCode({});
  }
  ReadString(0);
  if (HasCodes(version))
    ReadString(0);
  if (HasRecordLength(version))
    ReadWord();
  FLanguageStrings.StoredCodePage = ReadWord();
  language.SetCodePage(FLanguageStrings.StoredCodePage);
  ReadByte();
  FLanguageStrings.CodePage = language.GetCodePage();
  ReadRawString(FLanguageStrings.Name);
  language.Name = AnsiToWide(Narrow(FLanguageStrings.Name, 0), 0);
  ReadRawString(FLanguageStrings.NativeName);
  language.NativeName =
      AnsiToWide(Narrow(FLanguageStrings.NativeName, language.GetCodePage()), 0);
  ReadString(0);
  ReadByte();
  if (HasRecordLength(version) && FRemaining > 0)
    Skip(FRemaining);
  language.Update();
  return &language;
}

void TSvSvqFile::ReadRow(TSvWideStringList& texts, int columnCount, std::string& formType,
                         std::string& componentName) {
  const int languages = LanguageCount();
  const int n = columnCount < 0 ? languages : columnCount;
  const int m = std::min(n, languages);
  for (int i = 0; i < languages; ++i) {
    const std::u16string& text = ReadRowText();
    if (i < m)
      texts.Add(text);
    if (i == 0) {
      // The context strings follow the text of language 0.
      if (HasFormType(FHeader.ContextKind))
        formType = WideToAnsi(ReadRowText(), 0);
      if (HasComponentName(FHeader.ContextKind))
        componentName = WideToAnsi(ReadRowText(), 0);
    }
  }
  for (int k = m; k < n; ++k)
    texts.Add(std::u16string());
}

std::pair<std::size_t, std::size_t> TSvSvqFile::AppendRowText() {
  const std::size_t count = ReadWord();
  const std::size_t start = FRowUsed;
  FRowUsed = Input().ReadUnitsAt(count, FRowBuffer, start);
  FRemaining -= static_cast<std::int32_t>(2 * count);
  return {start, count};
}

const TSvSvqRowView& TSvSvqFile::ReadRowView() {
  const int languages = LanguageCount();
  FRowUsed = 0; // the buffer's storage is kept and overwritten
  // Spans first: the buffer may move while it grows.
  std::pair<std::size_t, std::size_t> spans[2]{};
  std::vector<std::pair<std::size_t, std::size_t>>& texts = FRowSpans;
  texts.clear();
  FRowView.HasFormType = false;
  FRowView.HasComponentName = false;
  for (int i = 0; i < languages; ++i) {
    texts.push_back(AppendRowText());
    if (i == 0) {
      // The context strings follow the text of language 0.
      if (HasFormType(FHeader.ContextKind)) {
        spans[0] = AppendRowText();
        FRowView.HasFormType = true;
      }
      if (HasComponentName(FHeader.ContextKind)) {
        spans[1] = AppendRowText();
        FRowView.HasComponentName = true;
      }
    }
  }
  const std::u16string_view buffer(FRowBuffer.data(), FRowUsed);
  FRowView.Texts.clear();
  for (const auto& [start, count] : texts)
    FRowView.Texts.push_back(buffer.substr(start, count));
  FRowView.FormType = buffer.substr(spans[0].first, spans[0].second);
  FRowView.ComponentName = buffer.substr(spans[1].first, spans[1].second);
  return FRowView;
}

TSvDateTime TSvSvqFile::ReadTimeStamp() {
  const int day = ReadByte();
  const int month = ReadByte();
  const int year = ReadWord();
  const int hour = ReadByte();
  const int minute = ReadByte();
  const int second = ReadByte();
  if (day == 0 || month == 0 || year == 0)
    return 0;
  return EncodeSvqDateTime(year, month, day, hour, minute, second);
}

TSvSvqInformation TSvSvqFile::ReadInformationStrings() {
  TSvSvqInformation information;
  const int version = Version();
  if (version == 1 || FHeader.InformationOffset == 0)
    return information;
  information.Present = true;
  SeekInformation();
  ReadRawString(information.Description);
  ReadRawString(information.Owner);
  for (int c = ReadWord(); c > 0; --c)
    ReadRawString(information.Users.emplace_back());
  if (HasRecordLength(version))
    information.Time = ReadTimeStamp();
  return information;
}

void TSvSvqFile::ReadInformation(std::string& description, std::string& owner,
                                 std::vector<std::string>* users, TSvDateTime& time) {
  const int version = Version();
  if (version == 1) {
    description.clear();
    owner.clear();
    return;
  }
  if (FHeader.InformationOffset == 0)
    return;
  SeekInformation();
  description = ReadString(0);
  owner = ReadString(0);
  for (int c = ReadWord(); c > 0; --c) {
    std::string user = ReadString(0);
    if (users)
      users->push_back(std::move(user));
  }
  if (!HasRecordLength(version))
    return;
  time = ReadTimeStamp();
}

} // namespace sv
