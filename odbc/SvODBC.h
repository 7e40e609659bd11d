// The ODBC data sources configured on this machine, as the driver manager lists them.
#pragma once

#include "odbc/SvODBCInt.h"

#include <string>
#include <utility>
#include <vector>

namespace sv {

// One data source: its name and the description of its driver.
class TODBCDataSourceInfo {
public:
  TODBCDataSourceInfo(std::string name, std::string description)
      : FName(std::move(name)), FDescription(std::move(description)) {}

  const std::string& Name() const { return FName; }
  const std::string& Description() const { return FDescription; }

private:
  std::string FName;
  std::string FDescription;
};

// An ODBC environment handle and the data sources read through it when it was made.
// Without a loaded driver manager the list is empty and there is no handle.
class TODBCEnvironment {
public:
  // library must outlive the environment.
  explicit TODBCEnvironment(const TSvODBCLibrary& library);
  ~TODBCEnvironment();
  TODBCEnvironment(const TODBCEnvironment&) = delete;
  TODBCEnvironment& operator=(const TODBCEnvironment&) = delete;

  int Count() const { return static_cast<int>(FDataSources.size()); }
  // The data source at index (0-based, in the driver manager's order); an index
  // outside 0..Count-1 raises ESvRangeError.
  const TODBCDataSourceInfo& Items(int index) const;
  // Empties the list; the handle stays.
  void Clear() { FDataSources.clear(); }
  // SQL_NULL_HENV when no environment could be made.
  SQLHENV Handle() const { return FHandle; }

private:
  void ReadDataSources();

  const TSvODBCFunctions& FFunctions;
  std::vector<TODBCDataSourceInfo> FDataSources;
  SQLHENV FHandle = SQL_NULL_HENV;
};

// The process-wide environment over ODBCLibrary(), between module start and end:
// made, and its data sources listed, when ODBCEnvironment is first called (this loads
// the driver manager), destroyed at module end before the driver manager is
// released. Null outside that time and when ODBCLibrary() is null.
void StartODBC();
void FinishODBC();
TODBCEnvironment* ODBCEnvironment();

} // namespace sv
