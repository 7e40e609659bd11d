#include "language/SvTest.h"

#include "locale/SvConvert.h"

#include <cstdint>

namespace sv {

namespace {

constexpr const char* kTestTypeNames[] = {"ttNone", "ttCover", "ttMinimum", "ttPseudo"};
constexpr TSvTypeInfo kTestTypeInfo = SvEnumTypeInfo("TSvTestType", kTestTypeNames);

// The option attributes, by bit number.
constexpr const char16_t* kOptionNames[] = {u"expand", u"enclose", u"alternatecase", u"uppercase",
                                            u"diacritic"};
// The expansion attributes, by band.
constexpr const char16_t* kExpansionNames[] = {u"from1to5",   u"from6to10",  u"from11to20",
                                               u"from21to30", u"from31to50", u"over50"};

constexpr char16_t kDefaultReplaceChar = u'.';
constexpr char kDefaultExpandChar = '_';
constexpr char kDefaultLastChar = 'X';

std::u16string WideOf(char c) {
  return AnsiToWide(std::string(1, c), 0);
}

// The first character of the attribute; the default when it is absent or empty, since
// a NUL character could not be written back.
char16_t ReadChar(const TSvXmlAttributes& attributes, const std::u16string& name,
                  char16_t defaultValue) {
  const char16_t c = attributes.GetChar(name, defaultValue);
  return c == u'\0' ? defaultValue : c;
}

// As ReadChar, as one byte of the system code page; a character that is no single
// byte there gives the default.
char ReadAnsiChar(const TSvXmlAttributes& attributes, const std::u16string& name,
                  char defaultValue) {
  const char16_t c = ReadChar(attributes, name, u'\0');
  if (c == u'\0')
    return defaultValue;
  const std::string bytes = WideToAnsi(std::u16string(1, c), 0);
  return bytes.size() == 1 && AnsiToWide(bytes, 0) == std::u16string(1, c) ? bytes[0]
                                                                           : defaultValue;
}

} // namespace

const TSvTypeInfo& TestTypeInfo() {
  return kTestTypeInfo;
}

TSvTest::TSvTest(TSvTestType testType) {
  Clear();
  FTestType = testType;
}

std::unique_ptr<TSvObject> TSvTest::CreateNew() const {
  return std::make_unique<TSvTest>();
}

void TSvTest::Assign(const TSvPersistent& source) {
  TSvXmlObject::Assign(source);
  const TSvTest& test = SvCast<TSvTest>(source);
  FTestType = test.FTestType;
  FReplaceChar = test.FReplaceChar;
  FReductionChars = test.FReductionChars;
  FOptions = test.FOptions;
  FExpansions = test.FExpansions;
  FExpandChar = test.FExpandChar;
  FLastChar = test.FLastChar;
  FDoubleByte = test.FDoubleByte;
}

bool TSvTest::IsEqual(const TSvObject& other) const {
  const auto* test = dynamic_cast<const TSvTest*>(&other);
  return test && FTestType == test->FTestType && FReplaceChar == test->FReplaceChar &&
         FReductionChars == test->FReductionChars && FOptions == test->FOptions &&
         FExpansions == test->FExpansions && FExpandChar == test->FExpandChar &&
         FLastChar == test->FLastChar && FDoubleByte == test->FDoubleByte;
}

bool TSvTest::IsDefault() const {
  // Asked several times per write of a project language; no fresh object needed.
  static const TSvTest fresh;
  return IsEqual(fresh);
}

void TSvTest::Clear() {
  FTestType = ttNone;
  FReplaceChar = kDefaultReplaceChar;
  FReductionChars.clear();
  FOptions = kDefaultTestOptions;
  FExpansions = kDefaultTestExpansions;
  FExpandChar = kDefaultExpandChar;
  FLastChar = kDefaultLastChar;
  FDoubleByte = false;
}

void TSvTest::SetOption(TTestOption option, bool on) {
  if (on)
    FOptions = static_cast<TTestOptions>(FOptions | TestOptionBit(option));
  else
    FOptions = static_cast<TTestOptions>(FOptions & ~TestOptionBit(option));
}

TSvXmlStyle TSvTest::GetXmlStyle() const {
  return xsEmpty;
}

void TSvTest::WriteXmlAttributes(TSvXmlAttributes& attributes) const {
  attributes.SetEnum(u"type", &kTestTypeInfo, FTestType, ttNone);
  attributes.SetString(u"replacechar", std::u16string(1, FReplaceChar),
                       std::u16string(1, kDefaultReplaceChar));
  attributes.SetString(u"reductionchar", FReductionChars, u"");
  for (int bit = 0; bit < 5; ++bit) {
    const auto option = static_cast<TTestOption>(bit);
    attributes.SetBool(kOptionNames[bit], HasOption(option),
                       (kDefaultTestOptions & TestOptionBit(option)) != 0);
  }
  for (std::size_t band = 0; band < FExpansions.size(); ++band)
    attributes.SetInt64(kExpansionNames[band], FExpansions[band], kDefaultTestExpansions[band]);
  attributes.SetString(u"expandchar", WideOf(FExpandChar), WideOf(kDefaultExpandChar));
  attributes.SetString(u"lastchar", WideOf(FLastChar), WideOf(kDefaultLastChar));
  attributes.SetInt64(u"doublebyte", FDoubleByte ? 1 : 0, 0);
}

void TSvTest::ReadXmlElement(const TSvXmlElement& element) {
  const TSvXmlAttributes& attributes = element.Attributes();
  FTestType = attributes.GetEnum(u"type", kTestTypeInfo, FTestType);
  FReplaceChar = ReadChar(attributes, u"replacechar", kDefaultReplaceChar);
  FReductionChars = attributes.GetString(u"reductionchar", u"");
  FOptions = 0;
  for (int bit = 0; bit < 5; ++bit) {
    const auto option = static_cast<TTestOption>(bit);
    if (attributes.GetBool(kOptionNames[bit], (kDefaultTestOptions & TestOptionBit(option)) != 0))
      SetOption(option, true);
  }
  for (std::size_t band = 0; band < FExpansions.size(); ++band) {
    // A value beyond 32 bits would wrap around; it counts as no value.
    const std::int64_t value =
        attributes.GetInt64(kExpansionNames[band], kDefaultTestExpansions[band]);
    FExpansions[band] = value >= INT32_MIN && value <= INT32_MAX ? static_cast<std::int32_t>(value)
                                                                 : kDefaultTestExpansions[band];
  }
  FExpandChar = ReadAnsiChar(attributes, u"expandchar", kDefaultExpandChar);
  FLastChar = ReadAnsiChar(attributes, u"lastchar", kDefaultLastChar);
  FDoubleByte = attributes.GetInt64(u"doublebyte", 0) != 0;
}

} // namespace sv
