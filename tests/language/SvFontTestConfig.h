// A private fontconfig configuration for the font tests: a folder of links to fonts
// from Debian's font packages, and configuration files that list only that folder,
// each with its own cache folder.
#pragma once

#include "tests/support/SvProcess.h"

#include <string>

namespace sv::test {

class TSvFontTestConfig {
public:
  // Writes the folders and files; the destructor removes them.
  TSvFontTestConfig();

  // The fonts, with "Arial" as an alias of "Liberation Sans" (no face named Arial).
  const std::string& PlainFile() const { return FPlain; }
  // The same fonts, with Liberation Sans installed under the family name "Arial".
  const std::string& ArialFile() const { return FArial; }
  // The plain configuration with a cache folder of its own, empty until first used.
  std::string FreshCacheFile(const std::string& name) const;
  // A font file that is missing on this machine, empty when all are there.
  const std::string& Missing() const { return FMissing; }

private:
  std::string WriteConfig(const std::string& name, const std::string& extra) const;

  TSvTempDir FDir;
  std::string FPlain;
  std::string FArial;
  std::string FMissing;
};

// The configuration of the test program, made before the first test; FONTCONFIG_FILE
// points at its plain file.
const TSvFontTestConfig& FontTestConfig();

} // namespace sv::test
