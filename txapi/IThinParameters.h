#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The thickness of a thin-walled feature.
class IThinParameters : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"63ac42fb-afb2-492a-92b2-bda6408a4cc8"};

  // Which side is thickened: 0 or 1.
  virtual void SetThinType(int direction) = 0;
  // The thickness on side 0 or 1.
  virtual void SetThickness(int direction, double thickness) = 0;

protected:
  ~IThinParameters() = default;
};

} // namespace txapi
