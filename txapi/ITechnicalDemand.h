#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IText;

// The technical requirements of a sheet.
class ITechnicalDemand : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7e98207b-aae6-46a1-86b2-ff061328e081"};

  virtual SmartPtr<IText> GetText() = 0;
  // Where the requirements stand on the sheet: right, bottom, left, top (mm).
  virtual void SetBox(const std::vector<double>& box) = 0;
  // Applies what was written; false when the host refuses.
  virtual bool Update() = 0;

protected:
  ~ITechnicalDemand() = default;
};

} // namespace txapi
