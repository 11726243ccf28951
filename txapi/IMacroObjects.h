#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IMacroObject;

// The macro objects of a drawing container.
class IMacroObjects : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"0b0b8fb8-e3a6-4b8d-9a7b-f32dce37b49e"};

  // A new macro object, created and not yet applied; empty when the host makes none.
  virtual SmartPtr<IMacroObject> Add(int mode) = 0;

protected:
  ~IMacroObjects() = default;
};

} // namespace txapi
