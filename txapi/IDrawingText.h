#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// A free text of a drawing: an anchor, an angle (degrees) and lines of text.
class IDrawingText : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c08c6962-0e63-4c6c-8bfe-68f97c11e0d3"};

  virtual void SetPosition(double x, double y) = 0;
  virtual void SetAngle(double angle) = 0;
  // Its lines; empty when the host gives none.
  virtual SmartPtr<IText> GetText() = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IDrawingText() = default;
};

} // namespace txapi
