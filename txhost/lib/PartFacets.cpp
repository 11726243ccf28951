// Facets of parts.

#include "txapi/IMateConstraints3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IOpenDocumentParam.h"
#include "txapi/IPart.h"
#include "txapi/IPlacement3D.h"
#include "txapi/ITavrixAPIObject.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

Value IdentityMatrix()
{
  Value m = Value::array();
  for (int i = 0; i < 16; ++i)
    m.push_back(i % 5 == 0 ? 1.0 : 0.0);
  return m;
}

class PartFacet final : public Facet<txapi::IPart>
{
public:
  using Facet::Facet;

  std::wstring GetName() override
  {
    Log("GetName");
    return Own("name", "sourceName");
  }

  void SetName(const std::wstring& name) override
  {
    Log("SetName", name);
    Model().Set("name", ToUtf8(name));
  }

  std::wstring GetMarking() override
  {
    Log("GetMarking");
    return Own("marking", "sourceMarking");
  }

  void SetMarking(const std::wstring& marking) override
  {
    Log("SetMarking", marking);
    Model().Set("marking", ToUtf8(marking));
  }

  bool Update() override { return Model().Update(); }

  txapi::SmartPtr<txapi::IModelObject> GetDefaultEntity(txapi::txObj3dTypeEnum type) override
  {
    Log("GetDefaultEntity", type);
    if (HandOutRefused("GetDefaultEntity")) return {};
    return HandOut<txapi::IModelObject>(model::StandardObject(ModelHost(), Model(), type));
  }

  txapi::SmartPtr<txapi::IPart> AddComponent(const std::wstring& fileName, bool external) override
  {
    Log("AddComponent", fileName, external);
    Host& host = ModelHost();
    if (HandOutRefused("AddComponent") || Model().Document() == nullptr) return {};
    const std::filesystem::path path = host.Resolve(ToPath(fileName));
    std::string error;
    // The source is read as a document of its own, outside the host's list; the component links to it.
    Object* source = path.empty() ? nullptr : ReadDocumentFile(host, path, error);
    const Object* sourceTop = source != nullptr ? host.TopPart(*source) : nullptr;
    if (sourceTop == nullptr) return {};
    Object& c = model::NewObject(host, kinds::Part, Model(), txapi::o3d_part);
    c.Set("file", path.string());
    c.Set("external", external);
    c.Set("source", RefValue(source));
    host.SetSourceOwner(*source, c);
    c.Set("sourceName", sourceTop->Prop("name"));
    c.Set("sourceMarking", sourceTop->Prop("marking"));
    c.Set("placement", IdentityMatrix());
    c.Set("hidden", false);
    AdoptNamedObjects(c, *sourceTop);
    c.MarkApplied();
    return HandOut<txapi::IPart>(&c);
  }

  txapi::SmartPtr<txapi::IPlacement3D> GetPlacement() override
  {
    Log("GetPlacement");
    if (HandOutRefused("GetPlacement")) return {};
    Object& p = ModelHost().Create(model::Placement);
    const Value& m = Model().Prop("placement");
    p.Set("matrix", m.is_array() && m.size() == 16 ? m : IdentityMatrix());
    p.MarkApplied();
    return HandOut<txapi::IPlacement3D>(&p);
  }

  void SetPlacement(const txapi::SmartPtr<txapi::IPlacement3D>& placement) override
  {
    Log("SetPlacement", placement);
    const Object* p = Object::From(placement.get());
    const Value& m = p != nullptr ? p->Prop("matrix") : Value();
    if (m.is_array() && m.size() == 16) Model().Set("placement", m);
  }

  double GetMass() override
  {
    Log("GetMass");
    const Value& m = Model().Prop("mass");
    return m.is_number() ? m.get<double>() : 0.0;
  }

  std::wstring GetFileName() override
  {
    Log("GetFileName");
    return Model().Text("file");
  }

  txapi::SmartPtr<txapi::IOpenDocumentParam> GetOpenDocumentParam() override
  {
    Log("GetOpenDocumentParam");
    if (HandOutRefused("GetOpenDocumentParam")) return {};
    return HandOut<txapi::IOpenDocumentParam>(&ModelHost().Create("open-document-param"));
  }

  txapi::SmartPtr<txapi::ITavrixAPIObject>
  BeginEditOnPlace(const txapi::SmartPtr<txapi::IOpenDocumentParam>& param) override
  {
    Log("BeginEditOnPlace", param);
    if (HandOutRefused("BeginEditOnPlace")) return {};
    Model().Set("editing-in-place", true);
    return HandOut<txapi::ITavrixAPIObject>(&Model());
  }

  void EndEditOnPlace(bool value) override
  {
    Log("EndEditOnPlace", value);
    Model().Set("editing-in-place", false);
  }

  txapi::SmartPtr<txapi::IMateConstraints3D> GetMateConstraints() override
  {
    Log("GetMateConstraints");
    if (HandOutRefused("GetMateConstraints")) return {};
    return HandOut<txapi::IMateConstraints3D>(Model().Document());
  }

private:
  // A component shows its source's name and marking until it is given its own.
  std::wstring Own(const char* key, const char* sourceKey) const
  {
    return !Model().Has(key) && Model().Has(sourceKey) ? Model().Text(sourceKey) : Model().Text(key);
  }
};

} // namespace

FacetEntry Part()
{
  return Offer<PartFacet>("IPart");
}

} // namespace txhost::facets
