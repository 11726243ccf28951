#pragma once

#include <cstdint>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// An area filled with one colour; its boundary is its IBoundariesObject view.
class IColouring : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0182050e-5c9e-44c3-9a49-3b6b688bcd75"};

  virtual void SetColor(std::uint32_t color) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IColouring() = default;
};

} // namespace txapi
