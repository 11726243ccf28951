#include "txhost/lib/Model3D.h"

#include "txapi/Enums.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Placement3D.h"
#include "txhost/lib/SolidLink.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <unordered_set>

namespace txhost::model {

namespace {

using V2 = std::array<double, 2>;
using V3 = std::array<double, 3>;

constexpr double Eps = 1e-6;

V3 Vec3(const Value& a, const V3& otherwise)
{
  if (!a.is_array() || a.size() != 3) return otherwise;
  return {Number(a[0]), Number(a[1]), Number(a[2])};
}

Value ToJson(const V3& v)
{
  return Value::array({v[0], v[1], v[2]});
}

// The sketch's frame by the host's conventions, so that directions in the sketch map into space; a sketch
// on a plane the host does not place keeps the plane's normal with axes across it.
struct PlaneFrame
{
  V3 N{0, 0, 1}, U{1, 0, 0}, V{0, 1, 0};

  explicit PlaneFrame(const Object* sketch)
  {
    if (std::optional<place::Frame> f = sketch != nullptr ? place::SketchFrame(*sketch) : std::nullopt) {
      N = f->N;
      U = f->U;
      V = f->V;
      return;
    }
    const Object* plane = sketch != nullptr ? sketch->RefProp("plane") : nullptr;
    if (plane != nullptr) N = Vec3(plane->Prop("normal"), N);
    U = std::abs(N[0]) > 0.9 ? V3{0, 1, 0} : V3{1, 0, 0};
    V = place::Cross(N, U);
  }
  V3 Map(const V2& d) const
  {
    return {d[0] * U[0] + d[1] * V[0], d[0] * U[1] + d[1] * V[1], d[0] * U[2] + d[1] * V[2]};
  }
};

struct Curve
{
  bool Line = true;
  V2 A{}, B{}; // end points
};

V2 Sub(const V2& a, const V2& b)
{
  return {a[0] - b[0], a[1] - b[1]};
}
double Dot(const V2& a, const V2& b)
{
  return a[0] * b[0] + a[1] * b[1];
}
double Cross(const V2& a, const V2& b)
{
  return a[0] * b[1] - a[1] * b[0];
}
V2 Unit(const V2& a)
{
  const double l = std::hypot(a[0], a[1]);
  return l < Eps ? V2{0, 0} : V2{a[0] / l, a[1] / l};
}
bool Same(const V2& a, const V2& b)
{
  return std::abs(a[0] - b[0]) < Eps && std::abs(a[1] - b[1]) < Eps;
}

// The curves of a profile (the axis lines apart) and its first axis line.
std::vector<Curve> Curves(const Value& profile, const Curve*& axis, Curve& axisStore)
{
  std::vector<Curve> out;
  axis = nullptr;
  for (const Value& c : profile) {
    // A profile read back from a file may hold anything.
    if (!c.is_object() || !c.contains("points") || !c.at("points").is_array()) continue;
    const Value& p = c.at("points");
    Curve k;
    k.Line = c.contains("curve") && c.at("curve") == "line";
    const std::size_t at = k.Line ? 0 : 2;
    if (p.size() < at + 4) continue;
    k.A = {Number(p[at]), Number(p[at + 1])};
    k.B = {Number(p[at + 2]), Number(p[at + 3])};
    if (k.Line && c.contains("style") && c.at("style") == int(txapi::txCSAxial)) {
      if (axis == nullptr) {
        axisStore = k;
        axis = &axisStore;
      }
      continue;
    }
    out.push_back(k);
  }
  return out;
}

class BodyBuilder
{
public:
  BodyBuilder(Host& host, Object& feature) : H(host)
  {
    BodyP = &NewObject(host, Body, feature, 0);
    BodyP->MarkApplied();
  }

  Object& AddFace(const char* surface, const V3* normal = nullptr)
  {
    Object& f = NewObject(H, Face, *BodyP, txapi::o3d_face);
    f.Set("surface", surface);
    if (normal != nullptr) f.Set("normal", ToJson(*normal));
    f.Set("edges", Value::array());
    f.MarkApplied();
    return f;
  }
  void Join(Object& a, Object& b)
  {
    Object& e = NewObject(H, Edge, *BodyP, txapi::o3d_edge);
    e.Set("faces", Value::array({RefValue(&a), RefValue(&b)}));
    e.MarkApplied();
    for (Object* f : {&a, &b}) {
      Value edges = f->Prop("edges");
      edges.push_back(RefValue(&e));
      f->Set("edges", std::move(edges));
    }
  }
  // Faces of curves that meet at an end point share an edge.
  void JoinNeighbours(const std::vector<Curve>& curves, const std::vector<Object*>& faces)
  {
    for (std::size_t i = 0; i < curves.size(); ++i)
      for (std::size_t j = i + 1; j < curves.size(); ++j) {
        const Curve &a = curves[i], &b = curves[j];
        if (faces[i] && faces[j] && (Same(a.A, b.A) || Same(a.A, b.B) || Same(a.B, b.A) || Same(a.B, b.B)))
          Join(*faces[i], *faces[j]);
      }
  }

private:
  Host& H;
  Object* BodyP;
};

V2 Centre(const std::vector<Curve>& curves)
{
  V2 c{0, 0};
  for (const Curve& k : curves)
    c = {c[0] + (k.A[0] + k.B[0]) / 2, c[1] + (k.A[1] + k.B[1]) / 2};
  const double n = curves.empty() ? 1.0 : double(curves.size());
  return {c[0] / n, c[1] / n};
}

void ExtrusionBody(Host& host, Object& feature, const std::vector<Curve>& curves, const PlaneFrame& frame)
{
  BodyBuilder b(host, feature);
  const V2 c = Centre(curves);
  std::vector<Object*> sides;
  for (const Curve& k : curves) {
    if (!k.Line) {
      sides.push_back(&b.AddFace("cylinder"));
      continue;
    }
    const V2 d = Unit(Sub(k.B, k.A));
    V2 p{d[1], -d[0]};
    const V2 mid{(k.A[0] + k.B[0]) / 2, (k.A[1] + k.B[1]) / 2};
    if (Dot(p, Sub(mid, c)) < 0) p = {-p[0], -p[1]};
    const V3 n = frame.Map(p);
    sides.push_back(&b.AddFace("plane", &n));
  }
  const V3 up = frame.N, down{-frame.N[0], -frame.N[1], -frame.N[2]};
  Object& top = b.AddFace("plane", &up);
  Object& bottom = b.AddFace("plane", &down);
  for (Object* s : sides) {
    b.Join(*s, top);
    b.Join(*s, bottom);
  }
  b.JoinNeighbours(curves, sides);
}

void RotationBody(Host& host, Object& feature, const std::vector<Curve>& curves, const Curve& axis,
                  const PlaneFrame& frame)
{
  BodyBuilder b(host, feature);
  const V2 w = Unit(Sub(axis.B, axis.A));
  const V2 c = Centre(curves);
  std::vector<Object*> faces;
  for (const Curve& k : curves) {
    const double offA = std::abs(Cross(w, Sub(k.A, axis.A))), offB = std::abs(Cross(w, Sub(k.B, axis.A)));
    if (!k.Line) {
      faces.push_back(&b.AddFace("other"));
    } else if (offA < Eps && offB < Eps) {
      faces.push_back(nullptr); // on the axis: no face
    } else {
      const V2 d = Sub(k.B, k.A);
      if (std::abs(Cross(w, d)) < Eps) {
        faces.push_back(&b.AddFace("cylinder"));
      } else if (std::abs(Dot(w, d)) < Eps) {
        // A disc or ring, facing away from the rest of the profile along the axis.
        const double s = Dot(w, Sub(k.A, c)) >= 0 ? 1.0 : -1.0;
        const V3 n = frame.Map({w[0] * s, w[1] * s});
        faces.push_back(&b.AddFace("plane", &n));
      } else {
        faces.push_back(&b.AddFace("cone"));
      }
    }
  }
  b.JoinNeighbours(curves, faces);
  const double turn = std::abs(Number(feature.Prop("angle0"))) + std::abs(Number(feature.Prop("angle1")));
  if (turn < 360.0 - Eps) {
    const V3 up = frame.N, down{-frame.N[0], -frame.N[1], -frame.N[2]};
    for (const V3* n : {&up, &down}) {
      Object& cap = b.AddFace("plane", n);
      for (Object* f : faces)
        if (f != nullptr) b.Join(*f, cap);
    }
  }
}

// A copy of the source body's faces and edges, sharing edges as the source does.
void CopyBody(Host& host, Object& feature, const Object& source)
{
  BodyBuilder b(host, feature);
  std::map<ObjectId, std::vector<Object*>> byEdge;
  for (Object* f : LiveMembers(source, Face)) {
    const V3 n = Vec3(f->Prop("normal"), V3{0, 0, 0});
    Object& copy = b.AddFace(
        f->Prop("surface").is_string() ? f->Prop("surface").get_ref<const std::string&>().c_str() : "other",
        f->Has("normal") ? &n : nullptr);
    for (const Value& e : f->Prop("edges"))
      byEdge[RefId(e)].push_back(&copy);
  }
  for (auto& [id, faces] : byEdge)
    if (faces.size() == 2) b.Join(*faces[0], *faces[1]);
}

void SetVariable(Host& host, Object& feature, const std::wstring& name, double value)
{
  for (Object* v : LiveMembers(feature, Variable))
    if (v->Text("name") == name) {
      v->Set("value", value);
      return;
    }
  Object& v = host.Create(Variable, feature.Document(), &feature);
  v.Set("name", ToUtf8(name));
  v.Set("value", value);
  v.Set("expression", "");
  v.MarkApplied();
}

bool MakesBody(const Object& f)
{
  const int t = TypeOf(f);
  return t == txapi::o3d_bossExtrusion || t == txapi::o3d_bossRotated || t == txapi::o3d_bossEvolution ||
         f.Kind() == Billet;
}

// Where an applied extrusion or rotation lies in its part: its property "placed" (null when the host
// cannot place it).
void PlaceFeature(Object& feature, const Object* sketch, const Value& profile)
{
  std::optional<place::Frame> frame = sketch != nullptr ? place::SketchFrame(*sketch) : std::nullopt;
  std::optional<std::array<place::Vec2, 2>> axis;
  const std::vector<place::Curve> curves = place::ProfileCurves(profile, &axis);
  std::optional<place::Placed> placed;
  if (frame && feature.Kind() == Extrusion) {
    // The taper is set with a side's parameters: [end, depth, taper, outward, bound].
    const Value& side = feature.Prop("side0").is_array() ? feature.Prop("side0") : feature.Prop("side1");
    const bool tapered = side.is_array() && side.size() >= 4;
    placed =
        place::PlaceExtrusion(TypeOf(feature), *frame, model::SaturatedInt(Number(feature.Prop("direction"))),
                              Number(feature.Prop("depth0")), Number(feature.Prop("depth1")),
                              tapered ? Number(side[2]) : 0.0, tapered && side[3] == true, curves);
  } else if (frame && feature.Kind() == Rotated && axis) {
    const double turn = std::abs(Number(feature.Prop("angle0"))) + std::abs(Number(feature.Prop("angle1")));
    placed = place::PlaceRotation(TypeOf(feature), *frame, turn, (*axis)[0], (*axis)[1], curves);
  }
  feature.Set("placed", placed ? place::PlacedToJson(*placed) : Value());
}

} // namespace

bool Makes(Object& feature)
{
  const std::string& kind = feature.Kind();
  if ((kind != Extrusion && kind != Rotated) || feature.Prop("status") == 0) return true;
  // The placed form's box (read as it is kept: every feature of every part passes here).
  const Value& placed = feature.Prop("placed");
  if (!placed.is_object()) return true;
  const auto box = placed.find("box");
  if (box == placed.end() || !box->is_array() || box->size() != 6) return true;
  for (const Value& v : *box)
    if (!(std::abs(Number(v, NAN)) <= ModelSpace)) return false;
  const int type = TypeOf(feature);
  const bool solid = type == txapi::o3d_bossExtrusion || type == txapi::o3d_cutExtrusion ||
                     type == txapi::o3d_bossRotated || type == txapi::o3d_cutRotated;
  SolidLink* modeller = feature.Attached() ? feature.GetHost().SolidModeller() : nullptr;
  Object* document = feature.Document();
  if (!solid || modeller == nullptr || document == nullptr) return true;
  // What the modeller cannot evaluate at all (no part document) it leaves to the host.
  std::string effect, error;
  if (!modeller->Effect(*document, feature, effect, error)) return true;
  if (effect != "adds" && effect != "removes") return false;
  long long solids = 0;
  return !modeller->Count(*document, "solids", solids, error) || solids == 1;
}

std::vector<Object*> Bodies(const Object& part)
{
  std::vector<Object*> out;
  for (Object* m : LiveMembers(part))
    for (Object* b : LiveMembers(*m, Body))
      out.push_back(b);
  return out;
}

void Derive3D(Object& feature)
{
  if (!feature.Attached()) return;
  Host& host = feature.GetHost();
  const std::string& kind = feature.Kind();
  if (kind == Extrusion) {
    SetVariable(host, feature, L"Расстояние 1", Number(feature.Prop("depth0")));
    SetVariable(host, feature, L"Расстояние 2", Number(feature.Prop("depth1")));
  }
  // A billet read back from a file no longer has its source (it was another document): it keeps the
  // bodies it was saved with.
  const Object* source = kind == Billet ? feature.RefProp("source") : nullptr;
  const Object* sourceTop = source != nullptr ? host.TopPart(*source) : nullptr;
  if (kind == Billet && sourceTop == nullptr) return;
  // A feature applied again builds its body anew.
  for (Object* b : LiveMembers(feature, Body))
    b->Set("deleted", true);
  if (kind == Extrusion || kind == Rotated)
    PlaceFeature(feature, feature.RefProp("profile-sketch"),
                 feature.Prop("status") == 0 ? Value::array() : feature.Prop("profile"));
  if (!MakesBody(feature) || feature.Prop("status") == 0) return;
  if (sourceTop != nullptr) {
    for (const Object* body : Bodies(*sourceTop))
      CopyBody(host, feature, *body);
    return;
  }
  const Object* sketch = feature.RefProp("profile-sketch");
  if (kind == Evolution)
    feature.Set("profile", sketch != nullptr && sketch->Applied() ? ProfileOf(*sketch) : Value::array());
  const PlaneFrame frame(sketch);
  const Curve* axis = nullptr;
  Curve axisStore;
  const Value& profile = feature.Prop("profile");
  const std::vector<Curve> curves =
      profile.is_array() ? Curves(profile, axis, axisStore) : std::vector<Curve>();
  if (kind == Extrusion) {
    ExtrusionBody(host, feature, curves, frame);
  } else if (kind == Rotated && axis != nullptr) {
    RotationBody(host, feature, curves, *axis, frame);
  } else if (kind == Evolution) {
    BodyBuilder b(host, feature);
    for (std::size_t i = 0; i < curves.size(); ++i)
      b.AddFace("other");
  }
}

std::vector<Object*> MacroMembers(const Object& macro)
{
  std::vector<Object*> out;
  const Value& members = macro.Prop("members");
  if (!members.is_array() || !macro.Attached()) return out;
  for (const Value& r : members)
    if (Object* o = macro.GetHost().Find(RefId(r)); o != nullptr && !Deleted(*o)) out.push_back(o);
  return out;
}

std::vector<Object*> TreeMembers(const Object& part)
{
  std::vector<Object*> all = LiveMembers(part);
  // Looked up by hash: a part of many objects in many macros took the product of the two.
  std::unordered_set<ObjectId> inMacro;
  for (const Object* m : all)
    if (m->Kind() == Macro3D)
      for (const Object* o : MacroMembers(*m))
        inMacro.insert(o->Id());
  std::erase_if(all, [&](const Object* o) { return inMacro.contains(o->Id()); });
  return all;
}

void DescribeFeature(const Object& f, bool parameters, std::ostream& out)
{
  // The parameters set on the feature, references as object numbers, in the order they were first set.
  for (const auto& [key, value] : f.Props().items()) {
    if (!parameters) break;
    if (key == "type" || key == "hidden" || key == "name" || key == "profile" || key == "deleted" ||
        key == "members")
      continue;
    out << " " << key << " ";
    if (IsRef(value)) {
      out << "#" << RefId(value);
    } else if (value.is_array()) {
      out << "[";
      for (std::size_t i = 0; i < value.size(); ++i) {
        out << (i ? " " : "");
        if (IsRef(value[i]))
          out << "#" << RefId(value[i]);
        else
          out << value[i].dump();
      }
      out << "]";
    } else {
      out << value.dump();
    }
  }
  const std::vector<Object*> bodies = LiveMembers(f, Body);
  for (const Object* b : bodies)
    out << ", body #" << b->Id() << " of " << LiveMembers(*b, Face).size() << " faces";
}

} // namespace txhost::model
