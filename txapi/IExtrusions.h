#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IExtrusion;

// The extrusion features of a container.
class IExtrusions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e3f92c6b-cd2c-4431-bb03-df098f070ffd"};

  // A new feature of kind (o3d_bossExtrusion, o3d_cutExtrusion, o3d_ExtrusionSurface); empty when the host
  // makes none.
  virtual SmartPtr<IExtrusion> Add(txObj3dTypeEnum kind) = 0;

protected:
  ~IExtrusions() = default;
};

} // namespace txapi
