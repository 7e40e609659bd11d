// The ODBC driver manager, bound at run time so that the program also starts where
// ODBC is not installed. Only the types and constants of the ODBC headers are used;
// every function is reached through a reference bound by name.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <span>

namespace sv {

// One reference per driver manager function, null until bound.
struct TSvODBCFunctions {
  decltype(&::SQLAllocEnv) SQLAllocEnv = nullptr;
  decltype(&::SQLFreeEnv) SQLFreeEnv = nullptr;
  decltype(&::SQLAllocConnect) SQLAllocConnect = nullptr;
  decltype(&::SQLFreeConnect) SQLFreeConnect = nullptr;
  decltype(&::SQLAllocStmt) SQLAllocStmt = nullptr;
  decltype(&::SQLFreeStmt) SQLFreeStmt = nullptr;
  decltype(&::SQLGetInfo) SQLGetInfo = nullptr;
  decltype(&::SQLBindCol) SQLBindCol = nullptr;
  decltype(&::SQLBindParameter) SQLBindParameter = nullptr;
  decltype(&::SQLConnect) SQLConnect = nullptr;
  decltype(&::SQLDataSources) SQLDataSources = nullptr;
  decltype(&::SQLDescribeCol) SQLDescribeCol = nullptr;
  decltype(&::SQLDescribeParam) SQLDescribeParam = nullptr;
  decltype(&::SQLError) SQLError = nullptr;
  decltype(&::SQLExecDirect) SQLExecDirect = nullptr;
  decltype(&::SQLExecute) SQLExecute = nullptr;
  decltype(&::SQLExtendedFetch) SQLExtendedFetch = nullptr;
  decltype(&::SQLFetch) SQLFetch = nullptr;
  decltype(&::SQLFetch) SQLFetch2 = nullptr; // a second reference, also bound to "SQLFetch"
  decltype(&::SQLGetData) SQLGetData = nullptr;
  decltype(&::SQLNumParams) SQLNumParams = nullptr;
  decltype(&::SQLNumResultCols) SQLNumResultCols = nullptr;
  decltype(&::SQLPrepare) SQLPrepare = nullptr;
  decltype(&::SQLSetConnectOption) SQLSetConnectOption = nullptr;
  decltype(&::SQLTables) SQLTables = nullptr;
  decltype(&::SQLTransact) SQLTransact = nullptr;
};

// The driver manager's shared library on this platform, tried in this order.
inline constexpr const char* kODBCLibraryNames[] = {"libodbc.so.2", "libodbc.so"};

// A loaded driver manager with every function bound, or, when none of the names
// loads, no library and nothing bound. A library that lacks one of the functions
// raises ESvError "<name> function not found" and is released again.
class TSvODBCLibrary {
public:
  explicit TSvODBCLibrary(std::span<const char* const> names = kODBCLibraryNames);

  bool Loaded() const { return FHandle != nullptr; }
  // The bound references; all null when no library is loaded.
  const TSvODBCFunctions& Functions() const { return FFunctions; }

private:
  struct TCloser {
    void operator()(void* handle) const;
  };
  std::unique_ptr<void, TCloser> FHandle;
  TSvODBCFunctions FFunctions;
};

// The process-wide driver manager, between module start and end: loaded and bound
// when ODBCLibrary is first called (a program that never asks never opens it),
// released at module end. Null outside that time. The first call raises what
// TSvODBCLibrary raises, and a later call tries again.
void StartODBCInt();
void FinishODBCInt();
const TSvODBCLibrary* ODBCLibrary();

} // namespace sv
