// Facets of the features beyond sketches, extrusions and rotations (txhost/lib/Model3D.h): the surface
// and 3D-symbol containers, the collections of the part, the features with their parameter objects, bodies
// and faces. Every setter logs its call and keeps its value in a property of the same role.

#include "txapi/IBaseLineDimension3D.h"
#include "txapi/IBilletObsolete.h"
#include "txapi/IBilletsObsoletes.h"
#include "txapi/IBody.h"
#include "txapi/IBoolean.h"
#include "txapi/IBooleans.h"
#include "txapi/IContour3D.h"
#include "txapi/IContours3D.h"
#include "txapi/ICopiesGeometry.h"
#include "txapi/ICopyGeometry.h"
#include "txapi/ICurveOutLine.h"
#include "txapi/ICurveOutLines.h"
#include "txapi/IEquidistantSurface.h"
#include "txapi/IEquidistantSurfaces.h"
#include "txapi/IEvolution.h"
#include "txapi/IEvolutions.h"
#include "txapi/IExtrusions.h"
#include "txapi/IFaceRemover.h"
#include "txapi/IFaceRemovers.h"
#include "txapi/ILineDimensions3D.h"
#include "txapi/ILocalCoordinateSystem.h"
#include "txapi/IMacroObject3D.h"
#include "txapi/IMacroObjects3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IRotateds.h"
#include "txapi/IRuledSurface.h"
#include "txapi/IRuledSurfaceParametersByCurves.h"
#include "txapi/IRuledSurfaces.h"
#include "txapi/IScaling3D.h"
#include "txapi/IScalings3D.h"
#include "txapi/ISurfaceContainer.h"
#include "txapi/ISurfacePatch.h"
#include "txapi/ISurfacePatches.h"
#include "txapi/ISurfaceSewer.h"
#include "txapi/ISurfaceSewers.h"
#include "txapi/ISurfaceThickening.h"
#include "txapi/ISurfaceThickenings.h"
#include "txapi/ISymbols3DContainer.h"
#include "txapi/IThreads.h"
#include "txapi/IDimension3D.h"
#include "txapi/IVariable.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/IThinParameters.h"
#include "txapi/ITrimmedSurface.h"
#include "txapi/ITrimmedSurfaces.h"
#include "txapi/IUserObject3D.h"
#include "txapi/IUserObjects3D.h"
#include "txapi/IUserParameters.h"
#include "txapi/IVector3DByCoefficientsParameters.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/SymbolFacets.h"

#include <algorithm>

namespace txhost::facets {

namespace {

// A facet whose setters keep their value in a property.
template <class I> class ParamFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

protected:
  template <class T> void Put(std::string_view op, const char* key, const T& v)
  {
    this->Log(op, v);
    this->Model().Set(key, ToValue(v));
  }
  // The object's parameter object of the kind, made on first request.
  Object* Sub(std::string_view op)
  {
    if (this->HandOutRefused(op)) return nullptr;
    for (Object* m : model::LiveMembers(this->Model(), model::Parameters))
      return m;
    Object& p = this->ModelHost().Create(model::Parameters, this->Model().Document(), &this->Model());
    p.MarkApplied();
    return &p;
  }
};

// A collection of the part: hands out new, unapplied features of one kind under it.
template <class I> class CollectionFacet : public Facet<I>
{
public:
  using Facet<I>::Facet;

protected:
  template <class Item> txapi::SmartPtr<Item> New(std::string_view kind, int type)
  {
    if (this->HandOutRefused("Add")) return {};
    Object& o = model::NewObject(this->ModelHost(), kind, this->Model(), type);
    o.Set("hidden", false);
    return this->template HandOut<Item>(&o);
  }
};

// A collection whose Add() takes nothing: Kind names the kind made.
template <class I, class Item, const std::string_view* Kind> class AddFacet final : public CollectionFacet<I>
{
public:
  using CollectionFacet<I>::CollectionFacet;

  txapi::SmartPtr<Item> Add() override
  {
    this->Log("Add");
    return this->template New<Item>(*Kind, 0);
  }
};

// A collection whose Add(kind) makes one kind of object of the types listed.
template <class I, class Item, const std::string_view* Kind, int... Types>
class TypedAddFacet final : public CollectionFacet<I>
{
public:
  using CollectionFacet<I>::CollectionFacet;

  txapi::SmartPtr<Item> Add(txapi::txObj3dTypeEnum type) override
  {
    this->Log("Add", type);
    if (((type != Types) && ...)) return {};
    return this->template New<Item>(*Kind, type);
  }
};

using ModelObjects = std::vector<txapi::SmartPtr<txapi::IModelObject>>;

class SurfaceContainerFacet final : public SelfFacet<txapi::ISurfaceContainer>
{
public:
  using SelfFacet::SelfFacet;
  txapi::SmartPtr<txapi::IExtrusions> GetExtrusions() override
  {
    return Self<txapi::IExtrusions>("GetExtrusions");
  }
  txapi::SmartPtr<txapi::IRotateds> GetRotateds() override { return Self<txapi::IRotateds>("GetRotateds"); }
  txapi::SmartPtr<txapi::IEvolutions> GetEvolutions() override
  {
    return Self<txapi::IEvolutions>("GetEvolutions");
  }
  txapi::SmartPtr<txapi::ISurfacePatches> GetSurfacePatches() override
  {
    return Self<txapi::ISurfacePatches>("GetSurfacePatches");
  }
  txapi::SmartPtr<txapi::IRuledSurfaces> GetRuledSurfaces() override
  {
    return Self<txapi::IRuledSurfaces>("GetRuledSurfaces");
  }
  txapi::SmartPtr<txapi::IEquidistantSurfaces> GetEquidistantSurfaces() override
  {
    return Self<txapi::IEquidistantSurfaces>("GetEquidistantSurfaces");
  }
  txapi::SmartPtr<txapi::ITrimmedSurfaces> GetTrimmedSurfaces() override
  {
    return Self<txapi::ITrimmedSurfaces>("GetTrimmedSurfaces");
  }
  txapi::SmartPtr<txapi::IFaceRemovers> GetFaceRemovers() override
  {
    return Self<txapi::IFaceRemovers>("GetFaceRemovers");
  }
  txapi::SmartPtr<txapi::ISurfaceSewers> GetSurfaceSewers() override
  {
    return Self<txapi::ISurfaceSewers>("GetSurfaceSewers");
  }
};

class Symbols3DContainerFacet final : public SelfFacet<txapi::ISymbols3DContainer>
{
public:
  using SelfFacet::SelfFacet;
  bool CreateGenerativeDimensions(const ModelObjects& objects, bool all) override
  {
    Log("CreateGenerativeDimensions", objects, all);
    // Each object gets one generating dimension, recorded on it.
    bool made = false;
    for (const auto& o : objects)
      if (Object* target = Object::From(o.get())) {
        target->Set("generative-dimensions", true);
        made = true;
      }
    return made;
  }
  txapi::SmartPtr<txapi::ILineDimensions3D> GetLineDimensions3D() override
  {
    return Self<txapi::ILineDimensions3D>("GetLineDimensions3D");
  }
  txapi::SmartPtr<txapi::IThreads> GetThreads() override { return Self<txapi::IThreads>("GetThreads"); }
  txapi::SmartPtr<txapi::IVariable> GetDimensionVariable(const txapi::SmartPtr<txapi::IDimension3D>& d) override
  {
    Log("GetDimensionVariable", d);
    Object* o = Object::From(d.get());
    for (Object* v : o != nullptr ? model::LiveMembers(*o, model::Variable) : std::vector<Object*>())
      return HandOut<txapi::IVariable>(v);
    return {};
  }
};

class BilletsFacet final : public Facet<txapi::IBilletsObsoletes>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IBilletObsolete> Add(const std::wstring& fileName, bool mirror) override
  {
    Log("Add", fileName, mirror);
    Host& host = ModelHost();
    if (HandOutRefused("Add") || Model().Document() == nullptr) return {};
    const std::filesystem::path path = host.Resolve(ToPath(fileName));
    std::string error;
    // Read as a document of its own, outside the host's list; the billet takes its bodies when applied.
    Object* source = path.empty() ? nullptr : ReadDocumentFile(host, path, error);
    if (source == nullptr || host.TopPart(*source) == nullptr) return {};
    Object& b = model::NewObject(host, model::Billet, Model(), 0);
    b.Set("hidden", false);
    b.Set("file", path.string());
    b.Set("mirror", mirror);
    b.Set("source", RefValue(source));
    host.SetSourceOwner(*source, b);
    return HandOut<txapi::IBilletObsolete>(&b);
  }
};

class BilletFacet final : public Facet<txapi::IBilletObsolete>
{
public:
  using Facet::Facet;
  std::wstring GetFileName() override
  {
    Log("GetFileName");
    return Model().Text("file");
  }
  bool GetMirror() override
  {
    Log("GetMirror");
    return Model().Prop("mirror") == true;
  }
};

class EvolutionFacet final : public ParamFacet<txapi::IEvolution>
{
public:
  using ParamFacet::ParamFacet;
  void SetProfile(const txapi::SmartPtr<txapi::IModelObject>& s) override
  {
    Put("SetProfile", "profile-sketch", s);
  }
  void SetSketchShiftType(txapi::txEvolutionShiftSketchTypeEnum t) override
  {
    Put("SetSketchShiftType", "shift", t);
  }
  void SetOperationResult(txapi::txOperationResultEnum r) override { Put("SetOperationResult", "result", r); }
  void SetPathPartsSwitch(bool on) override { Put("SetPathPartsSwitch", "path-parts", on); }
  void SetPath(const ModelObjects& path) override { Put("SetPath", "path", path); }
};

class BooleanFacet final : public ParamFacet<txapi::IBoolean>
{
public:
  using ParamFacet::ParamFacet;
  void SetOperands(const ModelObjects& bodies) override { Put("SetOperands", "operands", bodies); }
  void SetBooleanType(txapi::txBooleanType t) override { Put("SetBooleanType", "operation", t); }
};

class BodyFacet final : public Facet<txapi::IBody>
{
public:
  using Facet::Facet;
  ModelObjects GetFaces() override
  {
    Log("GetFaces");
    ModelObjects out;
    if (HandOutRefused("GetFaces")) return out;
    for (Object* f : model::LiveMembers(Model(), model::Face))
      out.push_back(HandOut<txapi::IModelObject>(f));
    return out;
  }
};

class SurfacePatchFacet final : public ParamFacet<txapi::ISurfacePatch>
{
public:
  using ParamFacet::ParamFacet;
  void SetEdges(const ModelObjects& edges) override { Put("SetEdges", "edges", edges); }
};

class RuledSurfaceFacet final : public ParamFacet<txapi::IRuledSurface>
{
public:
  using ParamFacet::ParamFacet;
  void SetBuildingType(txapi::txRuledSurfaceBuildingTypeEnum t) override
  {
    Put("SetBuildingType", "building", t);
  }
  txapi::SmartPtr<txapi::ITavrixAPIObject> GetParameters() override
  {
    Log("GetParameters");
    return HandOut<txapi::ITavrixAPIObject>(Sub("GetParameters"));
  }
};

class RuledByCurvesFacet final : public ParamFacet<txapi::IRuledSurfaceParametersByCurves>
{
public:
  using ParamFacet::ParamFacet;
  void SetCurves1(const ModelObjects& c) override { Put("SetCurves1", "curves1", c); }
  void SetCurves2(const ModelObjects& c) override { Put("SetCurves2", "curves2", c); }
  void SetSenseSwitch(bool on) override { Put("SetSenseSwitch", "sense", on); }
};

class Macro3DFacet final : public ParamFacet<txapi::IMacroObject3D>
{
public:
  using ParamFacet::ParamFacet;
  void SetStaffVisible(bool v) override { Put("SetStaffVisible", "staff-visible", v); }
  void SetName(const std::wstring& name) override { Put("SetName", "name", name); }
  void SetMembers(const ModelObjects& members) override { Put("SetMembers", "members", members); }
};

class CopyGeometryFacet final : public ParamFacet<txapi::ICopyGeometry>
{
public:
  using ParamFacet::ParamFacet;
  void SetSource(const txapi::SmartPtr<txapi::ITavrixDocument3D>& document,
                 const txapi::SmartPtr<txapi::IModelObject>& object, const ModelObjects& objects) override
  {
    Log("SetSource", document, object, objects);
    Model().Set("source", Args(document, object, objects));
  }
  void SetObjects(const ModelObjects& objects) override { Put("SetObjects", "objects", objects); }
  void SetLocalCoordinateSystem(const txapi::SmartPtr<txapi::ILocalCoordinateSystem>& lcs) override
  {
    Put("SetLocalCoordinateSystem", "lcs", lcs);
  }
};

class EquidistantFacet final : public ParamFacet<txapi::IEquidistantSurface>
{
public:
  using ParamFacet::ParamFacet;
  void SetBaseObjects(const ModelObjects& o) override { Put("SetBaseObjects", "base", o); }
  void SetDirection(bool reverse) override { Put("SetDirection", "reverse", reverse); }
  void SetDistance(double d) override { Put("SetDistance", "distance", d); }
};

class TrimmedFacet final : public ParamFacet<txapi::ITrimmedSurface>
{
public:
  using ParamFacet::ParamFacet;
  void SetSurfaces(const ModelObjects& o) override { Put("SetSurfaces", "surfaces", o); }
  void SetCuttingObjects(const ModelObjects& o) override { Put("SetCuttingObjects", "cutting", o); }
  void SetSense(bool s) override { Put("SetSense", "sense", s); }
};

class FaceRemoverFacet final : public ParamFacet<txapi::IFaceRemover>
{
public:
  using ParamFacet::ParamFacet;
  void SetFaces(const ModelObjects& o) override { Put("SetFaces", "faces", o); }
};

class SewerFacet final : public ParamFacet<txapi::ISurfaceSewer>
{
public:
  using ParamFacet::ParamFacet;
  void SetFaces(const ModelObjects& o) override { Put("SetFaces", "faces", o); }
  void SetCreateBody(bool b) override { Put("SetCreateBody", "create-body", b); }
};

class ThickeningFacet final : public ParamFacet<txapi::ISurfaceThickening>
{
public:
  using ParamFacet::ParamFacet;
  void SetSurfaces(const ModelObjects& o) override { Put("SetSurfaces", "surfaces", o); }
};

class ThinParametersFacet final : public ParamFacet<txapi::IThinParameters>
{
public:
  using ParamFacet::ParamFacet;
  void SetThinType(int direction) override { Put("SetThinType", "thin-type", direction); }
  void SetThickness(int direction, double t) override
  {
    Log("SetThickness", direction, t);
    if (direction == 0 || direction == 1) Model().Set(direction == 0 ? "thickness0" : "thickness1", t);
  }
};

class CurveOutLineFacet final : public ParamFacet<txapi::ICurveOutLine>
{
public:
  using ParamFacet::ParamFacet;
  void SetFaces(const ModelObjects& o) override { Put("SetFaces", "faces", o); }
  void SetDirectionType(txapi::txVector3DParametersTypeEnum t) override
  {
    Put("SetDirectionType", "direction-type", t);
  }
  txapi::SmartPtr<txapi::ITavrixAPIObject> GetDirectionParameters() override
  {
    Log("GetDirectionParameters");
    return HandOut<txapi::ITavrixAPIObject>(Sub("GetDirectionParameters"));
  }
};

class VectorCoefficientsFacet final : public ParamFacet<txapi::IVector3DByCoefficientsParameters>
{
public:
  using ParamFacet::ParamFacet;
  void SetCoefficients(double x, double y, double z) override
  {
    Log("SetCoefficients", x, y, z);
    Model().Set("coefficients", Args(x, y, z));
  }
};

class Contour3DFacet final : public ParamFacet<txapi::IContour3D>
{
public:
  using ParamFacet::ParamFacet;
  void SetSegments(const ModelObjects& o) override { Put("SetSegments", "segments", o); }
};

class ScalingFacet final : public ParamFacet<txapi::IScaling3D>
{
public:
  using ParamFacet::ParamFacet;
  void SetObject(const txapi::SmartPtr<txapi::IModelObject>& o) override { Put("SetObject", "object", o); }
  void SetScale(double s) override { Put("SetScale", "scale", s); }
  void SetBasePoint(const txapi::SmartPtr<txapi::IModelObject>& p) override
  {
    Put("SetBasePoint", "base-point", p);
  }
};

class UserObjectFacet final : public ParamFacet<txapi::IUserObject3D>
{
public:
  using ParamFacet::ParamFacet;
  void SetObjectTypeId(const std::wstring& id) override { Put("SetObjectTypeId", "object-type", id); }
  std::wstring GetObjectTypeId() override
  {
    Log("GetObjectTypeId");
    return Model().Text("object-type");
  }
};

class UserParameters3DFacet final : public ParamFacet<txapi::IUserParameters>
{
public:
  using ParamFacet::ParamFacet;
  void SetLibraryFileName(const std::wstring& name) override
  {
    Put("SetLibraryFileName", "library-file", name);
  }
  void SetSecondText(const std::wstring& text) override { Put("SetSecondText", "library-name", text); }
  void SetCommand(int command) override { Put("SetCommand", "command", command); }
  void SetUserData(const std::vector<std::uint8_t>& data) override { Put("SetUserData", "user-data", data); }
  std::wstring GetLibraryFileName() override
  {
    Log("GetLibraryFileName");
    return Model().Text("library-file");
  }
  int GetCommand() override
  {
    Log("GetCommand");
    return model::SaturatedInt(model::Number(Model().Prop("command")));
  }
  std::vector<std::uint8_t> GetUserData() override
  {
    Log("GetUserData");
    std::vector<std::uint8_t> out;
    for (const Value& b : Model().Prop("user-data"))
      if (b.is_number_unsigned() && b.get<unsigned>() < 256) out.push_back(std::uint8_t(b.get<unsigned>()));
    return out;
  }
};

class BaseLineDimension3DFacet final : public ParamFacet<txapi::IBaseLineDimension3D>
{
public:
  using ParamFacet::ParamFacet;
  void SetObject1(const txapi::SmartPtr<txapi::IModelObject>& o) override { Put("SetObject1", "object1", o); }
  void SetObject2(const txapi::SmartPtr<txapi::IModelObject>& o) override { Put("SetObject2", "object2", o); }
  bool Update() override { return Model().Update(); }
};

class LocalCoordinateSystemFacet final : public Facet<txapi::ILocalCoordinateSystem>
{
public:
  using Facet::Facet;
  std::vector<double> GetMatrix() override
  {
    Log("GetMatrix");
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  }
};

// Kind names as template arguments.
constexpr std::string_view KEvolution = model::Evolution, KBoolean = model::Boolean, KMacro = model::Macro3D,
                           KCopy = model::CopyGeometry, KThickening = model::Thickening,
                           KScaling = model::Scaling, KUser = model::UserObject, KPatch = model::SurfacePatch,
                           KRuled = model::RuledSurface, KEquidistant = model::Equidistant,
                           KTrimmed = model::Trimmed, KRemover = model::FaceRemover, KSewer = model::Sewer,
                           KOutLine = model::CurveOutLine, KContour = model::Contour3D,
                           KDimension = model::Dimension3D;

template <class I, class Item, const std::string_view* K> FacetEntry Adds(std::string_view name)
{
  return Offer<AddFacet<I, Item, K>>(name);
}

} // namespace

// Everything a part offers beyond its model container's sketches, extrusions and rotations.
std::vector<FacetEntry> PartFeatureFacets()
{
  using namespace txapi;
  return {
      Offer<SurfaceContainerFacet>("ISurfaceContainer"),
      Offer<Symbols3DContainerFacet>("ISymbols3DContainer"),
      Offer<TypedAddFacet<IEvolutions, IEvolution, &KEvolution, o3d_bossEvolution, o3d_cutEvolution,
                          o3d_EvolutionSurface>>("IEvolutions"),
      Offer<BilletsFacet>("IBilletsObsoletes"),
      Adds<IBooleans, IBoolean, &KBoolean>("IBooleans"),
      Adds<IMacroObjects3D, IMacroObject3D, &KMacro>("IMacroObjects3D"),
      Adds<ICopiesGeometry, ICopyGeometry, &KCopy>("ICopiesGeometry"),
      Adds<ISurfaceThickenings, ISurfaceThickening, &KThickening>("ISurfaceThickenings"),
      Adds<IScalings3D, IScaling3D, &KScaling>("IScalings3D"),
      Offer<
          TypedAddFacet<IUserObjects3D, IUserObject3D, &KUser, o3d_UserObjectOperation, o3d_UserWireFrame3D>>(
          "IUserObjects3D"),
      Adds<ISurfacePatches, ISurfacePatch, &KPatch>("ISurfacePatches"),
      Adds<IRuledSurfaces, IRuledSurface, &KRuled>("IRuledSurfaces"),
      Adds<IEquidistantSurfaces, IEquidistantSurface, &KEquidistant>("IEquidistantSurfaces"),
      Adds<ITrimmedSurfaces, ITrimmedSurface, &KTrimmed>("ITrimmedSurfaces"),
      Adds<IFaceRemovers, IFaceRemover, &KRemover>("IFaceRemovers"),
      Adds<ISurfaceSewers, ISurfaceSewer, &KSewer>("ISurfaceSewers"),
      Adds<ICurveOutLines, ICurveOutLine, &KOutLine>("ICurveOutLines"),
      Adds<IContours3D, IContour3D, &KContour>("IContours3D"),
      Offer<TypedAddFacet<ILineDimensions3D, IBaseLineDimension3D, &KDimension, o3d_baselineDimension3D>>(
          "ILineDimensions3D"),
  };
}

void AddModel3DKinds(KindTable& t)
{
  auto add = [&](std::string_view kind, std::vector<FacetEntry> f) {
    // Every feature is a model object that can be coloured, hidden and left out of the calculation.
    f.push_back(ModelObject());
    f.push_back(Feature());
    f.push_back(ColorParam());
    t.Add(std::string(kind), 0, std::move(f));
  };
  add(model::Evolution, {Offer<EvolutionFacet>("IEvolution")});
  add(model::Billet, {Offer<BilletFacet>("IBilletObsolete")});
  add(model::Boolean, {Offer<BooleanFacet>("IBoolean")});
  add(model::Macro3D, {Offer<Macro3DFacet>("IMacroObject3D")});
  add(model::CopyGeometry, {Offer<CopyGeometryFacet>("ICopyGeometry")});
  add(model::Thickening,
      {Offer<ThickeningFacet>("ISurfaceThickening"), Offer<ThinParametersFacet>("IThinParameters")});
  add(model::Scaling, {Offer<ScalingFacet>("IScaling3D")});
  add(model::UserObject,
      {Offer<UserObjectFacet>("IUserObject3D"), Offer<UserParameters3DFacet>("IUserParameters")});
  add(model::SurfacePatch, {Offer<SurfacePatchFacet>("ISurfacePatch")});
  add(model::RuledSurface, {Offer<RuledSurfaceFacet>("IRuledSurface")});
  add(model::Equidistant, {Offer<EquidistantFacet>("IEquidistantSurface")});
  add(model::Trimmed, {Offer<TrimmedFacet>("ITrimmedSurface")});
  add(model::FaceRemover, {Offer<FaceRemoverFacet>("IFaceRemover")});
  add(model::Sewer, {Offer<SewerFacet>("ISurfaceSewer")});
  add(model::CurveOutLine, {Offer<CurveOutLineFacet>("ICurveOutLine")});
  add(model::Contour3D, {Offer<Contour3DFacet>("IContour3D")});
  std::vector<FacetEntry> dimension{Offer<BaseLineDimension3DFacet>("IBaseLineDimension3D")};
  for (FacetEntry& f : Dimension3DFacets())
    dimension.push_back(f);
  add(model::Dimension3D, std::move(dimension));
  add(model::Body, {Offer<BodyFacet>("IBody")});
  // A parameter object answers each parameter interface a feature hands out.
  t.Add(std::string(model::Parameters), 0,
        {Offer<RuledByCurvesFacet>("IRuledSurfaceParametersByCurves"),
         Offer<VectorCoefficientsFacet>("IVector3DByCoefficientsParameters")});
  t.Add("local-coordinate-system", 0,
        {Offer<LocalCoordinateSystemFacet>("ILocalCoordinateSystem"), ModelObject()});
}

FacetEntry UserParameters3D()
{
  return Offer<UserParameters3DFacet>("IUserParameters");
}

} // namespace txhost::facets
