#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// A view of a 2D document; its drawing objects are made through its IDrawingContainer.
class IView : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1a383be7-c4ca-4907-8f86-c835fa911815"};

  virtual int GetNumber() = 0;
  virtual std::wstring GetName() = 0;

protected:
  ~IView() = default;
};

} // namespace txapi
