#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IParametricConstraint;
class ITavrixAPIObject;

// The common view of every object of a 2D document or sketch.
class IDrawingObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1d719243-642c-46c1-9dd7-a55ba4398ddb"};

  // Its DrawingObjectTypeEnum.
  virtual int GetType() = 0;
  // What holds it (a view, a macro object); empty when nothing does.
  virtual SmartPtr<ITavrixAPIObject> GetParent() = 0;
  // Takes the object out of its document.
  virtual void Delete() = 0;
  // Readies the object for new parametric constraints; called before they are asked for.
  virtual bool PrepareConstraints() = 0;
  // A new parametric constraint owned by the object, not yet created; empty when it takes none.
  virtual SmartPtr<IParametricConstraint> NewConstraint() = 0;

protected:
  ~IDrawingObject() = default;
};

} // namespace txapi
