#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IPart;

// The 3D view of a part, assembly or technology assembly document.
class ITavrixDocument3D : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"12b90791-b744-45a2-a3fa-52b2faf792b7"};

  // The part that is the document's model.
  virtual SmartPtr<IPart> GetTopPart() = 0;

protected:
  ~ITavrixDocument3D() = default;
};

} // namespace txapi
