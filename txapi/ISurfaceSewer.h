#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IModelObject;

// Faces sewn into one surface or body.
class ISurfaceSewer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"3eea8d64-ef01-457b-8a8b-f4800d6a336e"};

  virtual void SetFaces(const std::vector<SmartPtr<IModelObject>>& faces) = 0;
  virtual void SetCreateBody(bool body) = 0;

protected:
  ~ISurfaceSewer() = default;
};

} // namespace txapi
