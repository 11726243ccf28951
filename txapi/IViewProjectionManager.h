#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IViewProjection;

enum txViewProjectionType : int {
  txVPNone = -1,
  txVPNormalTo = 0,
  txVPFront = 1,
  txVPRear = 2,
  txVPUp = 3,
  txVPDown = 4,
  txVPLeft = 5,
  txVPRight = 6,
  txVPIsometric = 7,
  txVPDimetric = 8,
  txVPUnfold = 9,
  txVPUser = 10,
};

// The projections of a 3D document's window.
class IViewProjectionManager : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fcabcb6f-8c52-446c-97fd-9540522cd7b6"};

  // The standard projection of the type; empty for a type that has none.
  virtual SmartPtr<IViewProjection> GetStandardProjection(txViewProjectionType type) = 0;
  virtual SmartPtr<IViewProjection> NewProjection() = 0;

protected:
  ~IViewProjectionManager() = default;
};

} // namespace txapi
