#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILayer;

// The layers of a view.
class ILayers : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c6ac4a7a-7bb7-45b2-955d-33567e0e4e28"};

  // The layer numbered number; empty when there is none.
  virtual SmartPtr<ILayer> GetLayer(int number) = 0;
  // A layer the host chooses (the current one, or a new one).
  virtual SmartPtr<ILayer> GetLayer() = 0;

protected:
  ~ILayers() = default;
};

} // namespace txapi
