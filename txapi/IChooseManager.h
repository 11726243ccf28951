#pragma once

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <vector>

namespace txapi {

class ITavrixAPIObject;

// The objects a command highlights in a document, in highlight groups.
class IChooseManager : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9956ff5d-a8c8-4972-8479-6dca83b969da"};

  virtual void Choose(const std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;
  virtual void UnChoose(const std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;
  virtual void UnChooseAll() = 0;
  // The group the next chosen objects are highlighted in.
  virtual void SetCurrentManagerType(txChooseManagerTypeEnum type) = 0;
  virtual txChooseManagerTypeEnum GetCurrentManagerType() = 0;

protected:
  ~IChooseManager() = default;
};

} // namespace txapi
