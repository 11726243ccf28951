#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// Where a view, a sketch being edited or a macro object makes its dimensions and designations.
// Its operations come with the operations that make it.
class ISymbols2DContainer : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"acfb7d77-b5c3-4463-af77-bde6ff42cac9"};

protected:
  ~ISymbols2DContainer() = default;
};

} // namespace txapi
