#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// A view arrow: the arrow that marks the direction of a view, with its designation.
class IViewPointer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7bedaaf7-d98c-4a18-89e7-13a25fb88a04"};

  virtual void SetStart(double x, double y) = 0;
  virtual void SetEnd(double x, double y) = 0;
  virtual void SetTextPoint(double x, double y) = 0;
  // Its designation; empty when the host gives none.
  virtual SmartPtr<IText> GetText() = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IViewPointer() = default;
};

} // namespace txapi
