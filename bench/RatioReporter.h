#pragma once
// A console reporter that also keeps each benchmark's time per iteration, so that a
// benchmark program can print the ratio of its subject to its baseline at the end.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class TRatioReporter : public benchmark::ConsoleReporter
{
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& r : runs)
      if (r.iterations > 0) {
        const double ns = r.real_accumulated_time * 1e9 / double(r.iterations);
        NsPerIteration[r.run_name.function_name] = ns;
        ByName[r.benchmark_name()] = ns;
      }
    ConsoleReporter::ReportRuns(runs);
  }
  // By function name (the last argument's run) and by full name ("Open/10/iterations:2").
  std::map<std::string, double> NsPerIteration;
  std::map<std::string, double> ByName;
};

// Runs the benchmarks the command line selects, then report(reporter) prints the ratios.
template <class Report> int RunAndReport(int argc, char** argv, Report report)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  report(reporter);
  benchmark::Shutdown();
  return 0;
}
