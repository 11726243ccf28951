#include "Duvozadu/CplgShared.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>
#include <vector>

#include "Duvozadu/ControlModel.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetail2.h"

namespace {
// Half the width of a hexagon across its corners, as a head or a nut is seen from its side.
double AcrossCorners(double S)
{
  return S / std::sqrt(3.0);
}
} // namespace

bool Usable(const double* row, int n)
{
  if (!row) return false;
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(row[i])) return false;
  return true;
}

int BoreType(int T)
{
  return T < 0 ? 0 : T > 3 ? 3 : T;
}

TBoltFit BoltFit(double grip, double washer, double nut, double d, double L, double LM)
{
  TBoltFit f{std::max(L, grip + washer + nut + 0.1 * d), LM};
  f.LM = std::max(LM, f.L - grip + d / 2);
  return f;
}

TGroupRows GroupRows(const TTable* t, double torque, double d1, double d2, int torqueCol)
{
  TGroupRows out;
  if (!t || !t->Row(0) || std::isnan(torque) || !std::isfinite(d1) || !std::isfinite(d2)) return out;
  const int bore = t->Control, rows = t->CountRow, cols = t->CountColumn;
  if (torqueCol < 0 || torqueCol >= cols || bore < 0 || bore >= cols) return out;
  // A group that does not reach the chosen torque is passed over; the first one at or above it
  // that holds both diameters is built.
  for (int first = 0; first < rows;) {
    const double m = t->Row(first)[torqueCol];
    int end = first + 1;
    while (end < rows && t->Row(end)[torqueCol] == m)
      ++end;
    if (std::isfinite(m) && (torque <= 0.0 || m >= torque)) {
      // A group holds a shaft its bores span: one thinner than every bore of it would get a
      // bore it does not fit.
      const double *r1 = nullptr, *r2 = nullptr;
      bool below1 = false, below2 = false;
      for (int i = first; i < end; ++i) {
        const double* r = t->Row(i);
        below1 = below1 || r[bore] <= d1;
        below2 = below2 || r[bore] <= d2;
        if (!r1 && r[bore] >= d1) r1 = r;
        if (!r2 && r[bore] >= d2) r2 = r;
      }
      if (!below1) r1 = nullptr;
      if (!below2) r2 = nullptr;
      if (r1 && r2) {
        out.R1 = r1;
        out.R2 = r2;
        out.Torque = m;
        return out;
      }
    }
    first = end;
  }
  return out;
}

TPiece::TPiece(TModeler3D& m, double mx, double my, double ma, double mm, double s, bool axisFirst,
               double ax1, double ax2)
    : M(m), Unwinding(std::uncaught_exceptions())
{
  M.drMtr(mx, my, ma, mm);
  M.drMtr(s, 0.0, 0.0, 1.0);
  if (axisFirst) M.drLine(ax1, 0.0, ax2, 0.0, 3);
  M.drMacro2D(true);
}

TPiece::~TPiece() noexcept(false)
{
  CloseLevels(M, true, 2, Unwinding);
}

void CloseLevels(TModeler3D& m, bool macro, int matrices, int unwinding)
{
  std::exception_ptr failed;
  auto step = [&](auto call) {
    try {
      call();
    } catch (...) {
      if (!failed) failed = std::current_exception();
    }
  };
  if (macro) step([&m] { m.drEndMacro(); });
  for (int i = 0; i < matrices; ++i)
    step([&m] { m.drDeleteMtr(); });
  if (failed && std::uncaught_exceptions() == unwinding) std::rethrow_exception(failed);
}

bool OneOpposite(double z, double n)
{
  for (int i = 1; i < n && i < 360; ++i)
    if (std::fabs(std::remainder(360.0 * i / z - 180.0, 360.0)) < 1e-9) return true;
  return false;
}

void HoleCircle(TModeler3D& m, double z, double D1, double r, double startDeg)
{
  for (int i = 0; i < z && i < 360; ++i) {
    const double phi = (i * 360.0 / z + startDeg) * M_PI / 180.0;
    m.drCircle(std::cos(phi) * D1 / 2, std::sin(phi) * D1 / 2, r, 1);
  }
}

std::vector<double> HoleAngles(const THoleCircle& c)
{
  std::vector<double> out;
  if (!std::isfinite(c.z) || !std::isfinite(c.n) || !(c.z > 0.0)) return out;
  if (c.n == c.z && (std::floor(c.z / 2) * 2 == c.z || (c.keptWhole && std::floor(c.z) == c.z))) {
    for (int i = 0; i < c.z && i < 360; ++i)
      out.push_back(i * 360.0 / c.z + c.kept);
    return out;
  }
  for (const double sense : {c.sense, -c.sense}) {
    if (sense != c.sense && !c.both) break;
    for (int i = 0; i < c.n && i < 360; ++i) {
      const double a = c.first + sense * i * 360.0 / c.z;
      // A hole of the other sense that a fastener of the first stands in already is not cut twice.
      if (std::none_of(out.begin(), out.end(),
                       [&](double b) { return std::fabs(std::remainder(a - b, 360.0)) < 1e-9; }))
        out.push_back(a);
    }
  }
  return out;
}

void HoleCircle(TModeler3D& m, const THoleCircle& c, double D1, double r)
{
  for (const double a : HoleAngles(c)) {
    const double phi = a * M_PI / 180.0;
    m.drCircle(std::cos(phi) * D1 / 2, std::sin(phi) * D1 / 2, r, 1);
  }
}

void MakeHalf(int n, const char* word, double d, int boreType)
{
  ControlModel.mkDetail3D(n, DC(TString(word)), d, true, true, boreType);
}

void BoltInView(TModeler3D& m, double x, double y, double angle, double d, double L, double S, double H,
                double from, double to, double seen)
{
  if (!std::isfinite(x + y + angle + d + L + S + H + from + to + seen) || !(d > 0.0) || !(L > 0.0)) return;
  const double r = d / 2, c = std::min(0.1 * d, r);
  seen = std::clamp(seen, 0.0, L);
  to = std::clamp(to, 0.0, seen);
  from = std::clamp(from, 0.0, to);
  TPiece piece(m, x, y, angle, 1.0, 0.0);
  // The head seen across its corners: its outline and the edges between its faces.
  const double e = AcrossCorners(S);
  m.drLine(-H, -e, -H, e, 1);
  m.drLine(-H, e, 0.0, e, 1);
  m.drLine(0.0, e, 0.0, -e, 1);
  m.drLine(0.0, -e, -H, -e, 1);
  for (const double s : {e / 2, -e / 2})
    m.drLine(-H, s, 0.0, s, 1);
  for (const double s : {r, -r})
    if (to > from) m.drLine(from, s, to, s, 4);
  // The end standing out: the shank, and its chamfer from where it leaves the nut.
  if (L > seen) {
    const double from = std::max(seen, L - c), rf = r - (from - (L - c));
    for (const double s : {1.0, -1.0}) {
      if (L - c > seen) m.drLine(seen, s * r, L - c, s * r, 1);
      m.drLine(from, s * rf, L, s * (r - c), 1);
    }
    m.drLine(L, r - c, L, c - r, 1);
  }
  m.drLine(-H - 2.0, 0.0, L + 2.0, 0.0, 3);
}

namespace {
// The cosine and sine of a turn by the angle (degrees). Most pieces lie unturned or turned round: the values
// there are known exactly (the sine keeps the zero's sign, and 180 degrees come to pi as rounded, whose sine
// is this), without the calls.
struct TTurn
{
  double c, s;
  explicit TTurn(double angle)
  {
    constexpr double SinPi = 0x1.1a62633145c07p-53;
    const double a = angle * M_PI / 180.0;
    if (a == 0.0)
      c = 1.0, s = a;
    else if (std::fabs(a) == M_PI)
      c = -1.0, s = std::copysign(SinPi, a);
    else
      c = std::cos(a), s = std::sin(a);
  }
};

void TurnedBox(TFrontRegions& f, double x, double y, const TTurn& t, double x1, double y1, double x2,
               double y2)
{
  const double c = t.c, s = t.s;
  const TPoint2D p[4] = {
      TPoint2D(x + c * x1 - s * y1, y + s * x1 + c * y1), TPoint2D(x + c * x2 - s * y1, y + s * x2 + c * y1),
      TPoint2D(x + c * x2 - s * y2, y + s * x2 + c * y2), TPoint2D(x + c * x1 - s * y2, y + s * x1 + c * y2)};
  f.Polygon(p, 4);
}
} // namespace

void FrontBox(TFrontRegions& f, double x, double y, double angle, double x1, double y1, double x2, double y2)
{
  TurnedBox(f, x, y, TTurn(angle), x1, y1, x2, y2);
}

void FrontBolt(TFrontRegions& f, double x, double y, double angle, double d, double L, double S, double H)
{
  const double e = AcrossCorners(S);
  const TTurn t(angle);
  // The shank reaches into the head, so that the face under the head is hidden across it.
  TurnedBox(f, x, y, t, -H, -e, 0.0, e);
  TurnedBox(f, x, y, t, -H, -d / 2, L, d / 2);
}

void FrontBoltInView(TFrontRegions& f, double x, double y, double angle, double d, double L, double S,
                     double H, double seen)
{
  const double e = AcrossCorners(S);
  const TTurn t(angle);
  TurnedBox(f, x, y, t, -H, -e, 0.0, e);
  if (L > seen) TurnedBox(f, x, y, t, seen, -d / 2, L, d / 2);
}

void FrontNut(TFrontRegions& f, double x, double y, double angle, double S, double H)
{
  const double e = AcrossCorners(S);
  FrontBox(f, x, y, angle, 0.0, -e, H, e);
}

void WasherInSide(TModeler3D& m, double mx, double my, double ma, double ms, double d, double D, double t,
                  int tl)
{
  TElementOutline o;
  o.Start(0.0, 0.0);
  o.P(0.0, D / 2.0);
  o.P(t, D / 2.0);
  o.P(t, 0.0);
  o.Line(-2.0, 0.0, t + 2.0, 0.0, 3);
  // The bore is not drawn, but a washer without one is no washer.
  const char* what = "\xd1\x88\xd0\xb0\xd0\xb9\xd0\xb1\xd0\xb0"; // the element's name, UTF-8
  if (std::isfinite(d))
    o.DrawPlaced(m, mx, my, ma, ms, tl, true, what);
  else
    RefuseElement(what);
}

void FrontWasher(TFrontRegions& f, double x, double y, double angle, double D, double t)
{
  FrontBox(f, x, y, angle, 0.0, -D / 2, t, D / 2);
}

TString Counted(double n, const char* one, const char* few, const char* many)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.10g ", n);
  const char* noun = many;
  if (n != std::floor(n)) {
    // A fraction takes the noun as two does: "4.5 болта".
    noun = few;
  } else if (const double tens = std::fmod(std::fabs(n), 100.0); tens < 11.0 || tens > 14.0) {
    const double units = std::fmod(tens, 10.0);
    noun = units == 1.0 ? one : units >= 2.0 && units <= 4.0 ? few : many;
  }
  return TString(text) + TString(noun);
}
