#include "app/SvqProgram.h"
#include "text/SvErrors.h"

#include <gtest/gtest.h>
#include <regex>

using sv::UncaughtErrorReport;

namespace {

template <class E> std::exception_ptr Raised(const E& error) {
  try {
    throw error;
  } catch (...) {
    return std::current_exception();
  }
}

} // namespace

TEST(SvqErrorReport, LayoutAddsTheMissingFullStop) {
  const std::string report =
      UncaughtErrorReport(Raised(sv::ESvError("The stream is not a valid SVQ stream")), "SvqPeek");
  const std::regex layout("Exception ESvError in module SvqPeek at [0-9A-F]{16}\\.\r\n"
                          "The stream is not a valid SVQ stream\\.\r\n\n");
  EXPECT_TRUE(std::regex_match(report, layout)) << report;
  EXPECT_EQ(report.find("at 0000000000000000"), std::string::npos); // the raising code's address
}

TEST(SvqErrorReport, KeepsAnExistingFullStopAndNamesTheType) {
  const std::string report =
      UncaughtErrorReport(Raised(sv::ESvStreamError("Stream read error.")), "svqpeek");
  EXPECT_NE(report.find("Exception ESvStreamError in module svqpeek at "), std::string::npos);
  EXPECT_NE(report.find("\r\nStream read error.\r\n\n"), std::string::npos);
  EXPECT_EQ(report.find(".."), std::string::npos);
}

TEST(SvqErrorReport, ForeignExceptions) {
  const std::string std_error = UncaughtErrorReport(Raised(std::runtime_error("boom")), "SvqPeek");
  EXPECT_EQ(std_error.rfind("Exception std::runtime_error in module SvqPeek at ", 0), 0u);
  EXPECT_NE(std_error.find("\r\nboom.\r\n\n"), std::string::npos);
  const std::string other = UncaughtErrorReport(Raised(42), "SvqPeek");
  EXPECT_EQ(other.rfind("Exception int in module SvqPeek at ", 0), 0u);
  EXPECT_NE(other.find("\r\n.\r\n\n"), std::string::npos);
}
