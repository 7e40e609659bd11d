// Exports an SVQ file with the installed writers: svq_export_consumer <file.svq> tmx|json
#include "app/SvModules.h"
#include "export/SvJsonWriter.h"
#include "export/SvTmxWriter.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: svq_export_consumer <file.svq> tmx|json\n");
    return 2;
  }
  sv::TSvModules modules;
  try {
    sv::TSvExportSource source(argv[1]);
    sv::TSvExportOptions options;
    options.ToolVersion = "consumer";
    sv::TSvDescriptorSink out(1, "standard output");
    if (std::string(argv[2]) == "tmx")
      sv::WriteTmx(source, options, out);
    else
      sv::WriteJson(source, options, out);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
