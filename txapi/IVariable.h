#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// A named variable of a part or a feature: a value, or an expression over other variables.
class IVariable : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"7b117e96-53ec-429b-9242-707616173d41"};

  virtual std::wstring GetName() = 0;
  virtual double GetValue() = 0;
  virtual void SetValue(double value) = 0;
  // Empty while the value is a plain number.
  virtual std::wstring GetExpression() = 0;
  virtual void SetExpression(const std::wstring& expression) = 0;
  virtual std::wstring GetComment() = 0;
  virtual void SetComment(const std::wstring& comment) = 0;

protected:
  ~IVariable() = default;
};

} // namespace txapi
