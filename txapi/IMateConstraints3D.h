#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IMateConstraint3D;

// The mates of an assembly document.
class IMateConstraints3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a987ef28-c76d-42a3-b4d9-75cbbde3e34d"};

  virtual int GetCount() = 0;
  virtual SmartPtr<IMateConstraint3D> GetItem(int index) = 0;
  // A new mate of the kind, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IMateConstraint3D> Add(MateConstraintType kind) = 0;
  // Takes the mate out of the document; false when it is not one of these.
  virtual bool Remove(const SmartPtr<IMateConstraint3D>& mate) = 0;

protected:
  ~IMateConstraints3D() = default;
};

} // namespace txapi
