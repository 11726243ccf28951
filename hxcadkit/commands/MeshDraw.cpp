#include "hxcadkit/commands/MeshDraw.h"

#include "hxcadkit/core/KmfData.h"
#include "hxcadkit/core/TDebug.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// A built-in shape: points and normals as double triples, triangles as vertex index triples.
struct TShape
{
  std::vector<double> P, N;
  std::vector<unsigned> T;

  unsigned Vertex(const TPoint3D& p, const TVector3D& n)
  {
    P.insert(P.end(), {p.x, p.y, p.z});
    N.insert(N.end(), {n.x, n.y, n.z});
    return unsigned(P.size() / 3 - 1);
  }
  TPoint3D At(unsigned i) const { return TPoint3D(P[3 * i], P[3 * i + 1], P[3 * i + 2]); }
  // The triangle a, b, c, wound counter-clockwise (ccw) or clockwise as seen from the side side points to.
  void Triangle(unsigned a, unsigned b, unsigned c, const TVector3D& side, bool ccw)
  {
    const TVector3D n = TVector3D(At(a), At(b)) | TVector3D(At(a), At(c));
    if ((n * side > 0) != ccw) std::swap(b, c);
    T.insert(T.end(), {a, b, c});
  }
  void Load(TMeshData& m) const { m.Init(P.data(), N.data(), int(P.size() / 3), T.data(), int(T.size())); }
};

// cos and sin of k * 45 degrees as the tables write them.
constexpr std::array<double, 8> Cos45{1, 0.707, 0, -0.707, -1, -0.707, 0, 0.707};
double C8(int k)
{
  return Cos45[k % 8];
}
double S8(int k)
{
  return Cos45[(k + 6) % 8];
}

TShape MakeSphere()
{
  TShape s;
  s.Vertex(TPoint3D(), TVector3D());
  const unsigned north = s.Vertex(TPoint3D(0, 0, 1), TVector3D(0, 0, 1));
  for (int r = 0; r < 7; ++r) {
    const double lat = (67.5 - 22.5 * r) * std::numbers::pi / 180;
    for (int j = 0; j < 16; ++j) {
      const double lon = 22.5 * j * std::numbers::pi / 180;
      const TPoint3D p(std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat));
      s.Vertex(p, TVector3D(p));
    }
  }
  const unsigned south = s.Vertex(TPoint3D(0, 0, -1), TVector3D(0, 0, -1));
  auto ring = [](int r, int j) { return unsigned(2 + 16 * r + j % 16); };
  auto out = [&](unsigned a, unsigned b, unsigned c) {
    const TVector3D centre(TPoint3D(), s.At(a));
    s.Triangle(a, b, c, centre + TVector3D(TPoint3D(), s.At(b)) + TVector3D(TPoint3D(), s.At(c)), true);
  };
  for (int j = 0; j < 16; ++j)
    out(north, ring(0, j), ring(0, j + 1));
  for (int r = 0; r < 6; ++r)
    for (int j = 0; j < 16; ++j) {
      out(ring(r, j), ring(r + 1, j), ring(r + 1, j + 1));
      out(ring(r, j), ring(r + 1, j + 1), ring(r, j + 1));
    }
  for (int j = 0; j < 16; ++j)
    out(south, ring(6, j + 1), ring(6, j));
  return s;
}

// A fan over the 8 points of a cap from first on.
void Cap(TShape& s, unsigned first, const TVector3D& side)
{
  for (unsigned k = 1; k < 7; ++k)
    s.Triangle(first, first + k, first + k + 1, side, false);
}

TShape MakeCylinder()
{
  TShape s;
  for (double z : {0.0, 1.0})
    for (int k = 0; k <= 8; ++k)
      s.Vertex(TPoint3D(C8(k), S8(k), z), TVector3D(C8(k), S8(k), 0));
  for (double z : {1.0, 0.0})
    for (int k = 0; k < 8; ++k)
      s.Vertex(TPoint3D(C8(k), S8(k), z), TVector3D(0, 0, z > 0 ? 1 : -1));
  for (unsigned k = 0; k < 8; ++k) {
    const TVector3D side(C8(int(k)) + C8(int(k) + 1), S8(int(k)) + S8(int(k) + 1), 0);
    s.Triangle(k, k + 1, k + 10, side, false);
    s.Triangle(k, k + 10, k + 9, side, false);
  }
  Cap(s, 18, TVector3D(0, 0, 1));
  Cap(s, 26, TVector3D(0, 0, -1));
  return s;
}

TShape MakeCone()
{
  TShape s;
  auto slope = [](int k) { return TVector3D(0.707 * C8(k), 0.707 * S8(k), 0.707); };
  s.Vertex(TPoint3D(0, 0, 1), slope(0));
  for (int k = 0; k <= 8; ++k)
    s.Vertex(TPoint3D(C8(k), S8(k), 0), slope(k));
  for (int k = 1; k <= 8; ++k)
    s.Vertex(TPoint3D(0, 0, 1), slope(k));
  for (int k = 0; k < 8; ++k)
    s.Vertex(TPoint3D(C8(k), S8(k), 0), TVector3D(0, 0, -1));
  for (int k = 0; k <= 8; ++k)
    s.Vertex(TPoint3D(C8(k), S8(k), 0), TVector3D());
  auto apex = [](unsigned k) { return k == 0 ? 0u : 9 + k; };
  for (unsigned k = 0; k < 8; ++k) {
    const TVector3D side = slope(int(k)) + slope(int(k) + 1);
    s.Triangle(apex(k), 1 + k, 2 + k, side, false);
    s.Triangle(apex(k + 1), 1 + k, 2 + k, side, false);
  }
  Cap(s, 18, TVector3D(0, 0, -1));
  return s;
}

TShape MakeCube()
{
  TShape s;
  for (int axis = 0; axis < 3; ++axis)
    for (double sign : {1.0, -1.0}) {
      // The face's two in-plane axes, and its corners around it.
      const int u = (axis + 1) % 3, v = (axis + 2) % 3;
      double n[3] = {0, 0, 0};
      n[axis] = sign;
      const TVector3D normal(n[0], n[1], n[2]);
      const unsigned first = unsigned(s.P.size() / 3);
      for (auto [a, b] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}}) {
        double p[3];
        p[axis] = 0.5 * sign;
        p[u] = a;
        p[v] = b;
        s.Vertex(TPoint3D(p[0], p[1], p[2]), normal);
      }
      s.Triangle(first, first + 1, first + 2, normal, false);
      s.Triangle(first, first + 2, first + 3, normal, false);
    }
  // The 12 edges: along each axis, at the four corners of the other two.
  for (int axis = 0; axis < 3; ++axis)
    for (auto [a, b] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
      for (double end : {-0.5, 0.5}) {
        double p[3];
        p[axis] = end;
        p[(axis + 1) % 3] = a;
        p[(axis + 2) % 3] = b;
        s.Vertex(TPoint3D(p[0], p[1], p[2]), TVector3D());
      }
  return s;
}

template <class T> void CopyArray(TArrayOf<T>& to, const TArrayOf<T>& from)
{
  to.SetSize(from.Count, true);
  for (int i = 0; i < from.Count; ++i)
    to[i] = from[i];
  to.Count = from.Count;
}

const std::vector<double>& Identity()
{
  static std::vector<double> m;
  if (m.empty()) TMtr3D().to(m);
  return m;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TMeshData& TMeshData::operator=(const TMeshData& m)
{
  if (this == &m) return *this;
  TMeshID::operator=(m);
  CopyArray(Points, m.Points);
  CopyArray(Normals, m.Normals);
  CopyArray(TI, m.TI);
  CopyArray(EI, m.EI);
  return *this;
}

void TMeshData::Init(const double* points, const double* normals, int n, const unsigned* indices, int m)
{
  n = std::max(n, 0);
  m = std::max(m, 0);
  Points.SetSize(n, true);
  Normals.SetSize(n, true);
  TI.SetSize(m, true);
  EI.Clear();
  for (int i = 0; i < n; ++i) {
    Points[i] = TPoint3D(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
    Normals[i] = TVector3D(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2]);
  }
  for (int i = 0; i < m; ++i)
    TI[i] = int(indices[i]);
  Points.Count = Normals.Count = n;
  TI.Count = m;
}

void TMeshData::Scale(const double& sx, const double& sy, const double& sz)
{
  for (TPoint3D& p : Points) {
    p.x *= sx;
    p.y *= sy;
    p.z *= sz;
  }
}

void TMeshData::Move(TVector3D v)
{
  for (TPoint3D& p : Points)
    p += v;
}

void TMeshData::AddLine(TPoint3D a, TPoint3D b)
{
  const int k = Points.Count;
  EI.Add(2);
  EI.Add(k);
  EI.Add(k + 1);
  Points.Add(a);
  Points.Add(b);
}

void TMeshData::InitSphere()
{
  static const TShape s = MakeSphere();
  s.Load(*this);
}

void TMeshData::InitCylinder()
{
  static const TShape s = MakeCylinder();
  s.Load(*this);
}

void TMeshData::InitCone()
{
  static const TShape s = MakeCone();
  s.Load(*this);
}

void TMeshData::InitCube()
{
  static const TShape s = MakeCube();
  s.Load(*this);
}

void TMeshData::Print(TString fileName)
{
  TKmfData f;
  if (!f.MakeForWrite(fileName, true)) return;
  auto triples = [&](const char* heading, auto& a) {
    f.WriteTextLn(TString(heading));
    f.WriteTextLn(TString(" = {"));
    for (const TPoint3D& p : a)
      f.WriteTextLn(TString("  ") + TString(p.x, 3, true, 7) + TString(",") + TString(p.y, 3, true, 7) + TString(",") +
                    TString(p.z, 3, true, 7) + TString(","));
    f.WriteTextLn(TString("   }; "));
  };
  triples("// Points", Points);
  triples("// Normals", Normals);
  f.WriteTextLn(TString("// TriAngles"));
  f.WriteTextLn(TString(" = {"));
  for (int i = 0; i + 2 < TI.Count; i += 3)
    f.WriteTextLn(TString("  ") + TString(TI[i], 4) + TString(",") + TString(TI[i + 1], 4) + TString(",") +
                  TString(TI[i + 2], 4) + TString(","));
  f.WriteTextLn(TString("   }; "));
  f.Close();
}

// ---------------------------------------------------------------------------------------------

TMeshApi::TMeshApi() : Mtr(Identity()), CF(AC) {}

TMeshApi::TMeshApi(const TMeshApi& m) : TMeshID(m), CF(AC)
{
  *this = m;
}

TMeshApi& TMeshApi::operator=(const TMeshApi& m)
{
  TMeshID::operator=(m);
  if (this != &m) {
    P = m.P;
    N = m.N;
    C = m.C;
    IP = m.IP;
    IE = m.IE;
    Mtr = m.Mtr;
  }
  CF = m.CF;
  CE = m.CE;
  NonScaleble = m.NonScaleble;
  NonPickable = m.NonPickable;
  NonGeometry = m.NonGeometry;
  DisableDepthTest = m.DisableDepthTest;
  return *this;
}

TMeshApi& TMeshApi::operator=(const TMeshData& m)
{
  Clear();
  // The face colour is this mesh's own AC: an edge mesh's colour goes to CE and must leave it alone.
  Type = m.Type;
  Object = m.Object;
  Owner = m.Owner;
  Load(m);
  (m.Type == otEdge ? CE : CF) = m.AC;
  return *this;
}

void TMeshApi::Clear()
{
  P.clear();
  N.clear();
  C.clear();
  IP.clear();
  IE.clear();
}

void TMeshApi::SetOrigin(TPoint3D p)
{
  TMtr3D m;
  m.GetOrigin() = p;
  m.to(Mtr);
}

void TMeshApi::SetPolyLine(const TArrayOf<TPoint3D>& points, const TArrayOf<int>& groups)
{
  Clear();
  Mtr = Identity();
  P.reserve(std::size_t(points.Count) * 3);
  for (const TPoint3D& p : points)
    P.insert(P.end(), {float(p.x), float(p.y), float(p.z)});
  for (int g : groups)
    IE.push_back(g);
}

void TMeshApi::Load(const TMeshData& m)
{
  const int base = VertexCount();
  const int points = m.Points.Count, normals = std::min(m.Normals.Count, points);
  P.resize(P.size() + std::size_t(points) * 3);
  float* p = P.data() + P.size() - std::size_t(points) * 3;
  for (const TPoint3D& q : m.Points) {
    *p++ = float(q.x);
    *p++ = float(q.y);
    *p++ = float(q.z);
  }
  N.resize(N.size() + std::size_t(normals) * 3);
  float* n = N.data() + N.size() - std::size_t(normals) * 3;
  for (int i = 0; i < normals; ++i) {
    *n++ = float(m.Normals[i].x);
    *n++ = float(m.Normals[i].y);
    *n++ = float(m.Normals[i].z);
  }
  for (int i = normals; i < points; ++i)
    TDebug::Instance().Output(TString("I >= M.Normals.Count"));
  IP.reserve(IP.size() + std::size_t(m.TI.Count));
  for (int t : m.TI)
    IP.push_back(t + base);
  // A group whose count runs past the end of the list (or is negative) ends the walk: the polylines are
  // the mesh's own data, but a broken one must not make us read past it.
  for (int k = 0; k < m.EI.Count;) {
    const int count = m.EI[k];
    if (count < 0 || count > m.EI.Count - k - 1) break;
    IE.push_back(count);
    for (int i = 1; i <= count; ++i)
      IE.push_back(m.EI[k + i] + base);
    k += 1 + count;
  }
}

// ---------------------------------------------------------------------------------------------

TMeshDrawObjectParam& TMeshDrawObjectParam::operator=(const TMeshDrawObjectParam& p)
{
  TMeshID::operator=(p);
  Id = p.Id;
  AO = p.AO;
  return *this;
}

namespace {
using TTessellation = txapi::SmartPtr<txapi::IExternalTessellationObject>;
using TTextObject = txapi::SmartPtr<txapi::IExternalTextObject>;
} // namespace

TMeshDraw::TMeshDraw(TManager& tm, int count) : TM(tm)
{
  TMeshData cube;
  cube.InitCube();
  cube.Scale(2, 2, 2);
  V = cube;
  V.CF = TAdvColor(TColor(255), 1.0, 1.0, 1.0, 1.0, 1.0, 1.0);
  V.CE = V.CF;
  V.NonScaleble = true;
  V.DisableDepthTest = true;
  if (TM && count >= 1) ReserveCount(count);
}

TMeshDraw::~TMeshDraw()
{
  for (int i = 0; i < AObjectID.Count; ++i)
    AObjectID[i].AO = nullptr;
}

void TMeshDraw::ReserveCount(int n)
{
  if (!TM || AObjectID.Count >= n) return;
  AObjectID.SetSize(n);
  for (int i = AObjectID.Count; i < n; ++i)
    AObjectID[i] = TMeshDrawObjectParam();
  AObjectID.Count = n;
}

int TMeshDraw::IndexOf(int id) const
{
  for (int i = 0; i < AObjectID.Count; ++i)
    if (AObjectID[i].Id == id) return i;
  return -1;
}

int TMeshDraw::IndexOf(void* object) const
{
  for (int i = 0; i < AObjectID.Count; ++i)
    if (AObjectID[i].Object == object) return i;
  return -1;
}

TMeshDrawObjectParam* TMeshDraw::Get(int id)
{
  const int i = IndexOf(id);
  return i < 0 ? nullptr : &AObjectID[i];
}

txapi::SmartPtr<txapi::ITavrixAPIObject>& TMeshDraw::Add(TMeshID::TType type)
{
  if (!TM) return AObjectID[std::max(AObjectID.Count - 1, 0)].AO;
  AObjectID.Add(TMeshDrawObjectParam());
  return Add(AObjectID.Count - 1, type);
}

txapi::SmartPtr<txapi::ITavrixAPIObject>& TMeshDraw::Add(int index, TMeshID::TType type)
{
  TMeshDrawObjectParam& e = AObjectID[index];
  if (!TM) return e.AO;
  if (type == TMeshID::otText) {
    const TTextObject o = TM->CreateTextObject();
    e.AO = o;
    e.Id = o ? o->GetId() : 0;
  } else {
    const TTessellation o = TM->CreateTessellationObject();
    e.AO = o;
    e.Id = o ? o->GetId() : 0;
  }
  e.Type = type;
  return e.AO;
}

txapi::SmartPtr<txapi::IExternalTessellationObject> TMeshDraw::Add(const TMeshApi& mesh, TMeshID::TType type)
{
  const TTessellation o = Add(type);
  if (o && AObjectID.Count > 0) Set(AObjectID.Count - 1, mesh, type);
  return o;
}

txapi::SmartPtr<txapi::IExternalTextObject> TMeshDraw::Add(const TPoint3D& p, const TString& text,
                                                           TMeshID::TType type)
{
  const TTextObject o = Add(type);
  if (o && AObjectID.Count > 0) SetGDI(AObjectID.Count - 1, p, text);
  return o;
}

void TMeshDraw::Set(int index, const TMeshApi& mesh, TMeshID::TType type)
{
  if (!ValidIndex(index)) return;
  TMeshDrawObjectParam& e = AObjectID[index];
  TTessellation o = e.AO;
  if (!o) o = Add(index, type);
  if (!o) return;
  if ((type == TMeshID::otFace || type == TMeshID::othotPoint) && !mesh.IP.empty()) {
    e.TMeshID::operator=(mesh);
    e.AC = mesh.CF;
    o->SetNonPickable(false);
    o->SetTriangles(mesh.P, mesh.IP, mesh.N, mesh.C);
    o->SetOption(1, false);
    const TAdvColor& c = mesh.CF;
    o->SetColor(c.Color, c.Ambient, c.Diffuse, c.Specularity, c.Shininess, c.Transparency, c.Emission);
  } else if (type == TMeshID::otEdge && !mesh.IE.empty()) {
    e.TMeshID::operator=(mesh);
    e.AC = mesh.CE;
    o->SetPolyLines(mesh.P, mesh.IE, std::vector<unsigned>(mesh.P.size(), unsigned(mesh.CE.Color)));
    o->SetLineStyles(std::vector<int>(mesh.P.size(), 2));
  } else {
    return;
  }
  e.Id = o->GetId();
  e.Type = type;
  if (!mesh.Mtr.empty()) o->SetMatrix(mesh.Mtr);
  o->SetScaleSetting1(mesh.NonScaleble);
  o->SetScaleSetting2(mesh.NonScaleble);
  o->SetScaleSetting3(mesh.NonScaleble);
  o->SetDisableDepthTest(mesh.DisableDepthTest);
  o->SetNonPickable(mesh.NonPickable);
  o->SetVisible(true);
}

void TMeshDraw::SetGDI(int index, const TPoint3D& p, const TString& text)
{
  if (!ValidIndex(index)) return;
  const TTextObject o = AObjectID[index].AO;
  if (!o) return;
  o->SetTexts({std::wstring(text.toWideChar())}, {{p.x, p.y, p.z}}, {}, true);
  o->SetTextSetting1(1);
  o->SetTextSetting2(2);
  o->SetTextSetting3(0);
  o->SetVisible(true);
  AObjectID[index].Id = o->GetId();
}

void TMeshDraw::Visible(int index, bool show)
{
  if (!ValidIndex(index) || !AObjectID[index].AO) return;
  if (AObjectID[index].Type == TMeshID::otText) {
    if (const TTextObject o = AObjectID[index].AO) o->SetVisible(show);
  } else if (const TTessellation o = AObjectID[index].AO) {
    o->SetVisible(show);
  }
}

void TMeshDraw::SetVisible(void* owner, bool show)
{
  for (int i = 0; i < AObjectID.Count; ++i)
    if (AObjectID[i].Owner == owner) Visible(i, show);
}

void TMeshDraw::SetVisible(int id, bool show)
{
  for (int i = 0; i < AObjectID.Count; ++i)
    if (AObjectID[i].Id == id) Visible(i, show);
}

void TMeshDraw::HideAll()
{
  for (int i = 0; i < AObjectID.Count; ++i)
    Visible(i, false);
}

void TMeshDraw::Remove(int id)
{
  const int i = IndexOf(id);
  if (i < 0) return;
  Visible(i, false);
  if (TM) TM->RemoveObjects({id});
  AObjectID[i].AO = nullptr;
  AObjectID.Delete(i);
}

void TMeshDraw::Clear(int from)
{
  if (!TM || AObjectID.Count <= from) return;
  from = std::max(from, 0);
  std::vector<int> ids;
  for (int i = from; i < AObjectID.Count; ++i) {
    ids.push_back(int(AObjectID[i].Id));
    AObjectID[i].AO = nullptr;
  }
  TM->RemoveObjects(ids);
  AObjectID.Count = from;
}
