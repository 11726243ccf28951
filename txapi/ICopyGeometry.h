#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILocalCoordinateSystem;
class IModelObject;
class ITavrixDocument3D;

// A copy of model objects, of this part or of another document.
class ICopyGeometry : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"706ebe74-e59a-4ebe-9017-3efddabba1d5"};

  // The source in one call: the document, an object of it and the objects to copy.
  virtual void SetSource(const SmartPtr<ITavrixDocument3D>& document, const SmartPtr<IModelObject>& object,
                         const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetLocalCoordinateSystem(const SmartPtr<ILocalCoordinateSystem>& lcs) = 0;

protected:
  ~ICopyGeometry() = default;
};

} // namespace txapi
