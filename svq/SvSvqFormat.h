// The SVQ dictionary format: the 42-byte header, its one-byte codes and what a
// reader needs to know of the record layouts. All offsets are absolute file
// positions; an offset of 0 means the block is absent.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sv {

inline constexpr char kSvqMagic[3] = {'S', 'V', 'Q'};
inline constexpr std::size_t kSvqHeaderSize = 42;

// Header byte 4. Any value other than 0 is read as little-endian.
enum TSvByteOrder : std::uint8_t { boBigEndian = 0, boLittleEndian = 1 };

// Header byte 5 (byte 7 in version 1): how language and information strings are
// stored. Any value other than 0 selects 8-bit storage. Row texts are always UTF-16.
enum TSvCharacterSet : std::uint8_t { csUnicode = 0, csAnsi = 1, csUtf8 = 2 };

// Header byte 6: which context strings each translation row carries.
enum TSvContextKind : std::uint8_t {
  ckNone = 0,
  ckFormTypeComponentName = 1,
  ckComponentName = 2,
  ckFormType = 3
};

#pragma pack(push, 1)
// The header exactly as stored. Multi-byte fields are in the file's byte order
// until a reader converts them.
struct TSvSvqHeader {
  char Magic[3];
  std::uint8_t Version;
  std::uint8_t ByteOrder;
  std::uint8_t CharacterSet; // versions 2 and later
  std::uint8_t ContextKind;
  std::uint8_t CharacterSetV1; // version 1 keeps its character set here
  std::uint8_t Reserved1[4];
  std::uint16_t LanguageCount;
  std::uint32_t LanguageOffset;
  std::uint16_t RowCount;
  std::uint32_t TranslationOffset;
  std::uint16_t LocaleCount;
  std::uint32_t LocaleOffset;
  std::uint16_t Reserved2;         // forced to 0 for version 1
  std::uint32_t InformationOffset; // not part of a version 1 header
  std::uint8_t Reserved3[6];
};
#pragma pack(pop)

static_assert(sizeof(TSvSvqHeader) == kSvqHeaderSize);
static_assert(offsetof(TSvSvqHeader, Version) == 3);
static_assert(offsetof(TSvSvqHeader, ByteOrder) == 4);
static_assert(offsetof(TSvSvqHeader, CharacterSet) == 5);
static_assert(offsetof(TSvSvqHeader, ContextKind) == 6);
static_assert(offsetof(TSvSvqHeader, CharacterSetV1) == 7);
static_assert(offsetof(TSvSvqHeader, LanguageCount) == 12);
static_assert(offsetof(TSvSvqHeader, LanguageOffset) == 14);
static_assert(offsetof(TSvSvqHeader, RowCount) == 18);
static_assert(offsetof(TSvSvqHeader, TranslationOffset) == 20);
static_assert(offsetof(TSvSvqHeader, LocaleCount) == 24);
static_assert(offsetof(TSvSvqHeader, LocaleOffset) == 26);
static_assert(offsetof(TSvSvqHeader, Reserved2) == 30);
static_assert(offsetof(TSvSvqHeader, InformationOffset) == 32);
static_assert(offsetof(TSvSvqHeader, Reserved3) == 36);

// How the codes are tested wherever a reader decides by them.
constexpr bool SwapsBytes(std::uint8_t byteOrder) {
  return byteOrder == boBigEndian;
}
constexpr bool HasAnsiStrings(std::uint8_t characterSet) {
  return characterSet != csUnicode;
}
constexpr bool HasFormType(std::uint8_t contextKind) {
  return contextKind == ckFormTypeComponentName || contextKind == ckFormType;
}
constexpr bool HasComponentName(std::uint8_t contextKind) {
  return contextKind == ckFormTypeComponentName || contextKind == ckComponentName;
}

// Version tests of the format: which fields a record or block carries.
constexpr bool HasCodes(int version) {
  return version >= 2;
} // language/country code, text 2
constexpr bool HasRecordLength(int version) {
  return version >= 3;
} // record length, number, time stamp
constexpr bool HasInformation(int version) {
  return version != 1;
}

// A language record holds, in this order (fields marked v2/v3 only from that version):
//   record length (16-bit, v3), primary language (16-bit), language code (2-char code, v2),
//   sublanguage (16-bit), country code (2-char code, v2), text (string), text (string, v2),
//   number (16-bit, v3), code page (16-bit), byte, name (string), native name (string),
//   text (string), byte, then in v3 whatever the record length covers beyond that.
// A string is a 16-bit count N and N characters: N bytes in an 8-bit file, 2N bytes
// in a UTF-16 one. A 2-character code has no count; a NUL first character is empty.
// A row holds the text of language 0, the form type (kinds 1, 3), the component name
// (kinds 1, 2) and the texts of languages 1.. count-1, all UTF-16 strings.
// The information block holds description, owner (strings), a 16-bit user count, the
// user names (strings) and in v3 day, month (bytes), year (16-bit), hour, minute, second.

} // namespace sv
