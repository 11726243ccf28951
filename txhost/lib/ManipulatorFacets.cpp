// Facets of a 3D process's manipulators. A manipulator keeps its identifier, switches and value as
// properties and its frame as a placement member, so that scenarios and tests can move it as the user would.

#include "txapi/IManipulator.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

namespace txhost::facets {

namespace {

Value Identity()
{
  Value m = Value::array();
  for (int i = 0; i < 16; ++i)
    m.push_back(i % 5 == 0 ? 1.0 : 0.0);
  return m;
}

// Sets element i of the array property name, growing it with false up to i.
void SetFlagAt(Object& o, std::string_view name, int i, bool value)
{
  Value a = o.Prop(name);
  if (!a.is_array()) a = Value::array();
  while (int(a.size()) <= i)
    a.push_back(false);
  a[std::size_t(i)] = value;
  o.Set(name, std::move(a));
}

class BaseManipulatorFacet final : public Facet<txapi::IBaseManipulator>
{
public:
  using Facet::Facet;

  void SetId(int id) override
  {
    Log("SetId", id);
    Model().Set("id", id);
  }
  int GetId() override
  {
    Log("GetId");
    return model::SaturatedInt(model::Number(Model().Prop("id")));
  }
  void SetVisible(bool visible) override
  {
    Log("SetVisible", visible);
    Model().Set("visible", visible);
  }
  void SetFlag(bool value) override
  {
    Log("SetFlag", value);
    Model().Set("flag", value);
  }
  void Prepare() override { Log("Prepare"); }
  txapi::SmartPtr<txapi::IPlacement3D> GetPlacement() override
  {
    Log("GetPlacement");
    if (HandOutRefused("GetPlacement")) return {};
    return HandOut<txapi::IPlacement3D>(Model().RefProp("placement"));
  }
  void Update(bool redraw) override { Log("Update", redraw); }
};

class Placement3DManipulatorFacet final : public Facet<txapi::IPlacement3DManipulator>
{
public:
  using Facet::Facet;

  void SetPrimitiveVisible(int kind, bool value) override
  {
    Log("SetPrimitiveVisible", kind, value);
    if (kind >= 0 && kind <= 13) SetFlagAt(Model(), "primitives", kind, value);
  }
  void SetPrimitiveActive(int kind, bool value) override
  {
    Log("SetPrimitiveActive", kind, value);
    if (kind >= 0 && kind <= 13) SetFlagAt(Model(), "active-primitives", kind, value);
  }
};

class EditDoubleManipulatorFacet final : public Facet<txapi::IEditDoubleManipulator>
{
public:
  using Facet::Facet;

  void SetValue(double value) override
  {
    Log("SetValue", value);
    Model().Set("value", value);
  }
  double GetValue() override
  {
    Log("GetValue");
    return model::Number(Model().Prop("value"));
  }
};

} // namespace

txapi::SmartPtr<txapi::IBaseManipulator> AddManipulator(Object& collection, int kind)
{
  const char* name = kind == txapi::txPlacement3DManipulator  ? "manipulator-placement"
                     : kind == txapi::txEditDoubleManipulator ? "manipulator-edit"
                                                              : nullptr;
  if (name == nullptr || collection.GetHost().GetFaults().HandOutRefused("IManipulators", "Add")) return {};
  Host& host = collection.GetHost();
  Object& m = host.Create(name, nullptr, &collection);
  collection.AddMember(&m);
  Object& p = host.Create(model::Placement, nullptr, &m);
  p.Set("matrix", Identity());
  m.AddMember(&p);
  m.Set("placement", RefValue(&p));
  m.Set("value", 0.0);
  return txapi::SmartPtr<txapi::IBaseManipulator>::Attach(
      static_cast<txapi::IBaseManipulator*>(m.QueryInterface(txapi::IBaseManipulator::IID)));
}

FacetEntry BaseManipulator()
{
  return Offer<BaseManipulatorFacet>("IBaseManipulator");
}
FacetEntry Placement3DManipulator()
{
  return Offer<Placement3DManipulatorFacet>("IPlacement3DManipulator");
}
FacetEntry EditDoubleManipulator()
{
  return Offer<EditDoubleManipulatorFacet>("IEditDoubleManipulator");
}

} // namespace txhost::facets
