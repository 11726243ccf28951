#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IModelObject;

// A feature made by pushing sketches along their plane's normal.
class IExtrusion : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4890cc65-547d-48d8-9f6c-3385eed01aa1"};

  virtual void SetProfiles(const std::vector<SmartPtr<IModelObject>>& sketches) = 0;
  virtual void SetDirectionType(txDirectionTypeEnum direction) = 0;
  // The depth of side 0 (forward) or 1 (reverse).
  virtual void SetSideDepth(int side, double depth) = 0;
  // How side 0 or 1 ends: end type, signed depth, taper angle (degrees) with its direction (true: the
  // section grows), and the bounding object of end types that need one.
  virtual void SetSideParameters(int side, txEndTypeEnum end, double depth, double taper, bool taperOutward,
                                 const SmartPtr<IModelObject>& bound) = 0;

protected:
  ~IExtrusion() = default;
};

} // namespace txapi
