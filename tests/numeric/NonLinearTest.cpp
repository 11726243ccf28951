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

  using TNonLinearEquations::MakeJacubian;
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

TEST(NonLinearParts, AssemblyLeavesResidualsAtThePoint)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return i == 0 ? x[0] * x[1] : x[0] + 2 * x[1]; });
  TMathVector x(2);
  x = {2, 3};
  s.MakeJacubian(x, false);
  EXPECT_EQ(s.F[0], 6.0);
  EXPECT_EQ(s.F[1], 8.0);
  EXPECT_NEAR(s.dF(0, 0), 3.0, 1e-12);
  EXPECT_NEAR(s.dF(1, 1), 2.0, 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Damped Newton

TEST(NewtonSolve, NoIterationsAllowed)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return x[i] - 2; });
  s.Iteration.IterLimit = 0;
  EXPECT_EQ(s.Solve(), gcBaseCode_None);
  EXPECT_EQ(s.FiCalls, 2);
  EXPECT_EQ(s.X[0], 0.0);
}

TEST(NewtonSolve, TakesOneFifthOfEachStep)
{
  TSystem s(1, [](const TMathVector& x, TSize) { return x[0] - 2; });
  s.Iteration.Epsilon = 1e-6;
  s.Iteration.IterLimit = 100;
  EXPECT_EQ(s.Solve(), gcBaseCode_Ok);
  EXPECT_EQ(s.CorrectStep, 66);
  EXPECT_EQ(s.CorrectX, 1);
  EXPECT_NEAR(s.X[0], 2 * (1 - std::pow(0.8, 66)), 1e-12);
}

TEST(NewtonSolve, IterationLimitIsNotASolution)
{
  TSystem s(1, [](const TMathVector& x, TSize) { return x[0] - 2; });
  s.Iteration.Epsilon = 1e-6;
  s.Iteration.IterLimit = 50;
  EXPECT_EQ(s.Solve(), gcBaseCode_NoIterSolution);
  EXPECT_EQ(s.CorrectStep, 50);
  EXPECT_EQ(s.CorrectX, 0);
  EXPECT_NEAR(s.X[0], 2 * (1 - std::pow(0.8, 50)), 1e-12);
}

TEST(NewtonSolve, SingularJacobianAtTheStart)
{
  TSystem s(1, [](const TMathVector& x, TSize) { return x[0] * x[0] - 1; });
  EXPECT_EQ(s.Solve(), gcBaseCode_Unsolvable);
  EXPECT_EQ(s.X[0], 0.0);
  EXPECT_EQ(s.CorrectX, 0);
}

TEST(NewtonSolve, SingularJacobianAfterTheResidualHalved)
{
  // The residual seen at the start is large, the one after the first assembly is not (a system
  // whose equations change between calls): the failed solve is reported as such.
  int calls = 0;
  TSystem s(1, [&calls](const TMathVector& x, TSize) { return ++calls == 1 ? 10.0 : x[0] * x[0] - 1; });
  EXPECT_EQ(s.Solve(), gcBaseCode_UninvertableJacobian);
  EXPECT_EQ(s.CorrectX, 1);
  EXPECT_EQ(s.X[0], 0.0);
}

TEST(NewtonSolve, SizesResetBehindItsBackAreRefused)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return x[i]; });
  s.X.SetDimension(5, 1.0);
  EXPECT_EQ(s.Solve(), gcBaseCode_Error);
  TMathVector x(5, 1.0);
  EXPECT_FALSE(s.Improve(x, 3));
}

TEST(NewtonSolve, SingularJacobianAtASolutionIsAccepted)
{
  TSystem s(1, [](const TMathVector& x, TSize) { return x[0] * x[0]; });
  EXPECT_EQ(s.Solve(), gcBaseCode_Ok);
  EXPECT_EQ(s.CorrectX, 1);
}

TEST(NewtonSolve, CircleLineIntersection)
{
  // x^2 + y^2 = 25 and y = x + 1: (3, 4) and (-4, -3).
  auto f = [](const TMathVector& x, TSize i) {
    return i == 0 ? x[0] * x[0] + x[1] * x[1] - 25 : x[1] - x[0] - 1;
  };
  struct Case
  {
    double x0, y0, x, y;
  };
  const Case cases[] = {{1, 1, 3, 4}, {-1, -2, -4, -3}, {10, 0, 3, 4}};
  for (const Case& c : cases) {
    TSystem s(2, f);
    s.X = {c.x0, c.y0};
    s.Iteration.Epsilon = 1e-8;
    s.Iteration.IterLimit = 200;
    ASSERT_EQ(s.Solve(), gcBaseCode_Ok);
    EXPECT_NEAR(s.X[0], c.x, 1e-7);
    EXPECT_NEAR(s.X[1], c.y, 1e-7);
  }
}

TEST(NewtonSolve, RosenbrockAndPowellSystems)
{
  // Rosenbrock: 10 (y - x^2) = 0, 1 - x = 0, root (1, 1), from the classic start.
  TSystem rosen(2,
                [](const TMathVector& x, TSize i) { return i == 0 ? 10 * (x[1] - x[0] * x[0]) : 1 - x[0]; });
  rosen.X = {-1.2, 1};
  rosen.Iteration.IterLimit = 300;
  ASSERT_EQ(rosen.Solve(), gcBaseCode_Ok);
  EXPECT_NEAR(rosen.X[0], 1.0, 1e-5);
  EXPECT_NEAR(rosen.X[1], 1.0, 1e-5);

  // Powell's badly scaled system: 1e4 x y = 1, exp(-x) + exp(-y) = 1.0001.
  TSystem powell(2, [](const TMathVector& x, TSize i) {
    return i == 0 ? 1e4 * x[0] * x[1] - 1 : std::exp(-x[0]) + std::exp(-x[1]) - 1.0001;
  });
  powell.X = {0, 1};
  powell.Iteration.IterLimit = 500;
  const GcBaseResult r = powell.Solve();
  // Whatever the outcome, it is reported truthfully.
  if (r == gcBaseCode_Ok)
    EXPECT_LT(powell.Misclosure(powell.X, false), 1e-6);
  else
    EXPECT_TRUE(r == gcBaseCode_NoIterSolution || r == gcBaseCode_Unsolvable);
}

TEST(NewtonSolve, NaNResidualsEndWithAFailure)
{
  TSystem s(2, [](const TMathVector& x, TSize i) { return i == 0 ? kNaN : x[1]; });
  s.Iteration.IterLimit = 20;
  EXPECT_NE(s.Solve(), gcBaseCode_Ok);
  EXPECT_LE(s.CorrectStep, 20);

  // NaN appearing after a few steps.
  TSystem late(1, [](const TMathVector& x, TSize) { return x[0] > 1 ? kNaN : x[0] - 2; });
  late.Iteration.IterLimit = 30;
  EXPECT_NE(late.Solve(), gcBaseCode_Ok);
}

TEST(NewtonSolve, EmptySystem)
{
  TSystem s(0, [](const TMathVector&, TSize) { return 0.0; });
  EXPECT_EQ(s.Solve(), gcBaseCode_Ok);
  s.SetDimension(3);
  EXPECT_EQ(s.dF.Lines, 3);
  s.SetDimension(-2);
  EXPECT_EQ(s.Count(), 0);
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
