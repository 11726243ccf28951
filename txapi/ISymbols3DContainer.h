#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILineDimensions3D;
class IModelObject;

// The container of a part's 3D designations and dimensions.
class ISymbols3DContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7adf41d8-440d-4ee6-b20f-1bccf542e362"};

  // Makes the dimensions that generate each object (a sketch's or a feature's); false when it makes none.
  virtual bool CreateGenerativeDimensions(const std::vector<SmartPtr<IModelObject>>& objects, bool all) = 0;
  virtual SmartPtr<ILineDimensions3D> GetLineDimensions3D() = 0;

protected:
  ~ISymbols3DContainer() = default;
};

} // namespace txapi
