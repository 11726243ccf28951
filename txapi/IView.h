#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// A view of a 2D document; its drawing objects are made through its IDrawingContainer. Its position is
// in millimetres on the sheet, its angle in degrees; what it holds is drawn at its scale.
class IView : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1a383be7-c4ca-4907-8f86-c835fa911815"};

  virtual int GetNumber() = 0;
  virtual std::wstring GetName() = 0;
  virtual void SetX(double x) = 0;
  virtual void SetY(double y) = 0;
  virtual void SetScale(double scale) = 0;
  virtual void SetAngle(double angle) = 0;
  // The integer attribute the adapter sets on every view it makes (the host keeps it as the view's
  // colour, 0x00BBGGRR).
  virtual void SetColor(int color) = 0;
  virtual void SetName(const std::wstring& name) = 0;
  virtual void SetNumber(int number) = 0;

protected:
  ~IView() = default;
};

} // namespace txapi
