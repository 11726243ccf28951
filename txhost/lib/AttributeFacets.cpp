// Facets of attributes, attribute types and the application's properties.
//
// Attribute types live on the application (one manager, made on first request, numbering its types
// from 1); attributes are objects of the document they were made in, holding their type number, their
// objects and their cells ("row,column" -> text). Properties written through the property manager
// land on the active document as "material", "materialLocation" and "density".

#include <cstdint>

#include "txapi/IApplicationObjects.h"
#include "txapi/IAttrTypeMng.h"
#include "txapi/IAttribute.h"
#include "txapi/IAttributeKeeper.h"
#include "txapi/IAttributeType.h"
#include "txapi/IProperty.h"
#include "txapi/IPropertyKeeper.h"
#include "txapi/IPropertyMng.h"
#include "txapi/ITavrixAPIObject.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

constexpr std::string_view AttrTypeMngKind = "AttrTypeMng";
constexpr std::string_view AttributeTypeKind = "AttributeType";
constexpr std::string_view AttributeKind = "Attribute";
constexpr std::string_view PropertyMngKind = "PropertyMng";
constexpr std::string_view PropertyKind = "Property";

// The application's single object of a kind, made on first request.
Object& Single(Host& host, std::string_view kind)
{
  Object& app = host.ApplicationObject();
  const std::string key = "single:" + std::string(kind);
  if (Object* o = app.RefProp(key)) return *o;
  Object& o = host.Create(kind, nullptr, &app);
  app.Set(key, RefValue(&o));
  return o;
}

Object* TypeOfNumber(Host& host, std::uint64_t number)
{
  if (number == 0) return nullptr;
  for (Object* t : host.ObjectsOfKind(AttributeTypeKind))
    if (t->Prop("number") == number) return t;
  return nullptr;
}

class ApplicationObjectsFacet final : public Facet<txapi::IApplicationObjects>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IAttrTypeMng> GetAttrTypeMng(const std::wstring& library) override
  {
    Log("GetAttrTypeMng", library);
    if (HandOutRefused("GetAttrTypeMng")) return {};
    return HandOut<txapi::IAttrTypeMng>(&Single(ModelHost(), AttrTypeMngKind));
  }
  txapi::SmartPtr<txapi::IAPIObject> GetApplicationObject(int kind) override
  {
    Log("GetApplicationObject", kind);
    if (kind != 1 || HandOutRefused("GetApplicationObject")) return {};
    return HandOut<txapi::IAPIObject>(&Single(ModelHost(), PropertyMngKind));
  }
};

class AttrTypeMngFacet final : public Facet<txapi::IAttrTypeMng>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IAttributeType> GetAttrType(std::uint64_t number) override
  {
    Log("GetAttrType", number);
    return HandOut<txapi::IAttributeType>(TypeOfNumber(ModelHost(), number));
  }
  txapi::SmartPtr<txapi::IAttributeType> NewAttrType() override
  {
    Log("NewAttrType");
    if (HandOutRefused("NewAttrType")) return {};
    const std::uint64_t number = Model().Prop("lastNumber").is_number() ? Model().Prop("lastNumber").get<std::uint64_t>() + 1 : 1;
    Model().Set("lastNumber", number);
    Object& t = ModelHost().Create(AttributeTypeKind, nullptr, &Model());
    t.Set("number", number);
    t.Set("kind", static_cast<int>(txapi::txATString));
    Model().AddMember(&t);
    return HandOut<txapi::IAttributeType>(&t);
  }
};

class AttributeTypeFacet final : public Facet<txapi::IAttributeType>
{
public:
  using Facet::Facet;
  void SetFirstSetting(int value) override
  {
    Log("SetFirstSetting", value);
    Model().Set("firstSetting", value);
  }
  void SetName(const std::wstring& name) override
  {
    Log("SetName", name);
    Model().Set("name", ToUtf8(name));
  }
  void SetSecondText(const std::wstring& text) override
  {
    Log("SetSecondText", text);
    Model().Set("secondText", ToUtf8(text));
  }
  std::uint64_t GetNumber() override
  {
    Log("GetNumber");
    return Model().Prop("number").is_number() ? Model().Prop("number").get<std::uint64_t>() : 0;
  }
  txapi::txAttributeTypeEnum GetKind() override
  {
    Log("GetKind");
    const Value& k = Model().Prop("kind");
    return k.is_number() ? static_cast<txapi::txAttributeTypeEnum>(k.get<int>()) : txapi::txATUnknown;
  }
};

class AttributeFacet final : public Facet<txapi::IAttribute>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IAttributeType> GetAttributeType() override
  {
    Log("GetAttributeType");
    const Value& n = Model().Prop("type");
    return HandOut<txapi::IAttributeType>(TypeOfNumber(ModelHost(), n.is_number() ? n.get<std::uint64_t>() : 0));
  }
  std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>> GetObjects() override
  {
    Log("GetObjects");
    std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>> out;
    for (const Value& r : Model().Prop("objects"))
      out.push_back(HandOut<txapi::ITavrixAPIObject>(ModelHost().Find(RefId(r))));
    return out;
  }
  txapi::AttributeValue GetValue(const std::wstring& key, int row, int column) override
  {
    Log("GetValue", key, row, column);
    const Value& cells = Model().Prop("cells");
    const std::string at = Cell(row, column);
    if (!cells.is_object() || !cells.contains(at)) return {};
    return txapi::AttributeValue(txapi::PropertyValue(FromUtf8(cells[at].get<std::string>())));
  }
  void SetValue(const std::wstring& key, int row, int column, const txapi::AttributeValue& value) override
  {
    Log("SetValue", key, row, column, value.GetProperty().GetString());
    Value cells = Model().Prop("cells");
    if (!cells.is_object()) cells = Value::object();
    cells[Cell(row, column)] = ToUtf8(value.GetProperty().GetString());
    Model().Set("cells", std::move(cells));
  }

private:
  static std::string Cell(int row, int column) { return std::to_string(row) + "," + std::to_string(column); }
};

bool AttachedToAny(const Object& attribute, const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects)
{
  for (const Value& r : attribute.Prop("objects"))
    for (const auto& o : objects)
      if (o && RefId(r) == RefId(RefValue(o.get()))) return true;
  return false;
}

class AttributeKeeperFacet final : public Facet<txapi::IAttributeKeeper>
{
public:
  using Facet::Facet;
  std::vector<txapi::SmartPtr<txapi::IAttribute>> GetAttributes(
    std::uint64_t type, const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects, int s1, int s2, int s3,
    int s4) override
  {
    Log("GetAttributes", type, static_cast<int>(objects.size()), s1, s2, s3, s4);
    std::vector<txapi::SmartPtr<txapi::IAttribute>> out;
    for (Object* a : ModelHost().ObjectsOf(Model()))
      if (a->Kind() == AttributeKind && a->Prop("type") == type && AttachedToAny(*a, objects))
        out.push_back(HandOut<txapi::IAttribute>(a));
    return out;
  }
  txapi::SmartPtr<txapi::IAttribute> NewAttribute(std::uint64_t type, const std::wstring& key,
                                                  const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& objects) override
  {
    Log("NewAttribute", type, key, static_cast<int>(objects.size()));
    if (HandOutRefused("NewAttribute") || TypeOfNumber(ModelHost(), type) == nullptr) return {};
    Object& a = ModelHost().Create(AttributeKind, &Model(), &Model());
    Value list = Value::array();
    for (const auto& o : objects)
      list.push_back(RefValue(o.get()));
    a.Set("type", type);
    a.Set("key", ToUtf8(key));
    a.Set("objects", std::move(list));
    a.MarkApplied();
    return HandOut<txapi::IAttribute>(&a);
  }
};

class PropertyKeeperFacet final : public Facet<txapi::IPropertyKeeper>
{
public:
  using Facet::Facet;
};

class PropertyMngFacet final : public Facet<txapi::IPropertyMng>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IProperty> GetProperty(int number) override
  {
    Log("GetProperty", number);
    if ((number != 9 && number != 10) || HandOutRefused("GetProperty")) return {};
    Object& p = ModelHost().Create(PropertyKind, nullptr, &Model());
    p.Set("number", number);
    return HandOut<txapi::IProperty>(&p);
  }
};

class PropertyFacet final : public Facet<txapi::IProperty>
{
public:
  using Facet::Facet;
  void SetTexts(const std::vector<std::wstring>& texts) override
  {
    Log("SetTexts", static_cast<int>(texts.size()));
    Value v = Value::array();
    for (const auto& t : texts)
      v.push_back(ToUtf8(t));
    Model().Set("texts", std::move(v));
  }
  void SetLocation(const std::wstring& location) override
  {
    Log("SetLocation", location);
    Model().Set("location", ToUtf8(location));
  }
  void SetNumbers(const std::vector<double>& numbers) override
  {
    Log("SetNumbers", static_cast<int>(numbers.size()));
    Model().Set("numbers", Value(numbers));
  }
  bool Update() override
  {
    Object* doc = ModelHost().ActiveDocument();
    if (doc == nullptr || !Model().Update()) return false;
    if (Model().Prop("number") == 9) {
      const Value& t = Model().Prop("texts");
      doc->Set("material", t.is_array() && !t.empty() ? t[0] : Value(""));
      doc->Set("materialLocation", Model().Prop("location"));
    } else {
      const Value& n = Model().Prop("numbers");
      doc->Set("density", n.is_array() && !n.empty() ? n[0] : Value(0.0));
    }
    return true;
  }
};

} // namespace

FacetEntry ApplicationObjects()
{
  return Offer<ApplicationObjectsFacet>("IApplicationObjects");
}

void AddDocumentAttributeFacets(std::vector<FacetEntry>& f)
{
  f.push_back(Offer<AttributeKeeperFacet>("IAttributeKeeper"));
  f.push_back(Offer<PropertyKeeperFacet>("IPropertyKeeper"));
}

void AddAttributeKinds(KindTable& t)
{
  t.Add(std::string(AttrTypeMngKind), 0, {Offer<AttrTypeMngFacet>("IAttrTypeMng")});
  t.Add(std::string(AttributeTypeKind), 0, {Offer<AttributeTypeFacet>("IAttributeType")});
  t.Add(std::string(AttributeKind), 0, {Offer<AttributeFacet>("IAttribute")});
  t.Add(std::string(PropertyMngKind), 0, {Offer<PropertyMngFacet>("IPropertyMng")});
  t.Add(std::string(PropertyKind), 0, {Offer<PropertyFacet>("IProperty")});
}

} // namespace txhost::facets
