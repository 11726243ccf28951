// The plane primitives, layers, texts and the small queries on drawing objects: into an open curve
// collector when there is one, else into the current drawing container (a view, a sketch being
// edited or an open macro object).

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "txapi/IArc.h"
#include "txapi/IArcs.h"
#include "txapi/ICircle.h"
#include "txapi/ICircles.h"
#include "txapi/IDimensionText.h"
#include "txapi/IDrawingText.h"
#include "txapi/IDrawingTexts.h"
#include "txapi/IEllipse.h"
#include "txapi/IEllipses.h"
#include "txapi/ILayer.h"
#include "txapi/ILayers.h"
#include "txapi/ILineSegment.h"
#include "txapi/ILineSegments.h"
#include "txapi/IOpenDocumentParam.h"
#include "txapi/ITextFont.h"
#include "txapi/ITextItem.h"
#include "txapi/ITextLine.h"

namespace drApi {

namespace {

constexpr double Guard = LeastLine;

// Shared with the numbering of the variables that dimensions are linked to.
int Counter = 0;

bool Finite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

bool Near(double a, double b)
{
  return std::fabs(a - b) <= Guard;
}

// Appends to a collector. The contour's storage doubles when full: grown by its own step a long
// collection would copy its curves over and over.
void Collect(TContour* c, TCurve2D* curve)
{
  if (c->Count >= c->FSize) c->ReserveSize(std::max<Integer>(16, 2 * c->FSize));
  c->Add(curve);
}

} // namespace

TContour* TModelerApi::Collector() const
{
  return R2D().Collecting() ? R2D().AContour.Last() : nullptr;
}

bool TModelerApi::SelfTransform() const
{
  return R2D().Transf2D.AMtr.Count > 0 && R().IDoc2D.empty();
}

void TModelerApi::Made2D(const txapi::SmartPtr<txapi::IDrawingObject>& o, bool boundary)
{
  R2D().CurDrawingObject = o;
  R().LastObj = o;
  if (boundary && R().BoundariesObject) R().BoundariesObject->AddBoundaries({o}, false);
}

// ---------------------------------------------------------------------------------------------
// Public primitives

void TModelerApi::drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr)
{
  if (!Finite({x1, y1, x2, y2}) || (Near(x1, x2) && Near(y1, y2))) return;
  double X1 = x1, Y1 = y1, X2 = x2, Y2 = y2;
  if (SelfTransform()) {
    R2D().Transf2D.xyMtr(x1, y1, X1, Y1);
    R2D().Transf2D.xyMtr(x2, y2, X2, Y2);
  }
  if (TContour* c = Collector()) {
    Collect(c, new TLineSeg(X1, Y1, X2, Y2, Attr));
    return;
  }
  drawLine(X1, Y1, X2, Y2, Attr);
}

void TModelerApi::drArc(const double& X, const double& Y, const double& Rad, const double& x1,
                        const double& y1, const double& x2, const double& y2, int Napr, int Attr)
{
  if (!Finite({X, Y, Rad, x1, y1, x2, y2}) || Near(Rad, 0) || (Near(x1, x2) && Near(y1, y2))) return;
  double Xc = X, Yc = Y, X1 = x1, Y1 = y1, X2 = x2, Y2 = y2, Rr = Rad;
  if (SelfTransform()) {
    const TTransf2D& t = R2D().Transf2D;
    t.xyMtr(X, Y, Xc, Yc);
    t.xyMtr(x1, y1, X1, Y1);
    t.xyMtr(x2, y2, X2, Y2);
    Rr = Rad * t.ScaleMtr();
  }
  if (TContour* c = Collector()) {
    double a1 = AngleLine(Xc, Yc, X1, Y1) * TMathDef::DEGRAD,
           a2 = AngleLine(Xc, Yc, X2, Y2) * TMathDef::DEGRAD;
    if (Napr <= 0) std::swap(a1, a2);
    auto* a = new TArc(Xc, Yc, std::fabs(Rr), a1, a2, Attr);
    a->InitByPositionAngles(a1, a2, Rr > 0 ? TArc::BackClockWise : TArc::ByClockWise);
    Collect(c, a);
    return;
  }
  drawArc(Xc, Yc, Rr, X1, Y1, X2, Y2, Napr, Attr);
}

void TModelerApi::drCircle(const double& X, const double& Y, const double& Rad, int Attr)
{
  if (!Finite({X, Y, Rad}) || Near(Rad, 0)) return;
  double Xc = X, Yc = Y, Rr = Rad;
  const bool self = SelfTransform();
  if (self) {
    R2D().Transf2D.xyMtr(X, Y, Xc, Yc);
    Rr = Rad * R2D().Transf2D.ScaleMtr();
  }
  if (TContour* c = Collector()) {
    Collect(c, new TCircle(Xc, Yc, Rr, Attr));
    return;
  }
  if (self && R2D().OnlySizes2D) return;
  drawCircle(Xc, Yc, Rr, Attr);
}

void TModelerApi::drEllipse(const double& X, const double& Y, const double& A, const double& B,
                            const double& Angle, int Attr)
{
  if (!Finite({X, Y, A, B, Angle}) || Near(A, 0) || Near(B, 0) || Collector() != nullptr) return;
  if (!SelfTransform()) {
    drawEllipse(X, Y, A, B, Angle, Attr);
    return;
  }
  const TTransf2D& t = R2D().Transf2D;
  double Xc = X, Yc = Y;
  t.xyMtr(X, Y, Xc, Yc);
  drawEllipse(Xc, Yc, A * t.ScaleMtr(), B * t.ScaleMtr(), Angle + t.AngleMtr(), Attr);
}

// ---------------------------------------------------------------------------------------------
// Workers

void TModelerApi::drawLine(double x1, double y1, double x2, double y2, int Attr)
{
  if (R2D().OnlySizes2D) return;
  R2D().CurDrawingObject.reset();
  if (Attr == 0 || (x1 == x2 && y1 == y2)) return;
  if (R().DrawingContainer) {
    txapi::SmartPtr<txapi::ILineSegments> lines = R().DrawingContainer->GetLineSegments();
    if (txapi::SmartPtr<txapi::ILineSegment> l = lines ? lines->Add() : nullptr) {
      if (Layout.Active() && Attr != txapi::txCSConstruction) {
        double X1, Y1, X2, Y2;
        SheetPoint(x1, y1, X1, Y1), SheetPoint(x2, y2, X2, Y2);
        if (Attr == txapi::txCSNormal || Attr == txapi::txCSThick)
          Layout.Outline(X1, Y1, X2, Y2);
        else if (Attr == txapi::txCSBrokenLine)
          Layout.BrokenLine(X1, Y1, X2, Y2);
        else
          Layout.ThinLine(X1, Y1, X2, Y2, Attr == txapi::txCSThin, Attr != txapi::txCSHidden);
      }
      l->SetPoints(x1, y1, x2, y2);
      l->SetStyle(txapi::txCurveStyleEnum(Attr));
      l->Update();
      Made2D(l, true);
    }
  }
  Constraint.DoLine(x1, y1, x2, y2, Attr);
}

void TModelerApi::drawArc(double X, double Y, double Rad, double x1, double y1, double x2, double y2,
                          int Napr, int Attr)
{
  R2D().CurDrawingObject.reset();
  if (R2D().OnlySizes2D) return;
  if (R().View && R().DrawingContainer) {
    txapi::SmartPtr<txapi::IArcs> arcs = R().DrawingContainer->GetArcs();
    if (txapi::SmartPtr<txapi::IArc> a = arcs ? arcs->Add() : nullptr) {
      if (Layout.Active() && Attr != txapi::txCSConstruction)
        ArcOnSheet(X, Y, Rad, x1, y1, x2, y2, Napr != 1,
                   Attr == txapi::txCSNormal || Attr == txapi::txCSThick);
      a->SetArc(X, Y, x1, y1, x2, y2, Rad, Napr != 1);
      a->SetStyle(txapi::txCurveStyleEnum(Attr));
      a->Update();
      Made2D(a, true);
    }
  }
  Constraint.DoArc(X, Y, Rad, x1, y1, x2, y2, Napr, Attr);
}

void TModelerApi::drawCircle(double X, double Y, double Rad, int Attr)
{
  R2D().CurDrawingObject.reset();
  if (Attr == 0 || R2D().OnlySizes2D) return;
  if (R().View && R().DrawingContainer) {
    txapi::SmartPtr<txapi::ICircles> circles = R().DrawingContainer;
    if (txapi::SmartPtr<txapi::ICircle> c = circles ? circles->Add() : nullptr) {
      if (Layout.Active() && Attr != txapi::txCSConstruction)
        ArcOnSheet(X, Y, Rad, X + Rad, Y, X + Rad, Y, false,
                   Attr == txapi::txCSNormal || Attr == txapi::txCSThick);
      c->SetCircle(X, Y, Rad);
      c->SetStyle(txapi::txCurveStyleEnum(Attr));
      c->Update();
      Made2D(c, true);
    }
  }
  Constraint.DoCircle(X, Y, Rad, Attr);
}

void TModelerApi::drawEllipse(double X, double Y, double A, double B, double Angle, int Attr)
{
  R2D().CurDrawingObject.reset();
  if (R2D().OnlySizes2D || !R().IDoc2D || !R().DrawingContainer) return;
  txapi::SmartPtr<txapi::IEllipses> ellipses = R().DrawingContainer;
  if (txapi::SmartPtr<txapi::IEllipse> e = ellipses ? ellipses->Add() : nullptr) {
    e->SetEllipse(X, Y, A, B, Angle);
    e->SetStyle(txapi::txCurveStyleEnum(Attr));
    e->Update();
    Made2D(e, false);
  }
  Constraint.DoEllipse(X, Y, A, B, Angle, Attr);
}

void TModelerApi::drLayer(int NumerOfLayer)
{
  R2D().PrevDrawingObject = R2D().CurDrawingObject;
  R2D().CurDrawingObject.reset();
  if (Collector() != nullptr || !R().View) return;
  txapi::SmartPtr<txapi::ILayers> layers = R().View;
  if (!layers) return;
  txapi::SmartPtr<txapi::ILayer> layer = layers->GetLayer(NumerOfLayer);
  if (!layer) layer = layers->GetLayer();
  if (!layer) return;
  layer->MakeCurrent();
  layer->Update();
}

// ---------------------------------------------------------------------------------------------
// Texts

void TModelerApi::AddLineText(txapi::SmartPtr<txapi::IText> Text, TString S, const double& Height)
{
  if (!Text) return;
  txapi::SmartPtr<txapi::ITextLine> line = Text->AddLine();
  txapi::SmartPtr<txapi::ITextItem> item = line ? line->AddItem() : nullptr;
  if (!item) return;
  if (txapi::SmartPtr<txapi::ITextFont> font = item; font && Height > 0) font->SetHeight(Height);
  item->SetText(S.toWideChar());
  item->Update();
}

void TModelerApi::drText(const double& x, const double& y, const double& FStr, const double& Hs,
                         const double&, int, const TString& S)
{
  if (!Finite({x, y, FStr, Hs})) return;
  if (TContour* c = Collector()) {
    double X = x, Y = y, A = FStr, H = Hs;
    if (SelfTransform()) {
      const TTransf2D& t = R2D().Transf2D;
      t.xyMtr(x, y, X, Y);
      A += t.AngleMtr();
      H *= t.ScaleMtr();
    }
    Collect(c, new TText(X, Y, A, H, S));
    return;
  }
  if (!R().DrawingContainer) return;
  txapi::SmartPtr<txapi::IDrawingTexts> texts = R().DrawingContainer;
  txapi::SmartPtr<txapi::IDrawingText> t = texts ? texts->Add() : nullptr;
  if (!t) return;
  t->SetPosition(x, y);
  t->SetAngle(FStr);
  AddLineText(t->GetText(), S, Hs);
  t->Update();
  if (Layout.Active()) {
    // A title on a mould sheet goes to the nearest free place when its own is taken: settled with the
    // view, when all it must keep off is drawn.
    Title([t](double px, double py) { t->SetPosition(px, py), t->Update(); }, x, y, FStr, Hs, S);
  }
}

// ---------------------------------------------------------------------------------------------
// Queries and references

int TModelerApi::GetType(txapi::SmartPtr<txapi::IDrawingObject> Obj)
{
  return Obj ? Obj->GetType() : 0;
}

int TModelerApi::GetNumberView(txapi::SmartPtr<txapi::IDrawingObject> Obj)
{
  if (!Obj) return 0;
  txapi::SmartPtr<txapi::IView> view = Obj->GetParent();
  return view ? view->GetNumber() : 0;
}

void TModelerApi::drDeleteObj(txapi::SmartPtr<txapi::IDrawingObject>& Obj)
{
  if (!Obj) return;
  Obj->Delete();
  Obj.reset();
}

txapi::SmartPtr<txapi::IDrawingObject> TModelerApi::LastObjRef()
{
  return R2D().CurDrawingObject;
}

txapi::SmartPtr<txapi::IDrawingObject>& TModelerApi::PrevObjRef()
{
  return R2D().PrevDrawingObject;
}

int TModelerApi::NextInteger()
{
  return Counter++;
}

bool TModelerApi::GetDimParam(txapi::SmartPtr<txapi::IDrawingObject> Dim, double& Nominal, TString& Qual,
                              double& QHi, double& QLo, bool IsAngle)
{
  txapi::SmartPtr<txapi::IDimensionText> t = Dim;
  if (!t) return false;
  auto finite = [](double v) { return std::isfinite(v) ? v : 0.0; };
  Nominal = finite(t->GetAutoNominal() ? t->GetNominalValue() : TString(t->GetNominalText()).toReal());
  Qual = TString(t->GetTolerance());
  QHi = QLo = 0;
  auto deviation = [&](const std::wstring& text, double& out) {
    const TString s(text);
    if (s.Empty()) return;
    if (IsAngle)
      s.toDegreesAngle(out);
    else
      out = s.toReal();
    out = finite(out);
  };
  deviation(t->GetUpperDeviation(), QHi);
  deviation(t->GetLowerDeviation(), QLo);
  return true;
}

void TModelerApi::drPartBeginEditOnPlace()
{
  if (!R().Part) return;
  txapi::SmartPtr<txapi::IOpenDocumentParam> p = R().Part->GetOpenDocumentParam();
  R().Part->BeginEditOnPlace(p);
}

void TModelerApi::drPartEndEditOnPlace()
{
  if (R().Part) R().Part->EndEditOnPlace(true);
}

} // namespace drApi
