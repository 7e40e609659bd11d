#include "text/SvStrings.h"

#include <filesystem>
#include <libintl.h>
#include <system_error>

#ifndef SV_TEXT_DOMAIN
#define SV_TEXT_DOMAIN "SvqPeek"
#endif
#ifndef SV_LOCALE_DIR
#define SV_LOCALE_DIR "/usr/share/locale"
#endif
// The locale folder relative to the folder of the installed program.
#ifndef SV_LOCALE_DIR_FROM_BIN
#define SV_LOCALE_DIR_FROM_BIN "../share/locale"
#endif

namespace sv {

namespace fs = std::filesystem;

namespace {

// True when folder/<language>/LC_MESSAGES holds a catalog of the text domain.
bool HoldsCatalogs(const fs::path& folder) {
  std::error_code error;
  fs::directory_iterator entry(folder, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    std::error_code ignored;
    if (fs::is_regular_file(entry->path() / "LC_MESSAGES" / (SV_TEXT_DOMAIN ".mo"), ignored))
      return true;
  }
  return false;
}

} // namespace

const char* SvTr(const char* english) {
  return dgettext(SV_TEXT_DOMAIN, english);
}

std::string CatalogFolder(const std::string& programPath) {
  const fs::path installed(SV_LOCALE_DIR);
  if (programPath.empty())
    return installed.string();
  const fs::path beside =
      (fs::path(programPath).parent_path() / SV_LOCALE_DIR_FROM_BIN).lexically_normal();
  // The configured folder needs no look: it is the answer either way.
  if (beside != installed.lexically_normal() && HoldsCatalogs(beside))
    return beside.string();
  return installed.string();
}

void InitStringTable() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  bindtextdomain(SV_TEXT_DOMAIN, CatalogFolder(error ? std::string() : self.string()).c_str());
}

} // namespace sv
