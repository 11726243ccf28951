#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A temporary drawing group: what it holds is dropped when the process that made it ends, unless the
// group is kept.
class ITemporaryGroup : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"cccdad05-0b07-453a-af71-1d8fbe8eb2a0"};

  // The group's content stays in the document.
  virtual bool Keep() = 0;

protected:
  ~ITemporaryGroup() = default;
};

} // namespace txapi
