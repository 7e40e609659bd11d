// Writes the corpus of the export checks: SvqExportCorpus DIR. Each dictionary
// NAME.svq comes with NAME.json, the content an export must give back: language
// codes and names in UTF-8, the rows' texts and contexts exactly as stored
// (lone surrogates as \u escapes), and the information block.
#include "tests/support/SvqTestWriter.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace std::string_literals;
using sv::test::TSvqTestFile;
using sv::test::TSvqTestLanguage;
using sv::test::TSvqTestRow;

namespace {

struct TLanguage {
  TSvqTestLanguage Record;
  std::string Code;     // the tag an export gives it
  std::string NameUtf8; // the name as read back
  std::string AnsiName; // the name's bytes in its code page, for Ansi files
};

TLanguage Language(std::uint16_t primary, const char* code, std::uint16_t sub, const char* country,
                   std::uint16_t codePage, const char* tag, const char* name,
                   const char* ansiName) {
  TLanguage l;
  l.Record.Primary = primary;
  l.Record.LanguageCode = code;
  l.Record.Sublanguage = sub;
  l.Record.CountryCode = country;
  l.Record.CodePage = codePage;
  l.Record.NativeName = "n";
  l.Code = tag;
  l.NameUtf8 = name;
  l.AnsiName = ansiName;
  return l;
}

std::string JsonString(const std::u16string& text) {
  std::string out = "\"";
  char hex[8];
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      out += hex;
    }
  }
  return out + "\"";
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  char hex[8];
  for (char c : utf8) {
    if (c == '"' || c == '\\')
      out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

struct TCase {
  std::string Name;
  TSvqTestFile File;
  std::vector<TLanguage> Languages;
  std::string Description, Owner, Time; // UTF-8 as read back; Time ISO or empty
  bool RawNames = false;                // names stored as AnsiName in any character set
};

void Save(const std::string& dir, TCase c) {
  TSvqTestFile& f = c.File;
  f.Languages.clear();
  std::string json = "{\"languages\": [";
  for (std::size_t i = 0; i < c.Languages.size(); ++i) {
    TLanguage& l = c.Languages[i];
    l.Record.Name = f.CharacterSet == 1 || c.RawNames ? l.AnsiName : l.NameUtf8;
    f.Languages.push_back(l.Record);
    if (i >= f.LanguageCount.value_or(c.Languages.size()))
      continue;
    const std::string code = f.Version == 1 ? "x-col-" + std::to_string(i) : l.Code;
    json += (i ? ", " : "") + std::string("{\"code\": ") + JsonString(code) +
            ", \"name\": " + JsonString(l.NameUtf8) + "}";
  }
  json += "],\n\"rows\": [";
  for (std::size_t r = 0; r < f.Rows.size(); ++r) {
    const TSvqTestRow& row = f.Rows[r];
    const bool form = f.ContextKind == 1 || f.ContextKind == 3;
    const bool component = f.ContextKind == 1 || f.ContextKind == 2;
    json += (r ? ",\n" : "\n") + std::string("{\"form_type\": ") +
            JsonString(form ? row.FormType : u"") +
            ", \"component_name\": " + JsonString(component ? row.ComponentName : u"") +
            ", \"texts\": [";
    for (std::size_t i = 0; i < row.Texts.size(); ++i)
      json += (i ? ", " : "") + JsonString(row.Texts[i]);
    json += "]}";
  }
  json += "],\n\"information\": ";
  if (f.Version == 1 || !f.Information.Present)
    json += "null";
  else
    json += "{\"description\": " + JsonString(c.Description) + ", \"owner\": " +
            JsonString(c.Owner) + ", \"time\": " +
            (f.Version >= 3 && !c.Time.empty() ? JsonString(c.Time) : "null") + "}";
  json += "}\n";
  f.Save(dir + "/" + c.Name + ".svq");
  std::ofstream(dir + "/" + c.Name + ".json", std::ios::binary) << json;
}

// Three languages and rows that are hard to carry: empty and repeated sources,
// controls, lone surrogates, XML markup, white space, line-feed mismatches.
TCase Rich() {
  TCase c;
  c.Languages = {
      Language(9, "en", 1, "US", 1252, "en-US", "English", "English"),
      Language(7, "de", 1, "DE", 1252, "de-DE", "Deutsch \xC3\xA4", "Deutsch \xE4"),
      Language(0x19, "ru", 1, "RU", 1251, "ru-RU", "\xD0\xA0\xD1\x83\xD1\x81", "\xD0\xF3\xF1")};
  c.File.Rows = {
      {{u"Open", u"\u00D6ffnen", u"\u041E\u0442\u043A"}, u"TForm1", u"Btn"},
      {{u"", u"x\u0000y"s, u""}, u"TForm1", u"Empty"},
      {{u"Open", u"\u00D6ffnen", u"\u041E\u0442\u043A"}, u"TForm1", u"Btn"},
      {{u"Open", u"\u00D6ffnen!", u""}, u"TForm1", u"Btn"},
      {{u"Open", u"\u00D6ffnen", u"\u041E\u0442\u043A"}, u"TForm2", u"Btn"},
      {{u"a\u0001b\tc\r\nd\u001F", u"\u000B\u000C\u007F", u"e\u0000f"s}, u"F", u"Ctl"},
      {{u"\xD800x", u"y\xDC00", u"\U0001F600"}, u"F", u"Sur"},
      {{u"\nLine", u"Line", u"Line\n"}, u"F", u"Nl"},
      {{u"<a href=\"x\">&amp;</a>", u"'\"]]>", u"\uFFFE\uFFFF"}, u"F", u"Xml"},
      {{u"  two  spaces  ", u"\t", u" "}, u"F", u"Ws"},
      {{u"", u"", u""}, u"F", u"None"},
      {{u"Ctx", u"Ktx", u""}, u"F\tx\ny\rz", u"C\u0001\"<>&\xD801"},
      {{u"e\u0301", u"\u00E9", u"Open"}, u"", u""},
  };
  c.File.Information.Description = "Menus \xC3\xA4";
  // Markup, a control and a line that would be a header field of its own in a catalog.
  c.File.Information.Owner = "Agency \"A&B\" <x>\x01\nX-Injected: 1";
  c.File.Information.Users = {"ann"};
  c.File.Information.Day = 9;
  c.File.Information.Month = 12;
  c.File.Information.Year = 2026;
  c.File.Information.Hour = 18;
  c.File.Information.Minute = 5;
  c.File.Information.Second = 7;
  c.Description = "Menus \xC3\xA4";
  c.Owner = c.File.Information.Owner;
  c.Time = "2026-12-09T18:05:07";
  return c;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: SvqExportCorpus DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  for (int version = 1; version <= 3; ++version)
    for (int order = 0; order <= 1; ++order)
      for (int charset = 0; charset <= 2; ++charset)
        for (int context = 0; context <= 3; ++context) {
          TCase c = Rich();
          c.File.Version = static_cast<std::uint8_t>(version);
          c.File.ByteOrder = static_cast<std::uint8_t>(order);
          c.File.CharacterSet = static_cast<std::uint8_t>(charset);
          c.File.Byte5InVersion1 = static_cast<std::uint8_t>(charset);
          c.File.ContextKind = static_cast<std::uint8_t>(context);
          if (charset == 1) // the information block is in the first language's code page
            c.File.Information.Description = "Menus \xE4";
          c.Name = "v" + std::to_string(version) + "-o" + std::to_string(order) + "-c" +
                   std::to_string(charset) + "-k" + std::to_string(context);
          Save(dir, c);
        }

  // Codes that give no tag or a repeated one, and 8-bit code pages of every kind.
  TCase codes = Rich();
  codes.Name = "codes";
  codes.File.CharacterSet = 1;
  codes.File.ContextKind = 1;
  codes.File.Information.Description = "Menus \xE4";
  codes.Languages = {
      Language(8, "el", 1, "GR", 1253, "el-GR", "\xCE\x95\xCE\xBB", "\xC5\xEB"),
      Language(0x11, "ja", 1, "JP", 932, "ja-JP", "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"),
      Language(0x11, "ja", 1, "JP", 932, "ja-JP-x-col-2", "Caf\xEF\xBF\xBD", "Caf\xFF"),
      Language(7, "de", 1, "12", 1252, "x-col-3", "de 12", "de 12"),
      Language(9, "", 1, "US", 1252, "x-col-4", "US", "US"),
      // Its codes say nothing of a code page: the one its record stores decides.
      Language(85, "85", 1, "US", 1253, "x-col-5", "\xCE\x95\xCE\xBB", "\xC5\xEB")};
  codes.Description = "Menus \xCE\xB4"; // 0xE4 in code page 1253
  for (TSvqTestRow& row : codes.File.Rows)
    row.Texts.insert(row.Texts.end(), {row.Texts[0], u"\u00E9", u"\u0001"});
  Save(dir, codes);

  // Bytes that are no UTF-8 in a UTF-8 dictionary.
  TCase broken = Rich();
  broken.Name = "utf8-invalid";
  broken.File.CharacterSet = 2;
  broken.File.Information.Present = false;
  broken.RawNames = true;
  for (TLanguage& l : broken.Languages)
    l.AnsiName = l.NameUtf8;
  broken.Languages[1].AnsiName = "A\xFF" "B";
  broken.Languages[1].NameUtf8 = "A\xEF\xBF\xBD" "B";
  Save(dir, broken);

  // One language, none, no rows.
  TCase one = Rich();
  one.Name = "one-language";
  one.Languages.resize(1);
  for (TSvqTestRow& row : one.File.Rows)
    row.Texts.resize(1);
  Save(dir, one);
  TCase none = Rich();
  none.Name = "no-language";
  none.File.LanguageCount = 0; // a record is there: the reader decodes record 0 on opening
  none.File.Rows.clear();
  Save(dir, none);
  TCase empty = Rich();
  empty.Name = "no-rows";
  empty.File.Rows.clear();
  empty.File.Information.Present = false;
  Save(dir, empty);

  // The sample's expected content beside the shipped sample.
  TCase sample;
  sample.Name = "sample";
  sample.File = sv::test::SampleDictionary();
  for (const TSvqTestLanguage& l : sample.File.Languages) {
    TLanguage language{l, l.LanguageCode + "-" + l.CountryCode, l.Name, l.Name};
    sample.Languages.push_back(language);
  }
  sample.Description = sample.File.Information.Description;
  sample.Owner = sample.File.Information.Owner;
  char time[32];
  std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d", sample.File.Information.Year,
                sample.File.Information.Month, sample.File.Information.Day,
                sample.File.Information.Hour, sample.File.Information.Minute,
                sample.File.Information.Second);
  sample.Time = time;
  Save(dir, sample);
  return 0;
}
