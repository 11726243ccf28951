#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A 2D macro object: a drawing object that owns others (it is their IDrawingContainer and
// ISymbols2DContainer) and is placed as a whole.
class IMacroObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"45111f95-565d-4b1e-90a1-8a91aacc7017"};

  virtual void SetFirstSwitch(bool on) = 0;
  virtual void SetSecondSwitch(bool on) = 0;
  // Origin and angle (degrees) of the placement; the integers are kept for the host.
  virtual void SetPlacement(double x, double y, double angle, int first, int second) = 0;
  // False when no placement was set.
  virtual bool GetPlacement(double& x, double& y, double& angle) = 0;
  // Applies what was set; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~IMacroObject() = default;
};

} // namespace txapi
