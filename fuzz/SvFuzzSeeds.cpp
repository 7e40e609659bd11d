// Writes the seed corpora of the fuzz targets into one folder per target:
//   sv_fuzz_seeds DIR
// Dictionaries come from the test writer in every version, byte order, character
// set and context kind, with tails, short record lengths and information blocks.
#include "tests/support/SvqTestWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using sv::test::TSvqTestFile;
using sv::test::TSvqTestLanguage;
using sv::test::TSvqTestRow;

namespace {

int gCount = 0;

void Save(const fs::path& dir, const std::string& name, const std::string& bytes) {
  std::ofstream(dir / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  ++gCount;
}

void SaveDictionary(const fs::path& dir, const std::string& name, const TSvqTestFile& file) {
  const std::vector<std::uint8_t> bytes = file.Build();
  Save(dir, name, std::string(bytes.begin(), bytes.end()));
}

TSvqTestLanguage Language(const char* code, const char* country, std::uint16_t primary,
                          std::uint16_t sublanguage, std::uint16_t codePage, const char* name,
                          const char* native) {
  TSvqTestLanguage language;
  language.LanguageCode = code;
  language.CountryCode = country;
  language.Primary = primary;
  language.Sublanguage = sublanguage;
  language.CodePage = codePage;
  language.Name = name;
  language.NativeName = native;
  return language;
}

// Two languages, two rows, an information block with users and a time.
TSvqTestFile SmallDictionary() {
  TSvqTestFile file;
  file.Languages = {Language("en", "US", 9, 1, 1252, "English", "English"),
                    Language("sr", "", 26, 3, 1251, "Serbian", "\xD1\x81\xD1\x80\xD0\xBF")};
  file.Rows = {TSvqTestRow{{u"Open", u"\u041E\u0442\u0432\u043E\u0440\u0438"}, u"TForm1", u"Btn"},
               TSvqTestRow{{u"", u"x\u0000y"}, u"", u""}};
  file.Information.Description = "Menus";
  file.Information.Owner = "Agency";
  file.Information.Users = {"ann", "bob"};
  file.Information.Day = 9;
  file.Information.Month = 12;
  file.Information.Year = 2026;
  file.Information.Hour = 18;
  file.LocaleCount = 2;
  return file;
}

void ReportSeeds(const fs::path& dir) {
  SaveDictionary(dir, "sample", sv::test::SampleDictionary());
  for (int version = 1; version <= 3; ++version)
    for (int order = 0; order <= 1; ++order)
      for (int charset = 0; charset <= 1; ++charset)
        for (int context = 0; context <= 3; ++context) {
          TSvqTestFile file = SmallDictionary();
          file.Version = static_cast<std::uint8_t>(version);
          file.ByteOrder = static_cast<std::uint8_t>(order);
          file.CharacterSet = static_cast<std::uint8_t>(charset);
          file.ContextKind = static_cast<std::uint8_t>(context);
          if (version == 1)
            file.Byte5InVersion1 = static_cast<std::uint8_t>(charset);
          SaveDictionary(dir,
                         "v" + std::to_string(version) + "-o" + std::to_string(order) + "-c" +
                             std::to_string(charset) + "-k" + std::to_string(context),
                         file);
        }
  // Version 3 records with a tail and with lengths shorter than their fields.
  TSvqTestFile tail = SmallDictionary();
  tail.Languages[0].Tail = {1, 2, 3, 4, 5, 6, 7};
  tail.Languages[1].Text1 = "t1";
  tail.Languages[1].Text2 = "t2";
  tail.Languages[1].Text3 = "t3";
  tail.Languages[1].Number = 7;
  SaveDictionary(dir, "tail", tail);
  for (std::uint16_t length : {0, 2, 6, 20}) {
    TSvqTestFile file = SmallDictionary();
    file.Languages[0].RecordLength = length;
    SaveDictionary(dir, "short-" + std::to_string(length), file);
  }
  // No information block, blocks in reverse order, a locale block, a cut file.
  TSvqTestFile noInformation = SmallDictionary();
  noInformation.Information.Present = false;
  SaveDictionary(dir, "no-information", noInformation);
  TSvqTestFile reversed = SmallDictionary();
  reversed.ReverseBlocks = true;
  SaveDictionary(dir, "reversed", reversed);
  TSvqTestFile locales = SmallDictionary();
  locales.LocaleBlock = {9, 4, 0, 0, 7, 4, 0, 0};
  SaveDictionary(dir, "locales", locales);
  TSvqTestFile cut = SmallDictionary();
  cut.TruncateTo = 60;
  SaveDictionary(dir, "cut", cut);
  TSvqTestFile empty;
  SaveDictionary(dir, "empty", empty);
}

const char* const kLanguageDocuments[] = {
    R"(<language id="de_AT"/>)",
    R"(<?xml version="1.0" encoding="UTF-8"?><document><language id="sr_SP.lat" )"
    R"(fontname="Arial &amp; Co" fontsize="10"><test type="ttPseudo" from31to50="5" )"
    R"(replacechar="#" reductionchar="ab" enclose="no" expandchar="_" lastchar="!" )"
    R"(doublebyte="1"/></language></document>)",
    R"(<document><language id="no__NYNORSK"><test type="ttCover"/></language></document>)",
    R"(<language id="zh_TW"><test enclose="yes"/></language>)",
};

const char* const kXmlDocuments[] = {
    "<a/>",
    "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a b=\"\xC0\xC1\">\xE0</a>",
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
    "<a x='1' xml:lang=\"de\"><b>t&amp;&lt;&#x41;&#66;</b><b/><![CDATA[<c>]]><!-- c --></a>",
    "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>",
    "<a>\r\n  <b c=\"&#9;&#10;&#13;\"/>\n</a>",
};

void WriteUtf16(const fs::path& dir, const std::string& name, const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  Save(dir, name, bytes);
}

void XmlSeeds(const fs::path& dir) {
  int n = 0;
  for (const char* document : kXmlDocuments)
    Save(dir, "doc" + std::to_string(n++), document);
  for (const char* document : kLanguageDocuments)
    Save(dir, "doc" + std::to_string(n++), document);
  WriteUtf16(dir, "utf16", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a b=\"c\"/>");
}

void LanguageXmlSeeds(const fs::path& dir) {
  int n = 0;
  for (const char* document : kLanguageDocuments)
    for (char encoding = 0; encoding < 3; ++encoding)
      Save(dir, "language" + std::to_string(n++), std::string(1, encoding) + document);
}

void LocaleCodeSeeds(const fs::path& dir) {
  const char* const codes[] = {"en",         "en_US",       "sr_SP.lat",   "sr_SP.cyr",
                               "zh_TW",      "zh__.sim",    "no__NYNORSK", "es__MOD",
                               "se_NO_LULE", "ts_ ",        "az.cyr",      "uz_UZ.lat",
                               "bs",         "ko_KR_JOHAB", "x_y_z.w",     ""};
  int n = 0;
  for (const char* code : codes)
    Save(dir, "code" + std::to_string(n++), std::string("\x09\x04\x01", 3) + code);
}

void ParserSeeds(const fs::path& dir) {
  Save(dir, "ansi", std::string("\x40,", 2) + "a,,b,");
  Save(dir, "quoted", std::string("\x41,", 2) + "'ab','c''d'");
  Save(dir, "escaped", std::string("\x4C,", 2) + " #13#10a , b#41 ");
  Save(dir, "blank", std::string("\x70,", 2) + " a\tb\r\nc\xA0");
  Save(dir, "wide", std::string("\x00\x00\x00", 3) + std::string("o\0n\0e\0\0\0t\0w\0o\0", 14));
}

void ConvertSeeds(const fs::path& dir) {
  // Code page indexes are taken modulo the table; a few plain texts and UTF-16 ones.
  const std::string texts[] = {"Hello", "\xC3\xA9\xE2\x82\xAC", "\x82\xA0\x93\xFA", "a\0b"};
  int n = 0;
  for (unsigned index : {0u, 5u, 20u, 40u, 60u, 80u, 100u, 120u, 140u})
    for (const std::string& text : texts) {
      std::string input;
      input += static_cast<char>(index & 0xFF);
      input += static_cast<char>(index >> 8);
      input += static_cast<char>(n & 1);
      Save(dir, "text" + std::to_string(n++), input + text);
    }
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sv_fuzz_seeds DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  const struct {
    const char* Target;
    void (*Write)(const fs::path&);
  } kTargets[] = {
      {"sv_fuzz_report", ReportSeeds},
      {"sv_fuzz_xml_reader", XmlSeeds},
      {"sv_fuzz_language_xml", LanguageXmlSeeds},
      {"sv_fuzz_locale_code", LocaleCodeSeeds},
      {"sv_fuzz_parser", ParserSeeds},
      {"sv_fuzz_convert", ConvertSeeds},
  };
  for (const auto& target : kTargets) {
    const fs::path dir = root / target.Target;
    fs::create_directories(dir);
    target.Write(dir);
  }
  std::printf("%d seeds in %s\n", gCount, root.c_str());
  return 0;
}
