#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IViews;

// The views and layers of a 2D document.
class IViewsAndLayersManager : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a6d01646-fa96-4c5e-98d8-8629066362f3"};

  virtual SmartPtr<IViews> GetViews() = 0;

protected:
  ~IViewsAndLayersManager() = default;
};

} // namespace txapi
