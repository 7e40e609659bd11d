// XML helpers of the language model's tests: an object written alone, and written
// as a document that xmllint must accept and that is read back.
#pragma once

#include "tests/support/SvProcess.h"
#include "xml/SvXmlObject.h"
#include "xml/SvXmlReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace sv::test {

// The lines object writes at depth 0.
inline std::string WrittenXml(const TSvXmlObject& object, const std::u16string& name = {}) {
  TSvXmlFile file;
  object.WriteToXml(file, name);
  return file.Bytes();
}

// object as the only child of a document root, checked with xmllint; the root element
// read back from the file.
inline std::unique_ptr<TSvXmlElement> LintedDocument(const TSvXmlObject& object) {
  const TSvTempDir dir;
  const std::string fileName = dir.File("object.xml");
  {
    TSvXmlFile file(fileName);
    file.WriteDocument(u"document", object);
  }
  const TSvProcessResult lint = RunProcess(SV_XMLLINT, {"--noout", fileName});
  EXPECT_EQ(lint.ExitCode, 0) << lint.Output;
  return ReadXmlFile(fileName);
}

} // namespace sv::test
