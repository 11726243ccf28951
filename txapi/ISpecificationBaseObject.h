#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttachedDocuments;
class ISpecificationColumns;
class ITavrixAPIObject;

// One entry of a specification.
class ISpecificationBaseObject : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"688c2fed-b023-495c-9c56-c1f52a69b7ea"};

  virtual SmartPtr<ISpecificationColumns> GetColumns() = 0;
  // Ties the host objects to the entry.
  virtual void LinkObjects(const std::vector<SmartPtr<ITavrixAPIObject>>& objects, bool flag) = 0;
  virtual SmartPtr<IAttachedDocuments> GetAttachedDocuments() = 0;
  // Commits the entry.
  virtual bool Update() = 0;

protected:
  ~ISpecificationBaseObject() = default;
};

} // namespace txapi
