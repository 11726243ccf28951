#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITavrixAPIObject;

// A surface ruled between two chains.
class IRuledSurface : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"175b1b89-98e3-4471-9b33-c9732ed31318"};

  virtual void SetBuildingType(txRuledSurfaceBuildingTypeEnum type) = 0;
  // The parameters of the building type set; query them for the type's interface.
  virtual SmartPtr<ITavrixAPIObject> GetParameters() = 0;

protected:
  ~IRuledSurface() = default;
};

} // namespace txapi
