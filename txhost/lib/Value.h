#pragma once

#include "txapi/IAPIObject.h"
#include "txapi/SmartPtr.h"
#include "txhost/lib/Text.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace txhost {

// Property values and call arguments: JSON values, so that documents save and load them unchanged.
// Text is UTF-8; a reference to a host object is {"$obj": id} (null for no object). Objects are sorted
// maps, not insertion-ordered ones: a key lookup in an ordered map is a linear search, and a document with
// many properties would open in quadratic time.
using Value = nlohmann::json;
using ObjectId = std::uint64_t;

class Object;

// A reference to the host object behind p (any of its views); null for no object.
Value RefValue(const txapi::IAPIObject* p);
Value RefValue(const Object* o);
// The object id in a reference value; 0 when v is no reference or refers to nothing.
ObjectId RefId(const Value& v);
bool IsRef(const Value& v);

namespace detail {
template <class T> struct IsSmartPtr : std::false_type
{
};
template <class I> struct IsSmartPtr<txapi::SmartPtr<I>> : std::true_type
{
};
template <class T> struct IsVector : std::false_type
{
};
template <class T, class A> struct IsVector<std::vector<T, A>> : std::true_type
{
};
template <class T> inline constexpr bool AlwaysFalse = false;
// Character types, whose logged form is left to the JSON library.
template <class T>
struct IsCharacter : std::bool_constant<std::is_same_v<T, char> || std::is_same_v<T, signed char> ||
                                        std::is_same_v<T, unsigned char> || std::is_same_v<T, wchar_t> ||
                                        std::is_same_v<T, char8_t> || std::is_same_v<T, char16_t> ||
                                        std::is_same_v<T, char32_t>>
{
};
} // namespace detail

// The logged form of a call argument.
template <class T> Value ToValue(const T& v)
{
  if constexpr (std::is_same_v<T, bool>) {
    return v;
  } else if constexpr (std::is_enum_v<T>) {
    return static_cast<std::underlying_type_t<T>>(v);
  } else if constexpr (std::is_arithmetic_v<T>) {
    return v;
  } else if constexpr (std::is_convertible_v<const T&, std::wstring_view>) {
    return ToUtf8(std::wstring_view(v));
  } else if constexpr (detail::IsSmartPtr<T>::value) {
    return RefValue(static_cast<const txapi::IAPIObject*>(v.get()));
  } else if constexpr (std::is_pointer_v<T> &&
                       std::is_base_of_v<txapi::IAPIObject, std::remove_pointer_t<T>>) {
    return RefValue(static_cast<const txapi::IAPIObject*>(v));
  } else if constexpr (detail::IsVector<T>::value) {
    Value a = Value::array();
    a.get_ref<Value::array_t&>().reserve(v.size());
    for (const auto& e : v)
      a.push_back(ToValue(e));
    return a;
  } else {
    static_assert(detail::AlwaysFalse<T>, "no logged form for this argument type");
  }
}

// Makes slot what ToValue(v) gives, written over what it holds where that is of the same shape (a number
// over a number, a reference over a reference, a list element by element): the log of a phantom's objects,
// drawn again at every move, and their properties are written without a value made and dropped each time.
void AssignRef(Value& slot, const txapi::IAPIObject* p);
template <class T> void AssignValue(Value& slot, const T& v)
{
  using Type = Value::value_t;
  if constexpr (std::is_same_v<T, bool>) {
    if (slot.type() == Type::boolean)
      slot.get_ref<bool&>() = v;
    else
      slot = v;
  } else if constexpr (std::is_enum_v<T>) {
    AssignValue(slot, static_cast<std::underlying_type_t<T>>(v));
  } else if constexpr (std::is_floating_point_v<T>) {
    if (slot.type() == Type::number_float)
      *slot.get_ptr<Value::number_float_t*>() = v;
    else
      slot = v;
  } else if constexpr (std::is_integral_v<T> && !detail::IsCharacter<T>::value) {
    if constexpr (std::is_signed_v<T>) {
      if (slot.type() == Type::number_integer)
        *slot.get_ptr<Value::number_integer_t*>() = v;
      else
        slot = v;
    } else {
      if (slot.type() == Type::number_unsigned)
        *slot.get_ptr<Value::number_unsigned_t*>() = v;
      else
        slot = v;
    }
  } else if constexpr (detail::IsSmartPtr<T>::value) {
    AssignRef(slot, static_cast<const txapi::IAPIObject*>(v.get()));
  } else if constexpr (std::is_pointer_v<T> &&
                       std::is_base_of_v<txapi::IAPIObject, std::remove_pointer_t<T>>) {
    AssignRef(slot, static_cast<const txapi::IAPIObject*>(v));
  } else if constexpr (detail::IsVector<T>::value) {
    if (!slot.is_array()) {
      slot = ToValue(v);
      return;
    }
    Value::array_t& a = slot.get_ref<Value::array_t&>();
    a.resize(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
      AssignValue(a[i], v[i]);
  } else {
    slot = ToValue(v);
  }
}

template <class... A> Value Args(const A&... args)
{
  Value a = Value::array();
  if constexpr (sizeof...(A) > 0) a.get_ref<Value::array_t&>().reserve(sizeof...(A));
  (a.push_back(ToValue(args)), ...);
  return a;
}

// The wide text of a string value; empty for any other value.
std::wstring WideText(const Value& v);

// Empties an array or object, freeing what it holds from the innermost values out. The library's own
// destruction first moves every value of an array or object into a list of its own: a large array (a
// user-data block of bytes) was held twice over while it went, and copied once more.
void Empty(Value& v);

} // namespace txhost
