#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IRotated;

// The rotation features of a container.
class IRotateds : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fbc1bd7a-e49e-4671-9bcc-3423d6881f14"};

  // A new feature of kind (o3d_bossRotated, o3d_cutRotated, o3d_RotatedSurface); empty when the host makes none.
  virtual SmartPtr<IRotated> Add(txObj3dTypeEnum kind) = 0;

protected:
  ~IRotateds() = default;
};

} // namespace txapi
