// The silent trace sink: shared state, timing and the checked-expression report.
#include <gtest/gtest.h>

#include <string>

#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TDebug.h"

TEST(DebugTiming, ReportingLeavesTheInstantsAlone)
{
  TDebug d;
  const TString text("крок");
  TATime A(2);
  d.OutTime(A, &text, 1000);       // no instants
  d.GetTime(A, true, &text, 1000); // one instant: nothing to report
  d.GetTime(A, true, nullptr, 1);
  for (int i = 0; i < 40; ++i)
    d.GetTime(A, true, &text, 1000000);
  EXPECT_EQ(A.Count, 42);
  A.Count = 50; // more than the storage holds: still nothing read past it
  d.OutTime(A, &text, 1);
}

TEST(DebugCheck, ReportsFailureWhateverTheInput)
{
  EXPECT_FALSE(CheckOutput("Contour.cpp", 120, "FindSegment", "i < Count"));
  EXPECT_FALSE(CheckOutput(nullptr, -1, nullptr, nullptr));
  // Far beyond the report's 512 characters.
  const std::string longText(5000, 'x');
  EXPECT_FALSE(CheckOutput(longText.c_str(), 1, longText.c_str(), longText.c_str()));
}
