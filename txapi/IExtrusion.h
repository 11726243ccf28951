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

protected:
  ~IExtrusion() = default;
};

} // namespace txapi
