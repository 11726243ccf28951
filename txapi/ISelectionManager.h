#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class ITavrixAPIObject;

// The objects the user has selected in a document.
class ISelectionManager : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"533c4cdf-834c-4a0c-9b18-a8bd89fc635c"};

  virtual std::vector<SmartPtr<ITavrixAPIObject>> GetSelectedObjects() = 0;
  virtual void Select(const std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;
  virtual void UnselectAll() = 0;

protected:
  ~ISelectionManager() = default;
};

} // namespace txapi
