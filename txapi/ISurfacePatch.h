#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A surface bounded by a chain of edges or curves.
class ISurfacePatch : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e345ebdd-bb19-4633-bc9b-434066c86f00"};

  virtual void SetEdges(const std::vector<SmartPtr<IModelObject>>& edges) = 0;

protected:
  ~ISurfacePatch() = default;
};

} // namespace txapi
