#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITextItem;

// One line of a text.
class ITextLine : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"79ea3432-451e-4894-af88-bedd201cd20e"};

  // A new last item; empty when the host makes none.
  virtual SmartPtr<ITextItem> AddItem() = 0;
  // Replaces the line by one item holding text.
  virtual void SetString(const std::wstring& text) = 0;

protected:
  ~ITextLine() = default;
};

} // namespace txapi
