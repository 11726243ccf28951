#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/IProcess.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IDrawingObject;
class IViewsAndLayersManager;

// The 2D view of a drawing or fragment document, or the document through which a sketch is edited.
class ITavrixDocument2D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7e3b5d12-94af-4c06-b8e1-2f6a0d4c9b53"};

  // A new process of the type in the document.
  virtual SmartPtr<IProcess2D> NewProcess2D(txProcess2DTypeEnum type) = 0;
  // A new, empty group of drawing objects; a temporary one is dropped with the process that shows it.
  virtual SmartPtr<IDrawingGroup> NewDrawingGroup(bool temporary) = 0;
  virtual SmartPtr<IViewsAndLayersManager> GetViewsAndLayersManager() = 0;
  // The placement stack: what the document makes while placements are pushed is placed by all of them, the
  // last pushed acting first. A placement is an origin, an angle in degrees and a scale.
  virtual void PushPlacement(double x, double y, double angle, double scale) = 0;
  // False on an empty stack.
  virtual bool PopPlacement() = 0;
  // The point object of a sketch being edited at (x, y): one already within tolerance of it (other than
  // except), else a new one; empty outside a sketch.
  virtual SmartPtr<IDrawingObject> PointAt(double x, double y, double tolerance,
                                           const SmartPtr<IDrawingObject>& except) = 0;

protected:
  ~ITavrixDocument2D() = default;
};

} // namespace txapi
