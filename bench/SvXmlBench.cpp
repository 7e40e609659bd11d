// Speed of escaping, of writing and reading documents, and of the string list.
#include "app/SvModules.h"
#include "core/SvCollec.h"
#include "xml/SvXmlFile.h"
#include "xml/SvXmlObject.h"
#include "xml/SvXmlReader.h"

#include <benchmark/benchmark.h>

using namespace sv;

namespace {

// A flat object with a few attributes and many children.
class TItem : public TSvXmlObject {
public:
  int Index = 0;
  std::vector<std::unique_ptr<TItem>> Children;
  std::unique_ptr<TSvObject> CreateNew() const override { return std::make_unique<TItem>(); }
  std::u16string GetXmlName() const override { return u"item"; }
  TSvXmlStyle GetXmlStyle() const override { return Children.empty() ? xsEmpty : xsElements; }
  void WriteXmlAttributes(TSvXmlAttributes& attributes) const override {
    attributes.SetInt64(u"index", Index, -1);
    attributes.SetString(u"text", u"Entry & \"quoted\" <value>", u"");
    attributes.SetFloat(u"ratio", 0.25 * Index, -1);
    attributes.SetBool(u"odd", Index % 2 == 1, false);
  }
  void WriteXmlContent(TSvXmlFile& file) const override {
    for (const auto& child : Children)
      child->WriteToXml(file);
  }
};

TItem& Tree() {
  static TItem root;
  if (root.Children.empty())
    for (int i = 0; i < 1000; ++i) {
      root.Children.push_back(std::make_unique<TItem>());
      root.Children.back()->Index = i;
    }
  return root;
}

void EscapePlainValue(benchmark::State& state) {
  const std::u16string text(64, u'x');
  for (auto _ : state)
    benchmark::DoNotOptimize(TSvXmlFile::EscapeValue(DefaultEntityModes, text, crNoBreakSpace));
}
BENCHMARK(EscapePlainValue);

void EscapeSpecialValue(benchmark::State& state) {
  const std::u16string text = u"a < b & c > d \"e\" 'f' \u00A0 g&amp; h\ti";
  for (auto _ : state)
    benchmark::DoNotOptimize(TSvXmlFile::EscapeValue(DefaultEntityModes, text, crNoBreakSpace));
}
BENCHMARK(EscapeSpecialValue);

void WriteDocument(benchmark::State& state) {
  const auto encoding = static_cast<TSvTextEncoding>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    TSvXmlFile file(encoding, encoding == teAnsi ? 1252 : 0);
    file.WriteDocument(u"document", Tree());
    bytes += file.Bytes().size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(WriteDocument)->Arg(teUtf8)->Arg(teUtf16LE)->Arg(teAnsi);

void ReadDocument(benchmark::State& state) {
  TSvXmlFile file;
  file.WriteDocument(u"document", Tree());
  for (auto _ : state)
    benchmark::DoNotOptimize(ReadXmlBytes(file.Bytes()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.Bytes().size()));
}
BENCHMARK(ReadDocument);

void SortedStringListAdd(benchmark::State& state) {
  for (auto _ : state) {
    TSvWideStringList list;
    list.SetSorted(true);
    for (int i = 0; i < state.range(0); ++i)
      list.Add(u"text " + std::u16string(1, char16_t(u'a' + (i * 7919) % 26)));
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(SortedStringListAdd)->Arg(100)->Arg(1000);

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  sv::TSvModules modules;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
