// Writes the sample dictionary: SvqMakeSample <path>.
#include "tests/support/SvqTestWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: SvqMakeSample <path>\n");
    return 2;
  }
  sv::test::SampleDictionary().Save(argv[1]);
  return 0;
}
