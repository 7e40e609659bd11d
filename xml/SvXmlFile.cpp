#include "xml/SvXmlFile.h"

#include "locale/SvConvert.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "text/SvTextUtils.h"
#include "xml/SvXmlEncoding.h"
#include "xml/SvXmlObject.h"

#include <charconv>
#include <utility>

namespace sv {

namespace {

constexpr TEntityData kEntityTable[5] = {
    {"amp", u'&'}, {"apos", u'\''}, {"quot", u'"'}, {"gt", u'>'}, {"lt", u'<'},
};

bool GOmitDefaults = true;

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Decimal(std::uint32_t value) {
  return Widen(std::to_string(value));
}

std::u16string Hex(std::uint32_t value, int minDigits) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string digits;
  do {
    digits.insert(digits.begin(), kHex[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(digits.size()) < minDigits)
    digits.insert(digits.begin(), u'0');
  return digits;
}

// UTF-8 for messages.
std::string Narrow(const std::u16string& text) {
  TSvStringSink sink;
  TSvTextWriter writer(sink);
  writer.WriteText(text);
  return sink.Data();
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The length (1 or 2) of the character at text[i] when XML 1.0 allows it, else 0.
std::size_t XmlCharLength(const std::u16string& text, std::size_t i) {
  const char16_t c = text[i];
  if (c < 0x20)
    return c == u'\t' || c == u'\n' || c == u'\r' ? 1 : 0;
  if (IsHighSurrogate(c))
    return i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 0;
  if (IsLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
    return 0;
  return 1;
}

// The position of the first character XML does not allow, or npos.
std::size_t FirstNonXmlChar(const std::u16string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = XmlCharLength(text, i);
    if (length == 0)
      return i;
    i += length;
  }
  return std::u16string::npos;
}

[[noreturn]] void RaiseNonXmlChar(const std::u16string& text, std::size_t at,
                                  const std::u16string* attributeName) {
  const std::string code = Narrow(Hex(text[at], 4));
  if (attributeName)
    throw ESvXmlError(
        SvFormat("The value of attribute \"%s\" holds the character U+%s, which XML does not allow",
                 {Narrow(*attributeName), code}));
  throw ESvXmlError(
      SvFormat("The text holds the character U+%s, which XML does not allow", {code}));
}

// Characters that may stand in a name after "&": ASCII letters, digits, "_", "-",
// ".", ":"; every code unit above U+007F counts as one, so that "&" in front of any
// possible reference is escaped.
bool IsRefNameStart(char16_t c) {
  return IsIdentStart(c) || c >= 0x80;
}
bool IsRefNameChar(char16_t c) {
  return IsIdentChar(c) || c == u'-' || c == u'.' || c == u':' || c >= 0x80;
}

// Whether text from position i holds a name followed by ";".
bool NameAndSemicolonAt(const std::u16string& text, std::size_t i) {
  if (i >= text.size() || !IsRefNameStart(text[i]))
    return false;
  for (++i; i < text.size(); ++i) {
    if (text[i] == u';')
      return true;
    if (!IsRefNameChar(text[i]))
      return false;
  }
  return false;
}

void AppendEntity(std::u16string& out, TSvXmlEntityMode mode, TSvXmlEntityIndex index) {
  const TEntityData& entity = kEntityTable[index];
  switch (mode) {
  case emDecimal:
    out += u"&#" + Decimal(entity.EntityChar) + u";";
    break;
  case emHex:
    out += u"&#x" + Hex(entity.EntityChar, 2) + u";";
    break;
  case emNamed:
    out += u"&" + Widen(entity.EntityName) + u";";
    break;
  default:
    out += entity.EntityChar;
    break;
  }
}

bool NeedsEscape(char16_t c, TSvXmlCharRefMode charRefMode) {
  switch (c) {
  case u'&':
  case u'\'':
  case u'"':
  case u'>':
  case u'<':
    return true;
  default:
    break;
  }
  if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || c >= 0xFFFE)
    return true; // tab, line feed, carriage return as references; others are refused
  if (charRefMode == crNoBreakSpace)
    return c == 0xA0;
  return charRefMode == crAbove128 && c > 0x80;
}

std::u16string EscapeValueOf(const TSvXmlEntityModes& modes, const std::u16string& text,
                             TSvXmlCharRefMode charRefMode, const std::u16string* attributeName) {
  std::size_t first = 0;
  while (first < text.size() && !NeedsEscape(text[first], charRefMode))
    ++first;
  if (first == text.size())
    return text;
  std::u16string out(text, 0, first);
  out.reserve(text.size() + 16);
  for (std::size_t i = first; i < text.size(); ++i) {
    const char16_t c = text[i];
    switch (c) {
    case u'"':
      AppendEntity(out, modes[eiQuot], eiQuot);
      continue;
    case u'\'':
      AppendEntity(out, modes[eiApos], eiApos);
      continue;
    case u'>':
      AppendEntity(out, modes[eiGt], eiGt);
      continue;
    case u'<':
      AppendEntity(out, modes[eiLt], eiLt);
      continue;
    case u'&':
      if (NameAndSemicolonAt(text, i + 1))
        out += u"&amp;";
      else
        AppendEntity(out, modes[eiAmp], eiAmp);
      continue;
    case u'\t':
    case u'\n':
    case u'\r':
      // A reader turns literal ones in attribute values into spaces.
      out += u"&#" + Decimal(c) + u";";
      continue;
    default:
      break;
    }
    const std::size_t length = XmlCharLength(text, i);
    if (length == 0)
      RaiseNonXmlChar(text, i, attributeName);
    if (charRefMode == crNoBreakSpace && c == 0xA0) {
      out += u"&#160;";
    } else if (charRefMode == crAbove128 && c > 0x80) {
      // A surrogate pair is one character and gets one reference.
      const std::uint32_t code =
          length == 2 ? 0x10000 + ((std::uint32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00)
                      : std::uint32_t(c);
      out += u"&#" + Decimal(code) + u";";
    } else {
      out.append(text, i, length);
    }
    i += length - 1;
  }
  return out;
}

// Restores the document's entity modes when an attribute has been written.
class TSvEntityModesGuard {
public:
  TSvEntityModesGuard(TSvXmlFile& file, const TSvXmlEntityModes& modes)
      : FFile(file), FSaved(file.EntityModes()) {
    FFile.SetEntityModes(modes);
  }
  ~TSvEntityModesGuard() { FFile.SetEntityModes(FSaved); }
  TSvEntityModesGuard(const TSvEntityModesGuard&) = delete;
  TSvEntityModesGuard& operator=(const TSvEntityModesGuard&) = delete;

private:
  TSvXmlFile& FFile;
  TSvXmlEntityModes FSaved;
};

} // namespace

std::span<const TEntityData> EntityTable() {
  return kEntityTable;
}

bool XmlOmitDefaults() {
  return GOmitDefaults;
}
void SetXmlOmitDefaults(bool omit) {
  GOmitDefaults = omit;
}

void StartXmlFile() {
  GOmitDefaults = true;
}

// ---- TSvXmlItem ----

TSvXmlItem::TSvXmlItem(std::u16string name, std::u16string value)
    : FName(std::move(name)), FValue(std::move(value)) {}

void TSvXmlItem::Assign(const TSvPersistent& source) {
  TSvObject::Assign(source);
  const TSvXmlItem& item = SvCast<TSvXmlItem>(source);
  FValue = item.FValue;
  FName = item.FName;
  FTag = item.FTag;
  FLeading = item.FLeading;
  FTrailing = item.FTrailing;
}

// ---- TSvXmlAttribute ----

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, std::u16string value)
    : TSvXmlItem(std::move(name), std::move(value)) {}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, const char16_t* value)
    : TSvXmlItem(std::move(name), value ? std::u16string(value) : std::u16string()) {}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, std::int64_t value)
    : TSvXmlItem(std::move(name), {}) {
  SetAsInt64(value);
}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, int value)
    : TSvXmlAttribute(std::move(name), std::int64_t{value}) {}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, double value)
    : TSvXmlItem(std::move(name), {}) {
  SetAsFloat(value);
}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, bool value)
    : TSvXmlItem(std::move(name), {}) {
  SetAsBoolean(value);
}

TSvXmlAttribute::TSvXmlAttribute(std::u16string name, const TSvXmlEntityOptions& options,
                                 std::u16string value)
    : TSvXmlItem(std::move(name), std::move(value)), FEntityOptions(options) {}

std::unique_ptr<TSvObject> TSvXmlAttribute::CreateNew() const {
  return std::make_unique<TSvXmlAttribute>();
}

void TSvXmlAttribute::Assign(const TSvPersistent& source) {
  TSvXmlItem::Assign(source);
  const TSvXmlAttribute& attribute = SvCast<TSvXmlAttribute>(source);
  FBeforeEquals = attribute.FBeforeEquals;
  FAfterEquals = attribute.FAfterEquals;
  FAfter = attribute.FAfter;
  FEntityOptions = attribute.FEntityOptions;
  FQuote = attribute.FQuote;
}

bool TSvXmlAttribute::IsEqual(const TSvObject& other) const {
  const auto* attribute = dynamic_cast<const TSvXmlAttribute*>(&other);
  return attribute && Name() == attribute->Name() && Value() == attribute->Value() &&
         FBeforeEquals == attribute->FBeforeEquals && FAfterEquals == attribute->FAfterEquals &&
         FAfter == attribute->FAfter && FEntityOptions == attribute->FEntityOptions &&
         FQuote == attribute->FQuote;
}

char16_t TSvXmlAttribute::AsChar() const {
  return Value().empty() ? u'\0' : Value()[0];
}

std::int64_t TSvXmlAttribute::AsInt64() const {
  // Optional sign and decimal digits, nothing else; out of range is no number.
  std::string digits;
  for (char16_t c : Value()) {
    if (c > 0x7F)
      return 0;
    digits += static_cast<char>(c);
  }
  const char* begin = digits.data();
  const char* end = begin + digits.size();
  if (end - begin > 1 && *begin == '+' && begin[1] >= '0' && begin[1] <= '9')
    ++begin;
  std::int64_t value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && begin != end ? value : 0;
}

void TSvXmlAttribute::SetAsInt64(std::int64_t value) {
  SetValue(Widen(std::to_string(value)));
}

double TSvXmlAttribute::AsFloat() const {
  return StrToFloatDot(Narrow(Value()));
}

void TSvXmlAttribute::SetAsFloat(double value) {
  SetValue(Widen(FloatToStrDot(value)));
}

bool TSvXmlAttribute::AsBoolean() const {
  return Value() != u"0";
}

void TSvXmlAttribute::SetAsBoolean(bool value) {
  SetValue(value ? u"1" : u"0");
}

bool TSvXmlAttribute::IsNumeric() const {
  return IsDigits(Value());
}

// ---- TSvXmlAttributes ----

std::unique_ptr<TSvObject> TSvXmlAttributes::CreateNew() const {
  return std::make_unique<TSvXmlAttributes>();
}

void TSvXmlAttributes::Assign(const TSvPersistent& source) {
  TSvItems::Assign(source);
  if (const auto* attributes = dynamic_cast<const TSvXmlAttributes*>(&source))
    FCharRefMode = attributes->FCharRefMode;
}

void TSvXmlAttributes::Insert(std::unique_ptr<TSvXmlAttribute> attribute, int index) {
  if (index < 0)
    Items().Add(std::move(attribute));
  else
    Items().Insert(index, std::move(attribute));
}

TSvXmlAttribute* TSvXmlAttributes::Find(const std::u16string& name) const {
  for (int i = 0; i < Count(); ++i) {
    TSvXmlAttribute& attribute = Item(i);
    if (attribute.Name() == name)
      return &attribute;
  }
  return nullptr;
}

TSvXmlAttribute& TSvXmlAttributes::Item(int index) const {
  auto* attribute = dynamic_cast<TSvXmlAttribute*>(&Items().Items(index));
  if (!attribute)
    throw ESvInvalidCast(kInvalidCastMessage);
  return *attribute;
}

std::u16string TSvXmlAttributes::GetString(const std::u16string& name,
                                           const std::u16string& defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  return attribute ? attribute->Value() : defaultValue;
}

void TSvXmlAttributes::SetString(const std::u16string& name, const std::u16string& value,
                                 const std::u16string& defaultValue, bool omitIfDefault) {
  if (XmlOmitDefaults() && omitIfDefault && value == defaultValue)
    return;
  if (TSvXmlAttribute* attribute = Find(name))
    attribute->SetAsString(value);
  else
    AddString(name, value);
}

void TSvXmlAttributes::AddString(const std::u16string& name, const std::u16string& value,
                                 int index) {
  Insert(std::make_unique<TSvXmlAttribute>(name, value), index);
}

char16_t TSvXmlAttributes::GetChar(const std::u16string& name, char16_t defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  return attribute ? attribute->AsChar() : defaultValue;
}

std::int64_t TSvXmlAttributes::GetInt64(const std::u16string& name,
                                        std::int64_t defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  return attribute ? attribute->AsInt64() : defaultValue;
}

void TSvXmlAttributes::SetInt64(const std::u16string& name, std::int64_t value,
                                std::int64_t defaultValue, bool omitIfDefault) {
  if (XmlOmitDefaults() && omitIfDefault && value == defaultValue)
    return;
  if (TSvXmlAttribute* attribute = Find(name))
    attribute->SetAsInt64(value);
  else
    AddInt64(name, value);
}

void TSvXmlAttributes::AddInt64(const std::u16string& name, std::int64_t value, int index) {
  Insert(std::make_unique<TSvXmlAttribute>(name, value), index);
}

double TSvXmlAttributes::GetFloat(const std::u16string& name, double defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  return attribute ? attribute->AsFloat() : defaultValue;
}

void TSvXmlAttributes::SetFloat(const std::u16string& name, double value, double defaultValue,
                                bool omitIfDefault) {
  if (XmlOmitDefaults() && omitIfDefault && value == defaultValue)
    return;
  if (TSvXmlAttribute* attribute = Find(name))
    attribute->SetAsFloat(value);
  else
    AddFloat(name, value);
}

void TSvXmlAttributes::AddFloat(const std::u16string& name, double value, int index) {
  Insert(std::make_unique<TSvXmlAttribute>(name, value), index);
}

bool TSvXmlAttributes::GetBool(const std::u16string& name, bool defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  if (!attribute || (attribute->Value() != u"0" && attribute->Value() != u"1"))
    return defaultValue;
  return attribute->AsBoolean();
}

void TSvXmlAttributes::SetBool(const std::u16string& name, bool value, bool defaultValue,
                               bool omitIfDefault) {
  if (XmlOmitDefaults() && omitIfDefault && value == defaultValue)
    return;
  if (TSvXmlAttribute* attribute = Find(name))
    attribute->SetAsBoolean(value);
  else
    AddBool(name, value);
}

void TSvXmlAttributes::AddBool(const std::u16string& name, bool value, int index) {
  Insert(std::make_unique<TSvXmlAttribute>(name, value), index);
}

int TSvXmlAttributes::GetEnum(const std::u16string& name, const TSvTypeInfo& typeInfo,
                              int defaultValue) const {
  const TSvXmlAttribute* attribute = Find(name);
  if (!attribute)
    return defaultValue;
  const int ordinal = attribute->IsNumeric() ? static_cast<int>(attribute->AsInt64())
                                             : EnumValueOf(typeInfo, Narrow(attribute->Value()));
  if (typeInfo.Kind != tkEnumeration)
    throw ESvError(SvFormat("Type %s in not an enumeration type", {typeInfo.Name}));
  return ordinal >= typeInfo.MinValue && ordinal <= typeInfo.MaxValue ? ordinal : defaultValue;
}

void TSvXmlAttributes::SetEnum(const std::u16string& name, const TSvTypeInfo* typeInfo, int value,
                               int defaultValue, bool omitIfDefault) {
  if (XmlOmitDefaults() && omitIfDefault && value == defaultValue)
    return;
  if (!typeInfo) {
    if (TSvXmlAttribute* attribute = Find(name))
      attribute->SetAsInt64(value);
    else
      AddInt64(name, value);
    return;
  }
  const std::u16string identifier = Widen(EnumIdentifier(*typeInfo, value));
  if (TSvXmlAttribute* attribute = Find(name))
    attribute->SetAsString(identifier);
  else
    AddString(name, identifier);
}

// ---- TSvXmlElement ----

TSvXmlElement::~TSvXmlElement() {
  // Frees the subtree without recursion, so that deeply nested documents cannot
  // exhaust the stack.
  std::vector<std::unique_ptr<TSvXmlElement>> pending = std::move(FChildren);
  while (!pending.empty()) {
    std::unique_ptr<TSvXmlElement> element = std::move(pending.back());
    pending.pop_back();
    for (auto& child : element->FChildren)
      pending.push_back(std::move(child));
    element->FChildren.clear();
  }
}

TSvXmlElement& TSvXmlElement::Children(int index) const {
  if (index < 0 || index >= ChildCount())
    throw ESvRangeError(SvFormat("List index out of bounds (%d)", {index}));
  return *FChildren[static_cast<std::size_t>(index)];
}

TSvXmlElement& TSvXmlElement::AddChild(std::unique_ptr<TSvXmlElement> child) {
  if (!child)
    throw ESvAssertionError("A list cannot hold an empty object reference");
  FChildren.push_back(std::move(child));
  return *FChildren.back();
}

const TSvXmlElement* TSvXmlElement::FindChild(const std::u16string& name, std::int32_t tag,
                                              const std::u16string& language) const {
  if (name.empty())
    return this;
  for (const auto& child : FChildren) {
    if (child->FName != name || (tag != -1 && child->FTag != tag))
      continue;
    if (!language.empty() && child->FAttributes.GetString(u"xml:lang", {}) != language)
      continue;
    return child.get();
  }
  return nullptr;
}

// ---- TSvXmlFile ----

TSvXmlFile::TSvXmlFile(TSvTextEncoding encoding, int codePage)
    : FByteCodePage(ByteCodePageOf(encoding, codePage)) {
  auto memory = std::make_unique<TSvStringSink>();
  FMemory = memory.get();
  FSink = std::move(memory);
  CreateOutput(encoding, codePage);
}

TSvXmlFile::TSvXmlFile(const std::string& fileName, TSvTextEncoding encoding, int codePage)
    : FByteCodePage(ByteCodePageOf(encoding, codePage)) {
  auto file = std::make_unique<TSvFileSink>(fileName);
  FFile = file.get();
  FSink = std::move(file);
  CreateOutput(encoding, codePage);
}

TSvXmlFile::~TSvXmlFile() = default;

int TSvXmlFile::ByteCodePageOf(TSvTextEncoding encoding, int codePage) {
  if (encoding > teUtf16BE)
    throw ESvXmlError(SvFormat("Unknown text encoding %d", {int(encoding)}));
  if (encoding != teAnsi)
    return 0;
  if (!XmlCanCarry(codePage))
    throw ESvXmlError(SvFormat("Code page %d cannot carry an XML document", {codePage}));
  return codePage;
}

void TSvXmlFile::CreateOutput(TSvTextEncoding encoding, int codePage) {
  FEncoding = encoding;
  if (FByteCodePage != 0 && !XmlByteMapOf(FByteCodePage)) {
    // Converted piece by piece, shifts and designations would restart in every
    // piece: the text is kept and converted as a whole.
    FWhole = std::make_unique<TSvStringSink>();
    FOutput = std::make_unique<TSvTextWriter>(*FWhole);
    FOutput->SetEncoding(teUtf16LE);
  } else {
    FOutput = std::make_unique<TSvTextWriter>(*FSink);
    FOutput->SetEncoding(encoding);
    FOutput->SetCodePage(codePage);
  }
  FOutput->SetLineBreaks({lbLineFeed});
}

std::u16string TSvXmlFile::WholeText() const {
  const std::string& bytes = FWhole->Data();
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

std::string TSvXmlFile::EncodingName() const {
  switch (FEncoding) {
  case teAnsi:
    return XmlNameOfCodePage(FByteCodePage);
  case teUtf8:
    return "UTF-8";
  default:
    return "UTF-16";
  }
}

void TSvXmlFile::WriteDeclaration() {
  if (FEncoding == teUtf16LE || FEncoding == teUtf16BE)
    FOutput->WriteText(u"\xFEFF");
  WriteMarkup(u"<?xml version=\"1.0\" encoding=\"" + Widen(EncodingName()) + u"\"?>", true);
}

void TSvXmlFile::BeginDocument(const std::u16string& rootName) {
  WriteDeclaration();
  WriteStartTag(rootName, nullptr);
}

void TSvXmlFile::EndDocument() {
  while (FOpenElements.Count() > 0)
    WriteEndTag(true);
  if (FFile) {
    if (FWhole)
      FFile->Write(WideToAnsi(WholeText(), FByteCodePage));
    FFile->Close();
  }
}

void TSvXmlFile::WriteDocument(const std::u16string& rootName, const TSvXmlObject& object,
                               const std::u16string& name) {
  BeginDocument(rootName);
  object.WriteToXml(*this, name);
  EndDocument();
}

const std::string& TSvXmlFile::Bytes() const {
  static const std::string kNone;
  if (FMemory && FWhole) {
    FWholeBytes = WideToAnsi(WholeText(), FByteCodePage);
    return FWholeBytes;
  }
  return FMemory ? FMemory->Data() : kNone;
}

void TSvXmlFile::WriteMarkup(const std::u16string& text, bool lineBreak) {
  FOutput->WriteText(text);
  if (lineBreak)
    FOutput->WriteLineBreak();
}

std::u16string TSvXmlFile::IndentText(int extra) const {
  if (PreserveWhitespace())
    return {};
  const int levels = FOpenElements.Count() + extra;
  return levels > 0 ? std::u16string(static_cast<std::size_t>(levels) * 2, u' ') : std::u16string();
}

std::u16string TSvXmlFile::PreservedText(const std::u16string& text) const {
  return PreserveWhitespace() ? text : std::u16string();
}

void TSvXmlFile::WriteStartTag(const std::u16string& name, const TSvXmlAttributes* attributes,
                               const std::u16string& leadingText, bool /*singleLine*/,
                               bool lineBreak) {
  // The indentation is the parent's: the name is pushed after the line is built.
  const std::u16string line =
      IndentText(0) + u"<" + name + AttributesText(attributes, leadingText) + u">";
  WriteMarkup(line, lineBreak);
  FOpenElements.Add(name);
}

void TSvXmlFile::WriteEndTag(bool indentFirst, const std::u16string& innerText) {
  const int last = FOpenElements.Count() - 1;
  const std::u16string name = FOpenElements.Get(last);
  FOpenElements.Delete(last);
  if (indentFirst)
    WriteMarkup(IndentText(0), false);
  WriteMarkup(u"</" + name + PreservedText(innerText) + u">", !PreserveWhitespace());
}

void TSvXmlFile::WriteEmptyTag(const std::u16string& name, const TSvXmlAttributes* attributes,
                               const std::u16string& trailingText,
                               const std::u16string& leadingText, bool /*singleLine*/) {
  WriteMarkup(IndentText(0) + u"<" + name + AttributesText(attributes, leadingText) + trailingText +
                  u"/>",
              !PreserveWhitespace());
}

void TSvXmlFile::WriteCharacterData(const std::u16string& text) {
  if (const std::size_t at = FirstNonXmlChar(text); at != std::u16string::npos)
    RaiseNonXmlChar(text, at, nullptr);
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
    case u'&':
      out += u"&amp;";
      break;
    case u'<':
      out += u"&lt;";
      break;
    case u'>':
      out += u"&gt;";
      break;
    case u'\r':
      out += u"&#13;"; // a reader turns a literal one into a line feed
      break;
    default:
      out += c;
      break;
    }
  }
  WriteMarkup(Encodable(out), false);
}

std::u16string TSvXmlFile::AttributeText(const TSvXmlAttribute& attribute,
                                         TSvXmlCharRefMode charRefMode) {
  const std::u16string value =
      PreservedText(attribute.Leading()) + attribute.Value() + PreservedText(attribute.Trailing());
  const char16_t quote = QuoteChars[attribute.Quote() & 1];
  return attribute.Name() + PreservedText(attribute.BeforeEquals()) + u"=" +
         PreservedText(attribute.AfterEquals()) + quote +
         Encodable(EscapeValueOf(FEntityModes, value, charRefMode, &attribute.Name())) + quote;
}

std::u16string TSvXmlFile::AttributesText(const TSvXmlAttributes* attributes,
                                          const std::u16string& leadingText) {
  std::u16string result = leadingText;
  if (!attributes)
    return result;
  if (result.empty() && attributes->Count() > 0)
    result = u" ";
  for (int i = 0; i < attributes->Count(); ++i) {
    const TSvXmlAttribute& attribute = attributes->Item(i);
    {
      TSvEntityModesGuard guard(*this,
                                ResolveEntityModes(attribute.EntityOptions(), DefaultEntityModes));
      result += AttributeText(attribute, attributes->CharRefMode());
    }
    const std::u16string after = PreservedText(attribute.After());
    result += after;
    if (after.empty() && i < attributes->Count() - 1)
      result += u" ";
  }
  return result;
}

std::u16string TSvXmlFile::EscapeValue(const TSvXmlEntityModes& modes, const std::u16string& text,
                                       TSvXmlCharRefMode charRefMode) {
  return EscapeValueOf(modes, text, charRefMode, nullptr);
}

void TSvXmlFile::ClearEntityOptions(TSvXmlEntityOptions& options) {
  options.fill(0);
}

bool TSvXmlFile::SameEntityOptions(const TSvXmlEntityOptions& a, const TSvXmlEntityOptions& b) {
  return a == b;
}

TSvXmlEntityModes TSvXmlFile::ResolveEntityModes(const TSvXmlEntityOptions& options,
                                                 const TSvXmlEntityModes& defaults) {
  TSvXmlEntityModes modes{};
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const TSvXmlEntityModeSet set = options[i];
    if (set == 0)
      modes[i] = defaults[i];
    else if (set & SvEntityModeSet({emNamed}))
      modes[i] = emNamed;
    else if (set & SvEntityModeSet({emHex}))
      modes[i] = emHex;
    else if (set & SvEntityModeSet({emDecimal}))
      modes[i] = emDecimal;
    else
      modes[i] = emLiteral;
  }
  return modes;
}

void TSvXmlFile::SetPreserveWhitespace(bool preserve) {
  FOptions = preserve ? static_cast<std::uint8_t>(FOptions | kPreserveWhitespace)
                      : static_cast<std::uint8_t>(FOptions & ~kPreserveWhitespace);
}

std::u16string TSvXmlFile::Encodable(const std::u16string& text) const {
  if (FByteCodePage == 0 || text.empty())
    return text;
  // What follows a text in the document is markup, which may not join with the
  // text's last character; nor may a character join with the one before it.
  const std::u16string after = u" \"<";
  const auto carries = [&](const std::u16string& piece) {
    return AnsiToWide(WideToAnsi(piece + after, FByteCodePage), FByteCodePage) == piece + after;
  };
  if (carries(text))
    return text;
  std::u16string out;
  out.reserve(text.size() + 16);
  std::u16string previous; // the last character written as it is
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length =
        IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
    const std::u16string one = text.substr(i, length);
    if (carries(one) && carries(previous + one)) {
      out += one;
      previous = one;
    } else {
      const std::uint32_t code =
          length == 2 ? 0x10000 + ((std::uint32_t(one[0]) - 0xD800) << 10) + (one[1] - 0xDC00)
                      : std::uint32_t(one[0]);
      out += u"&#" + Decimal(code) + u";";
      previous.clear();
    }
    i += length;
  }
  return out;
}

} // namespace sv
