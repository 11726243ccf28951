// Linear, diameter, radius and angle dimensions in the current symbols container (a view, a sketch being
// edited or an open macro object), and the overall dimension put straight on the active document.
// Coordinates go to the host as given: the host measures the value, and the placement stack is the
// host document's business.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/maTavrixAssembly.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "txapi/IAngleDimension.h"
#include "txapi/IAngleDimensions.h"
#include "txapi/IDiametralDimension.h"
#include "txapi/IDiametralDimensions.h"
#include "txapi/IDimensionParams.h"
#include "txapi/IDimensionText.h"
#include "txapi/ILineDimension.h"
#include "txapi/ILineDimensions.h"
#include "txapi/IParametricConstraint.h"
#include "txapi/IRadialDimension.h"
#include "txapi/IRadialDimensions.h"
#include "txapi/ITextLine.h"
#include "txapi/IViews.h"
#include "txapi/IViewsAndLayersManager.h"

namespace drApi {

namespace {

// The text shift of a signed shift code: its side by the sign, its size negated.
void TextShiftBySign(txapi::IDimensionParams& p, int Pt)
{
  p.SetTextShiftSide(Pt == 0 ? 0 : Pt > 0 ? 1 : 2);
  p.SetTextShift(Pt == 0 ? 0 : Pt > 0 ? -Pt : Pt);
}

void SetLine(const txapi::SmartPtr<txapi::ITextLine>& line, const TString& s)
{
  if (line) line->SetString(W(s));
}

// What follows the value: the tolerance field, then the third text (a deviation, a chamfer's angle, a
// reference mark, a word), which a drawing without it says something else. A tolerance and a word or
// count after it stand apart ("H14 4 отв.", not "H144 отв."); a mark follows it directly.
TString TextAfter(const TString& S2, const TString& S3)
{
  TString after = S2;
  const unsigned char first = S3.Empty() ? 0 : static_cast<unsigned char>(S3[0]);
  if (!S2.Empty() && (std::isalnum(first) || first >= 0x80)) after += TString(" ");
  after += S3;
  return after;
}

// How far (x, y) stands from the vertex (xc, yc) along the ray at a degrees, 0 where it is off that ray.
double AlongAngleRay(double xc, double yc, double a, double x, double y)
{
  const double c = std::cos(a * TMathDef::DEGRAD), s = std::sin(a * TMathDef::DEGRAD);
  const double dx = x - xc, dy = y - yc, t = dx * c + dy * s;
  return t > 0.0 && std::fabs(dy * c - dx * s) <= 1e-6 * std::max(1.0, t) ? t : 0.0;
}

} // namespace

bool AllFinite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

double NearestWhole(double v)
{
  return std::trunc(v + 0.5 * Zn(v));
}

int NearestInt(double v)
{
  const double n = NearestWhole(v);
  if (std::isnan(n)) return 0;
  if (n >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (n <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(n);
}

txapi::SmartPtr<txapi::ISymbols2DContainer>
GetSymbols2DContainer(txapi::SmartPtr<txapi::ITavrixDocument2D>& doc)
{
  if (!doc) return {};
  txapi::SmartPtr<txapi::IViewsAndLayersManager> m = doc->GetViewsAndLayersManager();
  txapi::SmartPtr<txapi::IViews> views = m ? m->GetViews() : nullptr;
  txapi::SmartPtr<txapi::IView> view = views ? views->GetActiveView() : nullptr;
  return view;
}

void TModelerApi::Dimensioned(const txapi::SmartPtr<txapi::IDrawingObject>& Dim)
{
  R().Obj3D = Dim;
  R2D().CurDrawingObject = Dim;
}

void TModelerApi::drDimL(const double& iVal, const TString&, const double& Dx, const double& Dy, int Pt,
                         int Pn, const double& Fn, const double& Dln, const double& x1, const double& y1,
                         int T1, int Po1, const double& x2, const double& y2, int T2, int Po2,
                         const TString& S1, const TString& S2, const TString& S3)
{
  if (Collector() != nullptr || !AllFinite({Dx, Dy, Fn, Dln, x1, y1, x2, y2})) return;
  txapi::SmartPtr<txapi::ILineDimensions> dims = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::ILineDimension> d = dims ? dims->Add() : nullptr;
  if (!d) return;
  // A diameter dimensioned from the axis (one end off, the value twice the distance measured) reaches
  // the host with its open end across the axis: the host measures, and shows, the whole diameter.
  double X1 = x1, Y1 = y1, X2 = x2, Y2 = y2;
  const double along = Dx == 0.0   ? std::fabs(x2 - x1)
                       : Dy == 0.0 ? std::fabs(y2 - y1)
                                   : std::hypot(x2 - x1, y2 - y1);
  const bool fromAxis = (T1 == 0) != (T2 == 0) && along > 0.0 &&
                        std::fabs(std::fabs(iVal) - 2.0 * along) <= 1e-9 * std::max(1.0, std::fabs(iVal));
  if (fromAxis && T2 == 0)
    X2 = 2.0 * x2 - x1, Y2 = 2.0 * y2 - y1;
  else if (fromAxis)
    X1 = 2.0 * x1 - x2, Y1 = 2.0 * y1 - y2;
  d->SetPoint1(X1, Y1);
  d->SetPoint2(X2, Y2);
  d->SetOrientation(Dx == 0.0   ? txapi::txLinDVertical
                    : Dy == 0.0 ? txapi::txLinDHorizontal
                                : txapi::txLinDParallel);
  double a = 0;
  if (std::fabs(Dx) > 1e-10 || std::fabs(Dy) > 1e-10) {
    a = std::atan2(Dy, Dx);
    if (std::fabs(a) < 1e-8)
      a = 0;
    else if (a < 0)
      a += 2 * TMathDef::C_PI;
  }
  d->SetAngle(a);
  // On a mould sheet the line lies where the drawing asks for it, its offset beyond the farther measured
  // point, not where a host would put it: a host's own place, 8 beyond that point, lies on the part when
  // the points are on its axis. It settles with the view (off the frame's edge, the drawing and the
  // other dimensions).
  // In an enlarged view the offset is the paper's, as at 1:1.
  const bool settles = Layout.Active() && (Dx == 0.0) != (Dy == 0.0);
  double lineX = 0, lineY = 0;
  if (settles) {
    const double paper = std::max(1.0, Layout.ViewScale());
    d->SetOrientation(Dx == 0.0 ? txapi::txLinDHorizontal : txapi::txLinDVertical);
    if (Dx == 0.0)
      lineX = x1, lineY = (Dy < 0.0 ? std::min(y1, y2) : std::max(y1, y2)) + Dy / paper;
    else
      lineX = (Dx < 0.0 ? std::min(x1, x2) : std::max(x1, x2)) + Dx / paper, lineY = y1;
    d->SetLinePoint(lineX, lineY);
  }
  const TString after = TextAfter(S2, S3);
  if (txapi::SmartPtr<txapi::IDimensionText> t = d) {
    SetLine(t->GetTextBefore(), S1);
    SetLine(t->GetTextAfter(), after);
  }
  if (txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    p->SetEnd1Kind(T1);
    p->SetEnd2Kind(T2);
    p->SetLeaderCode(Pn);
    p->SetLeaderLength(Dln);
    p->SetLeaderAngle(Fn);
    p->SetEnd1On(Po1 != 0);
    p->SetEnd2On(Po2 != 0);
    TextShiftBySign(*p, Pt);
  }
  d->Update();
  if (settles)
    SettleDimension(d, Dx == 0.0, X1, Y1, X2, Y2, lineX, lineY, S1, after, Pt);
  else if (Layout.Active())
    LineDimensionOnSheet(Dx, Dy, a, x1, y1, x2, y2, S1.Length() + S2.Length() + S3.Length() + 4,
                         std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
  const txapi::SmartPtr<txapi::IDrawingObject> o = d;
  Dimensioned(o);
  LinkDimension(o, iVal, true, X1, Y1, X2, Y2);
}

void TModelerApi::drDimL7(const double&, const TString&, const double& Dx, const double& Dy, int, int,
                          const double& Fn, const double& Dln, const double& x1, const double& y1, int, int,
                          const double& x2, const double& y2, int, int, const TString&, const TString&,
                          const TString&)
{
  if (R().Tavrix7 == nullptr || !AllFinite({Dx, Dy, Fn, Dln, x1, y1, x2, y2})) return;
  txapi::SmartPtr<txapi::ITavrixDocument2D> doc = R().Tavrix7->GetActiveDocument();
  txapi::SmartPtr<txapi::ILineDimensions> dims = GetSymbols2DContainer(doc);
  txapi::SmartPtr<txapi::ILineDimension> d = dims ? dims->Add() : nullptr;
  if (!d) return;
  d->SetPoint1(x1, y1);
  d->SetPoint2(x2, y2);
  // Dx and Dy are offsets here: no offset across x measures along it.
  d->SetOrientation(Dx == 0.0   ? txapi::txLinDHorizontal
                    : Dy == 0.0 ? txapi::txLinDVertical
                                : txapi::txLinDParallel);
  if (txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    p->SetLeaderCode(Dln == 0.0 ? 0 : Fn == 0.0 ? 1 : 2);
    p->SetEnd1Kind(7);
    p->SetEnd2Kind(7);
  }
  if (Fn == 90.0)
    d->SetLinePoint(x1 + Dx, std::max(y1, y2) + Dy);
  else if (Fn == 0.0)
    d->SetLinePoint(std::max(x1, x2) + Dx, y1 + Dy);
  d->SetTextX(d->GetLineX() + std::cos(Fn * TMathDef::DEGRAD) * Dln);
  d->SetTextY(d->GetLineY() + std::sin(Fn * TMathDef::DEGRAD) * Dln);
  if (txapi::SmartPtr<txapi::IDimensionText> t = d) {
    t->SetAutoNominal(true);
    t->SetDeviationValues(0.02, -0.02);
  }
  d->Update();
}

void TModelerApi::drDimD(const double& Val, const TString&, const double& FBase, int Pt, int Pn,
                         const double& x, const double& y, int, const TString& S1, const TString& S2,
                         const TString& S3)
{
  if (Collector() != nullptr || !AllFinite({Val, FBase, x, y})) return;
  txapi::SmartPtr<txapi::IDiametralDimensions> dims = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IDiametralDimension> d = dims ? dims->Add() : nullptr;
  if (!d) return;
  d->SetCentre(x, y);
  d->SetRadius(Val * 0.5);
  d->SetStyle(1);
  d->SetAngle(45.0);
  d->Update();
  const TString after = TextAfter(S2, S3);
  if (txapi::SmartPtr<txapi::IDimensionText> t = d) {
    SetLine(t->GetTextAfter(), after);
    SetLine(t->GetTextBefore(), S1);
  }
  if (txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    p->SetLeaderCode(Pn);
    p->SetLeaderAngle(FBase);
    TextShiftBySign(*p, Pt);
  }
  d->Update();
  if (Layout.Active())
    SettleCircle(
        [d, Pt](double angle, double out, bool outside) {
          // From outside: one arrow on the circle, its line and value beyond it (the host's style 2). A
          // value with no free place as far past the circle as asked goes further out, on the side asked.
          if (outside) d->SetStyle(2);
          d->SetAngle(angle);
          if (txapi::SmartPtr<txapi::IDimensionParams> p = d)
            if (NearestInt(out) != std::abs(Pt))
              TextShiftBySign(*p, Pt < 0 ? -NearestInt(out) : NearestInt(out));
          d->Update();
        },
        true, x, y, Val * 0.5, Pt, S1, after, FBase);
  Dimensioned(txapi::SmartPtr<txapi::IDrawingObject>(d));
}

void TModelerApi::drDimR(const double& Val, const TString&, const double& FBase, const double& Drl, int,
                         int Pn, const double& xc, const double& yc, int, int, const TString& S1,
                         const TString& S2, const TString& S3)
{
  if (Collector() != nullptr || !AllFinite({Val, FBase, xc, yc})) return;
  txapi::SmartPtr<txapi::IRadialDimensions> dims = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IRadialDimension> d = dims ? dims->Add() : nullptr;
  if (!d) return;
  d->SetCentre(xc, yc);
  d->SetRadius(Val);
  d->SetStyle(1);
  d->SetAngle(45.0);
  d->Update();
  const TString after = TextAfter(S2, S3);
  if (txapi::SmartPtr<txapi::IDimensionText> t = d) {
    SetLine(t->GetTextBefore(), S1);
    SetLine(t->GetTextAfter(), after);
  }
  if (txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    p->SetLeaderCode(Pn);
    p->SetLeaderAngle(FBase);
    p->SetTextShift(NearestInt(Drl));
  }
  d->Update();
  if (Layout.Active())
    SettleCircle(
        [d, xc, yc, r = Val, shift = NearestInt(Drl)](double angle, double out, bool reversed) {
          // Coming from beyond the arc's point at angle, its leader starts at the centre's mirror there.
          const double a = angle * TMathDef::DEGRAD, k = reversed ? 2 * r : 0;
          d->SetCentre(xc + k * std::cos(a), yc + k * std::sin(a));
          d->SetAngle(reversed ? angle + 180 : angle);
          if (txapi::SmartPtr<txapi::IDimensionParams> p = d)
            if (NearestInt(out) != std::abs(shift)) p->SetTextShift(NearestInt(out));
          d->Update();
        },
        false, xc, yc, Val, NearestInt(Drl), S1, after, FBase,
        [d] {
          d->SetStyle(2);
          d->Update();
        });
  const txapi::SmartPtr<txapi::IDrawingObject> o = d;
  Dimensioned(o);
  LinkDimension(o, Val, false, xc, yc, xc, yc);
}

void TModelerApi::drDimA(const double& Val, int Napr, const double& FBase, const double& Rad, int, int Pn,
                         const double& Fn, const double& Dln, const double& x1, const double& y1, int T1,
                         int Po1, const double& x2, const double& y2, int T2, int Po2, const TString& S,
                         const double& xc, const double& yc)
{
  if (Collector() != nullptr || !AllFinite({Val, FBase, Fn, Dln, x1, y1, x2, y2, xc, yc})) return;
  txapi::SmartPtr<txapi::IAngleDimensions> dims = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IAngleDimension> d = dims ? dims->Add(txapi::txDrADimension) : nullptr;
  if (!d) return;
  d->SetVertex(xc, yc);
  // An angle about its vertex gets the same arc on every sheet, also inside an enlarged placement. One
  // whose measured points stand on its rays beyond that arc (a vertex far off the part, a slender
  // taper's apex) has its arc where the caller asks, its rays drawn on from those points.
  const double scale = R2D().Transf2D.ScaleMtr();
  const double k = scale > 0.0 && std::isfinite(scale) ? scale : 1.0, fixed = 25.0 / k;
  const double along1 = AlongAngleRay(xc, yc, FBase, x1, y1),
               along2 = AlongAngleRay(xc, yc, FBase + Napr * Val, x2, y2);
  const bool offVertex = along1 > fixed && along2 > fixed && std::isfinite(Rad) && Rad > 0.0;
  const double radius = offVertex ? Rad : fixed;
  d->SetRadius(radius);
  double from = FBase;
  if (Layout.Active()) {
    // On a mould sheet an angle that would leave the frame is shown between the opposite rays, the
    // same angle about the same vertex.
    double X, Y;
    SheetPoint(xc, yc, X, Y);
    const double turn = (SelfTransform() ? 0.0 : R2D().Transf2D.AngleMtr()) + Layout.ViewAngle();
    const double a1 = FBase + turn, a2 = FBase + Napr * Val + turn;
    const std::size_t chars = std::size_t(S.Length()) + 4;
    // Not where those run back through the part.
    const double reach = radius * k * Layout.ViewScale();
    // One standing by its measured points stays there.
    const bool opposite = !offVertex && !Layout.AngleFits(X, Y, a1, a2, 25.0, chars, false) &&
                          Layout.AngleFits(X, Y, a1 + 180, a2 + 180, 25.0, chars, false) &&
                          !Layout.RayThroughOutline(X, Y, a1 + 180, reach) &&
                          !Layout.RayThroughOutline(X, Y, a2 + 180, reach);
    if (opposite) from += 180.0;
    // It settles with the view, where its value is free.
    TSheetLayout::TAngle g;
    g.X = X, g.Y = Y, g.A1 = opposite ? a1 + 180 : a1, g.A2 = opposite ? a2 + 180 : a2, g.Chars = chars;
    // On a sheet every arc starts where it is asked: one drawn wider carries its rays on past the feature
    // it measures, across what stands beside it; the sheet widens it only where that crosses nothing, and
    // gives it the arc every drawing has where its value stands nowhere else.
    g.Floor = reach;
    g.R = std::isfinite(Rad) && Rad > 0.0 ? Rad * k * Layout.ViewScale() : reach;
    if (offVertex) g.From = {along1 * k * Layout.ViewScale(), along2 * k * Layout.ViewScale()};
    g.Place = [d, from, Napr, Val, radius](bool opposite, double wider) {
      const double f = opposite ? from + 180.0 : from;
      d->SetAngle1(f);
      d->SetAngle2(f + Napr * Val);
      d->SetRadius(radius * wider);
      d->Update();
    };
    Layout.Dimension(g);
  }
  d->SetAngle1(from);
  d->SetAngle2(from + Napr * Val);
  d->SetPoint1(x1, y1);
  d->SetPoint2(x2, y2);
  d->SetDirection(false);
  if (txapi::SmartPtr<txapi::IDimensionText> t = d) SetLine(t->GetTextBefore(), S);
  if (txapi::SmartPtr<txapi::IDimensionParams> p = d) {
    p->SetEnd1Kind(T1);
    p->SetEnd2Kind(T2);
    p->SetLeaderCode(Pn);
    p->SetLeaderLength(NearestWhole(Dln));
    p->SetLeaderAngle(Fn);
    p->SetEnd1On(Po1 != 0);
    p->SetEnd2On(Po2 != 0);
    p->SetTextShift(NearestInt(Val * 0.5));
    p->SetTextShiftSide(0);
  }
  d->Update();
  Dimensioned(txapi::SmartPtr<txapi::IDrawingObject>(d));
}

void TModelerApi::LinkDimension(const txapi::SmartPtr<txapi::IDrawingObject>& Dim, const double& value,
                                bool linear, double x1, double y1, double x2, double y2)
{
  if (ADimension3D.IsParametric) {
    // The variable bound to this very double, not to an equal value.
    TString text;
    if (const TIdVariable* v = AVariable.GetVariable(value)) text = linear ? v->GetDim() : v->Comment;
    SetDimAssociateVariable(R2D().CurDrawingObject, text);
  }
  if (!linear || !Dim) return;
  Dim->PrepareConstraints();
  // The dimension's points 0 and 2 join the contour's curves that end or centre there; each curve's Obj
  // is the host drawing object drawn for it (a txapi::IDrawingObject*, not owned).
  const double ends[2][2] = {{x1, y1}, {x2, y2}};
  for (int e = 0; e < 2 && ParametricData.Count > 0; ++e) {
    TArrayOf<TPair<int, int>> found(8, 8);
    ParametricData.Find2(ends[e][0], ends[e][1], found);
    for (Integer i = 0; i < found.Count; ++i) {
      const txapi::SmartPtr<txapi::IParametricConstraint> c = Dim->NewConstraint();
      if (!c) continue;
      auto* partner = static_cast<txapi::IDrawingObject*>(ParametricData[found[i].V1]->Obj);
      if (partner != nullptr) partner->AddRef();
      c->SetConstraintType(txapi::txCMergePoints);
      c->SetIndex(2 * e);
      c->SetPartner({txapi::SmartPtr<txapi::IDrawingObject>::Attach(partner)});
      c->SetPartnerIndex(found[i].V2);
      c->Create();
    }
  }
}

} // namespace drApi
