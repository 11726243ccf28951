#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITextLine;

// One cell of a table.
class ITableCell : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"e101185b-244d-4a32-b4dd-550b4acc6414"};

  // Its text, one line; empty when the host gives none.
  virtual SmartPtr<ITextLine> GetText() = 0;

protected:
  ~ITableCell() = default;
};

} // namespace txapi
