#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// A surface at a distance from faces or surfaces.
class IEquidistantSurface : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4ba9e60b-fb31-44cd-974c-73c7e7851c98"};

  virtual void SetBaseObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetDirection(bool reverse) = 0;
  virtual void SetDistance(double distance) = 0;

protected:
  ~IEquidistantSurface() = default;
};

} // namespace txapi
