// The module steps start in order and finish in reverse, also when a start throws.
#include "text/SvModuleRun.h"

#include <gtest/gtest.h>
#include <stdexcept>

using sv::TSvModuleRun;

namespace {

std::string gLog;

void StartA() { gLog += "+a"; }
void FinishA() { gLog += "-a"; }
void StartB() { gLog += "+b"; }
void StartC() { gLog += "+c"; }
void FinishC() { gLog += "-c"; }
void StartFailing() {
  gLog += "+!";
  throw std::runtime_error("the driver manager lacks SQLFetch");
}
void FinishFailing() { gLog += "-!"; }

} // namespace

TEST(SvModuleRun, FinishesTheStartedStepsInReverseAlsoWhenAStartThrows) {
  gLog.clear();
  {
    TSvModuleRun run({{StartA, FinishA}, {StartB, nullptr}, {StartC, FinishC}});
    EXPECT_EQ(gLog, "+a+b+c");
  }
  EXPECT_EQ(gLog, "+a+b+c-c-a");

  // The failing step does not finish, nor does the step after it start; the error
  // leaves unchanged once the others finished.
  gLog.clear();
  try {
    TSvModuleRun run(
        {{StartA, FinishA}, {StartC, FinishC}, {StartFailing, FinishFailing}, {StartB, nullptr}});
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "the driver manager lacks SQLFetch");
  }
  EXPECT_EQ(gLog, "+a+c+!-c-a");
}
