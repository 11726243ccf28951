#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// Faces taken out of a body or surface.
class IFaceRemover : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e2b05d93-e238-4c97-9a38-4c422b505b1e"};

  virtual void SetFaces(const std::vector<SmartPtr<IModelObject>>& faces) = 0;

protected:
  ~IFaceRemover() = default;
};

} // namespace txapi
