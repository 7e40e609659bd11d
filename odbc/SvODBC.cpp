#include "odbc/SvODBC.h"

#include "text/SvErrors.h"
#include "text/SvFormat.h"

#include <cstring>
#include <memory>

namespace sv {

namespace {

// Size of the name and the description buffer handed to SQLDataSources.
constexpr SQLSMALLINT kBufferSize = 256;

constinit std::unique_ptr<TODBCEnvironment> gEnvironment;
constinit bool gEnvironmentStarted = false; // between StartODBC and FinishODBC

} // namespace

TODBCEnvironment::TODBCEnvironment(const TSvODBCLibrary& library)
    : FFunctions(library.Functions()) {
  if (!library.Loaded())
    return;
  SQLHENV handle = SQL_NULL_HENV;
  // A failed allocation leaves no handle to list with or to free.
  if (FFunctions.SQLAllocEnv(&handle) != SQL_SUCCESS)
    return;
  FHandle = handle;
  ReadDataSources();
}

TODBCEnvironment::~TODBCEnvironment() {
  if (FHandle != SQL_NULL_HENV)
    FFunctions.SQLFreeEnv(FHandle);
}

const TODBCDataSourceInfo& TODBCEnvironment::Items(int index) const {
  if (index < 0 || index >= Count())
    throw ESvRangeError(SvFormat("List index out of bounds (%d)", {index}));
  return FDataSources[static_cast<std::size_t>(index)];
}

void TODBCEnvironment::ReadDataSources() {
  SQLCHAR name[kBufferSize] = {};
  SQLCHAR description[kBufferSize] = {};
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT descriptionLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  // Anything but SQL_SUCCESS ends the list: SQL_NO_DATA, an error, or a name or
  // description cut off by the buffer (SQL_SUCCESS_WITH_INFO).
  while (FFunctions.SQLDataSources(FHandle, direction, name, kBufferSize, &nameLength, description,
                                   kBufferSize, &descriptionLength) == SQL_SUCCESS) {
    // Bounded by the buffer, should a driver manager leave the NUL out.
    const char* n = reinterpret_cast<const char*>(name);
    const char* d = reinterpret_cast<const char*>(description);
    FDataSources.emplace_back(std::string(n, ::strnlen(n, kBufferSize)),
                              std::string(d, ::strnlen(d, kBufferSize)));
    direction = SQL_FETCH_NEXT;
  }
}

void StartODBC() {
  gEnvironmentStarted = true;
}

void FinishODBC() {
  gEnvironment.reset();
  gEnvironmentStarted = false;
}

TODBCEnvironment* ODBCEnvironment() {
  if (gEnvironmentStarted && !gEnvironment)
    if (const TSvODBCLibrary* library = ODBCLibrary())
      gEnvironment = std::make_unique<TODBCEnvironment>(*library);
  return gEnvironment.get();
}

} // namespace sv
