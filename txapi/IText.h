#pragma once

#include "txapi/IAPIObject.h"

namespace txapi {

// A text of several lines: of a drawing text, a title-block cell, the technical requirements.
// Its operations come with the operations that make it.
class IText : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"ae59e340-17fc-493a-9017-b9ac7a66848a"};

protected:
  ~IText() = default;
};

} // namespace txapi
