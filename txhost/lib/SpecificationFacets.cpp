// Specifications of a document: descriptions by style library and number, their entries with
// columns (texts kept by column type, with the order they were written in), linked objects and
// attached documents. An entry counts as committed once updated.
#include "txapi/IAttachedDocument.h"
#include "txapi/IAttachedDocuments.h"
#include "txapi/ISpecificationBaseObject.h"
#include "txapi/ISpecificationBaseObjects.h"
#include "txapi/ISpecificationColumn.h"
#include "txapi/ISpecificationColumns.h"
#include "txapi/ISpecificationDescription.h"
#include "txapi/ISpecificationDescriptions.h"
#include "txapi/ISpecificationDocument.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/IText.h"
#include "txapi/ITextLine.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

using Objects = std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>;

Object& New(Host& host, std::string_view kind, Object& parent)
{
  Object& o = host.Create(kind, parent.Document() != nullptr ? parent.Document() : &parent, &parent);
  o.MarkApplied();
  return o;
}

class DescriptionsFacet final : public Facet<txapi::ISpecificationDescriptions>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ISpecificationDescription> Find(const std::wstring& library, int number) override
  {
    Log("Find", library, number);
    for (Object* d : model::LiveMembers(Model(), spec::Description))
      if (d->Prop("library") == ToUtf8(library) && d->Prop("number") == number)
        return HandOut<txapi::ISpecificationDescription>(d);
    return {};
  }
  txapi::SmartPtr<txapi::ISpecificationDescription> Add(const std::wstring& library, int number,
                                                        const std::wstring& text) override
  {
    Log("Add", library, number, text);
    if (HandOutRefused("Add")) return {};
    Object& d = New(ModelHost(), spec::Description, Model());
    d.Set("library", ToUtf8(library));
    d.Set("number", number);
    d.Set("text", ToUtf8(text));
    return HandOut<txapi::ISpecificationDescription>(&d);
  }
};

class DescriptionFacet final : public Facet<txapi::ISpecificationDescription>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ISpecificationBaseObjects> GetBaseObjects() override
  {
    Log("GetBaseObjects");
    if (HandOutRefused("GetBaseObjects")) return {};
    return HandOut<txapi::ISpecificationBaseObjects>(&Model());
  }
};

class BaseObjectsFacet final : public Facet<txapi::ISpecificationBaseObjects>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ISpecificationBaseObject> Add(int section, std::int64_t attributeType) override
  {
    Log("Add", section, attributeType);
    if (HandOutRefused("Add")) return {};
    Object& e = ModelHost().Create(spec::Entry, Model().Document(), &Model());
    e.Set("section", section);
    e.Set("attribute", attributeType);
    e.Set("columns", Value::object());
    e.Set("written", Value::array());
    e.Set("linked", Value::array());
    e.Set("attached", Value::array());
    return HandOut<txapi::ISpecificationBaseObject>(&e);
  }
  txapi::SmartPtr<txapi::ISpecificationBaseObject>
  FindLinked(const txapi::SmartPtr<txapi::ITavrixAPIObject>& object) override
  {
    Log("FindLinked", object);
    if (HandOutRefused("FindLinked") || !object) return {};
    const Value wanted = ToValue(object);
    for (Object* e : model::LiveMembers(Model(), spec::Entry))
      for (const Value& linked : e->Prop("linked"))
        if (linked == wanted) return HandOut<txapi::ISpecificationBaseObject>(e);
    return {};
  }
};

class BaseObjectFacet final : public Facet<txapi::ISpecificationBaseObject>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ISpecificationColumns> GetColumns() override
  {
    Log("GetColumns");
    return HandOutRefused("GetColumns") ? nullptr : HandOut<txapi::ISpecificationColumns>(&Model());
  }
  void LinkObjects(const Objects& objects, bool flag) override
  {
    Log("LinkObjects", objects, flag);
    Value linked = Model().Prop("linked");
    for (const auto& o : objects)
      linked.push_back(ToValue(o));
    Model().Set("linked", linked);
  }
  txapi::SmartPtr<txapi::IAttachedDocuments> GetAttachedDocuments() override
  {
    Log("GetAttachedDocuments");
    return HandOutRefused("GetAttachedDocuments") ? nullptr : HandOut<txapi::IAttachedDocuments>(&Model());
  }
  bool Update() override { return Model().Update(); }
};

class ColumnsFacet final : public Facet<txapi::ISpecificationColumns>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ISpecificationColumn> GetColumn(int type, int block, int number) override
  {
    Log("GetColumn", type, block, number);
    if (HandOutRefused("GetColumn")) return {};
    for (Object* c : model::LiveMembers(Model(), spec::Column))
      if (c->Prop("type") == type) return HandOut<txapi::ISpecificationColumn>(c);
    Object& c = New(ModelHost(), spec::Column, Model());
    c.Set("type", type);
    return HandOut<txapi::ISpecificationColumn>(&c);
  }
};

class ColumnFacet final : public Facet<txapi::ISpecificationColumn>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IText> GetText() override
  {
    Log("GetText");
    return HandOutRefused("GetText") ? nullptr : HandOut<txapi::IText>(&Model());
  }
};

// The column's text: written into the entry under the column's type.
class ColumnTextFacet final : public Facet<txapi::IText>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::ITextLine> AddLine() override
  {
    Log("AddLine");
    return {};
  }
  void SetString(const std::wstring& text) override
  {
    Log("SetString", text);
    Object* entry = Model().Parent();
    if (entry == nullptr) return;
    const int type = Model().Prop("type").get<int>();
    Value columns = entry->Prop("columns");
    columns[std::to_string(type)] = ToUtf8(text);
    entry->Set("columns", columns);
    Value written = entry->Prop("written");
    written.push_back(type);
    entry->Set("written", written);
  }
};

class AttachedDocumentsFacet final : public Facet<txapi::IAttachedDocuments>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IAttachedDocument> Add(const std::wstring& path, int flag) override
  {
    Log("Add", path, flag);
    if (HandOutRefused("Add")) return {};
    Value attached = Model().Prop("attached");
    attached.push_back(ToUtf8(path));
    Model().Set("attached", attached);
    Object& a = New(ModelHost(), spec::Attached, Model());
    a.Set("path", ToUtf8(path));
    return HandOut<txapi::IAttachedDocument>(&a);
  }
};

class AttachedDocumentFacet final : public Facet<txapi::IAttachedDocument>
{
public:
  using Facet::Facet;
};

class SpecificationDocumentFacet final : public Facet<txapi::ISpecificationDocument>
{
public:
  using Facet::Facet;
};

} // namespace

FacetEntry SpecificationDocument()
{
  return Offer<SpecificationDocumentFacet>("ISpecificationDocument");
}

FacetEntry SpecificationDescriptions()
{
  return Offer<DescriptionsFacet>("ISpecificationDescriptions");
}

void AddSpecificationKinds(KindTable& t)
{
  t.Add(std::string(spec::Description), 0,
        {Offer<DescriptionFacet>("ISpecificationDescription"), Offer<BaseObjectsFacet>("ISpecificationBaseObjects")});
  t.Add(std::string(spec::Entry), 0,
        {Offer<BaseObjectFacet>("ISpecificationBaseObject"), Offer<ColumnsFacet>("ISpecificationColumns"),
         Offer<AttachedDocumentsFacet>("IAttachedDocuments"), DrawingObject()});
  t.Add(std::string(spec::Column), 0, {Offer<ColumnFacet>("ISpecificationColumn"), Offer<ColumnTextFacet>("IText")});
  t.Add(std::string(spec::Attached), 0, {Offer<AttachedDocumentFacet>("IAttachedDocument")});
}

} // namespace txhost::facets
