#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The font of a text item.
class ITextFont : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2fe36bb7-c80f-4d7a-bb0f-3113220783ea"};

  // Character height in millimetres.
  virtual void SetHeight(double height) = 0;

protected:
  ~ITextFont() = default;
};

} // namespace txapi
