#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISketches;
class IRotateds;
class IExtrusions;

// The container of a part's sketches and solid features.
class IModelContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a2bcda59-2baf-4de1-8272-e778f99e55f3"};

  virtual SmartPtr<ISketches> GetSketches() = 0;
  virtual SmartPtr<IRotateds> GetRotateds() = 0;
  virtual SmartPtr<IExtrusions> GetExtrusions() = 0;

protected:
  ~IModelContainer() = default;
};

} // namespace txapi
