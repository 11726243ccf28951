#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// The parameters of a ruled surface built between two chains of curves.
class IRuledSurfaceParametersByCurves : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"af2507ba-2907-4d10-9608-30b60db413e5"};

  virtual void SetCurves1(const std::vector<SmartPtr<IModelObject>>& curves) = 0;
  virtual void SetCurves2(const std::vector<SmartPtr<IModelObject>>& curves) = 0;
  // The host's switch of the chains' sense.
  virtual void SetSenseSwitch(bool on) = 0;

protected:
  ~IRuledSurfaceParametersByCurves() = default;
};

} // namespace txapi
