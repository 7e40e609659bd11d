#include "odbc/SvODBCInt.h"

#include "text/SvErrors.h"

#include <dlfcn.h>
#include <string>

namespace sv {

namespace {

template <class TFunction> void Bind(void* library, const char* name, TFunction& reference) {
  void* address = ::dlsym(library, name);
  if (!address)
    throw ESvError(std::string(name) + " function not found");
  reference = reinterpret_cast<TFunction>(address);
}

// Binds every reference by its exported name, in this order; the first missing
// name raises.
void BindAll(void* library, TSvODBCFunctions& f) {
  Bind(library, "SQLAllocEnv", f.SQLAllocEnv);
  Bind(library, "SQLFreeEnv", f.SQLFreeEnv);
  Bind(library, "SQLAllocConnect", f.SQLAllocConnect);
  Bind(library, "SQLFreeConnect", f.SQLFreeConnect);
  Bind(library, "SQLAllocStmt", f.SQLAllocStmt);
  Bind(library, "SQLFreeStmt", f.SQLFreeStmt);
  Bind(library, "SQLGetInfo", f.SQLGetInfo);
  Bind(library, "SQLBindCol", f.SQLBindCol);
  Bind(library, "SQLBindParameter", f.SQLBindParameter);
  Bind(library, "SQLConnect", f.SQLConnect);
  Bind(library, "SQLDataSources", f.SQLDataSources);
  Bind(library, "SQLDescribeCol", f.SQLDescribeCol);
  Bind(library, "SQLDescribeParam", f.SQLDescribeParam);
  Bind(library, "SQLError", f.SQLError);
  Bind(library, "SQLExecDirect", f.SQLExecDirect);
  Bind(library, "SQLExecute", f.SQLExecute);
  Bind(library, "SQLExtendedFetch", f.SQLExtendedFetch);
  Bind(library, "SQLFetch", f.SQLFetch);
  Bind(library, "SQLFetch", f.SQLFetch2);
  Bind(library, "SQLGetData", f.SQLGetData);
  Bind(library, "SQLNumParams", f.SQLNumParams);
  Bind(library, "SQLNumResultCols", f.SQLNumResultCols);
  Bind(library, "SQLPrepare", f.SQLPrepare);
  Bind(library, "SQLSetConnectOption", f.SQLSetConnectOption);
  Bind(library, "SQLTables", f.SQLTables);
  Bind(library, "SQLTransact", f.SQLTransact);
}

// The process-wide driver manager; constant-initialised, so it is ready before any
// start code runs.
constinit std::unique_ptr<TSvODBCLibrary> gLibrary;
constinit bool gLibraryStarted = false; // between StartODBCInt and FinishODBCInt

} // namespace

void TSvODBCLibrary::TCloser::operator()(void* handle) const {
  ::dlclose(handle);
}

TSvODBCLibrary::TSvODBCLibrary(std::span<const char* const> names) {
  for (const char* name : names) {
    // Released at module end, but kept mapped: the driver manager keeps its caches
    // and the drivers it loaded in its own globals, and unmapping it under them
    // turns them into leaks (and their exit handlers into calls into nothing).
    FHandle.reset(::dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    if (FHandle)
      break;
  }
  if (!FHandle)
    return; // no driver manager: nothing bound, no error
  // A throw leaves this object unmade; FHandle's deleter releases the library.
  BindAll(FHandle.get(), FFunctions);
}

void StartODBCInt() {
  gLibraryStarted = true;
}

void FinishODBCInt() {
  gLibrary.reset();
  gLibraryStarted = false;
}

const TSvODBCLibrary* ODBCLibrary() {
  if (gLibraryStarted && !gLibrary)
    gLibrary = std::make_unique<TSvODBCLibrary>();
  return gLibrary.get();
}

} // namespace sv
