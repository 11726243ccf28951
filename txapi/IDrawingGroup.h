#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A group of 2D objects of a drawing: while it is open, the objects the document makes join it; a
// command redraws its contents between Open and Close.
class IDrawingGroup : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a9947b7a-3e85-49cd-bea0-c6341ba0828c"};

  // While the group is open, the objects the document makes become its members.
  virtual bool Open(int mode) = 0;
  // Drops the group's contents.
  virtual bool Reset() = 0;
  virtual bool Close() = 0;

protected:
  ~IDrawingGroup() = default;
};

} // namespace txapi
