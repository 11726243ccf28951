// Random well-formed formulas evaluated by the calculator and by muparser, set up with the same
// operators, the same precedence (the calculator's operation codes) and the same functions.
#include "hxcadkit/core/TCalculator.h"

#include <gtest/gtest.h>
#include <muParser.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct TDivisionByZero
{
};
struct TNegativeRoot
{
};

const double Deg = 0.017453292519943295;

double MuRnd(double x)
{
  double f = std::fmod(x, 1.0), i = x - f;
  if (x >= 0) return f >= 0.5 ? i + 1 : i;
  return f <= -0.5 ? i - 1 : i;
}

const char* const Names[] = {"a", "b", "c", "x1", "y_2", "Zeta", "_u", "Maxi", "m"};
const int SetNames = 8; // "m" is never set: it reads as 0

struct TOperator
{
  const char* Name;
  mu::fun_type2 Fun;
  unsigned Priority;
};

// muparser with the calculator's operator set. Precedences are the operation codes, all
// operators left-associative; nothing is folded at parse time, so failures happen in the order
// of evaluation.
class TReference
{
public:
  explicit TReference(std::vector<double>& values)
  {
    P.EnableBuiltInOprt(false);
    P.ClearInfixOprt();
    P.EnableOptimizer(false);
    const TOperator operators[] = {
        {"=", [](double a, double b) { return a == b ? 1.0 : 0.0; }, 1},
        {"<", [](double a, double b) { return a < b ? 1.0 : 0.0; }, 5},
        {"<=", [](double a, double b) { return a <= b ? 1.0 : 0.0; }, 6},
        {">", [](double a, double b) { return a > b ? 1.0 : 0.0; }, 7},
        {">=", [](double a, double b) { return a >= b ? 1.0 : 0.0; }, 8},
        {"+", [](double a, double b) { return a + b; }, 9},
        {"-", [](double a, double b) { return a - b; }, 10},
        {"*", [](double a, double b) { return a * b; }, 11},
        {"/", [](double a, double b) { return b == 0.0 ? throw TDivisionByZero() : a / b; }, 12},
    };
    for (const TOperator& o : operators)
      P.DefineOprt(o.Name, o.Fun, o.Priority);
    P.DefineInfixOprt("-", static_cast<mu::fun_type1>([](double a) { return -a; }), 13);
    P.DefineFun("RND", MuRnd, false);
    P.DefineFun("SQRT", static_cast<mu::fun_type1>([](double x) {
                  return x < 0.0 ? throw TNegativeRoot() : std::sqrt(x);
                }),
                false);
    P.DefineFun("Sin", static_cast<mu::fun_type1>([](double x) { return std::sin(x * Deg); }), false);
    P.DefineFun("Cos", static_cast<mu::fun_type1>([](double x) { return std::cos(x * Deg); }), false);
    P.DefineFun("Tan", static_cast<mu::fun_type1>([](double x) { return std::tan(x * Deg); }), false);
    P.DefineFun("Max", static_cast<mu::fun_type2>([](double a, double b) { return a > b ? a : b; }), false);
    P.DefineFun("Min", static_cast<mu::fun_type2>([](double a, double b) { return a < b ? a : b; }), false);
    P.DefineFun("If",
                static_cast<mu::fun_type3>([](double c, double a, double b) { return c > 0.0 ? a : b; }),
                false);
    for (size_t i = 0; i < values.size(); ++i)
      P.DefineVar(Names[i], &values[i]);
  }
  mu::Parser P;
};

// Formulas from the grammar the calculator accepts, keeping clear of its refusals: a unary
// minus only at the start and after "(", "*" or "/", never before a function; "=" only
// outside brackets.
class TFormulaGenerator
{
public:
  explicit TFormulaGenerator(std::uint64_t seed) : Rng(seed) {}

  std::string Formula() { return Sp() + Chain(1 + Rand(4), true, true) + Sp(); }

private:
  int Rand(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }
  std::string Sp() { return Rand(5) == 0 ? std::string(1 + Rand(2), ' ') : std::string(); }

  std::string Number()
  {
    static const char* const numbers[] = {"0",   "1",  "2",    "3",     "10",     "0.5",  "2.5",
                                          "7.",  "45", "90",   "0.001", "123.25", "30",   "180",
                                          "1.5", "60", "1000", "0.1",   "2.4999", "77.77"};
    return numbers[Rand(sizeof numbers / sizeof numbers[0])];
  }
  std::string Variable() { return Names[Rand(sizeof Names / sizeof Names[0])]; }

  std::string Chain(int depth, bool leadMinus, bool top)
  {
    // Divisions and comparisons (whose 0 often ends up as a divisor) are rarer, so that most
    // formulas come to a value.
    static const char* const ops[] = {"+", "-", "*", "+", "-", "*", "/", "<", "<=", ">", ">=", "="};
    std::string s = Operand(depth, leadMinus);
    const int n = Rand(depth > 0 ? 3 : 2);
    for (int i = 0; i < n; ++i) {
      const std::string op = ops[Rand(top ? 12 : 11)];
      s += Sp() + op + Sp() + Operand(depth, op == "*" || op == "/");
    }
    return s;
  }
  std::string Operand(int depth, bool leadMinus)
  {
    if (leadMinus && Rand(5) == 0) return "-" + Primary(depth, false);
    return Primary(depth, true);
  }
  std::string Primary(int depth, bool function)
  {
    const int k = Rand(depth <= 0 ? 4 : function ? 10 : 6);
    if (k < 2) return Number();
    if (k < 4) return Variable();
    if (k < 6) return "(" + Sp() + Chain(depth - 1, true, false) + Sp() + ")";
    static const char* const functions[] = {"RND", "SQRT", "Max", "Min", "Sin", "Cos", "Tan", "If"};
    static const int arguments[] = {1, 1, 2, 2, 1, 1, 1, 3};
    const int f = Rand(8);
    std::string s = std::string(functions[f]) + "(" + Sp() + Chain(depth - 1, true, false);
    for (int i = 1; i < arguments[f]; ++i)
      s += Sp() + "," + Sp() + Chain(depth - 1, false, false);
    return s + Sp() + ")";
  }

  std::mt19937_64 Rng;
};

enum TResult { rValue, rDivisionByZero, rNegativeRoot, rOther };

struct TOutcome
{
  TResult result = rValue;
  double value = 0.0;
  std::string message;
};

TOutcome Ours(TCalculator& c)
{
  TOutcome o;
  try {
    o.value = c.Calculate();
  } catch (TCalculatorException* e) {
    std::unique_ptr<TCalculatorException> owned(e);
    o.message = e->ErrorMessage.Utf8Text();
    if (e->Type == TCalculatorException::et_DivisionByZero)
      o.result = rDivisionByZero;
    else if (o.message.find("SQRT") != std::string::npos)
      o.result = rNegativeRoot;
    else
      o.result = rOther;
  }
  return o;
}

TOutcome Theirs(mu::Parser& p)
{
  TOutcome o;
  try {
    o.value = p.Eval();
  } catch (TDivisionByZero&) {
    o.result = rDivisionByZero;
  } catch (TNegativeRoot&) {
    o.result = rNegativeRoot;
  } catch (mu::Parser::exception_type& e) {
    o.result = rOther;
    o.message = e.GetMsg();
  }
  return o;
}

bool Agree(double x, double y)
{
  if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
  if (x == y) return true; // also equal infinities
  return std::fabs(x - y) <= 1e-12 * std::max(std::fabs(x), std::fabs(y));
}

TEST(CalculatorDifferential, AgreesWithMuparser)
{
  std::vector<double> values(sizeof Names / sizeof Names[0], 0.0);
  TReference reference(values);
  TFormulaGenerator generator(20240607);
  std::mt19937_64 valueRng(7);
  std::uniform_real_distribution<double> valueOf(-50.0, 50.0);

  const int formulas = 5000;
  int compared = 0, withValue = 0, failures = 0;
  for (int n = 0; n < formulas && failures < 10; ++n) {
    const std::string formula = generator.Formula();
    TCalculator c;
    // Some variables before parsing (from a list), the rest after: both must be seen.
    std::string list;
    for (int i = 0; i < SetNames; ++i) {
      values[i] = std::round(valueOf(valueRng) * 8) / 8; // some exact zeros and integers
      if (i % 2 == 0) list += std::string(Names[i]) + "," + std::to_string(values[i]) + ",";
    }
    c.SetVariables(TString(list.c_str()));
    for (int i = 0; i < SetNames; ++i)
      values[i] = c.GetVariables().Value(Names[i]); // as printed
    try {
      c.SetEquation(TString(formula.c_str()));
    } catch (TCalculatorException* e) {
      std::unique_ptr<TCalculatorException> owned(e);
      ADD_FAILURE() << "refused: " << formula << ": " << e->ErrorMessage.Utf8Text();
      ++failures;
      continue;
    }
    for (int i = 1; i < SetNames; i += 2)
      c.SetVariable(Names[i], values[i]);
    try {
      reference.P.SetExpr(formula);
    } catch (mu::Parser::exception_type& e) {
      ADD_FAILURE() << "muparser refused: " << formula << ": " << e.GetMsg();
      ++failures;
      continue;
    }
    for (int round = 0; round < 2; ++round) {
      if (round == 1) {
        // New values for the parsed formula.
        for (int i = 0; i < SetNames; ++i) {
          values[i] = std::round(valueOf(valueRng) * 4) / 4;
          c.SetVariable(Names[i], values[i]);
        }
      }
      const TOutcome ours = Ours(c);
      const TOutcome theirs = Theirs(reference.P);
      ++compared;
      if (ours.result == rValue) ++withValue;
      const bool same = ours.result == theirs.result && ours.result != rOther &&
                        (ours.result != rValue || Agree(ours.value, theirs.value));
      if (!same) {
        ADD_FAILURE() << formula << "\n  ours: " << ours.result << " " << ours.value << " " << ours.message
                      << "\n  muparser: " << theirs.result << " " << theirs.value << " " << theirs.message;
        ++failures;
      }
    }
  }
  EXPECT_EQ(compared, 2 * formulas);
  // Most formulas must come to a value, or the comparison proves little.
  EXPECT_GT(withValue, compared * 6 / 10) << withValue << " of " << compared;
}

} // namespace
