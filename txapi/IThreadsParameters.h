#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

// The standard sizes of a thread.
class IThreadsParameters : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"fbfa9a4e-f6ce-4da8-adc0-458248a7b86e"};

  virtual double GetNominalDiameter() = 0;

protected:
  ~IThreadsParameters() = default;
};

} // namespace txapi
