#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttribute;
class ITavrixAPIObject;

// The attributes of a document.
class IAttributeKeeper : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"9280bdb9-c45d-4719-8e0c-15877167bcf9"};

  // The attributes of the type attached to any of the objects, in the order they were made; the four
  // selectors narrow the search the host's way (0: no narrowing).
  virtual std::vector<SmartPtr<IAttribute>> GetAttributes(std::uint64_t type,
                                                          const std::vector<SmartPtr<ITavrixAPIObject>>& objects,
                                                          int s1, int s2, int s3, int s4) = 0;
  // Empty when there is no type of that number or the host makes none.
  virtual SmartPtr<IAttribute> NewAttribute(std::uint64_t type, const std::wstring& key,
                                            const std::vector<SmartPtr<ITavrixAPIObject>>& objects) = 0;

protected:
  ~IAttributeKeeper() = default;
};

} // namespace txapi
