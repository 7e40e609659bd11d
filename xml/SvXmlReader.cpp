#include "xml/SvXmlReader.h"

#include "locale/SvConvert.h"
#include "text/SvErrors.h"
#include "text/SvFormat.h"
#include "xml/SvXmlEncoding.h"

#include <expat.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace sv {

namespace {

std::u16string FromUtf8(const char* text, int length) {
  if (length == 0)
    return {};
  std::u16string result(static_cast<std::size_t>(length), u'\0');
  int32_t resultLength = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(result.data(), static_cast<int32_t>(result.size()), &resultLength, text,
                       length, 0xFFFD, nullptr, &status);
  if (U_FAILURE(status))
    throw ESvXmlError("The parser passed text that is not UTF-8");
  result.resize(static_cast<std::size_t>(resultLength));
  return result;
}

std::u16string FromUtf8(const char* text) {
  return FromUtf8(text, static_cast<int>(std::strlen(text)));
}

constexpr unsigned long long kAmplificationThreshold = 64 * 1024;

class TSvExpatReader {
public:
  TSvExpatReader(const char* encoding) : FParser(XML_ParserCreate(encoding)) {
    if (!FParser)
      throw std::bad_alloc();
    XML_SetUserData(FParser, this);
    XML_SetElementHandler(FParser, StartElement, EndElement);
    XML_SetCharacterDataHandler(FParser, CharacterData);
    XML_SetExternalEntityRefHandler(FParser, ExternalEntityRef);
    XML_SetSkippedEntityHandler(FParser, SkippedEntity);
    XML_SetUnknownEncodingHandler(FParser, UnknownEncoding, this);
    XML_SetParamEntityParsing(FParser, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetNotStandaloneHandler(FParser, NotStandalone);
    // Entity expansion is checked from 64 KiB of output on (expat's default is
    // 8 MiB), so that a small document cannot expand to megabytes.
    XML_SetBillionLaughsAttackProtectionActivationThreshold(FParser, kAmplificationThreshold);
  }
  ~TSvExpatReader() { XML_ParserFree(FParser); }
  TSvExpatReader(const TSvExpatReader&) = delete;
  TSvExpatReader& operator=(const TSvExpatReader&) = delete;

  std::unique_ptr<TSvXmlElement> Read(std::string_view bytes) {
    constexpr std::size_t kChunk = 1 << 20;
    do {
      const std::size_t size = std::min(bytes.size(), kChunk);
      const bool last = size == bytes.size();
      if (XML_Parse(FParser, bytes.data(), static_cast<int>(size), last) != XML_STATUS_OK)
        Fail();
      bytes.remove_prefix(size);
    } while (!bytes.empty());
    return std::move(FRoot);
  }

private:
  [[noreturn]] void Fail() {
    if (FError)
      std::rethrow_exception(FError);
    if (XML_GetErrorCode(FParser) == XML_ERROR_UNKNOWN_ENCODING && !FUnknownEncoding.empty())
      RaiseAtPosition(SvFormat("unknown encoding \"%s\"", {FUnknownEncoding}));
    RaiseAtPosition(XML_ErrorString(XML_GetErrorCode(FParser)));
  }

  [[noreturn]] void RaiseAtPosition(const std::string& message) {
    throw ESvXmlError(SvFormat("%s at line %d, column %d",
                               {message, static_cast<long long>(XML_GetCurrentLineNumber(FParser)),
                                static_cast<long long>(XML_GetCurrentColumnNumber(FParser) + 1)}));
  }

  // Errors cannot pass through the parser's frames: they are kept and the parser stopped.
  template <class F> static void Guarded(void* data, F action) {
    auto* reader = static_cast<TSvExpatReader*>(data);
    if (reader->FError)
      return;
    try {
      action(*reader);
    } catch (...) {
      reader->FError = std::current_exception();
      XML_StopParser(reader->FParser, XML_FALSE);
    }
  }

  static void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** atts) {
    Guarded(data, [&](TSvExpatReader& reader) {
      auto element = std::make_unique<TSvXmlElement>(FromUtf8(name));
      for (const XML_Char** att = atts; att[0]; att += 2)
        element->Attributes().AddString(FromUtf8(att[0]), FromUtf8(att[1]));
      TSvXmlElement* added = element.get();
      if (reader.FOpen.empty())
        reader.FRoot = std::move(element);
      else
        reader.FOpen.back()->AddChild(std::move(element));
      reader.FOpen.push_back(added);
    });
  }

  static void XMLCALL EndElement(void* data, const XML_Char*) {
    Guarded(data, [](TSvExpatReader& reader) { reader.FOpen.pop_back(); });
  }

  static void XMLCALL CharacterData(void* data, const XML_Char* text, int length) {
    Guarded(data, [&](TSvExpatReader& reader) {
      if (!reader.FOpen.empty())
        reader.FOpen.back()->AppendText(FromUtf8(text, length));
    });
  }

  // External entities are never loaded: the parser reports an error at the reference.
  static int XMLCALL ExternalEntityRef(XML_Parser, const XML_Char*, const XML_Char*,
                                       const XML_Char*, const XML_Char*) {
    return XML_STATUS_ERROR;
  }

  // An entity the parser could not expand would silently drop text.
  static void XMLCALL SkippedEntity(void* data, const XML_Char* name, int isParameterEntity) {
    Guarded(data, [&](TSvExpatReader& reader) {
      if (!isParameterEntity)
        reader.RaiseAtPosition(
            SvFormat("reference to the undeclared or external entity \"%s\"", {name}));
    });
  }

  // With an external subset or a parameter entity the parser cannot tell an
  // undeclared entity from one declared where it does not read, and drops such a
  // reference from an attribute value without a word: such documents are refused.
  static int XMLCALL NotStandalone(void* data) {
    auto* reader = static_cast<TSvExpatReader*>(data);
    try {
      reader->RaiseAtPosition("document type with an external subset or parameter entities, "
                              "whose entity references cannot be expanded,");
    } catch (...) {
      reader->FError = std::current_exception();
    }
    return XML_STATUS_ERROR;
  }

  static int XMLCALL UnknownEncoding(void* data, const XML_Char* name, XML_Encoding* info) {
    auto* reader = static_cast<TSvExpatReader*>(data);
    try {
      const std::optional<TSvXmlByteMap> map = XmlByteMapOf(XmlCodePageOfName(name));
      if (!map) {
        reader->FUnknownEncoding = name; // named in the parser's error
        return XML_STATUS_ERROR;
      }
      for (std::size_t i = 0; i < 256; ++i)
        info->map[i] = map->Map[i];
      info->data = nullptr;
      info->convert = nullptr;
      info->release = nullptr;
      return XML_STATUS_OK;
    } catch (...) {
      return XML_STATUS_ERROR;
    }
  }

  XML_Parser FParser;
  std::unique_ptr<TSvXmlElement> FRoot;
  std::vector<TSvXmlElement*> FOpen; // the elements whose end tag has not come yet
  std::exception_ptr FError;
  std::string FUnknownEncoding; // the name of an encoding that has no map
};

// The document element of text, whatever encoding its declaration names.
std::unique_ptr<TSvXmlElement> ReadUtf16(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (std::size_t i = text.empty() || text[0] != 0xFEFF ? 0 : 1; i < text.size(); ++i) {
    bytes += static_cast<char>(text[i] & 0xFF);
    bytes += static_cast<char>(text[i] >> 8);
  }
  TSvExpatReader reader("UTF-16LE");
  return reader.Read(bytes);
}

// The encoding that an XML declaration in ASCII at the start of bytes names;
// empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml")
    return {};
  const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos)
    return {};
  at = declaration.find_first_not_of(" \t\r\n", at + 8);
  if (at == std::string_view::npos || declaration[at] != '=')
    return {};
  at = declaration.find_first_not_of(" \t\r\n", at + 1);
  if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\''))
    return {};
  const std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos)
    return {};
  return std::string(declaration.substr(at + 1, end - at - 1));
}

} // namespace

std::unique_ptr<TSvXmlElement> ReadXmlBytes(std::string_view bytes) {
  // A code page that a byte map cannot describe is converted as a whole first.
  const std::string name = DeclaredEncoding(bytes);
  const int codePage = XmlCodePageOfName(name);
  if (codePage != 0 && !XmlByteMapOf(codePage) && XmlCanCarry(codePage)) {
    std::u16string text = AnsiToWide(std::string(bytes), codePage);
    if (text.empty())
      throw ESvXmlError(SvFormat("The encoding \"%s\" cannot be read", {name}));
    return ReadUtf16(text);
  }
  TSvExpatReader reader(nullptr);
  return reader.Read(bytes);
}

std::unique_ptr<TSvXmlElement> ReadXmlText(const std::u16string& text) {
  return ReadUtf16(text);
}

std::unique_ptr<TSvXmlElement> ReadXmlFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file)
    throw ESvStreamError(SvFormat("Cannot open file \"%s\". %s", {fileName, std::strerror(errno)}));
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad())
    throw ESvStreamError("Stream read error");
  return ReadXmlBytes(bytes);
}

} // namespace sv
