// The XML document model: items and attributes with typed values, attribute lists,
// element trees built by the reader (SvXmlReader.h), and the document writer.
#pragma once

#include "core/SvClasses.h"
#include "core/SvCollec.h"
#include "core/SvObject.h"
#include "core/SvTextWriter.h"
#include "core/SvTypeInfo.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace sv {

class TSvXmlObject;

// ---- Entities and escaping modes ----

struct TEntityData {
  const char* EntityName;
  char16_t EntityChar;
};

// The five predefined entities, in the order & ' " > <. Every record of modes or
// options below has its five entries in the same order.
std::span<const TEntityData> EntityTable();

enum TSvXmlEntityIndex : std::uint8_t { eiAmp = 0, eiApos = 1, eiQuot = 2, eiGt = 3, eiLt = 4 };

// How one of the five special characters is written; other values as emLiteral.
enum TSvXmlEntityMode : std::uint8_t { emLiteral = 0, emDecimal = 1, emHex = 2, emNamed = 3 };

using TSvXmlEntityModes = std::array<TSvXmlEntityMode, 5>;
inline constexpr TSvXmlEntityModes DefaultEntityModes = {emNamed, emNamed, emNamed, emNamed,
                                                         emNamed};

// A set of TSvXmlEntityMode: bit n stands for mode n. Empty means the default.
using TSvXmlEntityModeSet = std::uint8_t;
constexpr TSvXmlEntityModeSet SvEntityModeSet(std::initializer_list<TSvXmlEntityMode> modes) {
  TSvXmlEntityModeSet set = 0;
  for (TSvXmlEntityMode mode : modes)
    set = static_cast<TSvXmlEntityModeSet>(set | (1u << mode));
  return set;
}
using TSvXmlEntityOptions = std::array<TSvXmlEntityModeSet, 5>;

// Which characters other than the five become numeric character references.
enum TSvXmlCharRefMode : std::uint8_t {
  crNone = 0,
  crNoBreakSpace = 1, // U+00A0 as "&#160;"
  crAbove128 = 2      // every character above U+0080 as "&#" decimal ";"
};

// The attribute quotes by TSvXmlAttribute::Quote: double quote, apostrophe.
inline constexpr char16_t QuoteChars[2] = {u'"', u'\''};

// The default-omission mode: while it is on, a setter of TSvXmlAttributes asked to
// omit defaults writes nothing for a value equal to its default. On from start.
bool XmlOmitDefaults();
void SetXmlOmitDefaults(bool omit);

// Module start: the omit-defaults switch on.
void StartXmlFile();

// ---- Items and attributes ----

class TSvXmlItem : public TSvObject {
public:
  TSvXmlItem() = default;
  TSvXmlItem(std::u16string name, std::u16string value);

  std::unique_ptr<TSvObject> CreateNew() const override = 0;
  // Copies name, value, tag and the kept texts from another TSvXmlItem.
  void Assign(const TSvPersistent& source) override;

  // The value text.
  virtual std::u16string GetText() const = 0;
  virtual void SetText(const std::u16string& text) = 0;

  // A caller's value; ignored by IsEqual.
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t tag) { FTag = tag; }
  const std::u16string& Name() const { return FName; }
  void SetName(std::u16string name) { FName = std::move(name); }
  const std::u16string& Value() const { return FValue; }
  void SetValue(std::u16string value) { FValue = std::move(value); }
  // Text kept in front of and behind the value, written only when whitespace is preserved.
  const std::u16string& Leading() const { return FLeading; }
  void SetLeading(std::u16string text) { FLeading = std::move(text); }
  const std::u16string& Trailing() const { return FTrailing; }
  void SetTrailing(std::u16string text) { FTrailing = std::move(text); }

private:
  std::int32_t FTag = 0;
  std::u16string FName;
  std::u16string FValue;
  std::u16string FLeading;
  std::u16string FTrailing;
};

class TSvXmlAttribute : public TSvXmlItem {
public:
  TSvXmlAttribute() = default;
  TSvXmlAttribute(std::u16string name, std::u16string value);
  TSvXmlAttribute(std::u16string name, const char16_t* value);
  // Decimal digits, "-" for negatives.
  TSvXmlAttribute(std::u16string name, std::int64_t value);
  TSvXmlAttribute(std::u16string name, int value);
  // The general float format of SetAsFloat.
  TSvXmlAttribute(std::u16string name, double value);
  // "1" or "0".
  TSvXmlAttribute(std::u16string name, bool value);
  TSvXmlAttribute(std::u16string name, const TSvXmlEntityOptions& options, std::u16string value);

  std::unique_ptr<TSvObject> CreateNew() const override;
  void Assign(const TSvPersistent& source) override;
  // Name, value, the three kept texts, entity options and quote all equal (exactly).
  bool IsEqual(const TSvObject& other) const override;
  std::u16string GetText() const override { return Value(); }
  void SetText(const std::u16string& text) override { SetValue(text); }

  const std::u16string& AsString() const { return Value(); }
  void SetAsString(std::u16string value) { SetValue(std::move(value)); }
  // The first character; U+0000 for an empty value.
  char16_t AsChar() const;
  // The value as a signed decimal number; 0 when it is not one.
  std::int64_t AsInt64() const;
  void SetAsInt64(std::int64_t value);
  // The value as a float with "." as separator; ESvConvertError when it is not one.
  double AsFloat() const;
  // Up to 15 significant digits, "." as separator, exponent form for large and
  // small magnitudes ("1E20", "1.5E-6"), "0" for zero.
  void SetAsFloat(double value);
  // True unless the value is exactly "0".
  bool AsBoolean() const;
  void SetAsBoolean(bool value);
  // Every character an ASCII digit (true for an empty value).
  bool IsNumeric() const;

  // Text kept between the name and "=", between "=" and the quote, and behind the quote.
  const std::u16string& BeforeEquals() const { return FBeforeEquals; }
  void SetBeforeEquals(std::u16string text) { FBeforeEquals = std::move(text); }
  const std::u16string& AfterEquals() const { return FAfterEquals; }
  void SetAfterEquals(std::u16string text) { FAfterEquals = std::move(text); }
  const std::u16string& After() const { return FAfter; }
  void SetAfter(std::u16string text) { FAfter = std::move(text); }
  // This attribute's choice of escaping; all empty by default.
  const TSvXmlEntityOptions& EntityOptions() const { return FEntityOptions; }
  void SetEntityOptions(const TSvXmlEntityOptions& options) { FEntityOptions = options; }
  // Index into QuoteChars.
  std::uint8_t Quote() const { return FQuote; }
  void SetQuote(std::uint8_t quote) { FQuote = quote; }

private:
  std::u16string FBeforeEquals;
  std::u16string FAfterEquals;
  std::u16string FAfter;
  TSvXmlEntityOptions FEntityOptions{};
  std::uint8_t FQuote = 0;
};

// An owning list of attributes with typed access. Names compare exactly. Every
// setter appends when no attribute of the name exists, so attributes stand in the
// order in which they were first set. A setter with omitIfDefault writes nothing for
// a value equal to its default while XmlOmitDefaults is on.
class TSvXmlAttributes : public TSvItems {
public:
  TSvXmlAttributes() = default;

  std::unique_ptr<TSvObject> CreateNew() const override;
  // Clones the attributes and copies CharRefMode.
  void Assign(const TSvPersistent& source) override;

  // Appends for index < 0, else inserts at index.
  void Insert(std::unique_ptr<TSvXmlAttribute> attribute, int index = -1);
  // The first attribute named name, or nullptr.
  TSvXmlAttribute* Find(const std::u16string& name) const;
  TSvXmlAttribute& Item(int index) const;

  std::u16string GetString(const std::u16string& name, const std::u16string& defaultValue) const;
  void SetString(const std::u16string& name, const std::u16string& value,
                 const std::u16string& defaultValue, bool omitIfDefault = true);
  // Inserts a new attribute without looking for an existing one.
  void AddString(const std::u16string& name, const std::u16string& value, int index = -1);

  char16_t GetChar(const std::u16string& name, char16_t defaultValue) const;

  // The default only when there is no attribute; a non-numeric value gives 0.
  std::int64_t GetInt64(const std::u16string& name, std::int64_t defaultValue) const;
  void SetInt64(const std::u16string& name, std::int64_t value, std::int64_t defaultValue,
                bool omitIfDefault = true);
  void AddInt64(const std::u16string& name, std::int64_t value, int index = -1);

  // ESvConvertError for a value that is not a float.
  double GetFloat(const std::u16string& name, double defaultValue) const;
  void SetFloat(const std::u16string& name, double value, double defaultValue,
                bool omitIfDefault = true);
  void AddFloat(const std::u16string& name, double value, int index = -1);

  // The default when there is no attribute or its value is neither "0" nor "1".
  bool GetBool(const std::u16string& name, bool defaultValue) const;
  void SetBool(const std::u16string& name, bool value, bool defaultValue,
               bool omitIfDefault = true);
  void AddBool(const std::u16string& name, bool value, int index = -1);

  // An enumeration value stored by its identifier or its ordinal. The default when
  // there is no attribute or the value is outside the type's range; ESvError
  // "Type %s in not an enumeration type" for type information of another kind.
  int GetEnum(const std::u16string& name, const TSvTypeInfo& typeInfo, int defaultValue) const;
  // Stores the identifier; without type information the ordinal.
  void SetEnum(const std::u16string& name, const TSvTypeInfo* typeInfo, int value, int defaultValue,
               bool omitIfDefault = true);

  template <class E>
  requires std::is_enum_v<E> E GetEnum(const std::u16string& name, const TSvTypeInfo& typeInfo,
                                       E defaultValue)
  const { return static_cast<E>(GetEnum(name, typeInfo, static_cast<int>(defaultValue))); }
  template <class E>
  requires std::is_enum_v<E>
  void SetEnum(const std::u16string& name, const TSvTypeInfo* typeInfo, E value, E defaultValue,
               bool omitIfDefault = true) {
    SetEnum(name, typeInfo, static_cast<int>(value), static_cast<int>(defaultValue), omitIfDefault);
  }

  TSvXmlCharRefMode CharRefMode() const { return FCharRefMode; }
  void SetCharRefMode(TSvXmlCharRefMode mode) { FCharRefMode = mode; }

private:
  TSvXmlCharRefMode FCharRefMode = crNoBreakSpace;
};

// ---- Elements ----

// An element of a document tree: name, attributes, child elements in document order
// and the character data that stands directly in it.
class TSvXmlElement {
public:
  TSvXmlElement() = default;
  explicit TSvXmlElement(std::u16string name) : FName(std::move(name)) {}
  ~TSvXmlElement();
  TSvXmlElement(const TSvXmlElement&) = delete;
  TSvXmlElement& operator=(const TSvXmlElement&) = delete;

  const std::u16string& Name() const { return FName; }
  void SetName(std::u16string name) { FName = std::move(name); }
  // A caller's value that FindChild can filter on; 0 after reading.
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t tag) { FTag = tag; }
  TSvXmlAttributes& Attributes() { return FAttributes; }
  const TSvXmlAttributes& Attributes() const { return FAttributes; }
  const std::u16string& Text() const { return FText; }
  void SetText(std::u16string text) { FText = std::move(text); }
  void AppendText(std::u16string_view text) { FText.append(text); }

  int ChildCount() const { return static_cast<int>(FChildren.size()); }
  // ESvRangeError outside 0..ChildCount-1.
  TSvXmlElement& Children(int index) const;
  TSvXmlElement& AddChild(std::unique_ptr<TSvXmlElement> child);

  // Empty name: this element. Otherwise the first child named name whose tag is tag
  // (any for -1) and, unless language is empty, whose "xml:lang" is language; or nullptr.
  const TSvXmlElement* FindChild(const std::u16string& name, std::int32_t tag = -1,
                                 const std::u16string& language = {}) const;

private:
  std::u16string FName;
  std::int32_t FTag = 0;
  TSvXmlAttributes FAttributes;
  std::u16string FText;
  std::vector<std::unique_ptr<TSvXmlElement>> FChildren;
};

// ---- The document writer ----

// Writes start tags, end tags and empty elements line by line, indented by the depth
// of open elements. A document goes into memory (Bytes) or into a file; it may begin
// with the XML declaration naming its encoding and a root element.
class TSvXmlFile {
public:
  // A document in memory. teAnsi needs a code page of the code page table that
  // writes the markup as ASCII (ESvXmlError otherwise). A code page that is not a
  // single-byte one is converted as a whole document, through one converter.
  explicit TSvXmlFile(TSvTextEncoding encoding = teUtf8, int codePage = 0);
  // A document written into fileName, which is created or truncated.
  explicit TSvXmlFile(const std::string& fileName, TSvTextEncoding encoding = teUtf8,
                      int codePage = 0);
  ~TSvXmlFile();
  TSvXmlFile(const TSvXmlFile&) = delete;
  TSvXmlFile& operator=(const TSvXmlFile&) = delete;

  // -- Document level --
  // The encoding's name as the declaration gives it ("UTF-8", "windows-1252" ...).
  std::string EncodingName() const;
  // A byte order mark for UTF-16, then <?xml version="1.0" encoding="..."?>.
  void WriteDeclaration();
  // The declaration and the start tag of the root element.
  void BeginDocument(const std::u16string& rootName);
  // Ends every open element and, for a file, closes it.
  void EndDocument();
  // A whole document: declaration, root element, object (by its WriteToXml) inside.
  void WriteDocument(const std::u16string& rootName, const TSvXmlObject& object,
                     const std::u16string& name = {});
  // The bytes of a document in memory (empty for a file). A document converted as
  // a whole is converted again for each call.
  const std::string& Bytes() const;

  // -- Markup --
  // Output.WriteText(text), then a line break when asked.
  void WriteMarkup(const std::u16string& text, bool lineBreak);
  // "  " per open element and per extra level; empty when whitespace is preserved.
  std::u16string IndentText(int extra) const;
  // text when whitespace is preserved, else empty.
  std::u16string PreservedText(const std::u16string& text) const;
  void WriteStartTag(const std::u16string& name, const TSvXmlAttributes* attributes,
                     const std::u16string& leadingText = {}, bool singleLine = true,
                     bool lineBreak = true);
  // Ends the innermost open element; ESvRangeError when there is none.
  void WriteEndTag(bool indentFirst, const std::u16string& innerText = {});
  void WriteEmptyTag(const std::u16string& name, const TSvXmlAttributes* attributes,
                     const std::u16string& trailingText = {},
                     const std::u16string& leadingText = {}, bool singleLine = true);
  // Character data of an element, escaped, without a line break.
  void WriteCharacterData(const std::u16string& text);

  // name="value" for one attribute; ESvXmlError when the value holds a character
  // that XML does not allow (control characters other than tab, line feed and
  // carriage return, lone surrogates, U+FFFE, U+FFFF).
  std::u16string AttributeText(const TSvXmlAttribute& attribute, TSvXmlCharRefMode charRefMode);
  // The attributes' texts, with a leading space, each escaped by its own options.
  std::u16string AttributesText(const TSvXmlAttributes* attributes,
                                const std::u16string& leadingText);
  // text with the five special characters written by modes, an "&" that would
  // start a reference always as "&amp;", tab, line feed and carriage return as
  // character references, and further references by charRefMode.
  static std::u16string EscapeValue(const TSvXmlEntityModes& modes, const std::u16string& text,
                                    TSvXmlCharRefMode charRefMode);

  static void ClearEntityOptions(TSvXmlEntityOptions& options);
  static bool SameEntityOptions(const TSvXmlEntityOptions& a, const TSvXmlEntityOptions& b);
  // Per entry: the default's mode for an empty set, else its highest member.
  static TSvXmlEntityModes ResolveEntityModes(const TSvXmlEntityOptions& options,
                                              const TSvXmlEntityModes& defaults);

  TSvTextWriter& Output() { return *FOutput; }
  const TSvWideStringList& OpenElements() const { return FOpenElements; }
  bool PreserveWhitespace() const { return FOptions & kPreserveWhitespace; }
  void SetPreserveWhitespace(bool preserve);
  const TSvXmlEntityModes& EntityModes() const { return FEntityModes; }
  void SetEntityModes(const TSvXmlEntityModes& modes) { FEntityModes = modes; }

private:
  static constexpr std::uint8_t kPreserveWhitespace = 1;

  // The code page of an 8-bit document, 0 for the others; ESvXmlError when the
  // encoding cannot carry a document.
  static int ByteCodePageOf(TSvTextEncoding encoding, int codePage);
  void CreateOutput(TSvTextEncoding encoding, int codePage);
  // For an 8-bit document: characters the code page cannot carry as references.
  std::u16string Encodable(const std::u16string& text) const;

  // The document's text before its conversion as a whole.
  std::u16string WholeText() const;

  int FByteCodePage = 0; // the code page of an 8-bit document, else 0
  TSvTextEncoding FEncoding = teUtf8;
  // For a code page converted as a whole: the text in UTF-16 (little endian) so far.
  std::unique_ptr<TSvStringSink> FWhole;
  mutable std::string FWholeBytes;
  std::unique_ptr<TSvByteSink> FSink;
  TSvStringSink* FMemory = nullptr; // FSink when the document is in memory
  TSvFileSink* FFile = nullptr;     // FSink when the document goes to a file
  std::unique_ptr<TSvTextWriter> FOutput;
  TSvWideStringList FOpenElements;
  TSvXmlEntityModes FEntityModes = DefaultEntityModes;
  std::uint8_t FOptions = 0;
};

} // namespace sv
