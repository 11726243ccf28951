#pragma once
// Preview meshes: the editable form (TMeshData), the form handed to the host (TMeshApi), and a command's
// display objects in the host's 3D view (TMeshDraw), known by the int id the host gives each.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IExternalTessellation.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/SmartPtr.h"

#include <cstdint>
#include <vector>

template <class T> class TColorPropertyOf
{
public:
  static constexpr T vEmpty = T(-1.0); // a coefficient that is not set

  TColor Color;
  T Ambient = vEmpty, Diffuse = vEmpty, Specularity = vEmpty, Shininess = vEmpty, Transparency = vEmpty,
    Emission = vEmpty;

  void SetCoefficients(T a, T d, T s, T sh, T t, T e)
  {
    Ambient = a;
    Diffuse = d;
    Specularity = s;
    Shininess = sh;
    Transparency = t;
    Emission = e;
  }
};

class TAdvColor : public TColorPropertyOf<double>
{
public:
  TAdvColor() = default;
  TAdvColor(TColor c, double a, double d, double s, double sh, double t, double e)
  {
    Color = c;
    SetCoefficients(a, d, s, sh, t, e);
  }
};

// What a preview shows: the kind, the model object and owner it stands for (keys, only compared) and its
// colour.
class TMeshID
{
public:
  enum TType : std::int32_t { otUndefined = 0, otFace = 1, otEdge = 2, otBody = 3, otText = 4, othotPoint = 5 };

  TType Type = otUndefined;
  void* Object = nullptr;
  void* Owner = nullptr;
  TAdvColor AC;
};

class TMeshData : public TMeshID
{
public:
  TMeshData() = default;
  TMeshData(const TMeshData& m) : TMeshID(m) { *this = m; }
  TMeshData& operator=(const TMeshData& m);

  // n points and n normals as x, y, z triples, and m triangle indices; the polylines are emptied.
  void Init(const double* points, const double* normals, int n, const unsigned* indices, int m);
  void Scale(const double& sx, const double& sy, const double& sz);
  void Move(TVector3D v);
  // A polyline group of the two points (which get no normals).
  void AddLine(TPoint3D a, TPoint3D b);
  void InitSphere();
  void InitCylinder();
  void InitCone();
  void InitCube();
  // A text dump of the points, normals and triangles; nothing when the file cannot be made.
  void Print(TString fileName);

  TArrayOf<TPoint3D> Points = TArrayOf<TPoint3D>(32, 32);
  TArrayOf<TVector3D> Normals = TArrayOf<TVector3D>(32, 32);
  TArrayOf<int> TI = TArrayOf<int>(32, 32); // triangles: vertex index triples
  TArrayOf<int> EI = TArrayOf<int>(32, 32); // polylines: a count n, then n vertex indices
};

class TMeshApi : public TMeshID
{
public:
  TMeshApi();
  TMeshApi(const TMeshApi& m);
  TMeshApi& operator=(const TMeshApi& m);
  TMeshApi& operator=(const TMeshData& m);

  // Empties the geometry; the matrix, colours and flags stay.
  void Clear();
  void SetOrigin(TPoint3D p);
  void SetPolyLine(const TArrayOf<TPoint3D>& points, const TArrayOf<int>& groups);
  // Appends m: its vertex indices shifted past the vertices already here.
  void Load(const TMeshData& m);
  int VertexCount() const { return int(P.size() / 3); }

  std::vector<float> P, N;
  std::vector<int> IP, IE;
  std::vector<unsigned> C;
  std::vector<double> Mtr;
  TAdvColor& CF; // the face colour: always this mesh's own AC
  TAdvColor CE;
  bool NonScaleble = false;
  bool NonPickable = false;
  bool NonGeometry = false;
  bool DisableDepthTest = false;
};

// One preview display object of a command.
class TMeshDrawObjectParam : public TMeshID
{
public:
  TMeshDrawObjectParam() = default;
  TMeshDrawObjectParam(const TMeshDrawObjectParam& p) : TMeshID(p), Id(p.Id), AO(p.AO) {}
  TMeshDrawObjectParam& operator=(const TMeshDrawObjectParam& p);

  long Id = 0; // the host's id; 0 for an entry without a host object
  txapi::SmartPtr<txapi::ITavrixAPIObject> AO;
};

class TMeshDraw
{
public:
  using TManager = txapi::SmartPtr<txapi::IExternalTessellationManager>;

  // tm is held by the owner; with a manager, count empty entries are made.
  TMeshDraw(TManager& tm, int count);
  ~TMeshDraw();
  TMeshDraw(const TMeshDraw&) = delete;
  TMeshDraw& operator=(const TMeshDraw&) = delete;

  void ReserveCount(int n);
  int IndexOf(int id) const;
  int IndexOf(void* object) const;
  TMeshDrawObjectParam* Get(int id);
  // A new entry with a new host object; returns its host object.
  txapi::SmartPtr<txapi::ITavrixAPIObject>& Add(TMeshID::TType type);
  // A new host object in the existing entry index.
  txapi::SmartPtr<txapi::ITavrixAPIObject>& Add(int index, TMeshID::TType type);
  txapi::SmartPtr<txapi::IExternalTessellationObject> Add(const TMeshApi& mesh, TMeshID::TType type);
  txapi::SmartPtr<txapi::IExternalTextObject> Add(const TPoint3D& p, const TString& text, TMeshID::TType type);
  // Fills entry index's object from the mesh (making one when the entry has none).
  void Set(int index, const TMeshApi& mesh, TMeshID::TType type);
  void SetGDI(int index, const TPoint3D& p, const TString& text);
  void Visible(int index, bool show);
  void SetVisible(void* owner, bool show);
  void SetVisible(int id, bool show);
  void HideAll();
  void Remove(int id);
  // Removes the entries from index from on, in one host call.
  void Clear(int from);

  int Count() const { return AObjectID.Count; }
  bool ValidIndex(int i) const { return AObjectID.ValidIndex(i); }
  txapi::SmartPtr<txapi::ITavrixAPIObject>& operator[](int i) { return AObjectID[i].AO; }
  TMeshDrawObjectParam& Item(int i) { return AObjectID[i]; }
  void*& Object(int i) { return AObjectID[i].Object; }
  void*& Owner(int i) { return AObjectID[i].Owner; }
  long& Id(int i) { return AObjectID[i].Id; }

  TAdvColor CF = TAdvColor(TColor(0x3F0000), 0.5, 0.6, 0.8, 0.8, 0.2, 0.5);
  TAdvColor CE2 = TAdvColor(TColor(0), 1.0, 1.0, 1.0, 1.0, 1.0, 1.0);
  TMeshApi V; // the built-in marker: a cube of edge 2
  TManager& TM;
  TArrayOf<TMeshDrawObjectParam> AObjectID = TArrayOf<TMeshDrawObjectParam>(16, 16);
};
