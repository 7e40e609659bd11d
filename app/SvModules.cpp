#include "app/SvModules.h"

#include "language/SvLanguage.h"
#include "language/SvLocale.h"
#include "language/TextRenderer.h"
#include "locale/SvConvert.h"
#include "locale/SvLang.h"
#include "locale/SvLocaleTables.h"
#include "odbc/SvODBC.h"
#include "odbc/SvODBCInt.h"
#include "text/SvStrings.h"
#include "xml/SvXmlFile.h"

#include <clocale>

namespace sv {

namespace {

struct TSvModuleStep {
  void (*Start)();
  void (*Finish)(); // may be null
};

void StartPlatform() {
  // The user's locale decides the system code page and the string table's language.
  std::setlocale(LC_ALL, "");
  InitStringTable();
}

// The order of start; the modules finish in reverse.
constexpr TSvModuleStep kSteps[] = {
    {StartPlatform, nullptr},
    {StartLangService, FinishLangService},
    {InitCodePageSupport, FinishCodePageSupport},
    {StartXmlFile, nullptr}, // XML writer: omit-defaults switch
    {LoadLocaleTableNames, ReleaseLocaleTableNames},
    // The standard text renderer and the renderer list; no font is looked at yet.
    {StartTextRenderers, FinishTextRenderers},
    // The ODBC driver manager, if installed, then the environment and its data sources.
    {StartODBCInt, FinishODBCInt},
    {StartODBC, FinishODBC},
    // Names of project languages remembered for the run; they come from the tables.
    {StartLanguageNames, FinishLanguageNames},
    {StartSystemLanguages, FinishSystemLanguages},
};

} // namespace

TSvModules::TSvModules() {
  for (const TSvModuleStep& step : kSteps) {
    step.Start();
    ++FStarted;
  }
}

TSvModules::~TSvModules() {
  while (FStarted > 0) {
    const TSvModuleStep& step = kSteps[--FStarted];
    if (step.Finish)
      step.Finish();
  }
}

} // namespace sv
