#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "hxcadkit/numeric/TVector2.h"

namespace {

// Equations given as a function of the point; counts the calls of the hooks.
class TSystem : public TNonLinearEquations
{
public:
  using Residual = std::function<double(const TMathVector& x, TSize i)>;
  using Gradient = std::function<double(const TMathVector& x, TSize i, TSize j)>;

  Residual R;
  Gradient G; // when set, Fi fills its row of dF as well
  int FiCalls = 0, CorrectX = 0, CorrectStep = 0;

  TSystem(TSize n, Residual r, Gradient g = nullptr)
      : TNonLinearEquations(n), R(std::move(r)), G(std::move(g))
  {
  }

  TData& Fi(const TMathVector& x, const TSize I) override
  {
    ++FiCalls;
    F[I] = R(x, I);
    if (G)
      for (TSize j = 0; j < Count(); ++j)
        dF(I, j) = G(x, I, j);
    return F[I];
  }
  void Correct(const TMathVector&) override { ++CorrectX; }
  void Correct(const TMathVector&, const TMathVector&, TMathVector&) override { ++CorrectStep; }
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

// ---------------------------------------------------------------------------------------------
// Building blocks

TEST(NonLinearParts, Misclosure)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return i == 0 ? x[0] - 1 : -3 * x[1]; });
  s.X = {0, 1};
  EXPECT_EQ(s.Misclosure(s.X, false), 3.0);
  EXPECT_EQ(s.FiCalls, 2);
  s.F = {-5, 2}; // taken as they are: no new calls
  EXPECT_EQ(s.Misclosure(s.X, true), 5.0);
  EXPECT_EQ(s.FiCalls, 2);
  // A NaN residual is never taken for a small one.
  s.F = {kNaN, 0};
  EXPECT_TRUE(std::isnan(s.Misclosure(s.X, true)));
  TSystem none(0, [](const TMathVector&, TSize) { return 1.0; });
  EXPECT_EQ(none.Misclosure(none.X, false), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Damped Newton

TEST(NewtonSolve, OutcomesAndCallCounts)
{
  using R = TSystem::Residual;
  int calls = 0;
  const R linear = [](const TMathVector& x, TSize) { return x[0] - 2; };
  struct Case
  {
    const char* what;
    R r;
    TSize limit;
    GcBaseResult code;
    int steps, corrections; // calls of the two Correct hooks
    double x;               // X after the solve
  } cases[] = {
      {"no iterations allowed", linear, 0, gcBaseCode_None, 0, 0, 0.0},
      {"one fifth of each step", linear, 100, gcBaseCode_Ok, 66, 1, 2 * (1 - std::pow(0.8, 66))},
      // Regression: reaching the limit used to be reported as a solution.
      {"iteration limit", linear, 50, gcBaseCode_NoIterSolution, 50, 0, 2 * (1 - std::pow(0.8, 50))},
      {"singular at the start", [](const TMathVector& x, TSize) { return x[0] * x[0] - 1; }, 100,
       gcBaseCode_Unsolvable, 0, 0, 0.0},
      // The residual seen first is large, the next one is not (equations that change between
      // calls): the failed solve is reported as such.
      {"singular after the residual halved",
       [&calls](const TMathVector& x, TSize) { return ++calls == 1 ? 10.0 : x[0] * x[0] - 1; }, 100,
       gcBaseCode_UninvertableJacobian, 0, 1, 0.0},
      {"singular at a solution", [](const TMathVector& x, TSize) { return x[0] * x[0]; }, 100, gcBaseCode_Ok,
       0, 1, 0.0},
  };
  for (const Case& c : cases) {
    TSystem s(1, c.r);
    s.Iteration.Epsilon = 1e-6;
    s.Iteration.IterLimit = c.limit;
    EXPECT_EQ(s.Solve(), c.code) << c.what;
    EXPECT_EQ(s.CorrectStep, c.steps) << c.what;
    EXPECT_EQ(s.CorrectX, c.corrections) << c.what;
    EXPECT_NEAR(s.X[0], c.x, 1e-12) << c.what;
  }
}

TEST(NewtonSolve, CircleLineIntersection)
{
  // x^2 + y^2 = 25 and y = x + 1: (3, 4) and (-4, -3).
  auto f = [](const TMathVector& x, TSize i) {
    return i == 0 ? x[0] * x[0] + x[1] * x[1] - 25 : x[1] - x[0] - 1;
  };
  const double cases[][4] = {{1, 1, 3, 4}, {-1, -2, -4, -3}, {10, 0, 3, 4}};
  for (const auto& c : cases) {
    TSystem s(2, f);
    s.X = {c[0], c[1]};
    s.Iteration.Epsilon = 1e-8;
    s.Iteration.IterLimit = 200;
    ASSERT_EQ(s.Solve(), gcBaseCode_Ok);
    EXPECT_NEAR(s.X[0], c[2], 1e-7);
    EXPECT_NEAR(s.X[1], c[3], 1e-7);
  }
}

TEST(NewtonSolve, BadSizesAndNaNResidualsEndWithAFailure)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return i == 0 ? kNaN : x[1]; });
  s.Iteration.IterLimit = 20;
  EXPECT_NE(s.Solve(), gcBaseCode_Ok);
  EXPECT_LE(s.CorrectStep, 20);
  TSystem late(1, [](const TMathVector& x, TSize) { return x[0] > 1 ? kNaN : x[0] - 2; });
  late.Iteration.IterLimit = 30;
  EXPECT_NE(late.Solve(), gcBaseCode_Ok);
  // X resized behind the solver's back.
  TSystem sized(2, [](const TMathVector& x, TSize i) { return x[i]; });
  sized.X.SetDimension(5, 1.0);
  EXPECT_EQ(sized.Solve(), gcBaseCode_Error);
  TMathVector x(5, 1.0);
  EXPECT_FALSE(sized.Improve(x, 3));
}

// ---------------------------------------------------------------------------------------------
// Continuation

TEST(Improve, ExactRootIsLeftAlone)
{
  TSystem s(
      1, [](const TMathVector& x, TSize) { return x[0] - 2; },
      [](const TMathVector&, TSize, TSize) { return 1.0; });
  TMathVector x(1, 2.0);
  EXPECT_FALSE(s.Improve(x, 10));
  EXPECT_EQ(x[0], 2.0);
}

TEST(Improve, StepsTowardsTheShiftedTarget)
{
  // x^2 = 4 from 3: the first target is F - 0.9 F. A full Newton step for F (to 2.1667) would
  // miss that target by 0.9 F and be rejected, leaving nothing improved.
  TSystem s(
      1, [](const TMathVector& x, TSize) { return x[0] * x[0] - 4; },
      [](const TMathVector& x, TSize, TSize) { return 2 * x[0]; });
  TMathVector x(1, 3.0);
  EXPECT_TRUE(s.Improve(x, 1));
  EXPECT_NEAR(x[0], 3.0 - 0.5 / 6.0, 1e-12);
  TMathVector y(1, 3.0);
  EXPECT_TRUE(s.Improve(y, 10));
  EXPECT_NEAR(y[0], 2.0, 1e-6);
}

TEST(Improve, LinearProblemIsAcceptedOnTheFirstPass)
{
  // 2x + y = 5, x - y = 1, root (2, 1). The first pass aims at F - rDelta and, the problem being
  // linear, lands on F = rDelta = 0.9 F(0) exactly; a full Newton step for F would overshoot that
  // target and be rejected, leaving nothing improved.
  TSystem s(
      2, [](const TMathVector& x, TSize i) { return i == 0 ? 2 * x[0] + x[1] - 5 : x[0] - x[1] - 1; },
      [](const TMathVector&, TSize i, TSize j) {
        return i == 0 ? (j == 0 ? 2.0 : 1.0) : (j == 0 ? 1.0 : -1.0);
      });
  TMathVector x(2, 0.0);
  EXPECT_TRUE(s.Improve(x, 1));
  EXPECT_NEAR(2 * x[0] + x[1] - 5, 0.9 * -5, 1e-12);
  EXPECT_NEAR(x[0] - x[1] - 1, 0.9 * -1, 1e-12);
  TMathVector y(2, 0.0);
  EXPECT_TRUE(s.Improve(y, 10));
  EXPECT_NEAR(y[0], 2.0, 1e-12);
  EXPECT_NEAR(y[1], 1.0, 1e-12);
}

TEST(Improve, NaNTrialPointIsRejected)
{
  // A wrong derivative throws the trial point into the region where the residual is NaN.
  TSystem s(
      1, [](const TMathVector& x, TSize) { return std::fabs(x[0]) > 10 ? kNaN : x[0] - 2; },
      [](const TMathVector&, TSize, TSize) { return 0.001; });
  TMathVector x(1, 3.0);
  EXPECT_FALSE(s.Improve(x, 5));
  EXPECT_EQ(x[0], 3.0);
}
