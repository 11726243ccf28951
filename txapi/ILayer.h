#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A layer of a view.
class ILayer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b31abdda-c9d5-4a59-a954-ec1b3e1ceca9"};

  // Makes the layer the one new objects go to.
  virtual void MakeCurrent() = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ILayer() = default;
};

} // namespace txapi
