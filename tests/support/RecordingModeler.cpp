#include "RecordingModeler.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <type_traits>

TRecordingModeler::TRecordingModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}

// The registry refers to Constraint, a member destroyed before the base deletes the registry;
// the registry's destructor does not touch it.
TRecordingModeler::~TRecordingModeler() = default;

void TRecordingModeler::Reset()
{
  Calls.clear();
  Curves.clear();
  HatchCount = SketchCount = 0;
  InSketch = -1;
}

namespace {

// Numbers (ints, bools and enumerations as numbers) and texts of a call; host objects, marks
// and matrices are not recorded.
template <class V> void Take(TRecordingModeler::TCall& c, const V& v)
{
  if constexpr (std::is_same_v<V, TString>)
    c.S.push_back(v);
  else if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>)
    c.A.push_back(double(v));
}

} // namespace

template <class... A> void TRecordingModeler::Rec(const char* op, const A&... args)
{
  TCall c;
  c.Op = op;
  (Take(c, args), ...);
  Calls.push_back(std::move(c));
}

void TRecordingModeler::AddCurve(TCurve c)
{
  for (auto it = OpenHatch.rbegin(); it != OpenHatch.rend(); ++it)
    if (*it >= 0) {
      c.Hatch = *it;
      break;
    }
  c.Sketch = InSketch;
  Curves.push_back(c);
}

// ---------------------------------------------------------------------------------------------
// Queries

std::vector<TRecordingModeler::TCall> TRecordingModeler::Of(const std::string& op) const
{
  std::vector<TCall> r;
  for (const TCall& c : Calls)
    if (c.Op == op) r.push_back(c);
  return r;
}

int TRecordingModeler::Count(const std::string& op) const
{
  return int(std::count_if(Calls.begin(), Calls.end(), [&](const TCall& c) { return c.Op == op; }));
}

std::string TRecordingModeler::Ops() const
{
  std::string s;
  for (const TCall& c : Calls) {
    if (!s.empty()) s += ' ';
    s += c.Op;
  }
  return s;
}

std::vector<TRecordingModeler::TCurve> TRecordingModeler::HatchBoundary(int k) const
{
  std::vector<TCurve> r;
  for (const TCurve& c : Curves)
    if (c.Hatch == k) r.push_back(c);
  return r;
}

std::vector<TRecordingModeler::TCurve> TRecordingModeler::SketchProfile(int k) const
{
  std::vector<TCurve> r;
  for (const TCurve& c : Curves)
    if (c.Sketch == k) r.push_back(c);
  return r;
}

std::vector<TRecordingModeler::TCurve> TRecordingModeler::Outline(const std::vector<TCurve>& curves)
{
  std::vector<TCurve> r;
  for (const TCurve& c : curves)
    if (c.Style != 3 && c.Style >= 0) r.push_back(c);
  return r;
}

std::vector<TRecordingModeler::TCurve> TRecordingModeler::Drawn() const
{
  constexpr double guard = 1e-4;
  std::vector<TCurve> r;
  for (const TCurve& c : Curves) {
    if (c.Kind == TCurve::Line && std::fabs(c.x1 - c.x2) < guard && std::fabs(c.y1 - c.y2) < guard) continue;
    if (c.Kind != TCurve::Line && std::fabs(c.r) < guard) continue;
    r.push_back(c);
  }
  return r;
}

void TRecordingModeler::TBox::Add(double x, double y)
{
  if (Empty) {
    x1 = x2 = x;
    y1 = y2 = y;
    Empty = false;
    return;
  }
  x1 = std::min(x1, x);
  x2 = std::max(x2, x);
  y1 = std::min(y1, y);
  y2 = std::max(y2, y);
}

TRecordingModeler::TBox TRecordingModeler::Box(const std::vector<TCurve>& curves)
{
  TBox b;
  for (const TCurve& c : curves) {
    switch (c.Kind) {
    case TCurve::Line:
      b.Add(c.x1, c.y1);
      b.Add(c.x2, c.y2);
      break;
    case TCurve::Arc: {
      // The ends and every quadrant point the arc passes.
      b.Add(c.x1, c.y1);
      b.Add(c.x2, c.y2);
      double a1 = std::atan2(c.y1 - c.cy, c.x1 - c.cx), a2 = std::atan2(c.y2 - c.cy, c.x2 - c.cx);
      if (c.Dir < 0) std::swap(a1, a2);
      const double sweep = std::fmod(a2 - a1 + 4.0 * TMathDef::C_PI, TMathDef::C_2PI);
      for (int q = -4; q <= 4; ++q) {
        const double a = q * TMathDef::C_PI / 2.0;
        if (std::fmod(a - a1 + 8.0 * TMathDef::C_PI, TMathDef::C_2PI) <= sweep)
          b.Add(c.cx + std::fabs(c.r) * std::cos(a), c.cy + std::fabs(c.r) * std::sin(a));
      }
      break;
    }
    case TCurve::Circle:
    case TCurve::Ellipse:
      b.Add(c.cx - std::fabs(c.r), c.cy - std::fabs(c.r));
      b.Add(c.cx + std::fabs(c.r), c.cy + std::fabs(c.r));
      break;
    }
  }
  return b;
}

bool TRecordingModeler::AllFinite(std::string* why) const
{
  for (const TCall& c : Calls)
    for (double v : c.A)
      if (!std::isfinite(v)) {
        if (why) *why = "a non-finite argument of " + c.Op;
        return false;
      }
  return true;
}

bool TRecordingModeler::Balanced(std::string* why) const
{
  struct
  {
    const char* name;
    int now, least;
  } depths[] = {{"transform", TransformDepth(), MinTransformDepth},
                {"macro", MacroDepth, MinMacroDepth},
                {"group", GroupDepth, MinGroupDepth},
                {"3D macro", Macro3DDepth, MinMacro3DDepth},
                {"pending", PendingDepth(), MinPendingDepth}};
  for (const auto& d : depths)
    if (d.now != 0 || d.least < 0) {
      if (why) {
        std::ostringstream s;
        s << d.name << " depth " << d.now << ", least " << d.least;
        *why = s.str();
      }
      return false;
    }
  return true;
}

bool TRecordingModeler::ClosedChain(const std::vector<TCurve>& curves, double tol, std::string* why)
{
  auto ends = [](const TCurve& c, int e) { return e == 0 ? TPoint2D(c.x1, c.y1) : TPoint2D(c.x2, c.y2); };
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (curves[i].Kind == TCurve::Circle || curves[i].Kind == TCurve::Ellipse) continue;
    for (int e = 0; e < 2; ++e) {
      const TPoint2D p = ends(curves[i], e);
      bool met = false;
      for (std::size_t j = 0; j < curves.size() && !met; ++j) {
        if (j == i || curves[j].Kind == TCurve::Circle || curves[j].Kind == TCurve::Ellipse) continue;
        for (int f = 0; f < 2 && !met; ++f) {
          const TPoint2D q = ends(curves[j], f);
          met = std::fabs(p.x - q.x) <= tol && std::fabs(p.y - q.y) <= tol;
        }
      }
      if (!met) {
        if (why) {
          std::ostringstream s;
          s << "open end (" << p.x << ", " << p.y << ") of curve " << i;
          *why = s.str();
        }
        return false;
      }
    }
  }
  return true;
}

bool TRecordingModeler::HatchesClosed(std::string* why) const
{
  for (int k = 0; k < HatchCount; ++k)
    if (!ClosedChain(Outline(HatchBoundary(k)), 1e-6, why)) {
      if (why) *why = "hatch " + std::to_string(k) + ": " + *why;
      return false;
    }
  return true;
}

bool TRecordingModeler::SketchesClosed(std::string* why) const
{
  for (int k = 0; k < SketchCount; ++k)
    if (!ClosedChain(Outline(SketchProfile(k)), 1e-6, why)) {
      if (why) *why = "sketch " + std::to_string(k) + ": " + *why;
      return false;
    }
  return true;
}

::testing::AssertionResult DrawingSound(const TRecordingModeler& m)
{
  std::string why;
  if (!m.AllFinite(&why) || !m.Balanced(&why) || !m.HatchesClosed(&why) || !m.SketchesClosed(&why))
    return ::testing::AssertionFailure() << why;
  return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------------------------
// Primitives: recorded as given and as curves in sheet space

void TRecordingModeler::drLine(const double& x1, const double& y1, const double& x2, const double& y2,
                               int Attr)
{
  Rec("drLine", x1, y1, x2, y2, Attr);
  TCurve c;
  c.Kind = TCurve::Line;
  c.Style = Attr;
  R2D().Transf2D.xyMtr(x1, y1, c.x1, c.y1);
  R2D().Transf2D.xyMtr(x2, y2, c.x2, c.y2);
  AddCurve(c);
}

void TRecordingModeler::drArc(const double& X, const double& Y, const double& R, const double& x1,
                              const double& y1, const double& x2, const double& y2, int Napr, int Attr)
{
  Rec("drArc", X, Y, R, x1, y1, x2, y2, Napr, Attr);
  const TTransf2D& t = R2D().Transf2D;
  TCurve c;
  c.Kind = TCurve::Arc;
  c.Style = Attr;
  t.xyMtr(X, Y, c.cx, c.cy);
  t.xyMtr(x1, y1, c.x1, c.y1);
  t.xyMtr(x2, y2, c.x2, c.y2);
  c.r = R * t.ScaleMtr();
  c.Dir = Napr;
  if (t.AMtr.Count > 0) {
    const TMtr2D& m = t.AMtr.Last();
    if (m.M[0][0] * m.M[1][1] - m.M[0][1] * m.M[1][0] < 0.0) c.Dir = -Napr;
  }
  AddCurve(c);
}

void TRecordingModeler::drCircle(const double& X, const double& Y, const double& R, int Attr)
{
  Rec("drCircle", X, Y, R, Attr);
  TCurve c;
  c.Kind = TCurve::Circle;
  c.Style = Attr;
  R2D().Transf2D.xyMtr(X, Y, c.cx, c.cy);
  c.r = R * R2D().Transf2D.ScaleMtr();
  AddCurve(c);
}

void TRecordingModeler::drEllipse(const double& X, const double& Y, const double& A, const double& B,
                                  const double& Angle, int Attr)
{
  Rec("drEllipse", X, Y, A, B, Angle, Attr);
  TCurve c;
  c.Kind = TCurve::Ellipse;
  c.Style = Attr;
  R2D().Transf2D.xyMtr(X, Y, c.cx, c.cy);
  c.r = std::max(std::fabs(A), std::fabs(B)) * R2D().Transf2D.ScaleMtr();
  AddCurve(c);
}

void TRecordingModeler::drLayer(int NumerOfLayer)
{
  Rec("drLayer", NumerOfLayer);
}

void TRecordingModeler::drMtr(double x, double y, double Angle, double Scale)
{
  Rec("drMtr", x, y, Angle, Scale);
  TModeler3D::drMtr(x, y, Angle, Scale);
}

void TRecordingModeler::drDeleteMtr()
{
  Rec("drDeleteMtr");
  MinTransformDepth = std::min(MinTransformDepth, TransformDepth() - 1);
  TModeler3D::drDeleteMtr();
}

// ---------------------------------------------------------------------------------------------
// Composites: recorded, then drawn by the base

void TRecordingModeler::drRectAngle(const double& x1, const double& y1, const double& x2, const double& y2,
                                    int Attr)
{
  Rec("drRectAngle", x1, y1, x2, y2, Attr);
  TModeler3D::drRectAngle(x1, y1, x2, y2, Attr);
}

void TRecordingModeler::drCircleAxle(const double& X, const double& Y, const double& R, int Attr)
{
  Rec("drCircleAxle", X, Y, R, Attr);
  TModeler3D::drCircleAxle(X, Y, R, Attr);
}

void TRecordingModeler::drCLL(const double& x0, const double& y0, const double& xc, const double& yc,
                              const double& x, const double& y, const double& r, int Attr)
{
  Rec("drCLL", x0, y0, xc, yc, x, y, r, Attr);
  TModeler3D::drCLL(x0, y0, xc, yc, x, y, r, Attr);
}

void TRecordingModeler::drFsk(const double& x0, const double& y0, const double& xc, const double& yc,
                              const double& x, const double& y, const double& c, int Attr)
{
  Rec("drFsk", x0, y0, xc, yc, x, y, c, Attr);
  TModeler3D::drFsk(x0, y0, xc, yc, x, y, c, Attr);
}

void TRecordingModeler::drCVR(const double& x0, const double& y0, const double& x1, const double& y1,
                              const double& x2, const double& y2, const double& x, const double& y,
                              const double& r, int Attr)
{
  Rec("drCVR", x0, y0, x1, y1, x2, y2, x, y, r, Attr);
  TModeler3D::drCVR(x0, y0, x1, y1, x2, y2, x, y, r, Attr);
}

void TRecordingModeler::drText(const double& x, const double& y, const double& FStr, const double& Hs,
                               const double& Ksu, int Fb, const TString& S)
{
  Rec("drText", x, y, FStr, Hs, Ksu, Fb, S);
}

void TRecordingModeler::drPoint(const double& x, const double& y)
{
  Rec("drPoint", x, y);
}

void TRecordingModeler::drPolyline3D(bool Closed)
{
  Rec("drPolyline3D", Closed);
}

void TRecordingModeler::NewCut()
{
  Rec("NewCut");
  TModeler3D::NewCut();
}

void TRecordingModeler::ACT(const double& x, const double& y)
{
  Rec("ACT", x, y);
  TModeler3D::ACT(x, y);
}

void TRecordingModeler::ACTIf(bool c, const double& x, const double& y)
{
  Rec("ACTIf", c, x, y);
  TModeler3D::ACTIf(c, x, y);
}

void TRecordingModeler::DrawCut(const TString& S, int Direction)
{
  Rec("DrawCut", S, Direction);
  TModeler3D::DrawCut(S, Direction);
}

// ---------------------------------------------------------------------------------------------
// Pending objects, groups and macros

void TRecordingModeler::drCut(const double& Hs, const double& Ksu, const double& Fch, const TString& S,
                              const double& x1, const double& y1, int Napr1, const double& x2,
                              const double& y2, int Napr2)
{
  Rec("drCut", Hs, Ksu, Fch, S, x1, y1, Napr1, x2, y2, Napr2);
  OpenHatch.push_back(-1);
  TModeler3D::drCut(Hs, Ksu, Fch, S, x1, y1, Napr1, x2, y2, Napr2);
}

void TRecordingModeler::drGroup(bool Temporary)
{
  Rec("drGroup", Temporary);
  ++GroupDepth;
}

void TRecordingModeler::drEndGroup()
{
  Rec("drEndGroup");
  MinGroupDepth = std::min(MinGroupDepth, --GroupDepth);
}

void TRecordingModeler::drClearRegion(std::int64_t Color)
{
  Rec("drClearRegion", Color);
}

void TRecordingModeler::drColouring(std::int64_t Color)
{
  Rec("drColouring", Color);
  OpenHatch.push_back(-1);
  TModeler3D::drColouring(Color);
}

void TRecordingModeler::drHatch(int Tip, const double& FStr, const double& Shag)
{
  Rec("drHatch", Tip, FStr, Shag);
  OpenHatch.push_back(HatchCount++);
  TModeler3D::drHatch(Tip, FStr, Shag);
}

void TRecordingModeler::drMacro2D(bool AllLayer)
{
  Rec("drMacro2D", AllLayer);
  ++MacroDepth;
}

void TRecordingModeler::drEndMacro()
{
  Rec("drEndMacro");
  MinMacroDepth = std::min(MinMacroDepth, --MacroDepth);
}

void TRecordingModeler::drEndObj()
{
  CloseBoundary();
  Rec("drEndObj");
  MinPendingDepth = std::min(MinPendingDepth, PendingDepth() - 1);
  if (!OpenHatch.empty()) OpenHatch.pop_back();
  TModeler3D::drEndObj();
}

void TRecordingModeler::drShelf(txapi::txLeaderSignEnum Tipz, const double& x, const double& y,
                                txapi::txShelfDirectionEnum Napr, txapi::txArrowEnum Tips, const double& Hs1,
                                const double& Ksu1, const double& Fch1, const TString& S1, const double& Hs2,
                                const double& Ksu2, const double& Fch2, const TString& S2)
{
  Rec("drShelf", Tipz, x, y, Napr, Tips, Hs1, Ksu1, Fch1, S1, Hs2, Ksu2, Fch2, S2);
  OpenHatch.push_back(-1);
  TModeler3D::drShelf(Tipz, x, y, Napr, Tips, Hs1, Ksu1, Fch1, S1, Hs2, Ksu2, Fch2, S2);
}

// ---------------------------------------------------------------------------------------------
// Dimensions

void TRecordingModeler::drDimL(const double& iVal, const TString& Qual, const double& Dx, const double& Dy,
                               int Pt, int Pn, const double& Fn, const double& Dln, const double& x1,
                               const double& y1, int T1, int Po1, const double& x2, const double& y2, int T2,
                               int Po2, const TString& S1, const TString& S2, const TString& S3)
{
  Rec("drDimL", iVal, Qual, Dx, Dy, Pt, Pn, Fn, Dln, x1, y1, T1, Po1, x2, y2, T2, Po2, S1, S2, S3);
}

#define HX_REC_DIM_LINEAR(NAME)                                                                              \
  void TRecordingModeler::NAME(const double& Value, const double& Off, const double& Pt, const double& X1,   \
                               const double& Y1, const double& X2, const double& Y2, const TString& S1,      \
                               const TString& S2, const TString& S3)                                         \
  {                                                                                                          \
    Rec(#NAME, Value, Off, Pt, X1, Y1, X2, Y2, S1, S2, S3);                                                  \
    TModeler3D::NAME(Value, Off, Pt, X1, Y1, X2, Y2, S1, S2, S3);                                            \
  }
HX_REC_DIM_LINEAR(drDimHL)
HX_REC_DIM_LINEAR(drDimHL1)
HX_REC_DIM_LINEAR(drDimHL2)
HX_REC_DIM_LINEAR(drDimVL)
HX_REC_DIM_LINEAR(drDimVL1)
HX_REC_DIM_LINEAR(drDimVL2)
#undef HX_REC_DIM_LINEAR

void TRecordingModeler::drDimD(const double& Val, const TString& Qual, const double& FBase, int Pt, int Pn,
                               const double& x, const double& y, int t, const TString& S1, const TString& S2,
                               const TString& S3)
{
  Rec("drDimD", Val, Qual, FBase, Pt, Pn, x, y, t, S1, S2, S3);
}

void TRecordingModeler::drDimR(const double& Val, const TString& Qual, const double& FBase, const double& Drl,
                               int Pt, int Pn, const double& xc, const double& yc, int t, int Po,
                               const TString& S1, const TString& S2, const TString& S3)
{
  Rec("drDimR", Val, Qual, FBase, Drl, Pt, Pn, xc, yc, t, Po, S1, S2, S3);
}

void TRecordingModeler::drDimA(const double& Val, int Napr, const double& FBase, const double& Rr, int Pt,
                               int Pn, const double& Fn, const double& Dln, const double& x1,
                               const double& y1, int T1, int Po1, const double& x2, const double& y2, int T2,
                               int Po2, const TString& S, const double& xc, const double& yc)
{
  Rec("drDimA", Val, Napr, FBase, Rr, Pt, Pn, Fn, Dln, x1, y1, T1, Po1, x2, y2, T2, Po2, S, xc, yc);
}

void TRecordingModeler::drDimApc(const double& Val, const double& FBase, const double& Rr, const double& sRr,
                                 const TString& S, const double& xc, const double& yc)
{
  Rec("drDimApc", Val, FBase, Rr, sRr, S, xc, yc);
  TModeler3D::drDimApc(Val, FBase, Rr, sRr, S, xc, yc);
}

void TRecordingModeler::drDimRpp(const double& Val, int Pt, const double& Xs, const double& Ys,
                                 const double& Xp, const double& Yp, int Ts, const TString& S1,
                                 const TString& S2, const TString& S3)
{
  Rec("drDimRpp", Val, Pt, Xs, Ys, Xp, Yp, Ts, S1, S2, S3);
  TModeler3D::drDimRpp(Val, Pt, Xs, Ys, Xp, Yp, Ts, S1, S2, S3);
}

void TRecordingModeler::drCircleShelf(const double& xc, const double& yc, const double& rc, const double& xs,
                                      const double& ys, const TString& ts)
{
  Rec("drCircleShelf", xc, yc, rc, xs, ys, ts);
  TModeler3D::drCircleShelf(xc, yc, rc, xs, ys, ts);
}

void TRecordingModeler::drRough(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                                const TString& S1, const TString& S2, const TString& S3)
{
  Rec("drRough", x, y, Fi, Tz, S1, S2, S3);
}

void TRecordingModeler::drSRough(int Tz, bool Tzs, const TString& S)
{
  Rec("drSRough", Tz, Tzs, S);
}

void TRecordingModeler::drForm(const double& x, const double& y, int Tip, int S1, const TString& S2,
                               const TString& S3)
{
  Rec("drForm", x, y, Tip, S1, S2, S3);
}

void TRecordingModeler::drSupportForm(const double& x, const double& y, int Top, int Twx)
{
  Rec("drSupportForm", x, y, Top, Twx);
}

void TRecordingModeler::drBase(const double& x, const double& y, const double& dx, const double& dy,
                               const TString& S)
{
  Rec("drBase", x, y, dx, dy, S);
}

void TRecordingModeler::drRectAngleAxleDim3D(txapi::txObj3dTypeEnum BasePlane, const double& Vidst,
                                             const double& X1, const double& Y1, const double& X2,
                                             const double& Y2, int Attr, const TString& S1)
{
  Rec("drRectAngleAxleDim3D", BasePlane, Vidst, X1, Y1, X2, Y2, Attr, S1);
}

void TRecordingModeler::drWPointer(const double& x1, const double& y1, const double& x2, const double& y2,
                                   const double& Xt, const double& Yt, const double& Hs, const double& Ksu,
                                   const double& Fch, const TString& S)
{
  Rec("drWPointer", x1, y1, x2, y2, Xt, Yt, Hs, Ksu, Fch, S);
}

void TRecordingModeler::drRectAngleAxleDim(const double& x1, const double& y1, const double& x2,
                                           const double& y2, int Attr, const TString& text, const double& dx,
                                           const double& dy)
{
  Rec("drRectAngleAxleDim", x1, y1, x2, y2, Attr, text, dx, dy);
  TModeler3D::drRectAngleAxleDim(x1, y1, x2, y2, Attr, text, dx, dy);
}

// ---------------------------------------------------------------------------------------------
// Sheets and documents

void TRecordingModeler::drView(int N, const double& x, const double& y, const double& Alf,
                               const double& Scale, const TString& Comment)
{
  Rec("drView", N, x, y, Alf, Scale, Comment);
}

bool TRecordingModeler::drView(int N, const double& x, const double& y)
{
  Rec("drView3", N, x, y);
  return TModeler3D::drView(N, x, y);
}

bool TRecordingModeler::drLeafStamp(int Detail, int subDetail, bool Invisible)
{
  Rec("drLeafStamp", Detail, subDetail, Invisible);
  return LeafStampAnswer;
}

bool TRecordingModeler::drLeafStamp(int Detail, int subDetail, const double& x, const double& y,
                                    bool Invisible)
{
  Rec("drLeafStamp5", Detail, subDetail, x, y, Invisible);
  return TModeler3D::drLeafStamp(Detail, subDetail, x, y, Invisible);
}

bool TRecordingModeler::drLeafStampView1(int Detail, int subDetail, const double& x, const double& y,
                                         bool Invisible)
{
  Rec("drLeafStampView1", Detail, subDetail, x, y, Invisible);
  return TModeler3D::drLeafStampView1(Detail, subDetail, x, y, Invisible);
}

void TRecordingModeler::drShtamp()
{
  Rec("drShtamp");
}

void TRecordingModeler::drCreateLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, int iFormat, int Krat,
                                     int Tips, int Pros, TString& Comment, bool Invisible)
{
  Rec("drCreateLeaf", Name, tDoc, iFormat, Krat, Tips, Pros, Comment, Invisible);
}

void TRecordingModeler::drSaveLeaf()
{
  Rec("drSaveLeaf");
}

void TRecordingModeler::drCloseLeafSpw(bool Close)
{
  Rec("drCloseLeafSpw", Close);
}

void TRecordingModeler::drCloseView()
{
  Rec("drCloseView");
}

void TRecordingModeler::drCloseLeaf()
{
  Rec("drCloseLeaf");
}

void TRecordingModeler::drOpenTDem()
{
  Rec("drOpenTDem");
}

void TRecordingModeler::drCloseTDem()
{
  Rec("drCloseTDem");
}

void TRecordingModeler::drStringObj(const TString& S)
{
  Rec("drStringObj", S);
}

void TRecordingModeler::drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                                 const TString& S4)
{
  Rec("drCloseViewTDemCloseLeaf", S1, S2, S3, S4);
  TModeler3D::drCloseViewTDemCloseLeaf(S1, S2, S3, S4);
}

void TRecordingModeler::drAStView7(int N, const double& x, const double& y, const double& Alf,
                                   const double& Scale, const TString& Comment, const TString& FName,
                                   const TString& tView)
{
  Rec("drAStView7", N, x, y, Alf, Scale, Comment, FName, tView);
}

void TRecordingModeler::drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count)
{
  Rec("drSpcObject", TypeObj, NameFileObject, Pos, Count);
}

void TRecordingModeler::drSpcObj(TString& Name, TSectionSpc Section, txapi::SmartPtr<txapi::IDrawingObject>)
{
  Rec("drSpcObj", Name, Section);
}

// ---------------------------------------------------------------------------------------------
// 3D

void TRecordingModeler::drCreate3D(bool Invisible, bool isDetail, const TString& FileName,
                                   const TString& Name, const TString& Marking)
{
  Rec("drCreate3D", Invisible, isDetail, FileName, Name, Marking);
  EndSketch();
}

bool TRecordingModeler::drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible,
                                               txapi::txObj3dTypeEnum BasePlane, const double& Vidst)
{
  Rec("drCreate3DNewPartPlane", Detail, subDetail, InVisible, BasePlane, Vidst);
  EndSketch();
  if (NewPartPlaneAnswer) InSketch = SketchCount++;
  return NewPartPlaneAnswer;
}

void TRecordingModeler::drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle,
                                     const TString& Name)
{
  Rec("drPlaneEskis", BasePlane, Distance, Angle, Name);
  InSketch = SketchCount++;
}

void TRecordingModeler::drBaseRotate(int Napr, const double& Angle)
{
  Rec("drBaseRotate", Napr, Angle);
  EndSketch();
}

void TRecordingModeler::drCutRotate(int Napr, const double& Angle, TMark*)
{
  Rec("drCutRotate", Napr, Angle);
  EndSketch();
}

void TRecordingModeler::drSurfaceRotate(int Napr, const double& Angle)
{
  Rec("drSurfaceRotate", Napr, Angle);
  EndSketch();
}

void TRecordingModeler::drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                        const double& Depth, const double& Angle)
{
  Rec("drBaseExtrusion", Napr, TypDepth, Depth, Angle);
  EndSketch();
}

void TRecordingModeler::drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                        const double& Depth, const double& Angle, bool Thin)
{
  Rec("drBaseExtrusion5", Napr, TypDepth, Depth, Angle, Thin);
  EndSketch();
}

void TRecordingModeler::drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                       const double& Depth, const double& Angle)
{
  Rec("drCutExtrusion", Napr, TypDepth, Depth, Angle);
  EndSketch();
}

void TRecordingModeler::drSurfaceExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                           const double& Depth, const double& Angle)
{
  Rec("drSurfaceExtrusion", Napr, TypDepth, Depth, Angle);
  EndSketch();
}

void TRecordingModeler::drColor3D(int Color, const double& ambient, const double& diffuse,
                                  const double& specularity, const double& shininess,
                                  const double& transparency, const double& emission)
{
  Rec("drColor3D", Color, ambient, diffuse, specularity, shininess, transparency, emission);
}

void TRecordingModeler::drClose3D(bool SaveDocument3D, TSectionSpc Section)
{
  Rec("drClose3D", SaveDocument3D, Section);
  EndSketch();
}

void TRecordingModeler::drSave3D(bool Close, bool NeedNameMarking)
{
  Rec("drSave3D", Close, NeedNameMarking);
  EndSketch();
}

void TRecordingModeler::drSet(const TString& Name, const TString& Note, const TString& Marking, int TypeDet)
{
  Rec("drSet", Name, Note, Marking, TypeDet);
}

void TRecordingModeler::AddDetail(const double& x, const double& y, const double& z, int DetailCode,
                                  int Suffics, bool ReverseZ)
{
  Rec("AddDetail", x, y, z, DetailCode, Suffics, ReverseZ);
}

void TRecordingModeler::AddDetailAxle(const double& x, const double& y, const double& z, int DetailCode,
                                      int Suffics, const double& xDx, const double& xDy, const double& xDz,
                                      const double& yDx, const double& yDy, const double& yDz)
{
  Rec("AddDetailAxle", x, y, z, DetailCode, Suffics, xDx, xDy, xDz, yDx, yDy, yDz);
}

void TRecordingModeler::drMacro3D(const TString& Name, bool MStaffVisible)
{
  Rec("drMacro3D", Name, MStaffVisible);
  ++Macro3DDepth;
}

void TRecordingModeler::drEndMacro3D()
{
  Rec("drEndMacro3D");
  MinMacro3DDepth = std::min(MinMacro3DDepth, --Macro3DDepth);
}

void TRecordingModeler::drSetDC(int Detail, int Suffics)
{
  Rec("drSetDC", Detail, Suffics);
  TModeler3D::drSetDC(Detail, Suffics);
}

txapi::SmartPtr<txapi::IVariable> TRecordingModeler::drAddVariable(const TString& Name, double Value,
                                                                   const TString& Comment)
{
  Rec("drAddVariable", Name, Value, Comment);
  return {};
}
