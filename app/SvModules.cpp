#include "app/SvModules.h"

#include "language/SvLanguage.h"
#include "language/SvLocale.h"
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
    // The ODBC driver manager and its data sources, loaded and listed when first asked.
    {StartODBCInt, FinishODBCInt},
    {StartODBC, FinishODBC},
    // Names of project languages remembered for the run; they come from the tables.
    {StartLanguageNames, FinishLanguageNames},
    {StartSystemLanguages, FinishSystemLanguages},
};

std::vector<TSvModuleStep> AllSteps(std::span<const TSvModuleStep> extra) {
  std::vector<TSvModuleStep> steps(std::begin(kSteps), std::end(kSteps));
  steps.insert(steps.end(), extra.begin(), extra.end());
  return steps;
}

} // namespace

TSvModules::TSvModules(std::span<const TSvModuleStep> extra) : FRun(AllSteps(extra)) {}

} // namespace sv
