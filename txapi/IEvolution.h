#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A feature made by moving a sketch along a path.
class IEvolution : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"5a990fbf-38a4-4dd3-b8d8-d5d5775d5974"};

  virtual void SetProfile(const SmartPtr<IModelObject>& sketch) = 0;
  virtual void SetSketchShiftType(txEvolutionShiftSketchTypeEnum type) = 0;
  virtual void SetOperationResult(txOperationResultEnum result) = 0;
  // The host's switch of the path's own segments.
  virtual void SetPathPartsSwitch(bool on) = 0;
  virtual void SetPath(const std::vector<SmartPtr<IModelObject>>& path) = 0;

protected:
  ~IEvolution() = default;
};

} // namespace txapi
