#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A leader with a shelf; its branches are its IBranchs view, its text its IText view.
class ILeader : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b6b3f5ca-7ed1-43ad-b598-e7f3cb424ed3"};

  virtual void SetShelfDirection(txShelfDirectionEnum direction) = 0;

protected:
  ~ILeader() = default;
};

} // namespace txapi
