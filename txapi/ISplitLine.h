#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IFace;
class IModelObject;

// Faces split along cutting objects.
class ISplitLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"dd8f1885-04c9-44cc-9b19-7c854f9db643"};

  virtual void SetFaces(const std::vector<SmartPtr<IFace>>& faces) = 0;
  virtual void SetCuttingObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetSplitDirection(txDirectionTypeEnum direction) = 0;

protected:
  ~ISplitLine() = default;
};

} // namespace txapi
