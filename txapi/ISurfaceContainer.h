#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IEquidistantSurfaces;
class IEvolutions;
class IExtrusions;
class IFaceRemovers;
class IRotateds;
class IRuledSurfaces;
class ISurfacePatches;
class ISurfaceSewers;
class ITrimmedSurfaces;

// The container of a part's surfaces and of the surface operations on them.
class ISurfaceContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"007850cc-8f40-4d41-a55b-af8ff00bf5b9"};

  virtual SmartPtr<IExtrusions> GetExtrusions() = 0;
  virtual SmartPtr<IRotateds> GetRotateds() = 0;
  virtual SmartPtr<IEvolutions> GetEvolutions() = 0;
  virtual SmartPtr<ISurfacePatches> GetSurfacePatches() = 0;
  virtual SmartPtr<IRuledSurfaces> GetRuledSurfaces() = 0;
  virtual SmartPtr<IEquidistantSurfaces> GetEquidistantSurfaces() = 0;
  virtual SmartPtr<ITrimmedSurfaces> GetTrimmedSurfaces() = 0;
  virtual SmartPtr<IFaceRemovers> GetFaceRemovers() = 0;
  virtual SmartPtr<ISurfaceSewers> GetSurfaceSewers() = 0;

protected:
  ~ISurfaceContainer() = default;
};

} // namespace txapi
