#include "app/SvqProgram.h"

#include "app/SvqArgs.h"
#include "app/SvqCommon.h"
#include "app/SvqReport.h"
#include "locale/SvPlatformConvert.h"
#include "text/SvErrors.h"
#include "text/SvStrings.h"

#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace sv {

void ShowUsage() {
  WriteLine(SvTr("SvqPeek shows the SVQ information and can remove language from the file."));
  WriteSyntax();
  WriteLineFmt("SvqPeek [-t] %s", {SvTr("svqfile")});
  WriteLineFmt("  -t         %s", {SvTr("Show translations")});
  WriteLine(SvTr("  svqfile    SVQ file to process"));
}

int RunSvqPeek(const std::vector<std::string>& arguments) {
  WriteBanner("SvqPeek");
  const TSvqArguments parsed = ParseArguments(arguments);
  if (parsed.ShowUsage) {
    ShowUsage();
    return 0;
  }
  const auto path = ResolveFile(parsed);
  if (!path) {
    // A failure: a script must tell a missing dictionary from a report.
    WriteLineFmt(SvTr("Could not find file: %s"), {parsed.FileName});
    return 1;
  }
  WriteSvqReport(*path, parsed.ShowTranslations);
  return 0;
}

namespace {

std::string Demangle(const std::type_info* type) {
  if (!type)
    return "Exception";
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(type->name());
}

} // namespace

std::string UncaughtErrorReport(std::exception_ptr error, const char* moduleName, bool escape) {
  std::string typeName = "Exception";
  std::string message;
  const void* address = nullptr;
  try {
    std::rethrow_exception(error);
  } catch (const ESvError& e) {
    typeName = e.TypeName();
    message = e.what();
    address = e.Address();
  } catch (const std::exception& e) {
    typeName = Demangle(abi::__cxa_current_exception_type());
    message = e.what();
  } catch (...) {
    typeName = Demangle(abi::__cxa_current_exception_type());
  }
  const char* stop = !message.empty() && message.back() == '.' ? "" : ".";
  if (escape)
    message = EscapeControls(message, SystemCodePage() == 65001);
  return SvFormat("Exception %s in module %s at %p.\r\n%s%s\r\n",
                  {typeName, moduleName, address, message, stop}) +
         "\n";
}

void ReportUncaughtError(std::exception_ptr error, const char* moduleName) {
  WriteRaw(UncaughtErrorReport(error, moduleName, EscapesOutput()));
  FlushOutput();
}

} // namespace sv
