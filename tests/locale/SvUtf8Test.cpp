// The vectorised UTF-16 to UTF-8 conversion against ICU's (lone surrogates as U+FFFD)
// and against WideToAnsi in UTF-8, on every path the processor runs.
#include "locale/SvConvert.h"
#include "locale/SvUtf8.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <unicode/ustring.h>
#include <vector>

using sv::TSvUtf8Path;

namespace {

std::string IcuUtf8(std::u16string_view text) {
  std::string out(text.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
  EXPECT_TRUE(U_SUCCESS(error));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::vector<TSvUtf8Path> Paths() {
  std::vector<TSvUtf8Path> paths;
  for (TSvUtf8Path path : {TSvUtf8Path::Scalar, TSvUtf8Path::Sse2, TSvUtf8Path::Avx2})
    if (sv::IsUtf8PathAvailable(path))
      paths.push_back(path);
  return paths;
}

// Characters of every length and their edges, U+0000, a lone high and a lone low
// surrogate.
const std::u16string kKinds[] = {
    u"a", u"\u007F", std::u16string(1, u'\0'), u"\u0080", u"\u00E9", u"\u07FF", u"\u0800",
    u"\u4E2D", u"\uD7FF", u"\uE000", u"\uFFFF", u"\U00010000", u"\U0001F600", u"\U0010FFFF",
    std::u16string(1, char16_t(0xD800)), std::u16string(1, char16_t(0xDFFF))};

// Each path appends exactly what ICU makes of text, after what out held.
void ExpectAsIcu(std::u16string_view text, const std::string& context) {
  const std::string expected = IcuUtf8(text);
  for (TSvUtf8Path path : Paths()) {
    std::string out = "<";
    sv::AppendUtf8(text, out, path);
    ASSERT_EQ(out, "<" + expected) << context << " path " << static_cast<int>(path);
  }
}

} // namespace

TEST(SvUtf8, EveryKindAtEveryPositionAndAlignment) {
  // One character of a kind, or a pair of two kinds, inside ASCII, 2- or 3-byte
  // characters or surrogate pairs (which an odd start splits), at every unit of two vector widths and from every start unit,
  // so that pairs and lone halves fall on and across every block edge.
  const std::u16string backgrounds[] = {u"x", u"\u00E9", u"\u4E2D", u"\U0001F600"};
  for (const std::u16string& background : backgrounds)
    for (const std::u16string& first : kKinds)
      for (const std::u16string& second : {std::u16string(), std::u16string(kKinds[14]),
                                           std::u16string(kKinds[15]), std::u16string(u"a")})
        for (std::size_t offset = 0; offset < 16; ++offset)
          for (std::size_t position = 0; position < 40; ++position) {
            std::u16string buffer;
            for (std::size_t i = 0; i < offset + 72; ++i)
              buffer += background;
            buffer.resize(offset + 72);
            buffer.replace(offset + position, first.size() + second.size(), first + second);
            ExpectAsIcu(std::u16string_view(buffer).substr(offset, 48 + offset % 7),
                        "offset " + std::to_string(offset) + " position " +
                            std::to_string(position));
          }
}

TEST(SvUtf8, RandomTextsAsIcuAsWideToAnsiInPlaceAndTheLoneSurrogateCheck) {
  std::mt19937 random(21);
  std::uniform_int_distribution<std::size_t> kind(0, std::size(kKinds) - 1);
  std::uniform_int_distribution<int> length(0, 300);
  std::uniform_int_distribution<int> asciiRun(0, 40);
  for (int n = 0; n < 3000; ++n) {
    std::u16string text;
    // Long texts cross the converter's blocks.
    const int units = n % 100 == 0 ? 9000 : length(random);
    while (static_cast<int>(text.size()) < units) {
      text.append(static_cast<std::size_t>(asciiRun(random)), u'q');
      text += kKinds[kind(random)];
    }
    ExpectAsIcu(text, "text " + std::to_string(n));
    std::string fast;
    sv::AppendUtf8(text, fast);
    ASSERT_EQ(fast, sv::WideToAnsi(text, 65001)) << n;
    // In place, into exactly the room it asks for.
    std::string room(sv::Utf8Room(text.size()), '\0');
    room.resize(static_cast<std::size_t>(sv::WriteUtf8(text, room.data()) - room.data()));
    ASSERT_EQ(room, fast) << n;
    // Only a lone surrogate becomes U+FFFD: the text has one exactly when ICU's
    // strict conversion fails.
    UErrorCode error = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strToUTF8(nullptr, 0, &needed, text.data(), static_cast<int32_t>(text.size()), &error);
    EXPECT_EQ(sv::HasLoneSurrogate(text), error == U_INVALID_CHAR_FOUND) << n;
  }
}

TEST(SvUtf8, StoppingConversionEndsAtTheFirstStopOnEveryPath) {
  std::mt19937 random(5);
  std::uniform_int_distribution<std::size_t> kind(0, std::size(kKinds) - 1);
  std::uniform_int_distribution<int> ascii(0, 0x7F);
  for (int n = 0; n < 20000; ++n) {
    // Up to four ASCII stops, in a text mostly of ASCII, so that the first stop falls
    // in blocks and tails alike.
    bool chosen[0x80] = {};
    sv::TSvUtf8Stops stops;
    for (int k = static_cast<int>(random() % 5); k > 0; --k) {
      const int c = ascii(random);
      chosen[c] = true;
      stops.Add(static_cast<char16_t>(c));
    }
    std::u16string text;
    for (std::size_t length = random() % 100; text.size() < length;)
      if (random() % 8)
        text += static_cast<char16_t>(ascii(random));
      else // runs of a kind, pairs among them
        for (std::size_t k = kind(random), r = 1 + random() % 6; r > 0; --r)
          text += kKinds[k];
    // Pairs are converted; a lone surrogate stops.
    std::size_t first = 0;
    for (; first < text.size(); ++first) {
      const char16_t u = text[first];
      if (u >= 0xD800 && u <= 0xDBFF && first + 1 < text.size() &&
          (text[first + 1] & 0xFC00) == 0xDC00)
        ++first;
      else if (u < 0x80 ? chosen[u] : (u & 0xF800) == 0xD800 || u >= 0xFFFE)
        break;
    }
    // In blocks of exactly the text's and the room's size, which the sanitizers guard.
    const std::unique_ptr<char16_t[]> units(new char16_t[text.size()]);
    std::copy(text.begin(), text.end(), units.get());
    const std::string expected = IcuUtf8(std::u16string_view(text).substr(0, first));
    for (TSvUtf8Path path : Paths()) {
      std::vector<char> room(sv::Utf8Room(text.size()));
      std::size_t consumed = text.size() + 1;
      char* end =
          sv::WriteUtf8Until({units.get(), text.size()}, stops, room.data(), consumed, path);
      ASSERT_EQ(consumed, first) << n << " path " << static_cast<int>(path);
      ASSERT_EQ(std::string(room.data(), end), expected) << n << " path " << static_cast<int>(path);
    }
  }
}
