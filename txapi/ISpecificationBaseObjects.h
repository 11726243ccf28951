#pragma once

#include <cstdint>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISpecificationBaseObject;
class ITavrixAPIObject;

// The entries of a specification.
class ISpecificationBaseObjects : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"dc8a079d-3a6d-4de8-be09-4eb818b91977"};

  // A new entry in the section, of the attribute type.
  virtual SmartPtr<ISpecificationBaseObject> Add(int section, std::int64_t attributeType) = 0;
  // The first entry that links the object (LinkObjects); empty when none does.
  virtual SmartPtr<ISpecificationBaseObject> FindLinked(const SmartPtr<ITavrixAPIObject>& object) = 0;

protected:
  ~ISpecificationBaseObjects() = default;
};

} // namespace txapi
