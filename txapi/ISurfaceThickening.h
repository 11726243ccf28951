#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A body made by thickening surfaces; its thicknesses through IThinParameters.
class ISurfaceThickening : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"08a8e4b2-0924-497e-bc76-fc051e948d8e"};

  virtual void SetSurfaces(const std::vector<SmartPtr<IModelObject>>& surfaces) = 0;

protected:
  ~ISurfaceThickening() = default;
};

} // namespace txapi
