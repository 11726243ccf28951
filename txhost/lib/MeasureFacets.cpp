// What inserting and measuring meet in the host: the mathematical surfaces and curves behind faces and
// edges, the sizes of threads, a part's measurements, the mates of a running 3D process, and the named
// objects a component or a phantom takes over from its part file.

#include "txapi/IDistanceAngleMeasurement3D.h"
#include "txapi/IDistanceAngleMeasurements3D.h"
#include "txapi/IEdgeLengthMeasurement3D.h"
#include "txapi/IEdgeLengthMeasurements3D.h"
#include "txapi/IMathCurve3D.h"
#include "txapi/IMathSurface3D.h"
#include "txapi/IMeasurementContainer.h"
#include "txapi/IModelObject.h"
#include "txapi/IThreadsParameters.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"

#include <algorithm>
#include <cmath>

namespace txhost::facets {

namespace {

constexpr std::string_view LengthsKind = "edge-length-measurements";
constexpr std::string_view LengthKind = "edge-length-measurement";
constexpr std::string_view AnglesKind = "distance-angle-measurements";
constexpr std::string_view AngleKind = "distance-angle-measurement";

Object& MeasurementChild(Object& owner, std::string_view prop, std::string_view kind)
{
  if (Object* o = owner.RefProp(prop)) return *o;
  Object& o = owner.GetHost().Create(kind, nullptr, &owner);
  owner.Set(prop, RefValue(&o));
  return o;
}

// A face's surface and an edge's curve are views of the face or edge itself ("radius", "curve").
class MathSurface3DFacet final : public Facet<txapi::IMathSurface3D>
{
public:
  using Facet::Facet;
  double GetRadius() override
  {
    Log("GetRadius");
    return model::Number(Model().Prop("radius"));
  }
};

class MathCurve3DFacet final : public Facet<txapi::IMathCurve3D>
{
public:
  using Facet::Facet;
  txapi::txMathCurve3DTypeEnum GetType() override
  {
    Log("GetType");
    const Value& c = Model().Prop("curve");
    if (c == "line") return txapi::txLineSegment3D;
    if (c == "circle") return txapi::txCircle3D;
    if (c == "arc") return txapi::txArc3D;
    return txapi::txUnknownCurve3D;
  }
  double GetRadius() override
  {
    Log("GetRadius");
    return model::Number(Model().Prop("radius"));
  }
};

class ThreadsParametersFacet final : public Facet<txapi::IThreadsParameters>
{
public:
  using Facet::Facet;
  double GetNominalDiameter() override
  {
    Log("GetNominalDiameter");
    return model::Number(Model().Prop("diameter"));
  }
};

// The items of a measurement collection are its members, in the order they were added.
template <class I, class Item> class MeasurementsFacet : public Facet<I>
{
public:
  MeasurementsFacet(Object& owner, std::string_view name, std::string_view itemKind)
      : Facet<I>(owner, name), ItemKind(itemKind)
  {
  }
  int GetCount() override
  {
    this->Log("GetCount");
    return int(this->Model().Members().size());
  }
  txapi::SmartPtr<Item> GetItem(int index) override
  {
    this->Log("GetItem", index);
    const auto& items = this->Model().Members();
    if (index < 0 || std::size_t(index) >= items.size()) return {};
    return this->template HandOut<Item>(items[std::size_t(index)]);
  }
  txapi::SmartPtr<Item> Add() override
  {
    this->Log("Add");
    if (this->HandOutRefused("Add")) return {};
    Object& m = this->ModelHost().Create(ItemKind, this->Model().Document(), &this->Model());
    m.MarkApplied();
    return this->template HandOut<Item>(&m);
  }

private:
  std::string_view ItemKind;
};

class EdgeLengthMeasurementsFacet final
    : public MeasurementsFacet<txapi::IEdgeLengthMeasurements3D, txapi::IEdgeLengthMeasurement3D>
{
public:
  EdgeLengthMeasurementsFacet(Object& owner, std::string_view name) : MeasurementsFacet(owner, name, LengthKind) {}
};

class DistanceAngleMeasurementsFacet final
    : public MeasurementsFacet<txapi::IDistanceAngleMeasurements3D, txapi::IDistanceAngleMeasurement3D>
{
public:
  DistanceAngleMeasurementsFacet(Object& owner, std::string_view name) : MeasurementsFacet(owner, name, AngleKind)
  {
  }
};

// The length of an object's edges: an edge's own "length", the sum over a face's edges, 0 for anything else.
double EdgeLength(const Host& host, const Object& o)
{
  if (o.Kind() == model::Edge) return model::Number(o.Prop("length"));
  double sum = 0.0;
  if (o.Kind() == model::Face && o.Prop("edges").is_array())
    for (const Value& r : o.Prop("edges"))
      if (const Object* e = host.Find(RefId(r)); e != nullptr && e->Kind() == model::Edge)
        sum += model::Number(e->Prop("length"));
  return sum;
}

class EdgeLengthMeasurementFacet final : public Facet<txapi::IEdgeLengthMeasurement3D>
{
public:
  using Facet::Facet;
  void SetObjects(const std::vector<txapi::SmartPtr<txapi::IModelObject>>& objects) override
  {
    Log("SetObjects", objects);
    Value list = Value::array();
    for (const auto& o : objects)
      list.push_back(RefValue(Object::From(o.get())));
    Model().Set("objects", list);
  }
  double GetResult() override
  {
    Log("GetResult");
    double sum = 0.0;
    const Value& list = Model().Prop("objects");
    if (list.is_array())
      for (const Value& r : list)
        if (const Object* o = ModelHost().Find(RefId(r))) sum += EdgeLength(ModelHost(), *o);
    return sum;
  }
};

// The direction an object points in: an edge's or axis's "direction", a face's or plane's "normal".
bool Direction(const Object* o, double (&d)[3])
{
  if (o == nullptr) return false;
  const Value& v = o->Has("direction") ? o->Prop("direction") : o->Prop("normal");
  if (!v.is_array() || v.size() != 3) return false;
  for (int i = 0; i < 3; ++i)
    d[i] = model::Number(v[std::size_t(i)]);
  return std::isfinite(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

class DistanceAngleMeasurementFacet final : public Facet<txapi::IDistanceAngleMeasurement3D>
{
public:
  using Facet::Facet;
  void SetFirstObject(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("SetFirstObject", object);
    Model().Set("first", RefValue(Object::From(object.get())));
  }
  void SetSecondObject(const txapi::SmartPtr<txapi::IModelObject>& object) override
  {
    Log("SetSecondObject", object);
    Model().Set("second", RefValue(Object::From(object.get())));
  }
  double GetAngle() override
  {
    Log("GetAngle");
    double a[3], b[3];
    if (!Direction(Model().RefProp("first"), a) || !Direction(Model().RefProp("second"), b)) return 0.0;
    const double la = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    const double lb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    if (la == 0.0 || lb == 0.0) return 0.0;
    const double c = (a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (la * lb);
    return std::acos(std::fmax(-1.0, std::fmin(1.0, c))) * 180.0 / M_PI;
  }
};

class MeasurementContainerFacet final : public Facet<txapi::IMeasurementContainer>
{
public:
  using Facet::Facet;
  txapi::SmartPtr<txapi::IEdgeLengthMeasurements3D> GetEdgeLengthMeasurements() override
  {
    Log("GetEdgeLengthMeasurements");
    if (HandOutRefused("GetEdgeLengthMeasurements")) return {};
    return HandOut<txapi::IEdgeLengthMeasurements3D>(
        &MeasurementChild(Model(), "edgeLengthMeasurements", LengthsKind));
  }
  txapi::SmartPtr<txapi::IDistanceAngleMeasurements3D> GetDistanceAngleMeasurements() override
  {
    Log("GetDistanceAngleMeasurements");
    if (HandOutRefused("GetDistanceAngleMeasurements")) return {};
    return HandOut<txapi::IDistanceAngleMeasurements3D>(
        &MeasurementChild(Model(), "distanceAngleMeasurements", AnglesKind));
  }
};

// A copied property holds no reference: the source's objects stay in the source.
bool HoldsReference(const Value& v)
{
  if (v.is_object()) return v.contains("$obj") || std::any_of(v.begin(), v.end(), HoldsReference);
  if (v.is_array()) return std::any_of(v.begin(), v.end(), HoldsReference);
  return false;
}

} // namespace

FacetEntry MathSurface3D()
{
  return Offer<MathSurface3DFacet>("IMathSurface3D");
}
FacetEntry MathCurve3D()
{
  return Offer<MathCurve3DFacet>("IMathCurve3D");
}
FacetEntry ThreadsParameters()
{
  return Offer<ThreadsParametersFacet>("IThreadsParameters");
}
FacetEntry MeasurementContainer()
{
  return Offer<MeasurementContainerFacet>("IMeasurementContainer");
}

void AddMeasureKinds(KindTable& t)
{
  t.Add(std::string(LengthsKind), 0, {Offer<EdgeLengthMeasurementsFacet>("IEdgeLengthMeasurements3D")});
  t.Add(std::string(LengthKind), 0, {Offer<EdgeLengthMeasurementFacet>("IEdgeLengthMeasurement3D")});
  t.Add(std::string(AnglesKind), 0, {Offer<DistanceAngleMeasurementsFacet>("IDistanceAngleMeasurements3D")});
  t.Add(std::string(AngleKind), 0, {Offer<DistanceAngleMeasurementFacet>("IDistanceAngleMeasurement3D")});
  // The mates of a running 3D process: made and found as a document's are, but only the process holds them.
  t.Add("process-mates", 0, {MateConstraints3D()});
}

void AdoptNamedObjects(Object& part, const Object& sourceTop)
{
  Host& host = part.GetHost();
  for (const Object* o : model::LiveMembers(sourceTop)) {
    if (!o->Has("type") || o->Text("name").empty() || o->Prop("standard") == true) continue;
    Object& copy = model::NewObject(host, o->Kind(), part, model::TypeOf(*o));
    for (const auto& [key, value] : o->Props().items())
      if (!HoldsReference(value)) copy.Set(key, value);
    copy.MarkApplied();
  }
}

} // namespace txhost::facets
