// TSvTest: the settings with which test translations of a project language are
// made. The class stores, compares, copies and persists them.
#pragma once

#include "core/SvTypeInfo.h"
#include "xml/SvXmlObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sv {

enum TSvTestType : std::uint8_t { ttNone = 0, ttCover = 1, ttMinimum = 2, ttPseudo = 3 };
// The type information of TSvTestType; its identifiers are the XML values.
const TSvTypeInfo& TestTypeInfo();

// The options, by bit number.
enum TTestOption : std::uint8_t {
  toExpand = 0,
  toEnclose = 1,
  toAlternateCase = 2,
  toUpperCase = 3,
  toDiacritic = 4
};
using TTestOptions = std::uint8_t; // a set of TTestOption
constexpr TTestOptions TestOptionBit(TTestOption option) {
  return static_cast<TTestOptions>(1u << option);
}
inline constexpr TTestOptions kDefaultTestOptions =
    TestOptionBit(toEnclose) | TestOptionBit(toDiacritic);

// The length bands of the expansion values.
enum TTestExpansion : std::uint8_t {
  exFrom1To5 = 0,
  exFrom6To10 = 1,
  exFrom11To20 = 2,
  exFrom21To30 = 3,
  exFrom31To50 = 4,
  exOver50 = 5
};
using TTestExpansions = std::array<std::int32_t, 6>;
inline constexpr TTestExpansions kDefaultTestExpansions = {200, 100, 70, 50, 30, 20};

class TSvTest : public TSvXmlObject {
public:
  explicit TSvTest(TSvTestType testType = ttNone);

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Source must be a TSvTest; every setting is copied.
  void Assign(const TSvPersistent& source) override;
  bool IsEqual(const TSvObject& other) const override;
  bool IsDefault() const override;
  // Every setting to its default, the test type included.
  void Clear() override;

  TSvXmlStyle GetXmlStyle() const override;
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override;
  void ReadXmlElement(const TSvXmlElement& element) override;

  TSvTestType TestType() const { return FTestType; }
  void SetTestType(TSvTestType testType) { FTestType = testType; }
  char16_t ReplaceChar() const { return FReplaceChar; }
  void SetReplaceChar(char16_t c) { FReplaceChar = c; }
  const std::u16string& ReductionChars() const { return FReductionChars; }
  void SetReductionChars(std::u16string chars) { FReductionChars = std::move(chars); }
  TTestOptions Options() const { return FOptions; }
  void SetOptions(TTestOptions options) { FOptions = options; }
  bool HasOption(TTestOption option) const { return (FOptions & TestOptionBit(option)) != 0; }
  void SetOption(TTestOption option, bool on);
  std::int32_t Expansion(TTestExpansion band) const { return FExpansions[band]; }
  void SetExpansion(TTestExpansion band, std::int32_t value) { FExpansions[band] = value; }
  char ExpandChar() const { return FExpandChar; }
  void SetExpandChar(char c) { FExpandChar = c; }
  char LastChar() const { return FLastChar; }
  void SetLastChar(char c) { FLastChar = c; }
  bool DoubleByte() const { return FDoubleByte; }
  void SetDoubleByte(bool doubleByte) { FDoubleByte = doubleByte; }

private:
  TSvTestType FTestType = ttNone;
  char16_t FReplaceChar = u'.';
  std::u16string FReductionChars;
  TTestOptions FOptions = kDefaultTestOptions;
  TTestExpansions FExpansions = kDefaultTestExpansions;
  char FExpandChar = '_';
  char FLastChar = 'X';
  bool FDoubleByte = false;
};

} // namespace sv
