#pragma once
// The values a hot point is bound to, and a command's list of them.
#include "hxcadkit/commands/MeshDraw.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TPointer.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <cstdint>

// One to three doubles of a command, edited by dragging a marker at Origin; each bound value keeps its
// caption in Comment.
class THotPointData : public TArrayOf<TIdVariable>, public TAdvColor
{
public:
  enum TState : std::int32_t { stActive = 0, stReadOnly = 1, stRemoved = 2 };

  THotPointData() : TArrayOf<TIdVariable>(8, 8) {}
  THotPointData(const THotPointData& d) : TArrayOf<TIdVariable>(8, 8), TAdvColor(d) { *this = d; }
  // Copies the state, Id3, Origin, Caption and the bound values; not the colour, not Obj.
  THotPointData& operator=(const THotPointData& d);

  void Set(const TPoint3D& O, double& value, const TString& caption);
  void Set(const double& x, const double& y, const double& z, double& v1, const TString& c1, double* v2 = nullptr,
           const TString* c2 = nullptr, double* v3 = nullptr, const TString* c3 = nullptr);
  void Set(const TPoint3D& O, double& v1, const TString& c1, double& v2, const TString& c2);
  void Set(const TPoint3D& O, double& v1, const TString& c1, double& v2, const TString& c2, double& v3,
           const TString& c3);
  // Binds x, y (and z when given), captioned by their registered comments; State stays.
  void SetData(double& x, double& y, double* z = nullptr);
  // Bound to the same variables, in the same order (captions and places do not count).
  bool ItSameData(const THotPointData& d) const;

  TState State = stActive;
  int Id3 = 0; // the id of the marker's display object
  TPoint3D Origin;
  TString Caption;
  txapi::SmartPtr<txapi::IAPIObject> Obj;

private:
  void Bind(double& v, const TString& caption);
};

class THotPointsData : public TArrayOf<THotPointData>
{
public:
  THotPointsData() : TArrayOf<THotPointData>(16, 16) {}

  void MarkRemoved();
  int IndexData(const THotPointData& d) const;
  THotPointData* GetId(int id);
  // Lists (or reactivates) the hot point of the pair x, y, standing at (x, y, z).
  void Add2D(double& x, double& y, const double& z);
  // The same for the values x, y and v.
  void Add2DV(double& x, double& y, const double& z, double& v);

private:
  void Add2D(THotPointData& d, void* titled, const TPoint3D& at, int step);
};
