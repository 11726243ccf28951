// Facets of the display objects a library draws into a 3D view. Each object is made under the document
// whose manager made it; its id is its host object id (never 0, never reused), and what the library set
// on it is kept as properties, so tests can see what the view would show.

#include "txhost/lib/TessellationFacets.h"

#include "txapi/IExternalTessellation.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"

namespace txhost::facets {

namespace {

constexpr std::string_view TessellationKind = "tessellation-object";
constexpr std::string_view TextKind = "text-object";
// The host's type code of its tessellated display objects.
constexpr int TessellationTypeCode = 10704;

int IdOf(const Object& o)
{
  return int(o.Id());
}

class TessellationObjectFacet final : public Facet<txapi::IExternalTessellationObject>
{
public:
  using Facet::Facet;

  void SetTriangles(const std::vector<float>& points, const std::vector<int>& triangles,
                    const std::vector<float>& normals, const std::vector<unsigned>& colors) override
  {
    Log("SetTriangles", points, triangles, normals, colors);
    Model().Set("points", ToValue(points));
    Model().Set("triangles", ToValue(triangles));
  }
  void SetPolyLines(const std::vector<float>& points, const std::vector<int>& groups,
                    const std::vector<unsigned>& colors) override
  {
    Log("SetPolyLines", points, groups, colors);
    Model().Set("points", ToValue(points));
    Model().Set("polylines", ToValue(groups));
  }
  void SetLineStyles(const std::vector<int>& styles) override { Log("SetLineStyles", styles); }
  void SetColor(int color, double ambient, double diffuse, double specularity, double shininess, double transparency,
                double emission) override
  {
    Log("SetColor", color, ambient, diffuse, specularity, shininess, transparency, emission);
    Model().Set("color", color);
  }
  void SetMatrix(const std::vector<double>& matrix) override
  {
    Log("SetMatrix", matrix);
    Model().Set("matrix", ToValue(matrix));
  }
  void SetScaleSetting1(bool value) override { Log("SetScaleSetting1", value); }
  void SetScaleSetting2(bool value) override { Log("SetScaleSetting2", value); }
  void SetScaleSetting3(bool value) override { Log("SetScaleSetting3", value); }
  void SetDisableDepthTest(bool value) override { Log("SetDisableDepthTest", value); }
  void SetNonPickable(bool value) override { Log("SetNonPickable", value); }
  void SetOption(int option, bool value) override { Log("SetOption", option, value); }
  void SetVisible(bool visible) override
  {
    Log("SetVisible", visible);
    Model().Set("visible", visible);
  }
  int GetId() override { return IdOf(Model()); }
  void Close() override
  {
    Log("Close");
    Model().Set("closed", true);
  }
};

class TextObjectFacet final : public Facet<txapi::IExternalTextObject>
{
public:
  using Facet::Facet;

  void SetTexts(const std::vector<std::wstring>& texts, const std::vector<std::array<double, 3>>& positions,
                const std::vector<txapi::SmartPtr<txapi::IAPIObject>>& objects, bool value) override
  {
    Value at = Value::array();
    for (const auto& p : positions)
      at.push_back(Value::array({p[0], p[1], p[2]}));
    Model().Record("SetTexts", Value::array({ToValue(texts), at, ToValue(objects), value}));
    Model().Set("texts", ToValue(texts));
  }
  void SetTextSetting1(int value) override { Log("SetTextSetting1", value); }
  void SetTextSetting2(int value) override { Log("SetTextSetting2", value); }
  void SetTextSetting3(int value) override { Log("SetTextSetting3", value); }
  void SetVisible(bool visible) override
  {
    Log("SetVisible", visible);
    Model().Set("visible", visible);
  }
  int GetId() override { return IdOf(Model()); }
};

class ExternalTessellationManagerFacet final : public Facet<txapi::IExternalTessellationManager>
{
public:
  using Facet::Facet;

  txapi::SmartPtr<txapi::IExternalTessellationObject> CreateTessellationObject() override
  {
    Log("CreateTessellationObject");
    if (HandOutRefused("CreateTessellationObject")) return {};
    return HandOut<txapi::IExternalTessellationObject>(&Make(TessellationKind));
  }
  txapi::SmartPtr<txapi::IExternalTextObject> CreateTextObject() override
  {
    Log("CreateTextObject");
    if (HandOutRefused("CreateTextObject")) return {};
    return HandOut<txapi::IExternalTextObject>(&Make(TextKind));
  }
  void RemoveObjects(const std::vector<int>& ids) override
  {
    Log("RemoveObjects", ids);
    for (int id : ids)
      if (Object* o = id > 0 ? ModelHost().Find(ObjectId(id)) : nullptr;
          o != nullptr && o->Parent() == &Model() && (o->Kind() == TessellationKind || o->Kind() == TextKind))
        o->Set("removed", true);
  }

private:
  Object& Make(std::string_view kind)
  {
    Object& o = ModelHost().Create(kind, &Model(), &Model());
    o.Set("visible", false);
    return o;
  }
};

} // namespace

FacetEntry ExternalTessellationManager()
{
  return Offer<ExternalTessellationManagerFacet>("IExternalTessellationManager");
}

void AddTessellationKinds(KindTable& t)
{
  t.Add(std::string(TessellationKind), TessellationTypeCode, {Offer<TessellationObjectFacet>("IExternalTessellationObject")});
  t.Add(std::string(TextKind), 0, {Offer<TextObjectFacet>("IExternalTextObject")});
}

} // namespace txhost::facets
