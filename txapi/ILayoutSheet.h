#pragma once

#include <cstdint>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISheetFormat;
class IStamp;

enum txSheetTypeEnum : int {
  txDocumentSheet = 0,
  txFrontAdditionalSheet = 1,
  txLastAdditionalSheet = 2,
};

// One sheet of a drawing's layout; each setting takes effect as it is set.
class ILayoutSheet : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"251363d4-34f6-4c4b-ad20-d08d1ed9a697"};

  virtual void SetSheetType(txSheetTypeEnum type) = 0;
  // The number of the sheet's layout style.
  virtual void SetLayoutStyleNumber(std::int64_t number) = 0;
  // Empty when the sheet has no format.
  virtual SmartPtr<ISheetFormat> GetFormat() = 0;
  // The sheet's title block; empty when it has none.
  virtual SmartPtr<IStamp> GetStamp() = 0;

protected:
  ~ILayoutSheet() = default;
};

} // namespace txapi
