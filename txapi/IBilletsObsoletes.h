#pragma once

#include <string>

#include "txapi/Enums.h"
#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IBilletObsolete;

// The billets of a part: bodies taken over from part files.
class IBilletsObsoletes : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"97e2db24-e6cd-4506-9a93-5d145318d218"};

  // A new billet holding the body of the part file (mirrored when mirror is true); empty when the file is no
  // part.
  virtual SmartPtr<IBilletObsolete> Add(const std::wstring& fileName, bool mirror) = 0;

protected:
  ~IBilletsObsoletes() = default;
};

} // namespace txapi
