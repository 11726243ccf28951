#include "hxcadkit/core/TDebug.h"

#include <cstdio>

#include "hxcadkit/core/TArray.h"

TDebug::TDebug()
{
  static TDebugData data{0, 0, 0};
  Data = &data;
}

TDebug& TDebug::Instance()
{
  static TDebug one;
  return one;
}

void TDebug::Output(const TString&) const {}

TTimePoint TDebug::GetTime() const
{
  return std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now());
}

Real TDebug::GetDTime(const TTimePoint& t1, const TTimePoint& t2) const
{
  return Real((t2 - t1).count()) / 1e6;
}

void TDebug::GetTime(TATime& A, bool output, const TString* Text, int K) const
{
  A.Add(GetTime());
  if (output) OutTime(A, Text, K);
}

void TDebug::OutTime(TATime& A, const TString* Text, int K) const
{
  if (A.Count < 2 || A.Count > A.FSize) return;
  TString report;
  for (Integer i = 1; i < A.Count; ++i) {
    report += TString(GetDTime(A[i - 1], A[i]) * K, 2, true, 7);
    report += " ";
  }
  report += "  = ";
  report += TString(GetDTime(A[0], A.Last()) * K, 2, true, 7);
  if (Text) {
    report += " ";
    report += *Text;
  }
  Output(report);
}

Boolean CheckOutput(const char* File, int Line, const char* Function, const char* Expr)
{
  char text[512];
  std::snprintf(text, sizeof text, "HXD::CHeck:: In %s, line %d: ! In function `%s' in : ( %s )\n",
                File ? File : "", Line, Function ? Function : "", Expr ? Expr : "");
  TString s;
  s.Set(text);
  TDebug().Output(s);
  return false;
}
