#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IFace;

// An edge of a body.
class IEdge : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"82c97311-2591-4b07-8442-e2a4c5a1ee00"};

  // The faces the edge bounds.
  virtual std::vector<SmartPtr<IFace>> GetFaces() = 0;

protected:
  ~IEdge() = default;
};

} // namespace txapi
