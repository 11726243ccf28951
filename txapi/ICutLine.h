#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// A cut line with its arrows and designation.
class ICutLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"f04a9651-b73e-456c-b3a9-a8570ed77b45"};

  virtual void SetDirection(bool left) = 0;
  virtual void SetPoints(double x1, double y1, double x2, double y2) = 0;
  virtual void SetSwitch(bool on) = 0;
  // The designation; empty when the host gives none.
  virtual SmartPtr<IText> GetText() = 0;
  // The points of the line, x then y of each.
  virtual void SetPointsArray(const std::vector<double>& points) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ICutLine() = default;
};

} // namespace txapi
