#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A leader line with its shelf texts.
// Its operations come with the operations that make it.
class ILeader : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"296ffa8b-59b1-4a5b-9cfe-ee23e6a64e81"};

protected:
  ~ILeader() = default;
};

} // namespace txapi
