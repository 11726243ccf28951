#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A group of 2D objects of a drawing.
class IDrawingGroup : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9bf80702-026a-4770-86a5-8039b4be76cb"};

  // A command redraws the group's contents between Open and Close; Reset drops them.
  virtual bool Open(int mode) = 0;
  virtual bool Reset() = 0;
  virtual bool Close() = 0;

protected:
  ~IDrawingGroup() = default;
};

} // namespace txapi
