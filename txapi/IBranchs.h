#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The branches of a leader or a tolerance frame.
class IBranchs : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"757722ad-8fd6-4d8a-bfa0-5c981ee6d71d"};

  virtual void SetOrigin(double x, double y) = 0;
  // A branch ending at (x, y), inserted at position (-1: last).
  virtual void AddBranch(int position, double x, double y) = 0;

protected:
  ~IBranchs() = default;
};

} // namespace txapi
