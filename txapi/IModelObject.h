#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The common view of every object of a 3D document.
class IModelObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6f2e4131-ab5a-4def-b31b-457c6d388383"};

protected:
  ~IModelObject() = default;
};

} // namespace txapi
