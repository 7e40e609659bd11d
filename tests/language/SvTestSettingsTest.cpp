#include "language/SvTest.h"
#include "tests/language/SvLanguageXml.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace sv;
using sv::test::LintedDocument;
using sv::test::WrittenXml;

namespace {

// One change of each setting away from its default.
const std::vector<std::function<void(TSvTest&)>>& SingleChanges() {
  static const std::vector<std::function<void(TSvTest&)>> changes = {
      [](TSvTest& t) { t.SetTestType(ttCover); },
      [](TSvTest& t) { t.SetReplaceChar(u'*'); },
      [](TSvTest& t) { t.SetReductionChars(u"ab"); },
      [](TSvTest& t) { t.SetOption(toExpand, true); },
      [](TSvTest& t) { t.SetOption(toEnclose, false); },
      [](TSvTest& t) { t.SetOption(toAlternateCase, true); },
      [](TSvTest& t) { t.SetOption(toUpperCase, true); },
      [](TSvTest& t) { t.SetOption(toDiacritic, false); },
      [](TSvTest& t) { t.SetExpansion(exFrom1To5, 1); },
      [](TSvTest& t) { t.SetExpansion(exFrom6To10, 2); },
      [](TSvTest& t) { t.SetExpansion(exFrom11To20, 3); },
      [](TSvTest& t) { t.SetExpansion(exFrom21To30, 4); },
      [](TSvTest& t) { t.SetExpansion(exFrom31To50, 5); },
      [](TSvTest& t) { t.SetExpansion(exOver50, 6); },
      [](TSvTest& t) { t.SetExpandChar('-'); },
      [](TSvTest& t) { t.SetLastChar('!'); },
      [](TSvTest& t) { t.SetDoubleByte(true); },
  };
  return changes;
}

// Every setting away from its default.
TSvTest Changed() {
  TSvTest test;
  for (const auto& change : SingleChanges())
    change(test);
  return test;
}

} // namespace

TEST(SvTestSettings, DefaultsAndEveryFieldCountsForEquality) {
  const TSvTest fresh;
  EXPECT_EQ(fresh.TestType(), ttNone);
  EXPECT_EQ(fresh.ReplaceChar(), u'.');
  EXPECT_EQ(fresh.ReductionChars(), u"");
  EXPECT_EQ(fresh.Options(), 18);
  const std::vector<std::int32_t> bands = {200, 100, 70, 50, 30, 20};
  for (int band = exFrom1To5; band <= exOver50; ++band)
    EXPECT_EQ(fresh.Expansion(static_cast<TTestExpansion>(band)), bands[band]);
  EXPECT_EQ(fresh.ExpandChar(), '_');
  EXPECT_EQ(fresh.LastChar(), 'X');
  EXPECT_FALSE(fresh.DoubleByte());
  EXPECT_TRUE(fresh.IsDefault());

  for (std::size_t i = 0; i < SingleChanges().size(); ++i) {
    TSvTest test;
    SingleChanges()[i](test);
    EXPECT_FALSE(test.IsDefault()) << "change " << i;
    EXPECT_FALSE(test.IsEqual(fresh)) << "change " << i;
    EXPECT_FALSE(fresh.IsEqual(test)) << "change " << i;
  }

  // The typed constructor sets only the type; Clear resets it too.
  TSvTest pseudo(ttPseudo);
  EXPECT_EQ(pseudo.TestType(), ttPseudo);
  pseudo.SetTestType(ttNone);
  EXPECT_TRUE(pseudo.IsDefault());
  TSvTest changed = Changed();
  changed.Clear();
  EXPECT_TRUE(changed.IsDefault());
}

TEST(SvTestSettings, AssignCopiesEverySettingFromATestOnly) {
  const TSvTest source = Changed();
  TSvTest copy;
  copy.Assign(source);
  EXPECT_TRUE(copy.IsEqual(source));
  EXPECT_TRUE(SvClone(source)->IsEqual(source));

  TSvXmlObject other;
  EXPECT_THROW(copy.Assign(other), ESvInvalidCast);
  EXPECT_FALSE(copy.IsEqual(other));
}

TEST(SvTestSettings, WritesChangedSettingsInOrderAndOmitsDefaults) {
  EXPECT_EQ(WrittenXml(TSvTest(), u"test"), "<test/>\n");
  EXPECT_EQ(WrittenXml(TSvTest(ttPseudo), u"test"), "<test type=\"ttPseudo\"/>\n");

  TSvTest test = Changed();
  test.SetReplaceChar(u'\u00E9');
  test.SetReductionChars(u"<&\"");
  EXPECT_EQ(WrittenXml(test, u"test"),
            "<test type=\"ttCover\" replacechar=\"\xC3\xA9\" reductionchar=\"&lt;&amp;&quot;\" "
            "expand=\"1\" enclose=\"0\" alternatecase=\"1\" uppercase=\"1\" diacritic=\"0\" "
            "from1to5=\"1\" from6to10=\"2\" from11to20=\"3\" from21to30=\"4\" from31to50=\"5\" "
            "over50=\"6\" expandchar=\"-\" lastchar=\"!\" doublebyte=\"1\"/>\n");

  // Read back from a well-formed document.
  const auto document = LintedDocument(test);
  TSvTest read;
  read.ReadFromXml(*document, u"object");
  EXPECT_TRUE(read.IsEqual(test));
}

TEST(SvTestSettings, ReadingRulesForAbsentAndMalformedAttributes) {
  // Without attributes every setting returns to its default, except the type.
  TSvTest test = Changed();
  test.ReadXmlElement(*ReadXmlBytes("<test/>"));
  TSvTest expected(ttCover);
  EXPECT_TRUE(test.IsEqual(expected));

  // The type by name or number; out of range or unknown keeps the current one.
  test.ReadXmlElement(*ReadXmlBytes("<test type=\"2\"/>"));
  EXPECT_EQ(test.TestType(), ttMinimum);
  test.ReadXmlElement(*ReadXmlBytes("<test type=\"TTPSEUDO\"/>"));
  EXPECT_EQ(test.TestType(), ttPseudo);
  test.ReadXmlElement(*ReadXmlBytes("<test type=\"4\"/>"));
  EXPECT_EQ(test.TestType(), ttPseudo);
  test.ReadXmlElement(*ReadXmlBytes("<test type=\"ttOther\"/>"));
  EXPECT_EQ(test.TestType(), ttPseudo);

  // A boolean neither "0" nor "1" keeps the option's default.
  test.ReadXmlElement(
      *ReadXmlBytes("<test enclose=\"yes\" diacritic=\"0\" expand=\"true\" uppercase=\"1\"/>"));
  EXPECT_TRUE(test.HasOption(toEnclose));
  EXPECT_FALSE(test.HasOption(toDiacritic));
  EXPECT_FALSE(test.HasOption(toExpand));
  EXPECT_TRUE(test.HasOption(toUpperCase));
  EXPECT_FALSE(test.HasOption(toAlternateCase));

  // "doublebyte" is an integer; the characters are the first of their values.
  test.ReadXmlElement(*ReadXmlBytes("<test doublebyte=\"2\" replacechar=\"#x\" expandchar=\"=+\" "
                                    "lastchar=\"Z\" from1to5=\"7\"/>"));
  EXPECT_TRUE(test.DoubleByte());
  EXPECT_EQ(test.ReplaceChar(), u'#');
  EXPECT_EQ(test.ExpandChar(), '=');
  EXPECT_EQ(test.LastChar(), 'Z');
  EXPECT_EQ(test.Expansion(exFrom1To5), 7);
  EXPECT_EQ(test.Expansion(exFrom6To10), 100);
  test.ReadXmlElement(*ReadXmlBytes("<test doublebyte=\"yes\"/>"));
  EXPECT_FALSE(test.DoubleByte());
}

TEST(SvTestSettings, ValuesThatCannotBeKeptReadAsDefaults) {
  // An empty character would be written back as U+0000, which no XML may hold.
  TSvTest test;
  test.ReadXmlElement(*ReadXmlBytes("<test replacechar=\"\" expandchar=\"\" lastchar=\"\"/>"));
  EXPECT_TRUE(test.IsDefault());
  const auto document = LintedDocument(test);
  ASSERT_NE(document, nullptr);

  // A character that is no single byte of the system code page (UTF-8 here) cannot be
  // an 8-bit character; a value beyond 32 bits would wrap around.
  test.ReadXmlElement(*ReadXmlBytes("<test expandchar=\"\xC3\xA9\" lastchar=\"\xE2\x82\xAC\" "
                                    "over50=\"4294967297\" from6to10=\"-3\"/>"));
  EXPECT_EQ(test.ExpandChar(), '_');
  EXPECT_EQ(test.LastChar(), 'X');
  EXPECT_EQ(test.Expansion(exOver50), 20);
  EXPECT_EQ(test.Expansion(exFrom6To10), -3);
}
