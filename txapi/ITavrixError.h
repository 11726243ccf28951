#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// The host's error state.
class ITavrixError : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e95a3c07-61d8-4b2f-8c14-a07b3e52d96f"};

  // The parameterless call that clears the host's pending error (made after every library command).
  virtual void Reset() = 0;

protected:
  ~ITavrixError() = default;
};

} // namespace txapi
