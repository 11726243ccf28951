#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ILayoutSheet;

// The layout sheets of a drawing or fragment document.
class ILayoutSheets : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"64b8b3a5-d6bf-4089-aba7-1935ccf73ca4"};

  virtual int GetCount() = 0;
  // Empty outside 0..GetCount()-1.
  virtual SmartPtr<ILayoutSheet> GetItem(int index) = 0;
  // A new last sheet; empty when the host makes none.
  virtual SmartPtr<ILayoutSheet> Add() = 0;

protected:
  ~ILayoutSheets() = default;
};

} // namespace txapi
