#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IEdge;
class IMathSurface3D;

// A face of a body.
class IFace : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b1d98963-1828-4b47-ae17-312e8ecebfb5"};

  // The edges that bound the face.
  virtual std::vector<SmartPtr<IEdge>> GetEdges() = 0;
  virtual bool IsPlanar() = 0;
  // The face of a cylinder (it has an axis).
  virtual bool IsCylindrical() = 0;
  // The face of a cone (it has an axis).
  virtual bool IsConical() = 0;
  // The outward normal of a planar face; false for another face.
  virtual bool GetNormal(double& x, double& y, double& z) = 0;
  // The face of a sphere (it has a radius).
  virtual bool IsSpherical() = 0;
  virtual SmartPtr<IMathSurface3D> GetMathSurface() = 0;

protected:
  ~IFace() = default;
};

} // namespace txapi
