#pragma once
// The trace sink of the whole framework. Arrays, curves, contours and the drawing model build
// a TDebug on the spot and hand it their warnings and timings; in this system the sink is
// silent, so nothing handed to it changes what the program does or shows.
#include <chrono>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

// A wall-clock instant with microsecond resolution.
using TTimePoint = std::chrono::time_point<std::chrono::system_clock, std::chrono::microseconds>;

class TATime; // array of time points (TArray.h)

// State shared by every TDebug; created once, on the first TDebug.
struct TDebugData
{
  Integer MemoryLevel;
  Integer Level;
  Integer Size;
};

class TDebug
{
public:
  TDebug();
  // The one sink object for callers that do not keep their own.
  static TDebug& Instance();

  // Discards the text: the sink of every trace.
  void Output(const TString& text) const;

  TTimePoint GetTime() const;
  // (t2 - t1) in seconds.
  Real GetDTime(const TTimePoint& t1, const TTimePoint& t2) const;
  // Appends the current instant to A; with output set, reports the steps (OutTime).
  void GetTime(TATime& A, bool output, const TString* Text, int K) const;
  // Reports every step between consecutive instants of A, and the whole span, in seconds
  // times K, followed by Text when given. Needs at least two instants.
  void OutTime(TATime& A, const TString* Text, int K) const;

  TDebugData* Data;
};

// The failure report of a checked expression: formats where it failed into a bounded text
// (512 characters; longer reports are cut), hands it to the sink and returns false.
Boolean CheckOutput(const char* File, int Line, const char* Function, const char* Expr);
