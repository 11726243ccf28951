// User data of documents: storages by name, each holding byte blocks and object lists by key. The
// document's manager hands out the storages of an object (the document's own for none); asked only
// with a flag, it answers the document's own for false and, for true, those of the object last handed
// to it.
#include "txapi/ITavrixAPIObject.h"
#include "txapi/IUserDataStorage.h"
#include "txapi/IUserDataStorages.h"
#include "txapi/IUserDataStoragesMng.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

constexpr std::string_view StoragesKind = "user-storages", StorageKind = "user-storage";
using Objects = std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>;

class StoragesMngFacet final : public Facet<txapi::IUserDataStoragesMng>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IUserDataStorages> GetStorages(const txapi::SmartPtr<txapi::ITavrixAPIObject>& object) override
  {
    Log("GetStorages", object);
    Object* o = Object::From(object.get());
    if (object && (o == nullptr || ModelHost().Find(o->Id()) != o)) return {};
    if (o != nullptr) Model().Set("storage-object", RefValue(o));
    return Of(o != nullptr ? *o : Model());
  }
  txapi::SmartPtr<txapi::IUserDataStorages> GetStorages(bool ofObject) override
  {
    Log("GetStorages", ofObject);
    if (!ofObject) return Of(Model());
    Object* o = Model().RefProp("storage-object");
    return o != nullptr ? Of(*o) : nullptr;
  }

private:
  txapi::SmartPtr<txapi::IUserDataStorages> Of(Object& owner)
  {
    if (HandOutRefused("GetStorages")) return {};
    for (Object* s : model::LiveMembers(owner, StoragesKind))
      return HandOut<txapi::IUserDataStorages>(s);
    return HandOut<txapi::IUserDataStorages>(&ModelHost().Create(StoragesKind, &Model(), &owner));
  }
};

class StoragesFacet final : public Facet<txapi::IUserDataStorages>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IUserDataStorage> Open(const std::wstring& name) override
  {
    Log("Open", name);
    if (txapi::SmartPtr<txapi::IUserDataStorage> s = Named(name)) return s;
    if (HandOutRefused("Open")) return {};
    Object& s = ModelHost().Create(StorageKind, Model().Document(), &Model());
    s.Set("name", ToUtf8(name));
    s.Set("values", Value::object());
    return HandOut<txapi::IUserDataStorage>(&s);
  }
  txapi::SmartPtr<txapi::IUserDataStorage> Find(const std::wstring& name) override
  {
    Log("Find", name);
    return Named(name);
  }

private:
  txapi::SmartPtr<txapi::IUserDataStorage> Named(const std::wstring& name)
  {
    for (Object* s : model::LiveMembers(Model(), StorageKind))
      if (s->Text("name") == name) return HandOut<txapi::IUserDataStorage>(s);
    return {};
  }
};

// Values by key: {"bytes": [...]} or {"objects": [references]}. Adding takes a free key, setting an
// existing one.
class StorageFacet final : public Facet<txapi::IUserDataStorage>
{
public:
  using Facet::Facet;
  int AddValue(const std::wstring& parent, const std::wstring& key, const txapi::StorageValue& value,
               const std::wstring& name) override
  {
    Log("AddValue", parent, key, value.GetVectorUint8(), name);
    return Has(key) ? -1 : Put(key, "bytes", ToValue(value.GetVectorUint8()));
  }
  int SetValue(const std::wstring& parent, const txapi::StorageValue& value, const std::wstring& key) override
  {
    Log("SetValue", parent, value.GetVectorUint8(), key);
    return Has(key) ? Put(key, "bytes", ToValue(value.GetVectorUint8())) + 1 : 0;
  }
  int SetObjects(const std::wstring& parent, const Objects& objects, const std::wstring& key) override
  {
    Log("SetObjects", parent, objects, key);
    return Has(key) ? Put(key, "objects", ToValue(objects)) : -1;
  }
  int AddObjects(const std::wstring& parent, const std::wstring& key, const Objects& objects,
                 const std::wstring& name) override
  {
    Log("AddObjects", parent, key, objects, name);
    return Has(key) ? 0 : Put(key, "objects", ToValue(objects)) + 1;
  }
  bool GetValue(const std::wstring& key, txapi::StorageValue& value) override
  {
    Log("GetValue", key);
    // What a document file brought back is checked: anything but bytes reads as no value.
    const Value* v = Find(key, "bytes");
    std::vector<std::uint8_t> bytes;
    for (const Value& b : v != nullptr && v->is_array() ? *v : Value::array()) {
      if (!b.is_number_unsigned() || b.get<unsigned>() > 255) return (value = txapi::StorageValue(), false);
      bytes.push_back(std::uint8_t(b.get<unsigned>()));
    }
    value = txapi::StorageValue(std::move(bytes));
    return v != nullptr;
  }
  bool GetObjects(const std::wstring& key, Objects& objects) override
  {
    Log("GetObjects", key);
    objects.clear();
    const Value* v = Find(key, "objects");
    if (v == nullptr || !v->is_array()) return false;
    for (const Value& r : *v) {
      Object* o = ModelHost().Find(RefId(r));
      objects.push_back(o != nullptr && !model::Deleted(*o) ? HandOut<txapi::ITavrixAPIObject>(o) : nullptr);
    }
    return true;
  }

private:
  bool Has(const std::wstring& key) const { return Model().Prop("values").contains(ToUtf8(key)); }
  const Value* Find(const std::wstring& key, const char* form) const
  {
    const Value& values = Model().Prop("values");
    const auto it = values.find(ToUtf8(key));
    return it != values.end() && it->contains(form) ? &(*it)[form] : nullptr;
  }
  // The value's index among the storage's keys.
  int Put(const std::wstring& key, const char* form, Value v)
  {
    Value values = Model().Prop("values");
    values[ToUtf8(key)] = Value::object({{form, std::move(v)}});
    Model().Set("values", values);
    int i = 0;
    for (auto it = values.begin(); it != values.end() && it.key() != ToUtf8(key); ++it)
      ++i;
    return i;
  }
};

} // namespace

FacetEntry UserDataStoragesMng()
{
  return Offer<StoragesMngFacet>("IUserDataStoragesMng");
}

void AddUserDataKinds(KindTable& t)
{
  t.Add(std::string(StoragesKind), 0, {Offer<StoragesFacet>("IUserDataStorages")});
  t.Add(std::string(StorageKind), 0, {Offer<StorageFacet>("IUserDataStorage")});
}

} // namespace txhost::facets
