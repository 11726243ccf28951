#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;
class ITavrixAPIObject;

// The outline of faces seen along a direction.
class ICurveOutLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"2c4f4482-e150-4029-a171-97f23b4972ad"};

  virtual void SetFaces(const std::vector<SmartPtr<IModelObject>>& faces) = 0;
  virtual void SetDirectionType(txVector3DParametersTypeEnum type) = 0;
  // The parameters of the direction type set; query them for the type's interface.
  virtual SmartPtr<ITavrixAPIObject> GetDirectionParameters() = 0;

protected:
  ~ICurveOutLine() = default;
};

} // namespace txapi
