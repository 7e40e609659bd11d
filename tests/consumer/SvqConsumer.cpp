// Opens an SVQ file with the installed reader and names one of its languages, or
// exports it with the installed writers: svq_consumer <file.svq> [index | tmx | json]
#include "app/SvModules.h"
#include "export/SvJsonWriter.h"
#include "export/SvTmxWriter.h"
#include "language/SvLanguage.h"
#include "svq/SvSvqFile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: svq_consumer <file.svq> [index | tmx | json]\n");
    return 2;
  }
  const int index = argc == 3 ? std::atoi(argv[2]) : 1;
  // The library's modules start before its first use and finish after its last.
  sv::TSvModules modules;
  try {
    const std::string format = argc == 3 ? argv[2] : "";
    if (format == "tmx" || format == "json") {
      sv::TSvExportSource source(argv[1]);
      sv::TSvDescriptorSink out(1, "standard output");
      format == "tmx" ? sv::WriteTmx(source, {}, out) : sv::WriteJson(source, {}, out);
      return 0;
    }
    sv::TSvSvqFile file;
    file.Open(argv[1]);
    std::printf("Languages: %d\n", file.LanguageCount());
    if (index < 0 || index >= file.LanguageCount()) {
      std::fprintf(stderr, "no language #%d\n", index);
      return 1;
    }
    const sv::TSvProjectLanguage* language = file.ReadLanguage(index);
    std::printf("#%d: %s, %s\n", index, language->GetDisplayName(0).c_str(),
                language->GetId().c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
