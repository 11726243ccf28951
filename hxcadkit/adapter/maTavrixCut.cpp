// Cut lines: points gathered in sheet coordinates, then drawn as one host cut line; the projections
// of the 3D document's window.
#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace drApi {

void TModelerApi::NewCut()
{
  countCutPoint = 0;
}

void TModelerApi::ACT(const double& x, const double& y)
{
  // The buffer is fixed: a longer line keeps its first points rather than overrunning it.
  if (countCutPoint < 0 || countCutPoint >= CutPointSize) return;
  double X = x, Y = y;
  if (Transf2D != nullptr) Transf2D->xyMtr(x, y, X, Y);
  CutPoint[countCutPoint++] = TPoint2D(X, Y);
}

void TModelerApi::DrawCut(const TString& S, int Direction)
{
  // Points gathered while a boundary is collected stay for a later DrawCut.
  if (R2D().Collecting()) return;
  if (countCutPoint <= 0 || countCutPoint > CutPointSize) {
    NewCut();
    return;
  }
  // Copies: the calls below may start another line.
  const int n = countCutPoint;
  TPoint2D p[CutPointSize];
  std::copy(CutPoint, CutPoint + n, p);
  drCut(7.0, 1.0, 75.0, S, p[0].x, p[0].y, Direction, p[n - 1].x, p[n - 1].y, Direction);
  for (int i = 0; i < n; ++i)
    drPoint(p[i].x, p[i].y);
  drEndObj();
  NewCut();
}

void TModelerApi::SaveAndSetViewProjection(txapi::txViewProjectionType Ptype)
{
  txapi::SmartPtr<txapi::IViewProjection> p;
  if (const txapi::SmartPtr<txapi::IViewProjectionManager> m = R().IDoc3D) p = m->GetStandardProjection(Ptype);
  if (p) p->Apply(true);
  R2D().CurDrawingObject = txapi::SmartPtr<txapi::IDrawingObject>(p);
}

void TModelerApi::CreateViewProjection(const TMtr3D& Mtr)
{
  const txapi::SmartPtr<txapi::IViewProjectionManager> m = R().IDoc3D;
  const txapi::SmartPtr<txapi::IViewProjection> p = m ? m->NewProjection() : nullptr;
  if (!p) return;
  std::vector<double> v;
  p->SetMatrix(Mtr.to(v));
  p->Apply(true);
}

void TModelerApi::RestoreViewProjection(txapi::SmartPtr<txapi::IViewProjection>& View)
{
  if (!View) return;
  View->Apply(true);
  View.reset();
}

} // namespace drApi
