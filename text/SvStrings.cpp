#include "text/SvStrings.h"

#include <libintl.h>

#ifndef SV_TEXT_DOMAIN
#define SV_TEXT_DOMAIN "SvqPeek"
#endif
#ifndef SV_LOCALE_DIR
#define SV_LOCALE_DIR "/usr/share/locale"
#endif

namespace sv {

const char* SvTr(const char* english) {
  return dgettext(SV_TEXT_DOMAIN, english);
}

void InitStringTable() {
  bindtextdomain(SV_TEXT_DOMAIN, SV_LOCALE_DIR);
}

} // namespace sv
