#pragma once

#include <string>
#include <vector>

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"

namespace txapi {

class IAttributeType;
class ITavrixAPIObject;

// One value of a property: here, a text.
class PropertyValue
{
public:
  PropertyValue() = default;
  explicit PropertyValue(std::wstring text) : Text(std::move(text)) {}
  const std::wstring& GetString() const { return Text; }

private:
  std::wstring Text;
};

// The value of one cell of an attribute.
class AttributeValue
{
public:
  AttributeValue() = default;
  explicit AttributeValue(PropertyValue value) : Value(std::move(value)) {}
  const PropertyValue& GetProperty() const { return Value; }

private:
  PropertyValue Value;
};

// An attribute: cells of values attached to a list of objects.
class IAttribute : public IAPIObject
{
public:
  static constexpr InterfaceId IID{"64251688-0d98-4db1-8f01-2ee27f77417d"};

  virtual SmartPtr<IAttributeType> GetAttributeType() = 0;
  // The objects the attribute is attached to, in the order given when it was made.
  virtual std::vector<SmartPtr<ITavrixAPIObject>> GetObjects() = 0;
  // An empty value for a cell never written.
  virtual AttributeValue GetValue(const std::wstring& key, int row, int column) = 0;
  virtual void SetValue(const std::wstring& key, int row, int column, const AttributeValue& value) = 0;

protected:
  ~IAttribute() = default;
};

} // namespace txapi
