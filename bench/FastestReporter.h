#pragma once
// The ratio reporter keeping the fastest repetition of each benchmark: on a shared machine the
// slower runs measure the neighbours as much as the code.
#include "bench/RatioReporter.h"

#include <map>
#include <string>
#include <vector>

class TFastestReporter : public TRatioReporter
{
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        const double ns = NsOf(r);
        double& best = Fastest[r.run_name.function_name];
        if (best == 0 || ns < best) best = ns;
      }
    TRatioReporter::ReportRuns(runs);
    NsPerIteration = Fastest;
  }
  std::map<std::string, double> Fastest;
};

// benchmark::Initialize with a number of repetitions in front of the caller's arguments (which
// may override it).
inline void InitializeWithRepetitions(int argc, char** argv, int repetitions)
{
  static std::string flag;
  flag = "--benchmark_repetitions=" + std::to_string(repetitions);
  static std::vector<char*> args;
  args.assign(argv, argv + argc);
  args.insert(args.begin() + 1, flag.data());
  int n = int(args.size());
  benchmark::Initialize(&n, args.data());
}
