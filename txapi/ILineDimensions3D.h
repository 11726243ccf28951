#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IBaseLineDimension3D;

// The 3D linear dimensions of a part.
class ILineDimensions3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"00e3d7ea-77fb-41af-aa2e-29d9c69eed82"};

  // A new dimension of kind (o3d_baselineDimension3D); empty when the host makes none.
  virtual SmartPtr<IBaseLineDimension3D> Add(txObj3dTypeEnum kind) = 0;

protected:
  ~ILineDimensions3D() = default;
};

} // namespace txapi
