#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// A datum sign: a line from the datum to the frame of its letter.
class IBase : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"413e5fb3-f33d-45b8-abcd-26e6a2267b10"};

  virtual void SetPoint1(double x, double y) = 0;
  virtual void SetPoint2(double x, double y) = 0;
  virtual void SetStyle(int style) = 0;
  // Its letter; empty when the host gives none.
  virtual SmartPtr<IText> GetText() = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IBase() = default;
};

} // namespace txapi
