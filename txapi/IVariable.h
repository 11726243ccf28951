#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

#include <string>

namespace txapi {

// A named variable of a part or a feature: a value, or an expression over other variables.
class IVariable : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"1bb12ab8-83ef-47d8-9fe8-cd72ce354d47"};

  virtual std::wstring GetName() = 0;
  virtual double GetValue() = 0;
  virtual void SetValue(double value) = 0;
  // Empty while the value is a plain number.
  virtual std::wstring GetExpression() = 0;
  virtual void SetExpression(const std::wstring& expression) = 0;
  virtual std::wstring GetComment() = 0;
  virtual void SetComment(const std::wstring& comment) = 0;
  // Links the variable to the variable name of the variable document documentFile; false when it cannot be.
  virtual bool SetLink(const std::wstring& documentFile, const std::wstring& name) = 0;
  // The variable's switch; the variables a sketch's driving dimensions make are switched with 1.
  virtual void SetSwitch(int value) = 0;

protected:
  ~IVariable() = default;
};

} // namespace txapi
