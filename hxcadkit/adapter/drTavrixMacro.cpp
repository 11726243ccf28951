// 2D macro objects and drawing groups, and the objects built in several calls (hatch, colouring,
// cut line, leader) that stay pending on the command stack until their drEndObj.

#include <algorithm>
#include <cmath>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IAuxiliaryGeomContainer.h"
#include "txapi/IBaseLeader.h"
#include "txapi/IBranchs.h"
#include "txapi/IColourings.h"
#include "txapi/ICutLines.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IDrawingGroups.h"
#include "txapi/IHatchParam.h"
#include "txapi/IHatches.h"
#include "txapi/ILeaders.h"
#include "txapi/IMacroObjects.h"
#include "txapi/IPoint.h"
#include "txapi/IPoints.h"
#include "txapi/IPolyLines.h"
#include "txapi/IUserParameters.h"

namespace drApi {

// ---------------------------------------------------------------------------------------------
// Macro objects: the innermost open one is the current container.

void TModelerApi::drMacro2D(bool)
{
  TRegistryApi& r = R();
  r.MacroObj.reset();
  r.Entity2D.reset();
  txapi::SmartPtr<txapi::IMacroObjects> macros;
  if (Collector() == nullptr && !r.Sketch) macros = r.DrawingContainer;
  r.MacroObj = macros ? macros->Add(1) : nullptr;
  // A macro the host did not make still takes its place on the stack, so that its drEndMacro
  // closes it and not the enclosing one.
  r.AMacroObj.Push(r.MacroObj);
  if (!r.MacroObj) return;
  r.DrawingContainer = r.MacroObj;
  r.Symbols2DContainer = r.MacroObj;
  r.Entity2D = r.MacroObj;
}

void TModelerApi::drEndMacro()
{
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::ITavrixAPIObject> taken;
  if (r.AMacroObj.Count > 0) {
    taken = r.AMacroObj.Last();
    r.AMacroObj.Last().reset();
    --r.AMacroObj.Count;
  }
  r.MacroObj = taken;
  if (!r.MacroObj) {
    // The refused macro's end: the enclosing macro (which stayed the container) is current again.
    for (Integer i = r.AMacroObj.Count - 1; i >= 0 && !r.MacroObj; --i)
      r.MacroObj = r.AMacroObj[i];
    R2D().CurDrawingObject.reset();
    return;
  }
  r.MacroObj->Update();
  r.Entity2D = r.MacroObj;
  const txapi::SmartPtr<txapi::IDrawingObject> closed = r.Entity2D;
  // The innermost macro that the host made, around the closed one.
  r.MacroObj.reset();
  for (Integer i = r.AMacroObj.Count - 1; i >= 0 && !r.MacroObj; --i)
    r.MacroObj = r.AMacroObj[i];
  if (r.MacroObj) {
    r.DrawingContainer = r.MacroObj;
    r.Symbols2DContainer = r.MacroObj;
  } else {
    r.DrawingContainer = r.View;
    r.Symbols2DContainer = r.View;
  }
  R2D().CurDrawingObject = closed;
}

void TModelerApi::drSetMacro2DParam(const std::vector<std::uint8_t>& V, const TString& fileName,
                                    const TString&, int Command, bool EE, const TMt& M)
{
  txapi::SmartPtr<txapi::IMacroObject> m = R().MacroObj;
  if (!m) return;
  if (txapi::SmartPtr<txapi::IUserParameters> p = m) {
    p->SetLibraryFileName(fileName.toWideChar());
    p->SetSecondText(L"");
    p->SetCommand(Command);
    p->SetUserData(V);
  }
  m->SetFirstSwitch(true);
  m->SetSecondSwitch(EE);
  m->SetPlacement(M.x, M.y, M.Angle, 0, 1);
  m->Update();
}

// ---------------------------------------------------------------------------------------------
// Drawing groups

void TModelerApi::drGroup(bool Temporary)
{
  TRegistryApi& r = R();
  R2D().CurDrawingObject.reset();
  r.Obj.reset();
  if (Collector() != nullptr) return;
  txapi::SmartPtr<txapi::IDrawingGroups> groups = r.IDoc2D;
  txapi::SmartPtr<txapi::IDrawingGroup> g = groups ? groups->Add(Temporary, L"") : nullptr;
  // A group the host did not make still takes its place on the stack, so that its drEndGroup
  // closes nothing rather than the enclosing group.
  if (!g) {
    R2D().AGroup.Push(g);
    return;
  }
  g->Open(1);
  r.Obj = g;
  R2D().CurDrawingObject = g;
  R2D().AGroup.Push(g);
}

void TModelerApi::drEndGroup()
{
  TRegistryApi& r = R();
  r.Entity2D.reset();
  // Nothing to close without a started group: the stack never goes below empty.
  if (Collector() != nullptr || R2D().AGroup.Count <= 0) return;
  const bool made = !R2D().AGroup.Last().empty();
  R2D().AGroup.Last().reset();
  --R2D().AGroup.Count;
  if (!made || !r.IDoc2D) return;
  txapi::SmartPtr<txapi::IDrawingGroups> groups = r.IDoc2D;
  txapi::SmartPtr<txapi::IDrawingGroup> g = groups ? groups->GetOpenGroup() : nullptr;
  if (!g) return;
  r.Entity2D = g;
  g->Close();
}

// ---------------------------------------------------------------------------------------------
// Pending objects

void TModelerApi::drHatch(int Tip, const double& FStr, const double& Shag)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IHatches> hatches = r.DrawingContainer;
  r.Hatch = hatches ? hatches->Add() : nullptr;
  if (r.Hatch) {
    r.Hatch->SetSwitch(true);
    if (txapi::SmartPtr<txapi::IHatchParam> p = r.Hatch) {
      p->SetStyle(Tip);
      p->SetStep(Shag);
      p->SetAngle(FStr);
    }
    r.BoundariesObject = r.Hatch;
  }
  Layout.BeginArea();
  R2D().APrevCommand.Push(cmHatch);
}

// The curves drawn until drEndObj bound the colouring, as they bound a hatch.
void TModelerApi::drColouring(std::int64_t Color)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  txapi::SmartPtr<txapi::IColourings> colourings = r.DrawingContainer;
  r.Colouring = colourings ? colourings->Add() : nullptr;
  if (!r.Colouring) {
    R2D().APrevCommand.Push(cmNull);
    return;
  }
  r.Colouring->SetColor(std::uint32_t(std::uint64_t(Color) & 0xFFFFFFFFu));
  r.BoundariesObject = r.Colouring;
  R2D().APrevCommand.Push(cmColouring);
}

void TModelerApi::drClearRegion(std::int64_t) {}

void TModelerApi::drEndObj()
{
  if (Collector() != nullptr || R2D().APrevCommand.Count <= 0) return;
  CloseBoundary();
  TRegistryApi& r = R();
  switch (R2D().APrevCommand.Pop()) {
  case cmCut:
    OccupyCut();
    if (r.CutLine) {
      std::vector<double> points;
      points.reserve(std::size_t(r.APoints.Count) * 2);
      for (Integer i = 0; i < r.APoints.Count; ++i) {
        points.push_back(r.APoints[i].x);
        points.push_back(r.APoints[i].y);
      }
      r.CutLine->SetPointsArray(points);
      r.CutLine->Update();
      r.Obj3D = r.CutLine;
      R2D().CurDrawingObject = r.CutLine;
      r.CutLine.reset();
    }
    r.APoints.Count = 0;
    break;
  case cmShelf:
    if (r.Leader) {
      if (txapi::SmartPtr<txapi::IBaseLeader> l = r.Leader) l->Update();
      r.Leader.reset();
    }
    break;
  case cmPolyline3D:
    if (txapi::SmartPtr<txapi::IModelObject> o = r.Polyline3D) o->Update();
    break;
  case cmColouring:
    if (r.Colouring) {
      r.Colouring->Update();
      r.Colouring.reset();
    }
    r.BoundariesObject.reset();
    break;
  case cmForm:
    if (r.Tolerance) {
      r.Tolerance->Update();
      r.Entity2D = r.Tolerance;
      r.Tolerance.reset();
    }
    break;
  case cmHatch:
    Layout.EndArea();
    if (r.Hatch) {
      r.Hatch->Update();
      r.BoundariesObject.reset();
      r.Hatch.reset();
    }
    break;
  default:
    break;
  }
}

void TModelerApi::drCut(const double& Hs, const double&, const double&, const TString& S, const double& x1,
                        const double& y1, int Napr1, const double& x2, const double& y2, int)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  R2D().APrevCommand.Push(cmCut);
  r.CutLine.reset();
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  txapi::SmartPtr<txapi::ICutLines> cuts =
      r.Symbols2DContainer ? r.Symbols2DContainer->GetCutLines() : nullptr;
  r.CutLine = cuts ? cuts->Add() : nullptr;
  if (!r.CutLine) return;
  r.CutLine->SetDirection(Napr1 < 0);
  r.CutLine->SetPoints(x1, y1, x2, y2);
  r.CutLine->SetSwitch(true);
  AddLineText(r.CutLine->GetText(), S, Hs);
  R2D().CurDrawingObject = r.CutLine;
  PendingCut = {};
  if (Layout.Active()) {
    PendingCut.On = true;
    PendingCut.Hs = Hs, PendingCut.Chars = std::size_t(std::max(1, S.Length()));
    for (const auto& [x, y] : {std::array{x1, y1}, std::array{x2, y2}}) {
      double X, Y;
      SheetPoint(x, y, X, Y);
      PendingCut.Asked.push_back({X, Y});
    }
    // Its letter stands 2 above its first point.
    double LX, LY;
    SheetPoint(x1, y1 + 2.0, LX, LY);
    PendingCut.Asked.push_back({LX, LY});
  }
}

void TModelerApi::OccupyCut()
{
  if (!PendingCut.On) return;
  PendingCut.On = false;
  if (!Layout.Active()) return;
  // The host draws the line through the points given it when there are two or more, else between its ends
  // as asked: a thick stroke 10 long (or half the stretch) from each point along each stretch it starts or
  // ends, its letter 2 above its first point. The values and arcs settled when the view closes keep off
  // both, and a dimension line keeps a gap past a stroke's end.
  const bool given = PendingCut.Points.size() >= 2;
  const std::vector<std::array<double, 2>> at =
      given ? PendingCut.Points
            : std::vector<std::array<double, 2>>(PendingCut.Asked.begin(), PendingCut.Asked.begin() + 2);
  constexpr double Half = 0.35, Past = 1.5;
  for (std::size_t i = 0; i + 1 < at.size(); ++i) {
    const double L = std::hypot(at[i + 1][0] - at[i][0], at[i + 1][1] - at[i][1]);
    if (!(L > 0)) continue;
    const double ux = (at[i + 1][0] - at[i][0]) / L, uy = (at[i + 1][1] - at[i][1]) / L,
                 k = std::min(10.0, L / 2);
    for (int e = 0; e < 2; ++e) {
      const std::array<double, 2>& from = at[i + std::size_t(e)];
      const double sx = e == 0 ? ux : -ux, sy = e == 0 ? uy : -uy;
      TSheetLayout::TQuad q;
      const double along[4] = {-Past, k, k, -Past}, across[4] = {-Half, -Half, Half, Half};
      for (int c = 0; c < 4; ++c)
        q.X[c] = from[0] + along[c] * sx - across[c] * sy, q.Y[c] = from[1] + along[c] * sy + across[c] * sx;
      Layout.Occupy(q);
    }
  }
  // Its letter over its first point, 2 above it in the container (as asked, or the first point given).
  double LX = PendingCut.Asked[2][0], LY = PendingCut.Asked[2][1];
  if (given) LX += at[0][0] - PendingCut.Asked[0][0], LY += at[0][1] - PendingCut.Asked[0][1];
  Layout.Occupy(TSheetLayout::TextBox(LX, LY, 0.0, PendingCut.Hs, PendingCut.Chars));
}

void TModelerApi::drShelf(txapi::txLeaderSignEnum, const double& x, const double& y,
                          txapi::txShelfDirectionEnum Napr, txapi::txArrowEnum, const double&, const double&,
                          const double&, const TString& S1, const double&, const double&, const double&,
                          const TString&)
{
  if (Collector() != nullptr) return;
  TRegistryApi& r = R();
  R2D().APrevCommand.Push(cmShelf);
  r.Leader.reset();
  if (!r.Symbols2DContainer || !std::isfinite(x) || !std::isfinite(y)) return;
  txapi::SmartPtr<txapi::ILeaders> leaders = r.Symbols2DContainer->GetLeaders();
  r.Leader = leaders ? leaders->Add(txapi::txDrLeader) : nullptr;
  if (!r.Leader) return;
  r.Leader->SetShelfDirection(Napr);
  if (txapi::SmartPtr<txapi::IBranchs> b = r.Leader) b->SetOrigin(x, y);
  // The host draws a leader's text at its container's scale: in a view drawn enlarged or reduced it is
  // given the height that stands 3.5 on the sheet, as every other text does.
  const double paper = (SelfTransform() ? 1.0 : R2D().Transf2D.ScaleMtr()) * Layout.ViewScale();
  if (txapi::SmartPtr<txapi::IText> t = r.Leader) {
    if (std::isfinite(paper) && paper > 0.0 && std::fabs(paper - 1.0) > 1e-9)
      AddLineText(t, S1, 3.5 / paper);
    else
      t->SetString(S1.toWideChar());
  }
  if (Layout.Active()) {
    // Its text, 1 above its origin, moves with the origin; the branches keep their ends.
    const txapi::SmartPtr<txapi::ILeader> leader = r.Leader;
    Title(
        [leader](double px, double py) {
          if (txapi::SmartPtr<txapi::IBranchs> b = leader) b->SetOrigin(px, py - 1.0);
          if (txapi::SmartPtr<txapi::IBaseLeader> l = leader) l->Update();
        },
        x, y + 1.0, 0.0, 3.5, S1);
    double X, Y;
    SheetPoint(x, y, X, Y);
    Layout.TitleLeader(X, Y);
  }
}

void TModelerApi::drPolyline3D(bool Closed)
{
  if (Collector() != nullptr || !R().Part) return;
  R2D().APrevCommand.Push(cmPolyline3D);
  txapi::SmartPtr<txapi::IPolyLines> lines = txapi::SmartPtr<txapi::IAuxiliaryGeomContainer>(R().Part);
  R().Polyline3D = lines ? lines->Add() : nullptr;
  if (R().Polyline3D) R().Polyline3D->SetClosed(Closed);
}

void TModelerApi::drPoint(const double& x, const double& y)
{
  if (Collector() != nullptr || !std::isfinite(x) || !std::isfinite(y)) return;
  TRegistryApi& r = R();
  const TArrayOf<TCommand>& stack = R2D().APrevCommand;
  const TCommand top = stack.Count > 0 ? stack.Last() : cmNull;
  if (top == cmShelf) {
    if (txapi::SmartPtr<txapi::IBranchs> b = r.Leader) {
      b->AddBranch(-1, x, y);
      if (Layout.Active()) {
        double X, Y;
        SheetPoint(x, y, X, Y);
        Layout.TitleBranch(X, Y);
      }
    }
    return;
  }
  if (top == cmCut) {
    r.APoints.Push(TPoint2D(x, y));
    if (PendingCut.On) {
      double X, Y;
      SheetPoint(x, y, X, Y);
      PendingCut.Points.push_back({X, Y});
    }
    return;
  }
  txapi::SmartPtr<txapi::IPoints> points = r.DrawingContainer;
  txapi::SmartPtr<txapi::IPoint> p = points ? points->Add() : nullptr;
  if (!p) return;
  p->SetPoint(x, y);
  p->SetStyle(1);
  p->Update();
}

} // namespace drApi
