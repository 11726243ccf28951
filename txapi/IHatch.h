#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A hatch: its pattern is its IHatchParam view, its boundary its IBoundariesObject view.
class IHatch : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"921154a1-db50-4873-b4ee-e4c4662fbd77"};

  virtual void SetSwitch(bool on) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IHatch() = default;
};

} // namespace txapi
