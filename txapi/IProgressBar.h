#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// The host's progress bar.
class IProgressBar : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"43ca2bc5-ad4a-429f-bb21-4a78bd3085d2"};

  virtual void Start(int maximum, const std::wstring& text) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void Stop() = 0;

protected:
  ~IProgressBar() = default;
};

} // namespace txapi
