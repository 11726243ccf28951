// Numbered components of an assembly and their standard mates.
#include <cmath>

#include "hxcadkit/adapter/maTavrixAssembly.h"

namespace drApi {

namespace {

constexpr double AxisTolerance = 1e-5;

bool NearAxis(double a, double b)
{
  return std::fabs(a - b) <= AxisTolerance;
}

// +1 or -1 when the axis runs along the unit vector (or against it), 0 otherwise.
int Sign(const TVector3D& A, double ux, double uy, double uz)
{
  if (NearAxis(A.x, ux) && NearAxis(A.y, uy) && NearAxis(A.z, uz)) return 1;
  if (NearAxis(A.x, -ux) && NearAxis(A.y, -uy) && NearAxis(A.z, -uz)) return -1;
  return 0;
}

txapi::SmartPtr<txapi::IModelObject> Standard(const txapi::SmartPtr<txapi::IPart>& p, txapi::txObj3dTypeEnum t)
{
  return p ? p->GetDefaultEntity(t) : txapi::SmartPtr<txapi::IModelObject>();
}

} // namespace

void TDetailPart::SetPosition(const double& x, const double& y, const double& z, const TVector3D& iAX,
                              const TVector3D& iAY)
{
  Origin = TPoint3D(x, y, z);
  VX = AVariable.GetVariable(x);
  VY = AVariable.GetVariable(y);
  VZ = AVariable.GetVariable(z);
  AX = iAX;
  AY = iAY;
}

TADetailPart::~TADetailPart()
{
  // The records' part references go before the storage, so that none outlives the list.
  for (Integer i = 0; i < Count; ++i)
    FArray[i].Part.reset();
}

TDetailPart& TADetailPart::Add(txapi::SmartPtr<txapi::IPart> Part, int Det, int Suffics)
{
  unsigned copies = 0;
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i].Detail == Det && FArray[i].Suffics == unsigned(Suffics)) ++copies;
  TDetailPart& r = TArrayOf<TDetailPart>::Add();
  r.Part = std::move(Part);
  r.Detail = Det;
  r.Suffics = unsigned(Suffics);
  r.Copy = copies;
  r.ActiveMate = false;
  return r;
}

const TDetailPart* TADetailPart::Find(int Detail, int Suffics, int Copy) const
{
  for (Integer i = 0; i < Count; ++i) {
    const TDetailPart& r = FArray[i];
    if (r.Detail == Detail && r.Suffics == unsigned(Suffics) && r.Copy == unsigned(Copy)) return &r;
  }
  return nullptr;
}

txapi::SmartPtr<txapi::IPart> TADetailPart::PfA(int Detail, int Suffics, int Copy) const
{
  const TDetailPart* r = Find(Detail, Suffics, Copy);
  return r ? r->Part : txapi::SmartPtr<txapi::IPart>();
}

txapi::SmartPtr<txapi::IModelObject> TADetailPart::DE(int Detail, int Suffics, int Copy,
                                                      txapi::txObj3dTypeEnum T) const
{
  const TDetailPart* r = Find(Detail, Suffics, Copy);
  return r ? Standard(r->Part, T) : txapi::SmartPtr<txapi::IModelObject>();
}

void TADetailPart::drAllMates() const
{
  TRegistryApi& R = MA.R();
  if (!R.IDoc3D) return;
  const txapi::SmartPtr<txapi::IPart> top = R.IDoc3D->GetTopPart();
  if (!top) return;
  txapi::SmartPtr<txapi::IModelObject> XOZ = Standard(top, txapi::o3d_planeXOZ);
  txapi::SmartPtr<txapi::IModelObject> YOZ = Standard(top, txapi::o3d_planeYOZ);
  if (!XOZ || !YOZ) return;
  const TString none;
  const double zero = 0.0;
  // Components standing on the assembly's axis: their YOZ plane coincides with the assembly's planes.
  for (Integer i = 0; i < Count; ++i) {
    const TDetailPart& r = FArray[i];
    if (!r.Part || !r.ActiveMate || r.Origin.x != 0.0 || r.Origin.y != 0.0) continue;
    if (txapi::SmartPtr<txapi::IModelObject> p = Standard(r.Part, txapi::o3d_planeYOZ))
      if (const int s = Sign(r.AX, 1, 0, 0)) drMate(txapi::mc_Coincidence, XOZ, p, s, 0, zero, none);
    if (txapi::SmartPtr<txapi::IModelObject> p = Standard(r.Part, txapi::o3d_planeYOZ))
      if (const int s = Sign(r.AY, 0, 1, 0)) drMate(txapi::mc_Coincidence, YOZ, p, s, 0, zero, none);
  }
  // Components placed by variables: distance mates that follow them.
  for (Integer i = 0; i < Count; ++i) {
    const TDetailPart& r = FArray[i];
    if (!r.Part || !r.ActiveMate) continue;
    if (txapi::SmartPtr<txapi::IModelObject> p = Standard(r.Part, txapi::o3d_planeYOZ); p && r.VX) {
      const TString e = TString("-(") + r.VX->Comment + TString(")");
      if (const int s = Sign(r.AX, 1, 0, 0)) drMate(txapi::mc_Distance, YOZ, p, s, 0, r.VX->Value, e);
    }
    if (txapi::SmartPtr<txapi::IModelObject> p = Standard(r.Part, txapi::o3d_planeYOZ); p && r.VY)
      if (const int s = Sign(r.AY, 0, 1, 0)) drMate(txapi::mc_Distance, XOZ, p, s, 0, r.VY->Value, r.VY->Comment);
  }
}

bool drMate(txapi::MateConstraintType MT, txapi::SmartPtr<txapi::IModelObject>& O1,
            txapi::SmartPtr<txapi::IModelObject>& O2, int Direction, int Fixed, const double& V,
            const TString& iExpresion)
{
  return MA.drMate(MT, O1, O2, Direction, Fixed, V, iExpresion);
}

void drPlanePerpendEdgeVertex(txapi::SmartPtr<txapi::IModelObject> Edge, txapi::SmartPtr<txapi::IModelObject> Point)
{
  MA.drPlanePerpendEdgeVertex(std::move(Edge), std::move(Point));
}

void TModelerApi::AddDetailIf(const double& x, const double& y, const double& z, int DetailCode, int Suffics, bool U)
{
  if (U) AddDetail(x, y, z, DetailCode, Suffics, false);
}

bool TModelerApi::drCreate3DNewPart(int, int, bool, bool)
{
  return false;
}

} // namespace drApi
