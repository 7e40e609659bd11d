// Lists the data sources that the driver manager reports, one "name|description"
// line each, for tests that run it with their own ODBCSYSINI and ODBCINI.
#include "odbc/SvODBC.h"

#include <cstdio>

int main() {
  const sv::TSvODBCLibrary library;
  if (!library.Loaded())
    return 3;
  const sv::TODBCEnvironment environment(library);
  std::printf("handle %s\n", environment.Handle() != SQL_NULL_HENV ? "yes" : "no");
  for (int i = 0; i < environment.Count(); ++i)
    std::printf("%s|%s\n", environment.Items(i).Name().c_str(),
                environment.Items(i).Description().c_str());
  return 0;
}
