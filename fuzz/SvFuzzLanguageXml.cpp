// The project language's XML round trip: a language read from the input document is
// written in an encoding taken from byte 0 and read back equal.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "language/SvFont.h"
#include "language/SvLanguage.h"
#include "language/SvTest.h"
#include "text/SvErrors.h"
#include "xml/SvXmlReader.h"

void sv::fuzz::FuzzLanguageXml(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return;
  const auto encoding = static_cast<sv::TSvTextEncoding>(1 + data[0] % 3);
  sv::TSvProjectLanguage language;
  try {
    const auto root =
        sv::ReadXmlBytes(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    language.ReadFromXml(*root, root->Name() == u"language" ? u"" : u"language");
  } catch (const sv::ESvError&) {
    return;
  }
  // A language that its document did not name is made whole as a reader would.
  language.Update();
  std::string bytes;
  try {
    sv::TSvXmlFile file(encoding);
    file.WriteDocument(u"document", language);
    bytes = file.Bytes();
  } catch (const sv::ESvXmlError&) {
    return; // a font name or character XML cannot carry
  }
  sv::TSvProjectLanguage read;
  try {
    read.ReadFromXml(*sv::ReadXmlBytes(bytes), u"language");
  } catch (const sv::ESvError& e) {
    sv::fuzz::Fail(std::string("the written language does not read back: ") + e.what() + "\n" +
                   bytes);
  }
  if (read.GetId() != language.GetId() || !read.IsEqual(language))
    sv::fuzz::Fail("the language read back differs:\n" + bytes);
  return;
}
