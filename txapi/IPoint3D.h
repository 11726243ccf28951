#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A control point of auxiliary geometry.
class IPoint3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0e1562eb-8ab0-4a68-ac3f-5f9313627049"};

  virtual void SetPoint(double x, double y, double z) = 0;
  virtual void SetSymbol(txAnnotationSymbolEnum symbol) = 0;

protected:
  ~IPoint3D() = default;
};

} // namespace txapi
