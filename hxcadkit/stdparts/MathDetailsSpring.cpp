// The wire spring's record and its part document.
#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/core/Messager.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

using namespace mould;

TWiredSpring::TWiredSpring(int iId, TModeler3D* M) : TDetail(iId, M, nullptr, 0, nullptr) {}

TWiredSpring& TWiredSpring::operator=(const TWiredSpring& o)
{
  Radius = o.Radius;
  WireRadius = o.WireRadius;
  Height = o.Height;
  return *this;
}

void TWiredSpring::toStream(TKmfData& S) const
{
  WriteHead(S, *this);
  Write(S, {Radius, WireRadius, Height});
}

void TWiredSpring::fromStream(TKmfData& S)
{
  // Older records held the sizes alone.
  if (S.Version() >= 44) ReadHead(S, *this);
  Read(S, {&Radius, &WireRadius, &Height});
}

void TWiredSpring::dr3D_Spring(drApi::TModelerApi& Md, const TString& FName, const Real& D, const Real& d,
                               const Real& H, const Real& C)
{
  const double r = d / 2.0;
  // The helices run through the wire's centre.
  const double Dm = D - d;
  const TString N = ::DC("Пружина") + TString("-") + Num(D) + TString("*") + Num(d);
  const TString none;
  Md.drCreate3D(true, true, FName, N, ::DC("Пружина"));
  ADimension3D.IsParametric = false;
  Md.drPlaneEskis(txapi::o3d_planeXOY, r, 0.0, none);
  txapi::SmartPtr<txapi::IPlane3D> P = Md.GetPlane();
  // The working coils from r to H - r, the end coils down to 0 and up to H.
  Md.drSpiral3D(P, H - d, C, Dm);
  txapi::SmartPtr<txapi::IModelObject> S1 = Md.R().Obj3D;
  Md.drSpiral3D(P, -r, 0.75, Dm);
  txapi::SmartPtr<txapi::IModelObject> S0 = Md.R().Obj3D;
  Md.drPlane(txapi::o3d_planeXOY, H - r);
  Md.drSpiral3D(Md.GetPlane(), r, 0.75, Dm);
  txapi::SmartPtr<txapi::IModelObject> S2 = Md.R().Obj3D;

  Md.drPlaneEskis(txapi::o3d_planeXOZ, 0.0, 0.0, none);
  Md.drCircle(Dm / 2.0, -r, r, 1);
  Md.drEvolution(S1, true, txapi::txOperationUnion);
  Md.drEvolution(S0, true, txapi::txOperationUnion);
  Md.drPlaneEskis(txapi::o3d_planeXOZ, 0.0, 0.0, none);
  Md.drCircle(Dm / 2.0, r - H, r, 1);
  Md.drEvolution(S2, true, txapi::txOperationUnion);

  // Both ends ground flat: everything above H and below 0 is cut away.
  Md.drPlaneEskis(txapi::o3d_planeXOZ, D, 0.0, none);
  Md.drRectAngle(D, -H, -D, r - H - D, 1);
  Md.drRectAngle(D, 0.0, -D, D - r, 1);
  Md.drCutExtrusion(txapi::dtReverse, txapi::etBlind, 2.0 * D, 0.0);
  Md.drSave3D(true, false);
  Md.drSet(N, none, none, 25);
}
