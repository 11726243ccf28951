#pragma once

#include <vector>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILineDimensions3D;
class IThreads;
class IDimension3D;
class IVariable;
class IModelObject;

// The container of a part's 3D designations and dimensions.
class ISymbols3DContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"17c0a8c4-b956-4f94-b9e4-b020a5820c11"};

  // Makes the dimensions that generate each object (a sketch's or a feature's); false when it makes none.
  virtual bool CreateGenerativeDimensions(const std::vector<SmartPtr<IModelObject>>& objects, bool all) = 0;
  virtual SmartPtr<ILineDimensions3D> GetLineDimensions3D() = 0;
  virtual SmartPtr<IThreads> GetThreads() = 0;
  // The model variable that drives the dimension; empty when none does.
  virtual SmartPtr<IVariable> GetDimensionVariable(const SmartPtr<IDimension3D>& dimension) = 0;

protected:
  ~ISymbols3DContainer() = default;
};

} // namespace txapi
