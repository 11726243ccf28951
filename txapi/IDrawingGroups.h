#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDrawingGroup;

// The drawing groups of a 2D document.
class IDrawingGroups : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c76a14b8-a280-4e3c-98e6-7b39d5fb6bae"};

  // A new group; empty when the host makes none. A temporary group is discarded unless it is finished.
  virtual SmartPtr<IDrawingGroup> Add(bool temporary, const std::wstring& name) = 0;
  // The innermost open group; empty when none is open.
  virtual SmartPtr<IDrawingGroup> GetOpenGroup() = 0;

protected:
  ~IDrawingGroups() = default;
};

} // namespace txapi
