#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IEvolution;

// The sweep features of a container.
class IEvolutions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"c730d1bb-4ad4-4437-ae87-b2e2c4d1255a"};

  // A new feature of kind (o3d_bossEvolution, o3d_cutEvolution, o3d_EvolutionSurface); empty when the host
  // makes none.
  virtual SmartPtr<IEvolution> Add(txObj3dTypeEnum kind) = 0;

protected:
  ~IEvolutions() = default;
};

} // namespace txapi
