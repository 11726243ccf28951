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
  // The time per iteration of a run, in nanoseconds, as the JSON output's real_time gives it in its unit.
  static double NsOf(const Run& r) { return r.real_accumulated_time * 1e9 / double(r.iterations); }

  void ReportRuns(const std::vector<Run>& runs) override
  {
    // Only measured runs: with repetitions the aggregates (mean, median, deviation, coefficient of
    // variation) come as rows of their own, and the last of them is no time at all. Repetitions of one
    // benchmark are averaged, as the mean row of the JSON output does.
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        Add(Functions, r.run_name.function_name, r.run_name.args, NsOf(r));
        Add(Names, r.benchmark_name(), {}, NsOf(r));
      }
    for (const auto& [name, sum] : Functions)
      NsPerIteration[name] = sum.Ns / double(sum.Runs);
    for (const auto& [name, sum] : Names)
      ByName[name] = sum.Ns / double(sum.Runs);
    ConsoleReporter::ReportRuns(runs);
  }
  // By function name (the last argument's run) and by full name ("Open/10/iterations:2").
  std::map<std::string, double> NsPerIteration;
  std::map<std::string, double> ByName;

private:
  struct TSum
  {
    std::string Args;
    double Ns = 0;
    int Runs = 0;
  };
  // The runs of one function with several arguments follow each other: a new argument starts a new sum.
  static void Add(std::map<std::string, TSum>& sums, const std::string& name, const std::string& args, double ns)
  {
    TSum& s = sums[name];
    if (s.Args != args) s = TSum{args};
    s.Ns += ns;
    ++s.Runs;
  }
  std::map<std::string, TSum> Functions, Names;
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
