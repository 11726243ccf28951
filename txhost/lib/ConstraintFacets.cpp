// Parametric constraints: a drawing object hands out a constraint object, the library sets it up and
// creates it. A driving dimension of a sketch (a named constraint on a dimension) makes the sketch a
// variable of that name, which the sketch's variable search then finds; names are unique per sketch.
#include "txhost/lib/ConstraintFacets.h"

#include "txapi/IDimension2D.h"
#include "txapi/IModelCurve3D.h"
#include "txapi/IVariable.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <cmath>

namespace txhost {

namespace {

using model::Number;

// The sketch a drawing object lies in (curves of a sketch are its members); nullptr outside sketches.
Object* SketchOf(const Object& o)
{
  Object* p = o.Parent();
  return p != nullptr && p->Kind() == model::Sketch ? p : nullptr;
}

// Gives the sketch of the dimension o a variable for a driving constraint c; false when the name is
// taken.
bool AddSketchVariable(Host& host, Object& o, const Object& c)
{
  Object* sketch = SketchOf(o);
  const std::wstring name = c.Text("variable");
  if (sketch == nullptr || name.empty()) return true;
  for (Object* v : model::LiveMembers(*sketch, constraints::SketchVariable))
    if (v->Text("name") == name) return false;
  Object& v = model::NewObject(host, constraints::SketchVariable, *sketch, txapi::o3d_variable);
  v.Set("name", ToUtf8(name));
  v.Set("value", Number(o.Prop("value")));
  if (c.Has("expression")) v.Set("expression", c.Prop("expression"));
  v.Set("dimension", RefValue(&o));
  v.MarkApplied();
  return true;
}

class ParametricConstraintFacet final : public Facet<txapi::IParametricConstraint>
{
public:
  using Facet::Facet;

  void SetConstraintType(int type) override
  {
    Log("SetConstraintType", type);
    Model().Set("type", type);
  }
  void SetIndex(int index) override
  {
    Log("SetIndex", index);
    Model().Set("index", index);
  }
  void SetPartner(const std::vector<txapi::SmartPtr<txapi::IDrawingObject>>& partners) override
  {
    Log("SetPartner", partners);
    Model().Set("partners", ToValue(partners));
  }
  void SetPartnerIndex(int index) override
  {
    Log("SetPartnerIndex", index);
    Model().Set("partner-index", index);
  }
  void SetExpression(const std::wstring& expression) override
  {
    Log("SetExpression", expression);
    Model().Set("expression", ToUtf8(expression));
  }
  void SetVariableName(const std::wstring& name) override
  {
    Log("SetVariableName", name);
    Model().Set("variable", ToUtf8(name));
  }
  // Refused without a kind, twice, or for a name the sketch already has.
  bool Create() override
  {
    Log("Create");
    Object& c = Model();
    Object* owner = c.Parent();
    if (owner == nullptr || !c.Has("type") || c.Applied() || model::Deleted(*owner)) return false;
    if (model::SaturatedInt(Number(c.Prop("type"))) == int(txapi::txCDimWithVariable) &&
        !AddSketchVariable(ModelHost(), *owner, c))
      return false;
    return c.Update();
  }
};

class ModelCurve3DFacet final : public Facet<txapi::IModelCurve3D>
{
public:
  using Facet::Facet;
  void SetStyle(int style) override
  {
    Log("SetStyle", style);
    Model().Set("style", style);
  }
  int GetStyle() override
  {
    Log("GetStyle");
    return model::SaturatedInt(Number(Model().Prop("style"), txapi::txCSNormal));
  }
};

class Dimension2DFacet final : public Facet<txapi::IDimension2D>
{
public:
  using Facet::Facet;
  double GetValue() override
  {
    Log("GetValue");
    return Number(Model().Prop("value"));
  }
};

} // namespace

namespace constraints {

txapi::SmartPtr<txapi::IParametricConstraint> NewConstraint(Object& owner, bool refused)
{
  if (refused || model::Deleted(owner)) return {};
  Object& c = owner.GetHost().Create(Constraint, owner.Document(), &owner);
  return txapi::SmartPtr<txapi::IParametricConstraint>::Attach(
      static_cast<txapi::IParametricConstraint*>(c.QueryInterface(txapi::IParametricConstraint::IID)));
}

Object* PointAt(Host& host, Object& editor, double x, double y, double tolerance, const Object* except)
{
  Object* sketch = editor.Kind() == model::SketchEditor ? editor.Parent() : nullptr;
  std::vector<Object*> views = model::LiveMembers(editor, model::SketchView);
  if (sketch == nullptr || views.empty()) return nullptr;
  for (Object* p : model::LiveMembers(*sketch, model2d::Point))
    if (p != except && std::fabs(Number(p->Prop("x")) - x) <= tolerance &&
        std::fabs(Number(p->Prop("y")) - y) <= tolerance)
      return p;
  Object* p = model2d::NewDrawingObject(host, *views.front(), model2d::Point);
  if (p == nullptr) return nullptr;
  p->Set("x", x);
  p->Set("y", y);
  p->MarkApplied();
  return p;
}

std::vector<Object*> Project(Host& host, Object& sketch, const Object* o)
{
  if (o == nullptr || sketch.Prop("editing") != true || !o->Prop("point").is_array()) return {};
  std::vector<Object*> editors = model::LiveMembers(sketch, model::SketchEditor);
  std::vector<Object*> views =
      editors.empty() ? std::vector<Object*>{} : model::LiveMembers(*editors.front());
  if (views.empty()) return {};
  // The plane's coordinates are those of the two axes across its normal's largest component.
  const Value& p = o->Prop("point");
  const Object* plane = sketch.RefProp("plane");
  const Value& n = plane != nullptr ? plane->Prop("normal") : Value();
  double a[3] = {0, 0, 1};
  for (std::size_t i = 0; i < 3 && n.is_array() && n.size() == 3; ++i)
    a[i] = std::fabs(Number(n[i]));
  const int drop = a[2] >= a[1] && a[2] >= a[0] ? 2 : (a[1] >= a[0] ? 1 : 0);
  const int u = drop == 0 ? 1 : 0, v = drop == 2 ? 1 : 2;
  Object* q = model2d::NewDrawingObject(host, *views.front(), model2d::Point);
  if (q == nullptr) return {};
  q->Set("x", Number(p.size() == 3 ? p[u] : Value()));
  q->Set("y", Number(p.size() == 3 ? p[v] : Value()));
  q->Set("projection", RefValue(o));
  q->MarkApplied();
  return {q};
}

} // namespace constraints

namespace facets {

FacetEntry ModelCurve3D()
{
  return Offer<ModelCurve3DFacet>("IModelCurve3D");
}

FacetEntry Dimension2D()
{
  return Offer<Dimension2DFacet>("IDimension2D");
}

void AddConstraintKinds(KindTable& t)
{
  t.Add(std::string(constraints::Constraint), 0, {Offer<ParametricConstraintFacet>("IParametricConstraint")});
  t.Add(std::string(constraints::SketchVariable), 0, {Variable(), ModelObject()});
}

} // namespace facets

} // namespace txhost
