#pragma once

#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ITavrixAPIObject;

// The content of a 2D macro object as a whole: a command that rebuilds a block in place hands it what it
// has drawn anew.
class IMacroContent : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"15e9764c-bb21-40d7-9c1a-0eb7b101970b"};

  // The objects become the macro object's content, in place of everything it held; a drawing group given
  // here gives what it holds. False when the host takes nothing.
  virtual bool SetContent(const std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;

protected:
  ~IMacroContent() = default;
};

} // namespace txapi
