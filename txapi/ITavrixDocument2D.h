#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/IProcess.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The 2D view of a drawing or fragment document.
class ITavrixDocument2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7e3b5d12-94af-4c06-b8e1-2f6a0d4c9b53"};

  // A new process of the type in the document.
  virtual SmartPtr<IProcess2D> NewProcess2D(txProcess2DTypeEnum type) = 0;
  // A new, empty group of drawing objects; a temporary one is dropped with the process that shows it.
  virtual SmartPtr<IDrawingGroup> NewDrawingGroup(bool temporary) = 0;

protected:
  ~ITavrixDocument2D() = default;
};

} // namespace txapi
