#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A chain of edges and curves as one curve.
class IContour3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e588046b-852f-426f-b526-af1b0a8d67c1"};

  virtual void SetSegments(const std::vector<SmartPtr<IModelObject>>& segments) = 0;

protected:
  ~IContour3D() = default;
};

} // namespace txapi
