#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IUserObject3D;

// A part's objects of libraries.
class IUserObjects3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7dce8ac3-c53b-4d92-9547-8b6a5277eeca"};

  // A new object of kind (o3d_UserObjectOperation, o3d_UserWireFrame3D); empty when the host makes none.
  virtual SmartPtr<IUserObject3D> Add(txObj3dTypeEnum kind) = 0;

protected:
  ~IUserObjects3D() = default;
};

} // namespace txapi
