#include "txhost/lib/Value.h"

#include "txhost/lib/Object.h"

namespace txhost {

namespace {
// Made in place: the initializer-list form builds and converts temporaries, and every object the host
// draws carries references.
Value Reference(Value id)
{
  Value v(Value::value_t::object);
  v.get_ref<Value::object_t&>().emplace("$obj", std::move(id));
  return v;
}
} // namespace

Value RefValue(const Object* o)
{
  if (o == nullptr) return nullptr;
  return Reference(o->Id());
}

Value RefValue(const txapi::IAPIObject* p)
{
  if (p == nullptr) return nullptr;
  const Object* o = Object::From(p);
  // A view of something the host did not make is logged as a reference to nothing.
  return o != nullptr ? RefValue(o) : Reference(nullptr);
}

void AssignRef(Value& slot, const txapi::IAPIObject* p)
{
  if (p == nullptr) {
    slot = nullptr;
    return;
  }
  const Object* o = Object::From(p);
  if (slot.is_object() && slot.size() == 1) {
    auto it = slot.get_ref<Value::object_t&>().begin();
    if (it->first == "$obj") {
      if (o == nullptr)
        it->second = nullptr;
      else
        AssignValue(it->second, o->Id());
      return;
    }
  }
  slot = o != nullptr ? RefValue(o) : Reference(nullptr);
}

bool IsRef(const Value& v)
{
  return v.is_object() && v.size() == 1 && v.contains("$obj");
}

ObjectId RefId(const Value& v)
{
  if (!IsRef(v)) return 0;
  const Value& id = v["$obj"];
  return id.is_number_unsigned() ? id.get<ObjectId>() : 0;
}

std::wstring WideText(const Value& v)
{
  return v.is_string() ? FromUtf8(v.get_ref<const std::string&>()) : L"";
}

namespace {

void EmptyFrom(Value& v, int depth)
{
  if (!v.is_structured()) return;
  // Deeper values, which no document holds, go the library's way.
  if (depth < 64)
    for (Value& e : v)
      EmptyFrom(e, depth + 1);
  if (v.is_array())
    v.get_ref<Value::array_t&>().clear();
  else
    v.get_ref<Value::object_t&>().clear();
}

} // namespace

void Empty(Value& v)
{
  EmptyFrom(v, 0);
}

} // namespace txhost
