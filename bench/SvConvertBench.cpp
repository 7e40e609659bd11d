// Narrowing of one million short UTF-16 texts, as the SVQ reader does for every
// string of a dictionary: to the system code page (UTF-8 here) and to 1252, and
// ICU's u_strToUTF8 on the same texts for comparison. Then one long text to 1252
// whose characters 1252 holds, against one whose characters it cannot hold.
#include "app/SvModules.h"
#include "locale/SvConvert.h"

#include <benchmark/benchmark.h>
#include <unicode/ustring.h>

#include <clocale>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kTexts = 1'000'000;

// Words of a dictionary: mostly Latin, some with accents, a few Cyrillic and CJK.
const std::vector<std::u16string>& Texts() {
  static const std::vector<std::u16string> texts = [] {
    const std::u16string pieces[] = {u"File",  u"Open",   u"Größe", u"Fenster",  u"élément",
                                     u"Save ", u"Cancel", u"Файл",  u"ファイル", u"Öffnen",
                                     u"OK",    u"&Edit",  u"niño",  u"Ω",        u"Abbrechen"};
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(1, 3);
    std::vector<std::u16string> result;
    result.reserve(kTexts);
    for (std::size_t i = 0; i < kTexts; ++i) {
      std::u16string text;
      for (int n = count(random); n > 0; --n)
        text += pieces[piece(random)];
      result.push_back(std::move(text));
    }
    return result;
  }();
  return texts;
}

void Narrow(benchmark::State& state, int codePage) {
  const auto& texts = Texts();
  for (auto _ : state) {
    for (const std::u16string& text : texts) {
      std::string narrow = sv::WideToAnsi(text, codePage);
      benchmark::DoNotOptimize(narrow);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}

void BM_WideToAnsiSystemUtf8(benchmark::State& state) {
  Narrow(state, 0);
}
void BM_WideToAnsi1252(benchmark::State& state) {
  Narrow(state, 1252);
}

// ICU into a string: an upper bound of the size, one conversion, the string cut to it.
void BM_IcuStrToUtf8(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    for (const std::u16string& text : texts) {
      std::string narrow(text.size() * 3, '\0');
      int32_t length = 0;
      UErrorCode error = U_ZERO_ERROR;
      u_strToUTF8(narrow.data(), static_cast<int32_t>(narrow.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &error);
      narrow.resize(static_cast<std::size_t>(length));
      benchmark::DoNotOptimize(narrow);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}

// ICU into a reused buffer: the conversion alone, without making a string.
void BM_IcuStrToUtf8NoAllocation(benchmark::State& state) {
  const auto& texts = Texts();
  std::vector<char> buffer(256);
  for (auto _ : state) {
    for (const std::u16string& text : texts) {
      int32_t length = 0;
      UErrorCode error = U_ZERO_ERROR;
      u_strToUTF8(buffer.data(), static_cast<int32_t>(buffer.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &error);
      benchmark::DoNotOptimize(buffer.data());
      benchmark::DoNotOptimize(length);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}

constexpr std::size_t kLongText = 200'000;

// One text of kLongText characters cycling through those of from..to.
std::u16string LongText(char16_t from, char16_t to) {
  std::u16string text(kLongText, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(from + i % (to - from + 1));
  return text;
}

void NarrowLong(benchmark::State& state, const std::u16string& text, int codePage = 1252) {
  for (auto _ : state) {
    std::string narrow = sv::WideToAnsi(text, codePage);
    benchmark::DoNotOptimize(narrow);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Latin-1 letters: every one has a byte in 1252.
void BM_WideToAnsi1252Mappable(benchmark::State& state) {
  NarrowLong(state, LongText(u'\u00C0', u'\u00FF'));
}
// CJK ideographs: every one becomes "?".
void BM_WideToAnsi1252Unmappable(benchmark::State& state) {
  NarrowLong(state, LongText(u'\u4E00', u'\u9FA5'));
}

// The same for the double-byte 932: kanji it holds, Devanagari it does not.
void BM_WideToAnsi932Mappable(benchmark::State& state) {
  NarrowLong(state, LongText(u'\u4E00', u'\u4FFF'), 932);
}
void BM_WideToAnsi932Unmappable(benchmark::State& state) {
  NarrowLong(state, LongText(u'\u0900', u'\u097F'), 932);
}

BENCHMARK(BM_WideToAnsiSystemUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuStrToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuStrToUtf8NoAllocation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToAnsi1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToAnsi1252Mappable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToAnsi1252Unmappable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToAnsi932Mappable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideToAnsi932Unmappable)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  // The system code page is the locale's; run in a UTF-8 one unless told otherwise.
  setenv("LC_ALL", "C.UTF-8", 0);
  sv::TSvModules modules;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
