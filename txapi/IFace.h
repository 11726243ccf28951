#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A face of a body.
class IFace : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"87aea0c7-50cf-4d79-b31b-5a718dab12cc"};

  virtual bool IsPlanar() = 0;
  // The face of a cylinder (it has an axis).
  virtual bool IsCylindrical() = 0;
  // The face of a cone (it has an axis).
  virtual bool IsConical() = 0;
  // The outward normal of a planar face; false for another face.
  virtual bool GetNormal(double& x, double& y, double& z) = 0;
  // The edges that bound the face: two faces are adjacent when they share one.
  virtual std::vector<SmartPtr<IModelObject>> GetEdges() = 0;

protected:
  ~IFace() = default;
};

} // namespace txapi
