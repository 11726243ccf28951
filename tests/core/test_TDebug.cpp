// The silent trace sink: shared state, timing and the checked-expression report.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TDebug.h"

TEST(Debug, EverySinkSharesOneState)
{
  TDebug a;
  TDebug b;
  ASSERT_NE(a.Data, nullptr);
  EXPECT_EQ(a.Data, b.Data);
  EXPECT_EQ(TDebug::Instance().Data, a.Data);
  EXPECT_EQ(a.Data->MemoryLevel, 0);
  EXPECT_EQ(a.Data->Level, 0);
  EXPECT_EQ(a.Data->Size, 0);
}

TEST(DebugTiming, DurationsInSeconds)
{
  TDebug d;
  const TTimePoint t1{std::chrono::microseconds(1000000)};
  const TTimePoint t2 = t1 + std::chrono::microseconds(1500000);
  EXPECT_DOUBLE_EQ(d.GetDTime(t1, t2), 1.5);
  EXPECT_DOUBLE_EQ(d.GetDTime(t2, t1), -1.5);
  EXPECT_DOUBLE_EQ(d.GetDTime(t1, t1 + std::chrono::microseconds(1)), 1e-6);
}

TEST(DebugTiming, GetTimeAppendsInstants)
{
  TDebug d;
  TATime A(1);
  for (int i = 0; i < 3; ++i)
    d.GetTime(A, false, nullptr, 1);
  ASSERT_EQ(A.Count, 3);
  EXPECT_LE(A[0].time_since_epoch().count(), A[1].time_since_epoch().count());
  EXPECT_LE(A[1].time_since_epoch().count(), A[2].time_since_epoch().count());
  EXPECT_GT(A[0].time_since_epoch().count(), 0);
}

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
