// Evaluation of one parsed formula of typical size (18 postfix lexemes, three variables),
// 10^6 times, by the calculator and by muparser: once set up with the calculator's operator set
// (the same callbacks and precedences, nothing folded) and once with muparser's own built-in
// operators and optimiser (its fastest form). Prints ns per evaluation and the ratios.
#include <benchmark/benchmark.h>

#include "bench/RatioReporter.h"
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TCalculator.h"

namespace {

const char* const Formula = "(a + b*2.5) / (c - 1) + Max(a, c) * Sin(b) - 3";
const int Evaluations = 1000000;
double A = 1.5, B = 30, C = 4;

const double Deg = 0.017453292519943295;
double MuEqual(double a, double b)
{
  return a == b ? 1.0 : 0.0;
}
double MuLower(double a, double b)
{
  return a < b ? 1.0 : 0.0;
}
double MuLowerOrEqual(double a, double b)
{
  return a <= b ? 1.0 : 0.0;
}
double MuBigger(double a, double b)
{
  return a > b ? 1.0 : 0.0;
}
double MuBiggerOrEqual(double a, double b)
{
  return a >= b ? 1.0 : 0.0;
}
double MuPlus(double a, double b)
{
  return a + b;
}
double MuMinus(double a, double b)
{
  return a - b;
}
double MuMultiply(double a, double b)
{
  return a * b;
}
double MuDivide(double a, double b)
{
  return a / b;
}
double MuNegate(double a)
{
  return -a;
}
double MuMax(double a, double b)
{
  return a > b ? a : b;
}
double MuSin(double x)
{
  return std::sin(x * Deg);
}

void DefineCommon(mu::Parser& p)
{
  p.DefineFun("Max", MuMax, false);
  p.DefineFun("Sin", MuSin, false);
  p.DefineVar("a", &A);
  p.DefineVar("b", &B);
  p.DefineVar("c", &C);
}

void Calculator(benchmark::State& state)
{
  TCalculator c;
  c.SetVariables(TString("a,1.5,b,30,c,4"));
  c.SetEquation(TString(Formula));
  double sum = 0;
  for (auto _ : state) {
    sum += c.Calculate();
    benchmark::DoNotOptimize(sum);
  }
  state.counters["value"] = c.Calculate();
}

void MuparserSameOperators(benchmark::State& state)
{
  mu::Parser p;
  p.EnableBuiltInOprt(false);
  p.ClearInfixOprt();
  p.EnableOptimizer(false);
  p.DefineOprt("=", MuEqual, 1);
  p.DefineOprt("<", MuLower, 5);
  p.DefineOprt("<=", MuLowerOrEqual, 6);
  p.DefineOprt(">", MuBigger, 7);
  p.DefineOprt(">=", MuBiggerOrEqual, 8);
  p.DefineOprt("+", MuPlus, 9);
  p.DefineOprt("-", MuMinus, 10);
  p.DefineOprt("*", MuMultiply, 11);
  p.DefineOprt("/", MuDivide, 12);
  p.DefineInfixOprt("-", MuNegate, 13);
  DefineCommon(p);
  p.SetExpr(Formula);
  double sum = 0;
  for (auto _ : state) {
    sum += p.Eval();
    benchmark::DoNotOptimize(sum);
  }
  state.counters["value"] = p.Eval();
}

void MuparserBuiltIn(benchmark::State& state)
{
  mu::Parser p;
  DefineCommon(p);
  p.SetExpr(Formula);
  double sum = 0;
  for (auto _ : state) {
    sum += p.Eval();
    benchmark::DoNotOptimize(sum);
  }
  state.counters["value"] = p.Eval();
}

BENCHMARK(Calculator)->Iterations(Evaluations);
BENCHMARK(MuparserSameOperators)->Iterations(Evaluations);
BENCHMARK(MuparserBuiltIn)->Iterations(Evaluations);

} // namespace

int main(int argc, char** argv)
{
  return RunAndReport(argc, argv, [](TRatioReporter& reporter) {
    auto& t = reporter.NsPerIteration;
    if (t.count("Calculator") && t.count("MuparserSameOperators") && t.count("MuparserBuiltIn")) {
      std::printf("\nformula: %s\n", Formula);
      std::printf(
          "ns per evaluation: calculator %.2f, muparser (same operators) %.2f, muparser (built-in) %.2f\n",
          t["Calculator"], t["MuparserSameOperators"], t["MuparserBuiltIn"]);
      std::printf("calculator / muparser: %.2f (same operators), %.2f (built-in)\n",
                  t["Calculator"] / t["MuparserSameOperators"], t["Calculator"] / t["MuparserBuiltIn"]);
    }
  });
}
