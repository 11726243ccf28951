#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A direction given by its three coefficients.
class IVector3DByCoefficientsParameters : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"64636ab7-9721-4cd4-8755-04970971a89e"};

  virtual void SetCoefficients(double x, double y, double z) = 0;

protected:
  ~IVector3DByCoefficientsParameters() = default;
};

} // namespace txapi
