#pragma once
// The live markers of a command's hot points in the 3D view: picking one with the mouse ray, dragging it
// along its direction and snapping the values it edits.
#include "hxcadkit/commands/HotPointData.h"
#include "hxcadkit/commands/MeshDraw.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "txapi/IExternalTessellation.h"

class TBaseManager;

class THotPoint : public THotPointData
{
public:
  THotPoint();
  THotPoint(const THotPoint& h) : THotPoint() { *this = h; }
  ~THotPoint() override;
  THotPoint& operator=(const THotPoint& h);
  // Storage moves take the marker's object along, so that the old slot does not close it.
  THotPoint& operator=(THotPoint&& h);

  // Places the marker's object at Origin in the marker's colour; false without one.
  bool Update2();
  void SetVisible(bool show);
  // Whether the ray through P along V passes within 2 / scale of Origin.
  bool Pick2(const TPoint3D& P, const TVector3D& V, const double& scale) const;
  // Snaps value to a multiple of step once it has moved more than half a step from start; otherwise puts
  // start back and answers false.
  bool AllowDiskrete2(const double& start, double& value, const double& step) const;
  // Where the line through O along V, seen in the frame M, meets M's xy plane; false when parallel.
  bool DirectPointProjection2(const TPoint3D& O, const TVector3D& V, const TMtr3D& M, TPoint2D& q) const;
  // Whether the ray has been dragged more than half a unit along Direction from the marker.
  bool Move2(const TPoint3D& P, const TVector3D& V, const TVector3D& W, const double& scale) const;

  txapi::SmartPtr<txapi::IExternalTessellationObject> Obj;
  TVector3D Direction;

private:
  void CopyLook(const THotPoint& h);
};

class THotPoints : public TArrayOf<THotPoint>
{
public:
  THotPoints() : TArrayOf<THotPoint>(16, 16) {}

  // Activates the first marker the ray hits.
  bool FindActive(const TPoint3D& P, const TVector3D& V, double scale);
  void SetActive(int i);
  bool Make(int type, const TPoint3D& O);
  // A marker for d; false (nothing appended) when d binds nothing.
  bool Make(const THotPointData& d);
  void toModelData(THotPointsData& D) const;
  // A marker for every record of D; the first becomes active.
  void fromModelData(const THotPointsData& D);
  void RemoveAll();

  TBaseManager* Editor = nullptr;
  TMeshApi Mesh;
  TColor PassiveColor;
  TColor ActiveColor;
  int ActiveIndex = -1;

private:
  void Show(THotPoint& h, bool pickable);
  void Paint(int i, TColor c);
};
