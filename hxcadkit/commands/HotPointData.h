#pragma once
// The values a hot point is bound to, and a command's list of them.
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/geometry/Mathemat3d.h"

class THotPointData
{
public:
  int Id3 = 0; // the host id of the point's marker
  TPoint3D Origin;
};

class THotPointsData : public TArrayOf<THotPointData>
{
public:
  THotPointsData() : TArrayOf<THotPointData>(16, 16) {}
};
