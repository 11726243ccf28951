#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ICutLines;
class ILeaders;

// Where a view, or a macro object, makes its designations.
class ISymbols2DContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1fee86c8-8e50-432a-a9eb-ceda6cb21bc0"};

  virtual SmartPtr<ICutLines> GetCutLines() = 0;
  virtual SmartPtr<ILeaders> GetLeaders() = 0;

protected:
  ~ISymbols2DContainer() = default;
};

} // namespace txapi
