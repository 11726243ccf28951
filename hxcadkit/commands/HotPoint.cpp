#include "hxcadkit/commands/HotPoint.h"

#include "hxcadkit/commands/pmCommon.h"

#include <cmath>
#include <cstdint>
#include <limits>

// ---------------------------------------------------------------------------------------------
// THotPointData

THotPointData& THotPointData::operator=(const THotPointData& d)
{
  if (this == &d) return *this;
  State = d.State;
  Id3 = d.Id3;
  Origin = d.Origin;
  try {
    Caption = d.Caption;
    TArrayOf<TIdVariable>::operator=(d);
  } catch (...) {
    Count = 0;
  }
  return *this;
}

void THotPointData::Bind(double& v, const TString& caption)
{
  TIdVariable& e = Add();
  e = TIdVariable();
  e.Set(TVariablePtr::pvReal, &v);
  e.Comment = caption;
}

void THotPointData::Set(const TPoint3D& O, double& value, const TString& caption)
{
  Set(O.x, O.y, O.z, value, caption);
}

void THotPointData::Set(const double& x, const double& y, const double& z, double& v1, const TString& c1, double* v2,
                        const TString* c2, double* v3, const TString* c3)
{
  State = stActive;
  Origin = TPoint3D(x, y, z);
  Clear();
  Bind(v1, c1);
  if (v2 != nullptr) Bind(*v2, c2 != nullptr ? *c2 : TString());
  if (v3 != nullptr) Bind(*v3, c3 != nullptr ? *c3 : TString());
}

void THotPointData::Set(const TPoint3D& O, double& v1, const TString& c1, double& v2, const TString& c2)
{
  Set(O.x, O.y, O.z, v1, c1, &v2, &c2);
}

void THotPointData::Set(const TPoint3D& O, double& v1, const TString& c1, double& v2, const TString& c2, double& v3,
                        const TString& c3)
{
  Set(O.x, O.y, O.z, v1, c1, &v2, &c2, &v3, &c3);
}

void THotPointData::SetData(double& x, double& y, double* z)
{
  Origin = TPoint3D(x, y, z != nullptr ? *z : 0.0);
  Clear();
  Bind(x, Registrator.GetComment(&x));
  Bind(y, Registrator.GetComment(&y));
  if (z != nullptr) Bind(*z, Registrator.GetComment(z));
}

bool THotPointData::ItSameData(const THotPointData& d) const
{
  if (Count != d.Count) return false;
  for (int i = 0; i < Count; ++i)
    if ((*this)[i].Type != d[i].Type || (*this)[i].PData != d[i].PData) return false;
  return true;
}

void THotPointsData::MarkRemoved()
{
  for (THotPointData& d : *this)
    d.State = THotPointData::stRemoved;
}

int THotPointsData::IndexData(const THotPointData& d) const
{
  for (int i = 0; i < Count; ++i)
    if ((*this)[i].ItSameData(d)) return i;
  return -1;
}

THotPointData* THotPointsData::GetId(int id)
{
  for (THotPointData& d : *this)
    if (d.Id3 == id) return &d;
  return nullptr;
}

void THotPointsData::Add2D(THotPointData& d, void* titled, const TPoint3D& at, int step)
{
  if (const int i = IndexData(d); i >= 0) {
    (*this)[i].State = THotPointData::stActive;
    return;
  }
  Add(d);
  THotPointData& e = Last();
  e.State = THotPointData::stActive;
  e.Caption = Registrator.GetTitul(titled);
  e.FCapacity = step;
  e.Origin = at;
}

void THotPointsData::Add2D(double& x, double& y, const double& z)
{
  THotPointData d;
  d.SetData(x, y);
  Add2D(d, &y, TPoint3D(x, y, z), 8);
}

void THotPointsData::Add2DV(double& x, double& y, const double& z, double& v)
{
  THotPointData d;
  d.SetData(x, y, &v);
  Add2D(d, &v, TPoint3D(x, y, z), 8);
}

// ---------------------------------------------------------------------------------------------
// THotPoint

THotPoint::THotPoint()
{
  SetCoefficients(0.5, 0.6, 0.8, 0.8, 1.0, 0.5);
}

THotPoint::~THotPoint()
{
  try {
    if (Obj) Obj->Close();
  } catch (...) {
  }
  Obj = nullptr;
}

void THotPoint::CopyLook(const THotPoint& h)
{
  TAdvColor::operator=(h);
  Direction = h.Direction;
}

THotPoint& THotPoint::operator=(const THotPoint& h)
{
  THotPointData::operator=(h);
  CopyLook(h);
  Obj = h.Obj;
  return *this;
}

THotPoint& THotPoint::operator=(THotPoint&& h)
{
  if (this == &h) return *this;
  THotPointData::operator=(h);
  CopyLook(h);
  Obj = std::move(h.Obj);
  return *this;
}

bool THotPoint::Update2()
{
  if (!Obj) return false;
  TMtr3D m;
  m.GetOrigin() = Origin;
  std::vector<double> v;
  Obj->SetMatrix(m.to(v));
  Obj->SetColor(Color, Ambient, Diffuse, Specularity, Shininess, Transparency, Emission);
  return true;
}

void THotPoint::SetVisible(bool show)
{
  if (Obj) Obj->SetVisible(show);
}

bool THotPoint::Pick2(const TPoint3D& P, const TVector3D& V, const double& scale) const
{
  return (V | TVector3D(P, Origin)).Len() <= 2.0 / scale;
}

bool THotPoint::AllowDiskrete2(const double& start, double& value, const double& step) const
{
  if (!(step > 0)) return true;
  if (!(std::fabs(start - value) > 0.5 * step)) {
    value = start;
    return false;
  }
  // The quotient is clamped to the int range first: a value far beyond it snaps to the largest multiple
  // the range holds instead of converting out of range.
  double q = value / step;
  q += q > 0 ? 0.5 : -0.5;
  constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  const std::int32_t k = std::isnan(q) ? 0 : std::int32_t(std::clamp(q, lo, hi));
  value = k * step;
  return true;
}

bool THotPoint::DirectPointProjection2(const TPoint3D& O, const TVector3D& V, const TMtr3D& M, TPoint2D& q) const
{
  TVector3D v = V;
  v.Mtr(M);
  if (!(std::fabs(v.z) > 1e-6 * v.MaxFactor())) return false;
  TPoint3D p = O;
  p.Mtr(M);
  const double t = -p.z / v.z;
  q = TPoint2D(p.x + t * v.x, p.y + t * v.y);
  return true;
}

bool THotPoint::Move2(const TPoint3D& P, const TVector3D& V, const TVector3D& W, const double&) const
{
  TPlacement3D pl;
  pl.O = P;
  pl.AZ = V;
  pl.AZ.Normalize();
  pl.AX = W - pl.AZ * (W * pl.AZ);
  pl.AX.Normalize();
  pl.AY = pl.AZ | pl.AX;
  const TMtr3D M(pl);
  TPoint2D q;
  if (!DirectPointProjection2(Origin, V, M, q)) return false;
  TPoint3D R = P;
  R.Move(pl.AX, q.x);
  R.Move(pl.AY, q.y);
  double L = Direction * Direction;
  if (!(L > 1e-30)) L = 1.0;
  const double s = -(TVector3D(R, P) * Direction) / L;
  return std::fabs(s) > 0.5;
}

// ---------------------------------------------------------------------------------------------
// THotPoints

void THotPoints::Paint(int i, TColor c)
{
  (*this)[i].Color = c;
  (*this)[i].Update2();
}

bool THotPoints::FindActive(const TPoint3D& P, const TVector3D& V, double scale)
{
  for (int i = 0; i < Count; ++i)
    if ((*this)[i].Pick2(P, V, scale)) {
      SetActive(i);
      return true;
    }
  return false;
}

void THotPoints::SetActive(int i)
{
  if (i < 0 || i >= Count) return;
  if (ValidIndex(ActiveIndex)) Paint(ActiveIndex, PassiveColor);
  ActiveIndex = i;
  Paint(i, ActiveColor);
}

void THotPoints::Show(THotPoint& h, bool pickable)
{
  Mesh.SetOrigin(h.Origin);
  Mesh.DisableDepthTest = true;
  Mesh.NonScaleble = true;
  if (!pickable) Mesh.NonPickable = true;
  h.Obj = Editor != nullptr ? Editor->MeshDraw.Add(Mesh, TMeshID::otFace) : nullptr;
}

bool THotPoints::Make(int, const TPoint3D& O)
{
  THotPoint& h = Add();
  h = THotPoint(); // a reused slot starts afresh
  h.Origin = O;
  h.Color = PassiveColor;
  Mesh.CF = h;
  Show(h, true);
  return true;
}

bool THotPoints::Make(const THotPointData& d)
{
  THotPoint& h = Add();
  h = THotPoint();
  h.THotPointData::operator=(d);
  if (h.Count == 0) {
    --Count;
    return false;
  }
  h.Color = PassiveColor;
  Mesh.CF.Color = h.Color;
  Show(h, false);
  return true;
}

void THotPoints::toModelData(THotPointsData& D) const
{
  // Only as many records as there are markers: a longer list keeps the rest as it was.
  const int n = std::min(Count, D.Count);
  for (int i = 0; i < n; ++i)
    D[i] = (*this)[i];
}

void THotPoints::fromModelData(const THotPointsData& D)
{
  if (D.Count == 0) return;
  ReserveSize(Count + D.Count);
  for (const THotPointData& d : D)
    Make(d);
  if (Count > 0) SetActive(0);
}

void THotPoints::RemoveAll()
{
  for (int i = Count - 1; i >= 0; --i)
    if (THotPoint& h = (*this)[i]; h.Obj) {
      h.Obj->SetVisible(false);
      if (Editor != nullptr) Editor->MeshDraw.Remove(h.Obj->GetId());
    }
  Count = 0;
}
