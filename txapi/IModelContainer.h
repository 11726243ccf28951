#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISketches;
class IRotateds;
class IExtrusions;
class IEvolutions;
class IBilletsObsoletes;
class IBooleans;
class IMacroObjects3D;
class ICopiesGeometry;
class ISurfaceThickenings;
class IScalings3D;
class IUserObjects3D;

// The container of a part's sketches and solid features.
class IModelContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"a2bcda59-2baf-4de1-8272-e778f99e55f3"};

  virtual SmartPtr<ISketches> GetSketches() = 0;
  virtual SmartPtr<IRotateds> GetRotateds() = 0;
  virtual SmartPtr<IExtrusions> GetExtrusions() = 0;
  virtual SmartPtr<IEvolutions> GetEvolutions() = 0;
  virtual SmartPtr<IBilletsObsoletes> GetBilletsObsoletes() = 0;
  virtual SmartPtr<IBooleans> GetBooleans() = 0;
  virtual SmartPtr<IMacroObjects3D> GetMacroObjects3D() = 0;
  virtual SmartPtr<ICopiesGeometry> GetCopiesGeometry() = 0;
  virtual SmartPtr<ISurfaceThickenings> GetSurfaceThickenings() = 0;
  virtual SmartPtr<IScalings3D> GetScalings3D() = 0;
  virtual SmartPtr<IUserObjects3D> GetUserObjects3D() = 0;

protected:
  ~IModelContainer() = default;
};

} // namespace txapi
