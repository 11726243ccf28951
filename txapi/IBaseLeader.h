#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// What every kind of leader shares.
class IBaseLeader : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ae906262-4e11-48a4-a4c8-71f583ee8710"};

  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IBaseLeader() = default;
};

} // namespace txapi
