#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A group of 2D objects of a drawing.
class IDrawingGroup : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9bf80702-026a-4770-86a5-8039b4be76cb"};

  // While the group is open, the objects the document makes become its members.
  virtual void Open() = 0;
  virtual void Close() = 0;

protected:
  ~IDrawingGroup() = default;
};

} // namespace txapi
