// Parametric constraints on what the adapter has just drawn in a 2D document or a sketch being edited:
// driving dimensions with generated variable names, points joined, and the dimensioned shaft-step
// rectangle that puts both on a sketch.

#include "hxcadkit/adapter/drModelerAPI.h"
#include "txapi/IDimension2D.h"
#include "txapi/ILineSegment3D.h"
#include "txapi/IModelCurve3D.h"
#include "txapi/IParametricConstraint.h"
#include "txapi/IPoint3D.h"

namespace drApi {

namespace {

// Offsets of the rectangle's width and height dimension lines.
constexpr double dxs = -15.0;
constexpr double dys = -15.0;

// The registry's most recent 3D object as a model object through the view that proves its kind (I);
// empty when it is not one.
template <class I> txapi::SmartPtr<txapi::IModelObject> LastAs(const txapi::SmartPtr<txapi::IModelObject>& o)
{
  txapi::SmartPtr<I> typed = o;
  return txapi::SmartPtr<txapi::IModelObject>(typed);
}

} // namespace

void TModelerApi::SetDimAssociateVariable(txapi::SmartPtr<txapi::IDrawingObject> Dim,
                                          const TString& Expresion)
{
  if (!Dim || !R().IDoc2D) return;
  const txapi::SmartPtr<txapi::ITavrixDocument2D> doc = R().IDoc2D;
  Dim->PrepareConstraints();
  const txapi::SmartPtr<txapi::IParametricConstraint> bare = Dim->NewConstraint();
  if (bare) {
    bare->SetConstraintType(txapi::txCFixedDim);
    bare->Create();
  }
  // The host may hand back the same object again; either one carries the driving constraint.
  const txapi::SmartPtr<txapi::IParametricConstraint> c = Dim->NewConstraint();
  if (!c) return;
  c->SetConstraintType(txapi::txCDimWithVariable);
  if (!Expresion.Empty()) c->SetExpression(W(Expresion));
  c->SetVariableName(W(TString("II") + TString(NextInteger())));
  c->Create();
}

void TModelerApi::drConstraint(txapi::txConstraintTypeEnum, txapi::SmartPtr<txapi::IDrawingObject> Obj,
                               int IObj, txapi::SmartPtr<txapi::IDrawingObject> Obj2, int IObj2)
{
  if (!R().IDoc2D || !Obj || !Obj2) return;
  const txapi::SmartPtr<txapi::IParametricConstraint> c = Obj->NewConstraint();
  if (!c) return;
  // Whatever kind the caller names, the host joins the two points.
  c->SetConstraintType(txapi::txCJoinPoints);
  c->SetPartner({Obj2});
  c->SetPartnerIndex(IObj2);
  c->SetIndex(IObj);
  c->Create();
}

void TModelerApi::drRectAngleAxleDim3D(txapi::txObj3dTypeEnum BasePlane, const double& Vidst,
                                       const double& X1, const double& Y1, const double& X2, const double& Y2,
                                       int Attr, const TString& S1)
{
  if (X1 == X2 || Y1 == Y2) return;
  if (!ADimension3D.IsParametric) {
    drPlaneEskis(BasePlane, Vidst, 0.0, TString());
    drRectAngleAxleDim(X1, Y1, X2, Y2, Attr, S1, dxs, dys);
    return;
  }
  if (!R2D().OnlySizes2D && !SketchRectangle(BasePlane, Vidst, X1, Y1, X2, Y2, Attr)) return;

  const TString none;
  const double width = X2 - X1, height = Y2 - Y1;
  drDimL(width, none, 0.0, dys, 0, 0, 0.0, 0.0, X1, Y1, 1, 0, X2, Y1, 1, 0, none, S1, none);
  SetDimAssociateVariable(
      txapi::SmartPtr<txapi::IDrawingObject>(txapi::SmartPtr<txapi::IDimension2D>(R2D().CurDrawingObject)),
      none);
  drDimL(height, none, dxs, 0.0, 0, 0, 0.0, 0.0, X1, Y1, 1, 0, X1, Y2, 1, 0, none, S1, none);
  SetDimAssociateVariable(
      txapi::SmartPtr<txapi::IDrawingObject>(txapi::SmartPtr<txapi::IDimension2D>(R2D().CurDrawingObject)),
      none);
  for (const auto& o : GetObjects(txapi::SmartPtr<txapi::IModelObject>(R().Sketch), txapi::o3d_variable))
    if (txapi::SmartPtr<txapi::IVariable> v = o) v->SetSwitch(1);
}

bool TModelerApi::SketchRectangle(txapi::txObj3dTypeEnum BasePlane, const double& Vidst, const double& X1,
                                  const double& Y1, const double& X2, const double& Y2, int Attr)
{
  const TString none;
  // The control geometry: the axes as axis lines and the corners as points whose driving dimensions the
  // host makes and the automatic dimensions record.
  drMacro3D(TString("Управление эскизом"), true);
  for (const auto& [a, b] : {std::pair{TPoint3D(X1, 0, 0), TPoint3D(X2, 0, 0)},
                             std::pair{TPoint3D(0, Y1, 0), TPoint3D(0, Y2, 0)}}) {
    drLine3D(a, b, none, false);
    if (txapi::SmartPtr<txapi::IModelCurve3D> c = LastAs<txapi::ILineSegment3D>(R().Obj3D)) {
      c->SetStyle(txapi::txCSAxial);
      R().Obj3D->Update();
    }
  }
  txapi::SmartPtr<txapi::IModelObject> corner[2];
  const double* at[2][2] = {{&X1, &Y1}, {&X2, &Y2}};
  for (int i = 0; i < 2; ++i) {
    drPoint3D(*at[i][0], *at[i][1], 0.0, txapi::txAnnotationSymbolEnum(7), none, true);
    corner[i] = LastAs<txapi::IPoint3D>(R().Obj3D);
    drGenerativeDimensions(corner[i]);
    ADimension3D.Add3D(*at[i][0], *at[i][1], corner[i], at[i][0], at[i][1], TString("h14"));
  }
  drEndMacro3D();

  drPlaneEskis(BasePlane, Vidst, 0.0, none);
  // Without the sketch and its editing document there is nothing to tie the sides to.
  if (!R().Sketch || !R().IDoc2D) return false;
  txapi::SmartPtr<txapi::IDrawingObject> D[2];
  for (int i = 0; i < 2; ++i) {
    R().Sketch->Project(corner[i]);
    D[i] = R().IDoc2D->PointAt(*at[i][0], *at[i][1], 1.0, {});
  }
  txapi::SmartPtr<txapi::IDrawingObject> L[4];
  const double side[4][4] = {{X1, Y1, X2, Y1}, {X2, Y1, X2, Y2}, {X2, Y2, X1, Y2}, {X1, Y2, X1, Y1}};
  for (int i = 0; i < 4; ++i) {
    drLine(side[i][0], side[i][1], side[i][2], side[i][3], Attr);
    L[i] = R2D().CurDrawingObject;
  }
  drLine(X1 - 3.0, 0.0, X2 + 3.0, 0.0, 3);
  drLine(0.0, Y1 - 3.0, 0.0, Y2 + 3.0, 3);

  using txapi::txCHorizontal, txapi::txCMergePoints, txapi::txCVertical;
  const txapi::SmartPtr<txapi::IDrawingObject> none2D;
  drConstraint(txCMergePoints, L[0], 0, D[0], 0);
  drConstraint(txCMergePoints, L[2], 0, D[1], 0);
  drConstraint(txCMergePoints, L[0], 1, L[1], 0);
  drConstraint(txCMergePoints, L[1], 1, L[2], 0);
  drConstraint(txCMergePoints, L[2], 1, L[3], 0);
  drConstraint(txCMergePoints, L[3], 1, L[0], 0);
  // A side's direction is asked with no partner, which takes no constraint.
  drConstraint(txCHorizontal, L[0], 0, none2D, 0);
  drConstraint(txCVertical, L[1], 0, none2D, 0);
  drConstraint(txCHorizontal, L[2], 1, none2D, 0);
  drConstraint(txCVertical, L[3], 1, none2D, 0);
  return true;
}

} // namespace drApi
