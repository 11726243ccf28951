#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>
#include <vector>

namespace txapi {

class IDrawingObject;

// A parametric constraint that a drawing object hands out: set up, then created on its owner. Point indexes
// name an object's characteristic points (for a segment 0 is its start, 1 its end).
class IParametricConstraint : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0c51e2dc-57ac-4440-af10-4ac5df50ac8c"};

  // The kind, as a code of txConstraintTypeEnum.
  virtual void SetConstraintType(int type) = 0;
  // The owner's point.
  virtual void SetIndex(int index) = 0;
  // The objects the owner is tied to, and their point.
  virtual void SetPartner(const std::vector<SmartPtr<IDrawingObject>>& partners) = 0;
  virtual void SetPartnerIndex(int index) = 0;
  // What a driving constraint's value follows, and the name of the variable it drives.
  virtual void SetExpression(const std::wstring& expression) = 0;
  virtual void SetVariableName(const std::wstring& name) = 0;
  // Puts the constraint on its owner; false when the host refuses it.
  virtual bool Create() = 0;

protected:
  ~IParametricConstraint() = default;
};

} // namespace txapi
