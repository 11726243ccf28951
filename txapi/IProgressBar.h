#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The host's progress bar: a run from low to high.
class IProgressBar : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"93eeb605-b1b1-4906-a436-571a6b2d9d27"};

  virtual void Start(int low, int high) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void Stop() = 0;

protected:
  ~IProgressBar() = default;
};

} // namespace txapi
