// The XML reader on arbitrary bytes: an element tree, and a project language with its
// test settings and font read from each element of the tree.
#include "fuzz/SvFuzzStart.h"
#include "fuzz/SvFuzzTargets.h"
#include "language/SvLanguage.h"
#include "text/SvErrors.h"
#include "xml/SvXmlReader.h"

namespace {

void ReadLanguages(const sv::TSvXmlElement& element, int depth) {
  sv::TSvProjectLanguage language;
  try {
    language.ReadXmlElement(element);
  } catch (const sv::ESvConvertError&) {
    // an attribute that is no number where one is due
  }
  (void)language.GetId();
  (void)language.GetEnglishName();
  if (depth > 8)
    return;
  for (int i = 0; i < element.ChildCount(); ++i)
    ReadLanguages(element.Children(i), depth + 1);
}

} // namespace

void sv::fuzz::FuzzXmlReader(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<sv::TSvXmlElement> root;
  try {
    root = sv::ReadXmlBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const sv::ESvError&) {
    return; // malformed or refused text
  }
  if (!root)
    sv::fuzz::Fail("no element and no error");
  ReadLanguages(*root, 0);
  return;
}
