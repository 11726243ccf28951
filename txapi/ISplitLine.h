#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class IFace;
class IModelObject;

// A split line: faces divided along the traces of cutting objects.
class ISplitLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"313fd0a6-f75f-42a3-aa80-78b9306b8f40"};

  virtual void SetFaces(const std::vector<SmartPtr<IFace>>& faces) = 0;
  virtual void SetCuttingObjects(const std::vector<SmartPtr<IModelObject>>& objects) = 0;
  virtual void SetDirection(txDirectionTypeEnum direction) = 0;

protected:
  ~ISplitLine() = default;
};

} // namespace txapi
