// Facets of the 3D model: model objects, features, variables, placements, sketches, auxiliary geometry
// and the part's containers.

#include "txapi/IAuxiliaryGeomContainer.h"
#include "txapi/IBody.h"
#include "txapi/IBilletsObsoletes.h"
#include "txapi/IBooleans.h"
#include "txapi/IContours3D.h"
#include "txapi/ICopiesGeometry.h"
#include "txapi/ICurveOutLines.h"
#include "txapi/IEvolutions.h"
#include "txapi/IMacroObjects3D.h"
#include "txapi/IScalings3D.h"
#include "txapi/ISurfaceThickenings.h"
#include "txapi/IUserObjects3D.h"
#include "txapi/IColorParam.h"
#include "txapi/IEdge.h"
#include "txapi/IFace.h"
#include "txapi/IMathCurve3D.h"
#include "txapi/IMathSurface3D.h"
#include "txapi/ISplitLine.h"
#include "txapi/ICylindricalSpiral.h"
#include "txapi/IExtrusion.h"
#include "txapi/IExtrusions.h"
#include "txapi/IFeature.h"
#include "txapi/ILineSegment3D.h"
#include "txapi/IModelContainer.h"
#include "txapi/IModelObject.h"
#include "txapi/IPlacement3D.h"
#include "txapi/IPlane3D.h"
#include "txapi/IPoint3D.h"
#include "txapi/IRotated.h"
#include "txapi/IRotateds.h"
#include "txapi/ISketch.h"
#include "txapi/ISketches.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/IVariable.h"
#include "txhost/lib/ConstraintFacets.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/Text.h"

namespace txhost::facets {

namespace {

using model::Number;

// What applying an object derives from its parameters: an offset plane's place, a feature's profile and
// state.
void Derive(Object& o)
{
  const std::string& kind = o.Kind();
  if (kind == model::Plane && model::TypeOf(o) == txapi::o3d_planeOffset) {
    const Object* base = o.RefProp("base");
    if (base == nullptr) return;
    const Value& origin = base->Prop("origin");
    const Value& normal = base->Prop("normal");
    if (!origin.is_array() || !normal.is_array() || origin.size() != 3 || normal.size() != 3) return;
    const double d = Number(o.Prop("offset"));
    Value placed = Value::array();
    for (std::size_t i = 0; i < 3; ++i)
      placed.push_back(Number(origin[i]) + d * Number(normal[i]));
    o.Set("origin", std::move(placed));
    o.Set("normal", normal);
  } else if (kind == model::Rotated || kind == model::Extrusion) {
    const Object* sketch = o.RefProp("profile-sketch");
    Value profile = sketch != nullptr && sketch->Applied() ? model::ProfileOf(*sketch) : Value::array();
    bool ok = !profile.empty();
    if (kind == model::Rotated) {
      // A body of revolution needs its axis: a line of style 3 in the profile.
      bool axis = false;
      for (const Value& c : profile)
        axis = axis || (c["curve"] == "line" && c["style"] == int(txapi::txCSAxial));
      ok = ok && axis;
    }
    o.Set("profile", std::move(profile));
    o.Set("status", ok ? 1 : 0);
  }
}

class ModelObjectFacet final : public Facet<txapi::IModelObject>
{
public:
  using Facet::Facet;

  txapi::txObj3dTypeEnum GetType() override
  {
    Log("GetType");
    return txapi::txObj3dTypeEnum(Model().Has("type") ? model::TypeOf(Model()) : Model().Spec().TypeCode);
  }
  std::wstring GetName() override
  {
    Log("GetName");
    // A component shows its source's name until it is given its own.
    if (!Model().Has("name") && Model().Has("sourceName")) return Model().Text("sourceName");
    return Model().Text("name");
  }
  void SetName(const std::wstring& name) override
  {
    Log("SetName", name);
    Model().Set("name", ToUtf8(name));
  }
  bool GetHidden() override
  {
    Log("GetHidden");
    return Model().Prop("hidden") == true;
  }
  void SetHidden(bool hidden) override
  {
    Log("SetHidden", hidden);
    Model().Set("hidden", hidden);
  }
  bool Update() override
  {
    if (!Model().Update()) return false;
    Derive(Model());
    model::Derive3D(Model());
    // A feature without a profile it can build from, or one the modeller cannot make, is made, but failed
    // (no body), as the host makes it.
    if (!model::Makes(Model())) {
      Model().Set("status", 0);
      model::Derive3D(Model());
    }
    return Model().Prop("status") != 0;
  }
  void Reset() override { Log("Reset"); }
};

class FeatureFacet final : public Facet<txapi::IFeature>
{
public:
  using Facet::Facet;

  std::vector<txapi::SmartPtr<txapi::IModelObject>>
  GetModelObjects(const std::vector<txapi::txObj3dTypeEnum>& types) override
  {
    Log("GetModelObjects", types);
    std::vector<txapi::SmartPtr<txapi::IModelObject>> out;
    if (HandOutRefused("GetModelObjects")) return out;
    std::vector<int> wanted(types.begin(), types.end());
    for (Object* o : model::ModelObjects(Model(), wanted))
      if (o->Offers(txapi::IModelObject::IID)) out.push_back(HandOut<txapi::IModelObject>(o));
    return out;
  }
  std::vector<txapi::SmartPtr<txapi::IVariable>> GetVariables(bool internal, bool informational) override
  {
    Log("GetVariables", internal, informational);
    std::vector<txapi::SmartPtr<txapi::IVariable>> out;
    if (HandOutRefused("GetVariables")) return out;
    for (Object* v : model::LiveMembers(Model(), model::Variable))
      out.push_back(HandOut<txapi::IVariable>(v));
    return out;
  }
  // The features whose first or second object this one is (the dimensions built on it).
  std::vector<txapi::SmartPtr<txapi::IFeature>> GetSubFeatures(bool internal, bool dimensions, bool all) override
  {
    Log("GetSubFeatures", internal, dimensions, all);
    std::vector<txapi::SmartPtr<txapi::IFeature>> out;
    if (HandOutRefused("GetSubFeatures") || Model().Document() == nullptr) return out;
    for (Object* o : ModelHost().ObjectsOf(*Model().Document()))
      if (!model::Deleted(*o) && (o->RefProp("object1") == &Model() || o->RefProp("object2") == &Model()))
        if (txapi::SmartPtr<txapi::IFeature> f = HandOut<txapi::IFeature>(o)) out.push_back(f);
    return out;
  }
  txapi::SmartPtr<txapi::IVariable> GetVariable(bool internal, bool informational,
                                                const std::wstring& name) override
  {
    Log("GetVariable", internal, informational, name);
    for (Object* v : model::LiveMembers(Model(), model::Variable))
      if (v->Text("name") == name) return HandOut<txapi::IVariable>(v);
    return {};
  }
  txapi::SmartPtr<txapi::IVariable> AddVariable(const std::wstring& name, double value,
                                                const std::wstring& comment) override
  {
    Log("AddVariable", name, value, comment);
    if (HandOutRefused("AddVariable") || Model().Kind() != kinds::Part) return {};
    Object& v = ModelHost().Create(model::Variable, Model().Document(), &Model());
    v.Set("name", ToUtf8(name));
    v.Set("value", value);
    v.Set("expression", "");
    v.Set("comment", ToUtf8(comment));
    v.MarkApplied();
    return HandOut<txapi::IVariable>(&v);
  }
  int GetStatus() override
  {
    Log("GetStatus");
    const Value& s = Model().Prop("status");
    return s.is_number_integer() ? s.get<int>() : 1;
  }
  std::vector<txapi::SmartPtr<txapi::IBody>> GetBodies() override
  {
    Log("GetBodies");
    std::vector<txapi::SmartPtr<txapi::IBody>> out;
    if (HandOutRefused("GetBodies")) return out;
    for (Object* b : model::Bodies(Model()))
      out.push_back(HandOut<txapi::IBody>(b));
    return out;
  }
  void SetExcluded(bool excluded) override
  {
    Log("SetExcluded", excluded);
    Model().Set("excluded", excluded);
  }
};

class VariableFacet final : public Facet<txapi::IVariable>
{
public:
  using Facet::Facet;

  std::wstring GetName() override
  {
    Log("GetName");
    return Model().Text("name");
  }
  double GetValue() override
  {
    Log("GetValue");
    return Number(Model().Prop("value"));
  }
  void SetValue(double value) override
  {
    Log("SetValue", value);
    Model().Set("value", value);
  }
  std::wstring GetExpression() override
  {
    Log("GetExpression");
    return Model().Text("expression");
  }
  void SetExpression(const std::wstring& expression) override
  {
    Log("SetExpression", expression);
    Model().Set("expression", ToUtf8(expression));
  }
  std::wstring GetComment() override
  {
    Log("GetComment");
    return Model().Text("comment");
  }
  void SetComment(const std::wstring& comment) override
  {
    Log("SetComment", comment);
    Model().Set("comment", ToUtf8(comment));
  }
  bool SetLink(const std::wstring& documentFile, const std::wstring& name) override
  {
    Log("SetLink", documentFile, name);
    if (documentFile.empty() || name.empty()) return false;
    Model().Set("link", Args(documentFile, name));
    return true;
  }
  void SetSwitch(int value) override
  {
    Log("SetSwitch", value);
    Model().Set("switch", value);
  }
};

class ColorParamFacet final : public Facet<txapi::IColorParam>
{
public:
  using Facet::Facet;

  void SetColorParams(int color, double ambient, double diffuse, double specularity, double shininess,
                      double transparency, double emission) override
  {
    Log("SetColorParams", color, ambient, diffuse, specularity, shininess, transparency, emission);
    Model().Set("color", Args(color, ambient, diffuse, specularity, shininess, transparency, emission));
  }
};

class PlacementFacet final : public Facet<txapi::IPlacement3D>
{
public:
  using Facet::Facet;

  std::vector<double> GetMatrix() override
  {
    Log("GetMatrix");
    std::vector<double> m;
    for (const Value& v : Model().Prop("matrix"))
      m.push_back(Number(v));
    return m;
  }
  bool SetMatrix(const std::vector<double>& matrix) override
  {
    Log("SetMatrix", matrix);
    if (matrix.size() != 16) return false;
    Model().Set("matrix", ToValue(matrix));
    return true;
  }
};

class PlaneFacet final : public Facet<txapi::IPlane3D>
{
public:
  using Facet::Facet;

  void SetBasePlane(const txapi::SmartPtr<txapi::IModelObject>& plane) override
  {
    Log("SetBasePlane", plane);
    Model().Set("base", RefValue(plane.get()));
  }
  txapi::SmartPtr<txapi::IModelObject> GetBasePlane() override
  {
    Log("GetBasePlane");
    return HandOut<txapi::IModelObject>(Model().RefProp("base"));
  }
  void SetOffset(double offset) override
  {
    Log("SetOffset", offset);
    Model().Set("offset", offset);
  }
  double GetOffset() override
  {
    Log("GetOffset");
    return Number(Model().Prop("offset"));
  }
  void SetEdgeAndPoint(const txapi::SmartPtr<txapi::IModelObject>& edge,
                       const txapi::SmartPtr<txapi::IModelObject>& point) override
  {
    Log("SetEdgeAndPoint", edge, point);
    Model().Set("edge", RefValue(edge.get()));
    Model().Set("point", RefValue(point.get()));
  }
};

class LineSegment3DFacet final : public Facet<txapi::ILineSegment3D>
{
public:
  using Facet::Facet;

  void SetPoints(double x1, double y1, double z1, double x2, double y2, double z2) override
  {
    Log("SetPoints", x1, y1, z1, x2, y2, z2);
    Model().Set("points", Args(x1, y1, z1, x2, y2, z2));
  }
  std::vector<double> GetPoints() override
  {
    Log("GetPoints");
    std::vector<double> p;
    for (const Value& v : Model().Prop("points"))
      p.push_back(Number(v));
    return p;
  }
};

class Point3DFacet final : public Facet<txapi::IPoint3D>
{
public:
  using Facet::Facet;

  void SetPoint(double x, double y, double z) override
  {
    Log("SetPoint", x, y, z);
    Model().Set("point", Args(x, y, z));
  }
  void SetSymbol(txapi::txAnnotationSymbolEnum symbol) override
  {
    Log("SetSymbol", symbol);
    Model().Set("symbol", int(symbol));
  }
};

class CylindricalSpiralFacet final : public Facet<txapi::ICylindricalSpiral>
{
public:
  using Facet::Facet;

  void SetPlane(const txapi::SmartPtr<txapi::IModelObject>& plane) override
  {
    Log("SetPlane", plane);
    Model().Set("plane", RefValue(plane.get()));
  }
  void SetTurnsNumber(double turns) override { Put("SetTurnsNumber", "turns", turns); }
  void SetBuildingDirection(bool forward) override
  {
    Log("SetBuildingDirection", forward);
    Model().Set("forward", forward);
  }
  void SetHeight(double height) override { Put("SetHeight", "height", height); }
  void SetStep(double step) override { Put("SetStep", "step", step); }
  void SetDiameter(double diameter) override { Put("SetDiameter", "diameter", diameter); }

private:
  void Put(std::string_view op, const char* key, double v)
  {
    Log(op, v);
    Model().Set(key, v);
  }
};

// The objects a reference list property names, as interface I.
template <class I> std::vector<txapi::SmartPtr<I>> Referenced(Host& host, const Value& list)
{
  std::vector<txapi::SmartPtr<I>> out;
  if (!list.is_array()) return out;
  for (const Value& r : list)
    if (Object* o = host.Find(RefId(r)); o != nullptr && !model::Deleted(*o))
      if (txapi::IAPIObject* view = o->QueryInterface(I::IID)) out.push_back(txapi::SmartPtr<I>::Attach(static_cast<I*>(view)));
  return out;
}

class FaceFacet final : public Facet<txapi::IFace>
{
public:
  using Facet::Facet;

  std::vector<txapi::SmartPtr<txapi::IEdge>> GetEdges() override
  {
    Log("GetEdges");
    return Referenced<txapi::IEdge>(ModelHost(), Model().Prop("edges"));
  }
  // The kind of surface is the property "surface": "plane" (with its "normal"), "cylinder", "cone" or other.
  bool IsPlanar() override { return Is("IsPlanar", "plane"); }
  bool IsCylindrical() override { return Is("IsCylindrical", "cylinder"); }
  bool IsConical() override { return Is("IsConical", "cone"); }
  bool IsSpherical() override { return Is("IsSpherical", "sphere"); }
  txapi::SmartPtr<txapi::IMathSurface3D> GetMathSurface() override
  {
    Log("GetMathSurface");
    if (HandOutRefused("GetMathSurface")) return {};
    return HandOut<txapi::IMathSurface3D>(&Model());
  }
  bool GetNormal(double& x, double& y, double& z) override
  {
    Log("GetNormal");
    const Value& n = Model().Prop("normal");
    if (!n.is_array() || n.size() != 3) return false;
    x = Number(n[0]);
    y = Number(n[1]);
    z = Number(n[2]);
    return true;
  }

private:
  bool Is(std::string_view op, const char* surface)
  {
    Log(op);
    return Model().Prop("surface") == surface;
  }
};

class EdgeFacet final : public Facet<txapi::IEdge>
{
public:
  using Facet::Facet;

  std::vector<txapi::SmartPtr<txapi::IFace>> GetFaces() override
  {
    Log("GetFaces");
    return Referenced<txapi::IFace>(ModelHost(), Model().Prop("faces"));
  }
  // The kind of curve is the property "curve": "line", "circle", "arc" or other.
  bool IsStraight() override { return Is("IsStraight", "line"); }
  double GetLength(int unit) override
  {
    Log("GetLength", unit);
    return model::Number(Model().Prop("length"));
  }
  bool IsCircle() override { return Is("IsCircle", "circle"); }
  bool IsArc() override { return Is("IsArc", "arc"); }
  txapi::SmartPtr<txapi::IMathCurve3D> GetMathCurve() override
  {
    Log("GetMathCurve");
    if (HandOutRefused("GetMathCurve")) return {};
    return HandOut<txapi::IMathCurve3D>(&Model());
  }

private:
  bool Is(std::string_view op, const char* curve)
  {
    Log(op);
    return Model().Prop("curve") == curve;
  }
};

class SplitLineFacet final : public Facet<txapi::ISplitLine>
{
public:
  using Facet::Facet;

  void SetFaces(const std::vector<txapi::SmartPtr<txapi::IFace>>& faces) override
  {
    Log("SetFaces", faces);
    Model().Set("faces", ToValue(faces));
  }
  void SetCuttingObjects(const std::vector<txapi::SmartPtr<txapi::IModelObject>>& objects) override
  {
    Log("SetCuttingObjects", objects);
    Model().Set("cutting", ToValue(objects));
  }
  void SetDirection(txapi::txDirectionTypeEnum direction) override
  {
    Log("SetDirection", direction);
    Model().Set("direction", int(direction));
  }
};

class SketchFacet final : public Facet<txapi::ISketch>
{
public:
  using Facet::Facet;

  void SetPlane(const txapi::SmartPtr<txapi::IModelObject>& plane) override
  {
    Log("SetPlane", plane);
    Model().Set("plane", RefValue(plane.get()));
  }
  txapi::SmartPtr<txapi::IModelObject> GetPlane() override
  {
    Log("GetPlane");
    return HandOut<txapi::IModelObject>(Model().RefProp("plane"));
  }
  void SetAngle(double angle) override
  {
    Log("SetAngle", angle);
    Model().Set("angle", angle);
  }
  double GetAngle() override
  {
    Log("GetAngle");
    return Number(Model().Prop("angle"));
  }
  txapi::SmartPtr<txapi::ITavrixDocument2D> BeginEdit() override
  {
    Log("BeginEdit");
    Object& sketch = Model();
    if (!sketch.Applied() || model::Deleted(sketch) || HandOutRefused("BeginEdit")) return {};
    std::vector<Object*> editors = model::LiveMembers(sketch, model::SketchEditor);
    Object* editor = editors.empty() ? nullptr : editors.front();
    if (editor == nullptr) {
      editor = &ModelHost().Create(model::SketchEditor, sketch.Document(), &sketch);
      editor->MarkApplied();
      Object& view = ModelHost().Create(model::SketchView, sketch.Document(), editor);
      view.Set("number", 0);
      view.MarkApplied();
    }
    editor->Set("placements", Value::array());
    sketch.Set("editing", true);
    return HandOut<txapi::ITavrixDocument2D>(editor);
  }
  bool EndEdit() override
  {
    Log("EndEdit");
    if (Model().Prop("editing") != true) return false;
    Model().Set("editing", false);
    return true;
  }
  std::vector<txapi::SmartPtr<txapi::IDrawingObject>>
  Project(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("Project", object);
    std::vector<txapi::SmartPtr<txapi::IDrawingObject>> out;
    if (HandOutRefused("Project")) return out;
    for (Object* o : constraints::Project(ModelHost(), Model(), Object::From(object.get())))
      out.push_back(HandOut<txapi::IDrawingObject>(o));
    return out;
  }
};

// A collection that hands out new objects of one kind under the owner part.
template <class I, class Item> class CollectionBase : public Facet<I>
{
public:
  using Facet<I>::Facet;

protected:
  txapi::SmartPtr<Item> Make(std::string_view kind, int type, std::string_view op)
  {
    if (this->HandOutRefused(op)) return {};
    Object& o = model::NewObject(this->ModelHost(), kind, this->Model(), type);
    o.Set("hidden", false);
    return this->template HandOut<Item>(&o);
  }
};

class SketchesFacet final : public CollectionBase<txapi::ISketches, txapi::ISketch>
{
public:
  using CollectionBase::CollectionBase;

  txapi::SmartPtr<txapi::ISketch> Add() override
  {
    Log("Add");
    auto s = Make(model::Sketch, txapi::o3d_sketch, "Add");
    if (s) Object::From(s.get())->Set("angle", 0.0);
    return s;
  }
  int GetCount() override
  {
    Log("GetCount");
    return int(model::LiveMembers(Model(), model::Sketch).size());
  }
  txapi::SmartPtr<txapi::ISketch> GetItem(int index) override
  {
    Log("GetItem", index);
    const auto sketches = model::LiveMembers(Model(), model::Sketch);
    if (index < 0 || std::size_t(index) >= sketches.size()) return {};
    return HandOut<txapi::ISketch>(sketches[std::size_t(index)]);
  }
};

bool IsKind(txapi::txObj3dTypeEnum kind, std::initializer_list<txapi::txObj3dTypeEnum> kinds)
{
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

class RotatedsFacet final : public CollectionBase<txapi::IRotateds, txapi::IRotated>
{
public:
  using CollectionBase::CollectionBase;

  txapi::SmartPtr<txapi::IRotated> Add(txapi::txObj3dTypeEnum kind) override
  {
    Log("Add", kind);
    if (!IsKind(kind, {txapi::o3d_bossRotated, txapi::o3d_cutRotated, txapi::o3d_RotatedSurface})) return {};
    return Make(model::Rotated, kind, "Add");
  }
};

class ExtrusionsFacet final : public CollectionBase<txapi::IExtrusions, txapi::IExtrusion>
{
public:
  using CollectionBase::CollectionBase;

  txapi::SmartPtr<txapi::IExtrusion> Add(txapi::txObj3dTypeEnum kind) override
  {
    Log("Add", kind);
    if (!IsKind(kind, {txapi::o3d_bossExtrusion, txapi::o3d_cutExtrusion, txapi::o3d_ExtrusionSurface}))
      return {};
    return Make(model::Extrusion, kind, "Add");
  }
};

class RotatedFacet final : public Facet<txapi::IRotated>
{
public:
  using Facet::Facet;

  void SetProfile(const txapi::SmartPtr<txapi::IModelObject>& sketch) override
  {
    Log("SetProfile", sketch);
    Model().Set("profile-sketch", RefValue(sketch.get()));
  }
  void SetDirection(int direction) override
  {
    Log("SetDirection", direction);
    Model().Set("direction", direction);
  }
  void SetSideAngle(int side, double angle) override
  {
    Log("SetSideAngle", side, angle);
    if (side == 0 || side == 1) Model().Set(side == 0 ? "angle0" : "angle1", angle);
  }
};

class ExtrusionFacet final : public Facet<txapi::IExtrusion>
{
public:
  using Facet::Facet;

  void SetProfiles(const std::vector<txapi::SmartPtr<txapi::IModelObject>>& sketches) override
  {
    Log("SetProfiles", sketches);
    Model().Set("profile-sketch", sketches.empty() ? Value(nullptr) : RefValue(sketches.front().get()));
  }
  void SetDirectionType(txapi::txDirectionTypeEnum direction) override
  {
    Log("SetDirectionType", direction);
    Model().Set("direction", int(direction));
  }
  void SetSideDepth(int side, double depth) override
  {
    Log("SetSideDepth", side, depth);
    if (side == 0 || side == 1) Model().Set(side == 0 ? "depth0" : "depth1", depth);
  }
  void SetSideParameters(int side, txapi::txEndTypeEnum end, double depth, double taper, bool taperOutward,
                         const txapi::SmartPtr<txapi::IModelObject>& bound) override
  {
    Log("SetSideParameters", side, end, depth, taper, taperOutward, bound);
    if (side == 0 || side == 1) Model().Set(side == 0 ? "side0" : "side1", Args(end, depth, taper, taperOutward, bound));
  }
};

class ModelContainerFacet final : public SelfFacet<txapi::IModelContainer>
{
public:
  using SelfFacet::SelfFacet;

  txapi::SmartPtr<txapi::ISketches> GetSketches() override { return Self<txapi::ISketches>("GetSketches"); }
  txapi::SmartPtr<txapi::IRotateds> GetRotateds() override { return Self<txapi::IRotateds>("GetRotateds"); }
  txapi::SmartPtr<txapi::IExtrusions> GetExtrusions() override
  {
    return Self<txapi::IExtrusions>("GetExtrusions");
  }
  txapi::SmartPtr<txapi::IEvolutions> GetEvolutions() override { return Self<txapi::IEvolutions>("GetEvolutions"); }
  txapi::SmartPtr<txapi::IBilletsObsoletes> GetBilletsObsoletes() override
  {
    return Self<txapi::IBilletsObsoletes>("GetBilletsObsoletes");
  }
  txapi::SmartPtr<txapi::IBooleans> GetBooleans() override { return Self<txapi::IBooleans>("GetBooleans"); }
  txapi::SmartPtr<txapi::IMacroObjects3D> GetMacroObjects3D() override
  {
    return Self<txapi::IMacroObjects3D>("GetMacroObjects3D");
  }
  txapi::SmartPtr<txapi::ICopiesGeometry> GetCopiesGeometry() override
  {
    return Self<txapi::ICopiesGeometry>("GetCopiesGeometry");
  }
  txapi::SmartPtr<txapi::ISurfaceThickenings> GetSurfaceThickenings() override
  {
    return Self<txapi::ISurfaceThickenings>("GetSurfaceThickenings");
  }
  txapi::SmartPtr<txapi::IScalings3D> GetScalings3D() override { return Self<txapi::IScalings3D>("GetScalings3D"); }
  txapi::SmartPtr<txapi::IUserObjects3D> GetUserObjects3D() override
  {
    return Self<txapi::IUserObjects3D>("GetUserObjects3D");
  }
};

class AuxiliaryGeomContainerFacet final : public SelfFacet<txapi::IAuxiliaryGeomContainer>
{
public:
  using SelfFacet::SelfFacet;

  txapi::SmartPtr<txapi::IModelObject> Add(txapi::txObj3dTypeEnum kind) override
  {
    Log("Add", kind);
    if (HandOutRefused("Add")) return {};
    std::string_view made;
    if (kind == txapi::o3d_planeOffset || kind == txapi::o3d_planePerpendicular)
      made = model::Plane;
    else if (kind == txapi::o3d_lineSegment3D)
      made = model::AuxLine;
    else if (kind == txapi::o3d_point3D)
      made = model::AuxPoint;
    else if (kind == txapi::o3d_cylindricalSpiral)
      made = model::Spiral;
    else if (kind == txapi::o3d_splitLine)
      made = model::SplitLine;
    else
      return {};
    Object& o = model::NewObject(ModelHost(), made, Model(), kind);
    o.Set("hidden", false);
    return HandOut<txapi::IModelObject>(&o);
  }
  txapi::SmartPtr<txapi::ICurveOutLines> GetCurveOutLines() override
  {
    return Self<txapi::ICurveOutLines>("GetCurveOutLines");
  }
  txapi::SmartPtr<txapi::IContours3D> GetContours3D() override { return Self<txapi::IContours3D>("GetContours3D"); }
};

} // namespace

FacetEntry ModelObject()
{
  return Offer<ModelObjectFacet>("IModelObject");
}
FacetEntry Feature()
{
  return Offer<FeatureFacet>("IFeature");
}
FacetEntry Variable()
{
  return Offer<VariableFacet>("IVariable");
}
FacetEntry ColorParam()
{
  return Offer<ColorParamFacet>("IColorParam");
}
FacetEntry Placement3D()
{
  return Offer<PlacementFacet>("IPlacement3D");
}
FacetEntry Plane3D()
{
  return Offer<PlaneFacet>("IPlane3D");
}
FacetEntry LineSegment3D()
{
  return Offer<LineSegment3DFacet>("ILineSegment3D");
}
FacetEntry Point3D()
{
  return Offer<Point3DFacet>("IPoint3D");
}
FacetEntry CylindricalSpiral()
{
  return Offer<CylindricalSpiralFacet>("ICylindricalSpiral");
}
FacetEntry Face()
{
  return Offer<FaceFacet>("IFace");
}
FacetEntry Edge()
{
  return Offer<EdgeFacet>("IEdge");
}
FacetEntry SplitLine()
{
  return Offer<SplitLineFacet>("ISplitLine");
}
FacetEntry Sketch()
{
  return Offer<SketchFacet>("ISketch");
}
FacetEntry Sketches()
{
  return Offer<SketchesFacet>("ISketches");
}
FacetEntry Rotated()
{
  return Offer<RotatedFacet>("IRotated");
}
FacetEntry Rotateds()
{
  return Offer<RotatedsFacet>("IRotateds");
}
FacetEntry Extrusion()
{
  return Offer<ExtrusionFacet>("IExtrusion");
}
FacetEntry Extrusions()
{
  return Offer<ExtrusionsFacet>("IExtrusions");
}
FacetEntry ModelContainer()
{
  return Offer<ModelContainerFacet>("IModelContainer");
}
FacetEntry AuxiliaryGeomContainer()
{
  return Offer<AuxiliaryGeomContainerFacet>("IAuxiliaryGeomContainer");
}

} // namespace txhost::facets
