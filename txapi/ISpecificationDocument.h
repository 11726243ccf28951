#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// A specification (bill of materials) document, type 3. Its styles are the document's
// ISpecificationDescriptions.
class ISpecificationDocument : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"67a9d01d-1ddb-48cb-9977-bf7079e2e794"};

protected:
  ~ISpecificationDocument() = default;
};

} // namespace txapi
