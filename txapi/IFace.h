#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IEdge;

// A face of a body.
class IFace : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b1d98963-1828-4b47-ae17-312e8ecebfb5"};

  // The edges that bound the face.
  virtual std::vector<SmartPtr<IEdge>> GetEdges() = 0;

protected:
  ~IFace() = default;
};

} // namespace txapi
