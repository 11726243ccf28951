#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITable;

// The frame of a form tolerance: its layout and its table of cells.
class IToleranceParam : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"6d304e46-7716-4dda-b089-c6267ade0a37"};

  virtual void SetLayout(int layout) = 0;
  // Empty when the host gives none.
  virtual SmartPtr<ITable> GetTable() = 0;

protected:
  ~IToleranceParam() = default;
};

} // namespace txapi
