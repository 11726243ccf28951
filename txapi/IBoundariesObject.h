#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDrawingObject;

// The boundary of an area object: the drawing objects that enclose it.
class IBoundariesObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"018899b4-33b1-4919-aee5-c6c244d5de6d"};

  // Adds the objects to the boundary.
  virtual void AddBoundaries(const std::vector<SmartPtr<IDrawingObject>>& objects, bool flag) = 0;

protected:
  ~IBoundariesObject() = default;
};

} // namespace txapi
