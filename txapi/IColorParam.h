#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The colour and optical properties of a model object.
class IColorParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3e2e397f-7236-4b1d-af4b-f78712f0a245"};

  // color is 0x00BBGGRR; the others are the host's coefficients, set in one call.
  virtual void SetColorParams(int color, double ambient, double diffuse, double specularity, double shininess,
                              double transparency, double emission) = 0;

protected:
  ~IColorParam() = default;
};

} // namespace txapi
