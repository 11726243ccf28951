// Designations of drawings in the current symbols container: roughness signs (and the sheet's corner
// sign), form tolerance frames with their leader branches, datum signs and view arrows.

#include <algorithm>
#include <cmath>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"
#include "txapi/IBase.h"
#include "txapi/IBases.h"
#include "txapi/IBranchs.h"
#include "txapi/IDrawingDocument.h"
#include "txapi/IRough.h"
#include "txapi/IRoughParams.h"
#include "txapi/IRoughs.h"
#include "txapi/ISpecRough.h"
#include "txapi/ITable.h"
#include "txapi/ITableCell.h"
#include "txapi/ITextLine.h"
#include "txapi/IToleranceParam.h"
#include "txapi/ITolerances.h"
#include "txapi/IViewPointer.h"
#include "txapi/IViewPointers.h"

namespace drApi {

void TModelerApi::drRough(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                          const TString& S1, const TString& S2, const TString& S3)
{
  if (Collector() != nullptr || !AllFinite({x, y, Fi})) return;
  txapi::SmartPtr<txapi::IRoughs> roughs = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IRough> r = roughs ? roughs->Add() : nullptr;
  if (!r) return;
  r->SetPoint(x, y);
  if (txapi::SmartPtr<txapi::IRoughParams> p = r) {
    p->SetSignType(Tz);
    p->SetSwitchA(1);
    r->Update();
    p->SetSwitchB(1);
    p->SetLength(20.0);
    p->SetAngle(Fi);
    const TString* texts[] = {&S1, &S2, &S3};
    for (int i = 0; i < 3; ++i)
      if (txapi::SmartPtr<txapi::IText> t = p->GetText(i)) t->SetString(W(*texts[i]));
  }
  r->Update();
  R2D().CurDrawingObject = r;
  if (Layout.Active()) {
    TSheetLayout::TSign s;
    // Fi points the sign's axis away from its surface (upright at 90 degrees): its base, along which it
    // may slide on its surface, runs at Fi - 90.
    s.Sign = r, s.X = x, s.Y = y, s.Angle = Fi - 90, s.Kept = SignKept;
    SheetPoint(x, y, s.SX, s.SY);
    const bool self = SelfTransform();
    s.SAngle = s.Angle + (self ? 0.0 : R2D().Transf2D.AngleMtr()) + Layout.ViewAngle();
    s.Scale = (self ? 1.0 : R2D().Transf2D.ScaleMtr()) * Layout.ViewScale();
    s.Chars =
        std::size_t(S1.Length() + (S2.Empty() ? 0 : S2.Length() + 1) + (S3.Empty() ? 0 : S3.Length() + 1));
    Layout.Sign(s);
  }
}

void TModelerApi::drRoughKept(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                              const TString& S1, const TString& S2, const TString& S3)
{
  SignKept = true;
  drRough(x, y, Fi, Tz, S1, S2, S3);
  SignKept = false;
}

void TModelerApi::drSRough(int, bool Tzs, const TString& S)
{
  if (Collector() != nullptr || S.Length() == 0) return;
  txapi::SmartPtr<txapi::IDrawingDocument> doc = R().IDoc2D;
  txapi::SmartPtr<txapi::ISpecRough> sign = doc ? doc->GetSpecRough() : nullptr;
  if (!sign) return;
  sign->SetCode(0);
  sign->SetText(W(S));
  sign->SetFirstSwitch(true);
  sign->SetSecondSwitch(Tzs);
  sign->Update();
}

void TModelerApi::drForm(const double& x, const double& y, int, int S1, const TString& S2, const TString& S3)
{
  if (Collector() != nullptr) return;
  txapi::SmartPtr<txapi::ITolerances> frames = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::ITolerance> t = frames && AllFinite({x, y}) ? frames->Add() : nullptr;
  // The caller's drEndObj must pop this opening, not an enclosing one; the pending frame of an earlier
  // opening is not this one's.
  if (!t) {
    R2D().APrevCommand.Push(cmNull);
    return;
  }
  R2D().APrevCommand.Push(cmForm);
  if (txapi::SmartPtr<txapi::IBranchs> leader = t) leader->SetOrigin(x, y);
  if (txapi::SmartPtr<txapi::IToleranceParam> p = t) {
    p->SetLayout(8);
    if (txapi::SmartPtr<txapi::ITable> table = p->GetTable()) {
      table->AddColumn(-1, 1);
      table->AddColumn(-1, 1);
      const TString code(S1);
      const TString* cells[] = {&code, &S2, &S3};
      for (int i = 0; i < 3; ++i) {
        txapi::SmartPtr<txapi::ITableCell> cell = table->GetCell(0, i);
        if (txapi::SmartPtr<txapi::ITextLine> line = cell ? cell->GetText() : nullptr) line->SetString(W(*cells[i]));
      }
    }
  }
  t->SetP(0, 2);
  t->SetQ(0, 8);
  t->SetP(1, 2);
  t->SetQ(1, 2);
  t->Update();
  R().Tolerance = t;
}

void TModelerApi::drSupportForm(const double& x, const double& y, int, int)
{
  if (Collector() != nullptr || !AllFinite({x, y})) return;
  if (txapi::SmartPtr<txapi::IBranchs> leader = R().Tolerance) leader->AddBranch(-1, x, y);
}

void TModelerApi::drBase(const double& x, const double& y, const double& dx, const double& dy, const TString& S)
{
  if (Collector() != nullptr || !AllFinite({x, y, x + dx, y + dy})) return;
  txapi::SmartPtr<txapi::IBases> bases = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IBase> b = bases ? bases->Add() : nullptr;
  if (!b) return;
  b->SetPoint1(x, y);
  b->SetPoint2(x + dx, y + dy);
  b->SetStyle(1);
  if (txapi::SmartPtr<txapi::IText> t = b->GetText()) t->SetString(W(S));
  b->Update();
  R2D().CurDrawingObject = b;
}

void TModelerApi::drWPointer(const double& x1, const double& y1, const double& x2, const double& y2,
                             const double& Xt, const double& Yt, const double& Hs, const double&, const double&,
                             const TString& S)
{
  if (Collector() != nullptr || !AllFinite({x1, y1, x2, y2, Xt, Yt})) return;
  txapi::SmartPtr<txapi::IViewPointers> arrows = R().Symbols2DContainer;
  txapi::SmartPtr<txapi::IViewPointer> a = arrows ? arrows->Add() : nullptr;
  if (!a) return;
  double dx = 0, dy = 0;
  if (Layout.Active()) {
    // On a mould sheet the arrow with its letter moves to the nearest free place when its own is taken.
    double X1, Y1, X2, Y2, X, Y;
    SheetPoint(x1, y1, X1, Y1), SheetPoint(x2, y2, X2, Y2), SheetPoint(Xt, Yt, X, Y);
    const double len = 0.6 * Hs * double(S.Length());
    const double l = std::min({X1, X2, X}) - X, r = std::max({X1, X2, X + len}) - X;
    const double b = std::min({Y1, Y2, Y}) - Y, t = std::max({Y1, Y2, Y + Hs}) - Y;
    // Asked off the sheet as it stands, the view running off it too, it waits for the sheet to grow (or the
    // view to move) and settles with the titles: moved into the frame now it would land in the view.
    double fx, fy;
    if (Layout.IntoFrame(X + l, Y + b, X + r, Y + t, fx, fy)) {
      const auto place = [a, x1, y1, x2, y2, Xt, Yt](double px, double py) {
        a->SetStart(x1 + px - Xt, y1 + py - Yt);
        a->SetEnd(x2 + px - Xt, y2 + py - Yt);
        a->SetTextPoint(px, py);
        a->Update();
      };
      place(Xt, Yt);
      AddLineText(a->GetText(), S, Hs);
      a->Update();
      TSheetLayout::TTitle title = TitleAt(place, Xt, Yt, 0.0);
      title.Box = sheet::Rect(X + l, Y + b, X + r, Y + t);
      title.AskedOff = true;
      Layout.Title(title);
      R2D().CurDrawingObject = a;
      return;
    }
    double px = Xt, py = Yt;
    drFreePlace(px, py, l, b, r, t);
    dx = px - Xt, dy = py - Yt;
    SheetPoint(px, py, X, Y);
    Layout.Occupy(TSheetLayout::TextBox(X, Y, 0.0, Hs, std::size_t(S.Length())));
  }
  a->SetStart(x1 + dx, y1 + dy);
  a->SetEnd(x2 + dx, y2 + dy);
  a->SetTextPoint(Xt + dx, Yt + dy);
  AddLineText(a->GetText(), S, Hs);
  a->Update();
  R2D().CurDrawingObject = a;
}

} // namespace drApi
