// The automatic-dimension list and the position leaders of an assembly drawing.
#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/drawing/drModeler.h"

// ---------------------------------------------------------------------------------------------
// TADimension3D

// Both lists grow by one record at a time, as the records come one by one.
TADimension3D::TADimension3D(TRegistrator& R, TModeler2D& M, TAVariable& V)
    : TArrayOf<TDimension3D>(0, 1), ASizePoint(0, 1), Variables(&V), Registrator(&R), Modeler(&M)
{
}

TADimension3D::TADimension3D(TRegistrator& R, TAVariable& V)
    : TArrayOf<TDimension3D>(0, 1), ASizePoint(0, 1), Variables(&V), Registrator(&R), Modeler(nullptr)
{
}

TADimension3D::~TADimension3D() = default;

TDimension3D& TADimension3D::AddSize(TDimension3D::TType Type)
{
  // A slot behind a restarted count still holds an old record.
  TDimension3D& d = ASizePoint.Add();
  d = TDimension3D();
  d.Type = Type;
  return d;
}

void TADimension3D::Clear2D(TDetailCode Code)
{
  ASizePoint.Clear();
  ASizePoint.ReserveSize(1);
  AddSize(TDimension3D::td2DFromZero).Detail2 = Code;
}

void TADimension3D::Add3D(double V1, double V2, txapi::SmartPtr<txapi::IModelObject> Obj, const double* P1,
                          const double* P2, const TString& Q)
{
  TDimension3D& d = Add();
  d = TDimension3D();
  d.Type = TDimension3D::tdPoint3D;
  d.Q = Q;
  d.O = TPoint3D(V1, V2, 0.0);
  d.Point = Obj;
  if (Variables == nullptr) return;
  if (P1 != nullptr)
    if (const TIdVariable* v = Variables->GetVariable(*P1)) d.ExpressionX = v->Comment;
  if (P2 != nullptr)
    if (const TIdVariable* v = Variables->GetVariable(*P2)) d.ExpressionY = v->Comment;
}

void TADimension3D::drDimension(double LX, double LY, TModeler3D* M) const
{
  if (TDimensionLink* link = TDimensionLink::Get()) link->drDimension(*this, LX, LY, M);
}

namespace {
TDimensionLink* DimensionLink = nullptr;
} // namespace

TDimensionLink* TDimensionLink::Set(TDimensionLink* link)
{
  TDimensionLink* previous = DimensionLink;
  DimensionLink = link;
  return previous;
}

TDimensionLink* TDimensionLink::Get()
{
  return DimensionLink;
}

// Built right after the registrator and the variable list; the host modeller binds itself.
TADimension3D ADimension3D(Registrator, AVariable);

// ---------------------------------------------------------------------------------------------
// TPositionDetails

TPositionDetails::TPositionDetails(TModeler3D* M, const TControlModel& Control)
    : APosition(0, 8), M(M), Control(Control)
{
}

void TPositionDetails::Add(int detail, TSectionSpc Section, int Pos, int Count, double x, double y)
{
  TPosition& p = APosition.Add();
  p = TPosition{detail, Section, Pos, Count, x, y};
}

void TPositionDetails::dr2D() const
{
  constexpr double ShelfOffset = 15.0;
  if (M == nullptr) return;
  for (const TPosition& p : APosition) {
    // The shelf sits up and right of the point the leader starts from.
    M->drShelf(txapi::txLeaderSignEnum(0), p.x + ShelfOffset, p.y + ShelfOffset, txapi::txLSRight,
               txapi::txArrowEnum(0), 5.0, 1.0, 75.0, TString(int(p.Pos)), 5.0, 1.0, 75.0, EmptyStr);
    M->drPoint(p.x, p.y);
    M->drEndObj();
    const bool document = p.Section == tDetail || p.Section == tSborka;
    const TString name = document ? Control.Path + Control.sfDetail(p.Detail, 0) : TString();
    M->drSpcObject(p.Section, name, p.Pos, p.Count);
  }
}
