#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IDrawingObject;
class IModelObject;
class ITavrixDocument2D;

// A sketch of a part: a plane, an angle on it, and the curves drawn while it is edited.
class ISketch : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"b05a4fb3-5906-4e9c-8368-a566ffa70a01"};

  // The plane the sketch lies on (a standard or an auxiliary plane).
  virtual void SetPlane(const SmartPtr<IModelObject>& plane) = 0;
  virtual SmartPtr<IModelObject> GetPlane() = 0;
  // The sketch's turn on its plane, in degrees.
  virtual void SetAngle(double angle) = 0;
  virtual double GetAngle() = 0;
  // Starts editing: the 2D document through which curves are drawn into the sketch (its view 0); empty when
  // the sketch is not applied yet.
  virtual SmartPtr<ITavrixDocument2D> BeginEdit() = 0;
  // Ends the editing; false when the sketch was not being edited.
  virtual bool EndEdit() = 0;
  // Projects a model object into the sketch while it is edited; the drawing objects made (none outside
  // editing or for an object that has no projection).
  virtual std::vector<SmartPtr<IDrawingObject>> Project(const SmartPtr<IModelObject>& object) = 0;

protected:
  ~ISketch() = default;
};

} // namespace txapi
