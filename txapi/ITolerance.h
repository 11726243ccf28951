#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A form tolerance frame. Its leader is its IBranchs, its table its IToleranceParam.
class ITolerance : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a7345262-187f-4e03-809e-bb5bb2e969d9"};

  // Two settings of the frame, each at position 0 or 1; their meaning is the host's.
  virtual void SetP(int position, int value) = 0;
  virtual void SetQ(int position, int value) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ITolerance() = default;
};

} // namespace txapi
