#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// Surfaces cut by objects, one side kept.
class ITrimmedSurface : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"27d6421a-e4bd-45f2-ba5e-8aa54001f976"};

  virtual void SetSurfaces(const std::vector<SmartPtr<IModelObject>>& surfaces) = 0;
  virtual void SetCuttingObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetSense(bool sense) = 0;

protected:
  ~ITrimmedSurface() = default;
};

} // namespace txapi
