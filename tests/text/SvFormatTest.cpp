#include "text/SvFormat.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>

using sv::SvFormat;

TEST(SvFormat, FillsDirectivesInOrder) {
  EXPECT_EQ(SvFormat("Version: %d", {3}), "Version: 3");
  EXPECT_EQ(SvFormat("#%d: %s, %s", {0, "English", "en_US"}), "#0: English, en_US");
  EXPECT_EQ(SvFormat("%d%%", {50}), "50%");
  EXPECT_EQ(SvFormat("%d", {-7}), "-7");
  EXPECT_EQ(SvFormat("no directives", {}), "no directives");
}

TEST(SvFormat, IndexedDirectivesAndWidths) {
  EXPECT_EQ(SvFormat("Locale (%0:d) based sorting of \"%1:s\" and \"%2:s\" failed", {7, "a", "b"}),
            "Locale (7) based sorting of \"a\" and \"b\" failed");
  EXPECT_EQ(SvFormat("%1:s %0:s %s", {"x", "y"}), "y x y");
  EXPECT_EQ(SvFormat("[%4d][%-3s]", {42, "a"}), "[  42][a  ]");
  EXPECT_EQ(SvFormat("%x", {255}), "FF");
}

TEST(SvFormat, TextsKeepEmbeddedZeros) {
  const std::string withZero("a\0b", 3);
  EXPECT_EQ(SvFormat("<%s>", {withZero}), std::string("<a\0b>", 5));
}

TEST(SvFormat, MismatchedOrMissingArgumentsRaise) {
  EXPECT_THROW(SvFormat("%d", {"text"}), sv::ESvConvertError);
  EXPECT_THROW(SvFormat("%s", {5}), sv::ESvConvertError);
  EXPECT_THROW(SvFormat("%s %s", {"one"}), sv::ESvConvertError);
  EXPECT_THROW(SvFormat("%q", {1}), sv::ESvConvertError);
  EXPECT_THROW(SvFormat("trailing %", {}), sv::ESvConvertError);
}

TEST(SvErrors, CarryMessageTypeNameAndAddress) {
  try {
    throw sv::ESvRangeError("Out of string list range");
  } catch (const sv::ESvError& e) {
    EXPECT_STREQ(e.what(), "Out of string list range");
    EXPECT_STREQ(e.TypeName(), "ESvRangeError");
    EXPECT_NE(e.Address(), nullptr);
  }
}
