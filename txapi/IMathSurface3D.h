#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The mathematical surface of a face.
class IMathSurface3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4e51046f-9881-4999-b55d-fa8ea1f57b65"};

  // The radius of a surface of revolution or a sphere; 0 for a surface that has none.
  virtual double GetRadius() = 0;

protected:
  ~IMathSurface3D() = default;
};

} // namespace txapi
