#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// What a roughness sign shows; the meaning of the switches and the length is the host's.
class IRoughParams : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3eba001a-efea-472e-bb08-09bf298ff4f2"};

  virtual void SetSignType(txRoughSignEnum type) = 0;
  virtual void SetSwitchA(int on) = 0;
  virtual void SetSwitchB(int on) = 0;
  virtual void SetLength(double length) = 0;
  // In degrees.
  virtual void SetAngle(double angle) = 0;
  // Text 0, 1 or 2 (the first is the roughness value); empty for any other index or when the host gives none.
  virtual SmartPtr<IText> GetText(int index) = 0;

protected:
  ~IRoughParams() = default;
};

} // namespace txapi
