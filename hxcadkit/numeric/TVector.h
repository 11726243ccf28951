#pragma once
// Records of the triangle tests and linear algebra.
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Mathemat3d.h"

// One triangle of a tessellated surface, with its normal and bounds.
struct T3dTriangle
{
  Integer IndexSurface = 0;
  TPoint3D A, B, C; // vertices
  TVector3D vN;     // normal
  Real h = 0;
  Real maxX = 0, minX = 0;
  Real MaxY = 0, MinY = 0;
  Real MaxZ = 0, MinZ = 0;
  Real PV = 0;
};
