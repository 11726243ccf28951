#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A body of a part.
class IBody : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"24f01461-27b9-4a9b-ad67-1eb75d3cbfd0"};

  // The faces that bound the body.
  virtual std::vector<SmartPtr<IModelObject>> GetFaces() = 0;

protected:
  ~IBody() = default;
};

} // namespace txapi
