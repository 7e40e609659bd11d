#include "odbc/SvODBC.h"
#include "tests/support/SvProcess.h"
#include "text/SvErrors.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace sv;
using sv::test::RunProcess;
using sv::test::TSvTempDir;

namespace {

// The SQLite ODBC driver installed by the build script.
std::string SqliteDriver() {
  for (const char* dir :
       {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/odbc"}) {
    const std::string path = std::string(dir) + "/libsqlite3odbc.so";
    if (std::filesystem::exists(path))
      return path;
  }
  return {};
}

// A private configuration: the driver, and the given data sources (name, description).
struct TOdbcConfig {
  TSvTempDir Dir;
  explicit TOdbcConfig(const std::vector<std::pair<std::string, std::string>>& sources) {
    std::ofstream(Dir.File("odbcinst.ini"))
        << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << SqliteDriver() << "\n";
    std::ofstream user(Dir.File("odbc.ini"));
    for (const auto& [name, driver] : sources)
      user << "[" << name << "]\nDriver=" << driver << "\nDatabase=" << Dir.File(name + ".db")
           << "\n\n";
  }
  std::string List() const {
    const auto result = RunProcess(SV_ODBC_LIST, {}, Dir.Path(),
                                   {"ODBCSYSINI=" + Dir.Path(), "ODBCINI=" + Dir.File("odbc.ini")});
    EXPECT_EQ(result.ExitCode, 0);
    return result.Output;
  }
};

} // namespace

TEST(SvODBCInt, AbsentLibraryBindsNothingSilently) {
  const char* names[] = {"libsvq-no-such-odbc.so.9"};
  const TSvODBCLibrary library(names);
  EXPECT_FALSE(library.Loaded());
  EXPECT_EQ(library.Functions().SQLAllocEnv, nullptr);
  EXPECT_EQ(library.Functions().SQLDataSources, nullptr);
  const TODBCEnvironment environment(library);
  EXPECT_EQ(environment.Count(), 0);
  EXPECT_TRUE(environment.Handle() == SQL_NULL_HENV);
}

TEST(SvODBCInt, MissingFunctionIsNamed) {
  const char* names[] = {SV_ODBC_STUB};
  try {
    const TSvODBCLibrary library(names);
    FAIL() << "binding a library without SQLTables succeeded";
  } catch (const ESvError& e) {
    EXPECT_STREQ(e.what(), "SQLTables function not found");
  }
}

TEST(SvODBCInt, RealDriverManagerBindsEveryFunction) {
  const TSvODBCLibrary library;
  ASSERT_TRUE(library.Loaded()) << "unixODBC is installed by the build script";
  const auto& f = library.Functions();
  EXPECT_NE(f.SQLTransact, nullptr);
  EXPECT_NE(f.SQLFetch, nullptr);
  EXPECT_EQ(f.SQLFetch, f.SQLFetch2);
  EXPECT_NE(ODBCLibrary(), nullptr); // bound at program start
  EXPECT_NE(ODBCEnvironment(), nullptr);
}

TEST(SvODBC, ListsSourcesInTheDriverManagersOrder) {
  ASSERT_FALSE(SqliteDriver().empty());
  const TOdbcConfig config({{"zeta", "SQLite3"}, {"alpha", "SQLite3"}, {"mid", "SQLite3"}});
  EXPECT_EQ(config.List(), "handle yes\nzeta|SQLite3\nalpha|SQLite3\nmid|SQLite3\n");
}

TEST(SvODBC, OverlongNameEndsTheList) {
  const std::string longName(300, 'n');
  const TOdbcConfig config({{"one", "SQLite3"},
                            {"two", "SQLite3"},
                            {"three", "SQLite3"},
                            {longName, "SQLite3"},
                            {"after", "SQLite3"}});
  EXPECT_EQ(config.List(), "handle yes\none|SQLite3\ntwo|SQLite3\nthree|SQLite3\n");
}

TEST(SvODBC, EmptyConfigurationGivesAnEmptyList) {
  const TOdbcConfig config({});
  EXPECT_EQ(config.List(), "handle yes\n");
}

TEST(SvODBC, ItemsOutsideTheListRaise) {
  const char* names[] = {"libsvq-no-such-odbc.so.9"};
  const TSvODBCLibrary library(names);
  const TODBCEnvironment environment(library);
  EXPECT_THROW(environment.Items(0), ESvRangeError);
  EXPECT_THROW(environment.Items(-1), ESvRangeError);
}
