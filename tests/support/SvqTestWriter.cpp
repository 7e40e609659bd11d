#include "tests/support/SvqTestWriter.h"

#include <fstream>
#include <stdexcept>

namespace sv::test {

namespace {

// Bytes in the file's byte order; the one place that knows about endianness.
class TSvqBytes {
public:
  TSvqBytes(bool bigEndian, bool wide) : FBigEndian(bigEndian), FWide(wide) {}

  void Byte(std::uint8_t b) { FData.push_back(b); }
  void Word(std::uint16_t w) {
    if (FBigEndian) {
      Byte(static_cast<std::uint8_t>(w >> 8));
      Byte(static_cast<std::uint8_t>(w));
    } else {
      Byte(static_cast<std::uint8_t>(w));
      Byte(static_cast<std::uint8_t>(w >> 8));
    }
  }
  void DWord(std::uint32_t d) {
    if (FBigEndian) {
      Word(static_cast<std::uint16_t>(d >> 16));
      Word(static_cast<std::uint16_t>(d));
    } else {
      Word(static_cast<std::uint16_t>(d));
      Word(static_cast<std::uint16_t>(d >> 16));
    }
  }
  void PutWord(std::size_t at, std::uint16_t w) {
    TSvqBytes b(FBigEndian, FWide);
    b.Word(w);
    FData[at] = b.FData[0];
    FData[at + 1] = b.FData[1];
  }
  void PutDWord(std::size_t at, std::uint32_t d) {
    TSvqBytes b(FBigEndian, FWide);
    b.DWord(d);
    for (int i = 0; i < 4; ++i)
      FData[at + i] = b.FData[i];
  }
  void Units(const std::u16string& text) {
    for (char16_t u : text)
      Word(u);
  }
  // A row text: always UTF-16.
  void RowText(const std::u16string& text) {
    Word(static_cast<std::uint16_t>(text.size()));
    Units(text);
  }
  // A string in the file's character-set storage.
  void String(const std::string& bytes) {
    if (FWide) {
      const std::u16string units = Decode(bytes);
      Word(static_cast<std::uint16_t>(units.size()));
      Units(units);
    } else {
      Word(static_cast<std::uint16_t>(bytes.size()));
      for (char c : bytes)
        Byte(static_cast<std::uint8_t>(c));
    }
  }
  // A 2-character code without a count.
  void Code(const std::string& code) {
    std::string two = code.substr(0, 2);
    two.resize(2, '\0');
    for (char c : two) {
      if (FWide)
        Word(static_cast<std::uint8_t>(c));
      else
        Byte(static_cast<std::uint8_t>(c));
    }
  }
  std::size_t Size() const { return FData.size(); }
  std::vector<std::uint8_t>& Data() { return FData; }

  // UTF-8 to UTF-16; a byte that starts no valid sequence stands for itself (Latin-1).
  static std::u16string Decode(const std::string& bytes) {
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
      if (b >= 0xF5)
        extra = 0;
      char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : b & 0x1F;
      bool valid = extra > 0;
      for (int k = 1; valid && k <= extra; ++k) {
        if (i + k >= bytes.size()) {
          valid = false;
          break;
        }
        const auto c = static_cast<unsigned char>(bytes[i + k]);
        if ((c & 0xC0) != 0x80)
          valid = false;
        cp = (cp << 6) | (c & 0x3F);
      }
      if (!valid) {
        out.push_back(b);
        ++i;
        continue;
      }
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(cp));
      }
      i += extra + 1;
    }
    return out;
  }

private:
  bool FBigEndian;
  bool FWide;
  std::vector<std::uint8_t> FData;
};

void WriteLanguage(TSvqBytes& out, const TSvqTestLanguage& language, int version) {
  const std::size_t start = out.Size();
  if (version >= 3)
    out.Word(0); // the record length, filled in below
  out.Word(language.Primary);
  if (version >= 2)
    out.Code(language.LanguageCode);
  out.Word(language.Sublanguage);
  if (version >= 2)
    out.Code(language.CountryCode);
  out.String(language.Text1);
  if (version >= 2)
    out.String(language.Text2);
  if (version >= 3)
    out.Word(language.Number);
  out.Word(language.CodePage);
  out.Byte(language.Byte1);
  out.String(language.Name);
  out.String(language.NativeName);
  out.String(language.Text3);
  out.Byte(language.Byte2);
  if (version >= 3) {
    for (std::uint8_t b : language.Tail)
      out.Byte(b);
    const auto length = static_cast<std::uint16_t>(out.Size() - start);
    out.PutWord(start, language.RecordLength.value_or(length));
  }
}

void WriteRow(TSvqBytes& out, const TSvqTestRow& row, std::uint8_t contextKind) {
  for (std::size_t i = 0; i < row.Texts.size(); ++i) {
    out.RowText(row.Texts[i]);
    if (i == 0) {
      if (contextKind == 1 || contextKind == 3)
        out.RowText(row.FormType);
      if (contextKind == 1 || contextKind == 2)
        out.RowText(row.ComponentName);
    }
  }
}

void WriteInformation(TSvqBytes& out, const TSvqTestInformation& info, int version) {
  out.String(info.Description);
  out.String(info.Owner);
  out.Word(static_cast<std::uint16_t>(info.Users.size()));
  for (const std::string& user : info.Users)
    out.String(user);
  if (version >= 3) {
    out.Byte(info.Day);
    out.Byte(info.Month);
    out.Word(info.Year);
    out.Byte(info.Hour);
    out.Byte(info.Minute);
    out.Byte(info.Second);
  }
}

} // namespace

std::vector<std::uint8_t> TSvqTestFile::Build() const {
  TSvqBytes out(ByteOrder == 0, CharacterSet == 0);
  for (std::size_t i = 0; i < 3; ++i)
    out.Byte(i < Magic.size() ? static_cast<std::uint8_t>(Magic[i]) : 0);
  out.Byte(Version);
  out.Byte(ByteOrder);
  out.Byte(Version == 1 ? Byte5InVersion1 : CharacterSet);
  out.Byte(ContextKind);
  out.Byte(Version == 1 ? CharacterSet : 0);
  while (out.Size() < 42)
    out.Byte(0);

  std::uint32_t languageOffset = 0, translationOffset = 0, informationOffset = 0;
  auto languages = [&] {
    languageOffset = static_cast<std::uint32_t>(out.Size());
    for (const auto& language : Languages)
      WriteLanguage(out, language, Version);
  };
  auto rows = [&] {
    translationOffset = static_cast<std::uint32_t>(out.Size());
    for (const auto& row : Rows)
      WriteRow(out, row, ContextKind);
  };
  auto information = [&] {
    if (!Information.Present)
      return;
    informationOffset = static_cast<std::uint32_t>(out.Size());
    WriteInformation(out, Information, Version);
  };
  if (ReverseBlocks) {
    information();
    rows();
    languages();
  } else {
    languages();
    rows();
    information();
  }
  const auto localeOffset = static_cast<std::uint32_t>(LocaleBlock.empty() ? 0 : out.Size());
  for (std::uint8_t b : LocaleBlock)
    out.Byte(b);

  out.PutWord(12, LanguageCount.value_or(static_cast<std::uint16_t>(Languages.size())));
  out.PutDWord(14, LanguageOffset.value_or(Languages.empty() ? 0 : languageOffset));
  out.PutWord(18, RowCount.value_or(static_cast<std::uint16_t>(Rows.size())));
  out.PutDWord(20, TranslationOffset.value_or(Rows.empty() ? 0 : translationOffset));
  out.PutWord(24, LocaleCount);
  out.PutDWord(26, localeOffset);
  out.PutWord(30, Reserved30);
  out.PutDWord(32, InformationOffset.value_or(informationOffset));

  std::vector<std::uint8_t> data = std::move(out.Data());
  if (TruncateTo && *TruncateTo < data.size())
    data.resize(*TruncateTo);
  return data;
}

void TSvqTestFile::Save(const std::string& path) const {
  const std::vector<std::uint8_t> data = Build();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!file)
    throw std::runtime_error("cannot write " + path);
}

TSvqTestFile SampleDictionary() {
  TSvqTestFile file;
  file.Version = 3;
  file.ByteOrder = 1;
  file.CharacterSet = 0;
  file.ContextKind = 1;

  TSvqTestLanguage english;
  english.Primary = 0x09;
  english.LanguageCode = "en";
  english.Sublanguage = 1;
  english.CountryCode = "US";
  english.CodePage = 1252;
  english.Name = "English (United States)";
  english.NativeName = "English";

  TSvqTestLanguage german = english;
  german.Primary = 0x07;
  german.LanguageCode = "de";
  german.CountryCode = "DE";
  german.Name = "German (Germany)";
  german.NativeName = "Deutsch";

  TSvqTestLanguage japanese = english;
  japanese.Primary = 0x11;
  japanese.LanguageCode = "ja";
  japanese.CountryCode = "JP";
  japanese.CodePage = 932;
  japanese.Name = "Japanese (Japan)";
  japanese.NativeName = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"; // 日本語
  file.Languages = {english, german, japanese};

  struct Entry {
    const char16_t* Form;
    const char16_t* Component;
    const char16_t* En;
    const char16_t* De;
    const char16_t* Ja;
  };
  const Entry entries[] = {
      {u"TMainForm", u"FileMenu", u"&File", u"&Datei", u"ファイル(&F)"},
      {u"TMainForm", u"OpenItem", u"&Open...", u"Ö&ffnen...", u"開く(&O)..."},
      {u"TMainForm", u"SaveItem", u"&Save", u"&Speichern", u"保存(&S)"},
      {u"TMainForm", u"ExitItem", u"E&xit", u"&Beenden", u"終了(&X)"},
      {u"TMainForm", u"HelpMenu", u"&Help", u"&Hilfe", u"ヘルプ(&H)"},
      {u"TMainForm", u"StatusBar", u"Ready", u"Bereit", u"準備完了"},
      {u"TAboutForm", u"Caption", u"About", u"Info", u"バージョン情報"},
      {u"TAboutForm", u"OkButton", u"OK", u"OK", u"OK"},
      {u"TOptionsForm", u"Caption", u"Options", u"Optionen", u"オプション"},
      {u"TOptionsForm", u"CancelButton", u"Cancel", u"Abbrechen", u"キャンセル"},
      {u"TOptionsForm", u"SizeLabel", u"Size: %d bytes", u"Größe: %d Bytes", u"サイズ: %d バイト"},
      {u"TOptionsForm", u"Hint", u"Say \"hello\"", u"Sag \"hallo\"", u""},
  };
  for (const Entry& e : entries)
    file.Rows.push_back({{e.En, e.De, e.Ja}, e.Form, e.Component});

  file.Information.Description = "Sample dictionary of a small editor";
  file.Information.Owner = "Anna Example";
  file.Information.Users = {"Anna Example", "Jens Beispiel"};
  file.Information.Day = 9;
  file.Information.Month = 12;
  file.Information.Year = 2026;
  file.Information.Hour = 14;
  file.Information.Minute = 30;
  file.Information.Second = 5;
  return file;
}

} // namespace sv::test
