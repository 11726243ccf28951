#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILeader;

// The leaders of a symbols container.
class ILeaders : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"eb90325d-b524-499e-9f22-a876a2141c62"};

  // A new leader of the type (DrawingObjectTypeEnum), created and not yet applied; empty when the host makes
  // none.
  virtual SmartPtr<ILeader> Add(int type) = 0;

protected:
  ~ILeaders() = default;
};

} // namespace txapi
