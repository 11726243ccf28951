#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The mathematical curve of an edge.
class IMathCurve3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"76679dc4-fa19-425c-8dd7-fb7b276d46d9"};

  virtual txMathCurve3DTypeEnum GetType() = 0;
  // The radius of a circle or an arc; 0 for another curve.
  virtual double GetRadius() = 0;

protected:
  ~IMathCurve3D() = default;
};

} // namespace txapi
