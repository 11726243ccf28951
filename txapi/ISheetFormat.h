#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

enum txDocumentFormatEnum : int {
  txFormatA0 = 0,
  txFormatA1 = 1,
  txFormatA2 = 2,
  txFormatA3 = 3,
  txFormatA4 = 4,
  txFormatA5 = 5,
  txFormatUser = 6,
};

// The paper of a layout sheet; each setting takes effect as it is set.
class ISheetFormat : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e28434b7-fa66-4453-a178-9fb95f48f9f3"};

  virtual void SetFormat(txDocumentFormatEnum format) = 0;
  // The format's multiple (a longer sheet of the same width).
  virtual void SetMultiplicity(int value) = 0;
  // True for a lying (landscape) sheet.
  virtual void SetOrientation(bool lying) = 0;

protected:
  ~ISheetFormat() = default;
};

} // namespace txapi
