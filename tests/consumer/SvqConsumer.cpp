// Reads the header of an SVQ file and names a language through the installed library:
// svq_consumer <file.svq>
#include "app/SvModules.h"
#include "locale/SvLocaleCodes.h"
#include "locale/SvLocaleTables.h"
#include "svq/SvSvqFormat.h"

#include <cstdio>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: svq_consumer <file.svq>\n");
    return 2;
  }
  sv::TSvModules modules;
  sv::TSvSvqHeader header{};
  std::ifstream file(argv[1], std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(&header), sizeof header) ||
      std::memcmp(header.Magic, sv::kSvqMagic, sizeof header.Magic) != 0) {
    std::fprintf(stderr, "not an SVQ file: %s\n", argv[1]);
    return 1;
  }
  unsigned count = header.LanguageCount;
  if (sv::SwapsBytes(header.ByteOrder))
    count = ((count & 0xFF) << 8) | (count >> 8);
  std::printf("Languages: %u\n", count);
  std::printf("Id: %s 0x%04X %s\n", sv::FormatLocaleCode("de", "DE", "", '_').c_str(),
              static_cast<unsigned>(sv::LanguageIdOf("de", "DE", 0, "")),
              sv::CountryNameOf("de", "DE", 0).c_str());
  return 0;
}
