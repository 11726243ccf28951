#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISpecRough;
class ITechnicalDemand;

// What a drawing or fragment has beyond its views: the technical requirements.
class IDrawingDocument : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"76aa449a-cccc-4e67-b987-5e6ec505ff7a"};

  // Empty when the host gives none.
  virtual SmartPtr<ITechnicalDemand> GetTechnicalDemand() = 0;
  // The roughness sign in the corner of the sheet; empty when the host gives none.
  virtual SmartPtr<ISpecRough> GetSpecRough() = 0;

protected:
  ~IDrawingDocument() = default;
};

} // namespace txapi
