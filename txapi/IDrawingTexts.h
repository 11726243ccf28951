#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDrawingText;

// The free texts of a drawing container.
class IDrawingTexts : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9833d7ed-179b-4aea-ae4d-d6471fe84531"};

  // A new text, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IDrawingText> Add() = 0;

protected:
  ~IDrawingTexts() = default;
};

} // namespace txapi
