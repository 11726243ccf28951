#pragma once

#include <string>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class ISpecificationDescription;

// The specification descriptions of a document, by style library and number.
class ISpecificationDescriptions : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"4c82a53e-7fd0-4b25-aa27-2cbaf9ea1510"};

  // Empty when the document has none of that library and number.
  virtual SmartPtr<ISpecificationDescription> Find(const std::wstring& library, int number) = 0;
  virtual SmartPtr<ISpecificationDescription> Add(const std::wstring& library, int number,
                                                  const std::wstring& text) = 0;

protected:
  ~ISpecificationDescriptions() = default;
};

} // namespace txapi
