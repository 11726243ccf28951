// Facets of views: the view collection of a drawing, ordinary views, views built from a model with
// their element switches, and the projection that builds a model view's elements.

#include "txhost/lib/ViewFacets.h"

#include "txapi/IAssociationView.h"
#include "txapi/IAssociationViewElements.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IView.h"
#include "txapi/IViews.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Facets.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace txhost::facets {

namespace {

using V2 = std::array<double, 2>;
using V3 = std::array<double, 3>;

constexpr double Eps = 1e-9;
// A model that would make more elements than this shows only the first ones.
constexpr std::size_t MaxElements = 20000;

V3 operator+(const V3& a, const V3& b)
{
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
V3 operator-(const V3& a, const V3& b)
{
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
V3 operator*(const V3& a, double s)
{
  return {a[0] * s, a[1] * s, a[2] * s};
}
double Dot(const V3& a, const V3& b)
{
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V3 Cross(const V3& a, const V3& b)
{
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
std::optional<V3> Unit(const V3& a)
{
  const double l = std::sqrt(Dot(a, a));
  if (!std::isfinite(l) || l < 1e-12) return std::nullopt;
  return a * (1.0 / l);
}
bool Finite(const V3& a)
{
  return std::isfinite(a[0]) && std::isfinite(a[1]) && std::isfinite(a[2]);
}

// Where a view looks from: the model point at its origin and the model directions of its x and y axes;
// the viewer looks along -W (W = X x Y).
struct ViewAxes
{
  V3 O{0, 0, 0}, X{1, 0, 0}, Y{0, 1, 0};

  V3 W() const { return Cross(X, Y); }
  V2 Project(const V3& p) const { return {Dot(p - O, X), Dot(p - O, Y)}; }
  V3 Model(double u, double v) const { return O + X * u + Y * v; }

  // Axes from the direction the viewer looks back along and the model direction shown upwards.
  static std::optional<ViewAxes> Facing(const V3& toViewer, const V3& up)
  {
    const std::optional<V3> w = Unit(toViewer);
    if (!w) return std::nullopt;
    const std::optional<V3> y = Unit(up - *w * Dot(up, *w));
    if (!y) return std::nullopt;
    ViewAxes a;
    a.Y = *y;
    a.X = Cross(*y, *w);
    return a;
  }
};

// The stand-in's projection names, in Russian and in English.
std::optional<ViewAxes> NamedProjection(const std::string& name)
{
  struct Named
  {
    const char* Ru;
    const char* En;
    V3 ToViewer, Up;
  };
  static const Named names[] = {
      {"Спереди", "front", {0, 0, 1}, {0, 1, 0}},       {"Сзади", "back", {0, 0, -1}, {0, 1, 0}},
      {"Сверху", "top", {0, 1, 0}, {0, 0, -1}},         {"Снизу", "bottom", {0, -1, 0}, {0, 0, 1}},
      {"Слева", "left", {-1, 0, 0}, {0, 1, 0}},         {"Справа", "right", {1, 0, 0}, {0, 1, 0}},
      {"Изометрия", "isometric", {1, 1, 1}, {0, 1, 0}},
  };
  for (const Named& n : names)
    if (name == n.Ru || name == n.En) return ViewAxes::Facing(n.ToViewer, n.Up);
  return std::nullopt;
}

// The axes of a stored orientation matrix: rows 0 and 1 are the view's x and y, row 3 its origin.
std::optional<ViewAxes> MatrixProjection(const Value& m)
{
  if (!m.is_array() || m.size() != 16) return std::nullopt;
  double v[16];
  for (std::size_t i = 0; i < 16; ++i)
    v[i] = model::Number(m[i], std::nan(""));
  const std::optional<V3> x = Unit({v[0], v[1], v[2]});
  const std::optional<V3> y = Unit({v[4], v[5], v[6]});
  const V3 o{v[12], v[13], v[14]};
  if (!x || !y || !Finite(o) || std::abs(Dot(*x, *y)) > 1e-6) return std::nullopt;
  ViewAxes a;
  a.O = o, a.X = *x, a.Y = *y;
  return a;
}

// The wireframe of a part's solid features, in model space.
class Wireframe
{
public:
  struct Edge
  {
    V3 A, B;
  };

  explicit Wireframe(const Object& part)
  {
    for (Object* f : model::LiveMembers(part))
      if (f->Applied() && (f->Kind() == model::Rotated || f->Kind() == model::Extrusion)) Feature(*f);
  }

  const std::vector<Edge>& Edges() const { return Out; }

private:
  // The sketch plane: origin, normal and the two plane directions, as the host lays sketches out.
  struct Plane
  {
    V3 O{0, 0, 0}, N{0, 0, 1}, U{1, 0, 0}, V{0, 1, 0};
    V3 At(const V2& p) const { return O + U * p[0] + V * p[1]; }
  };

  static Plane PlaneOf(const Object* sketch)
  {
    Plane p;
    const Object* plane = sketch != nullptr ? sketch->RefProp("plane") : nullptr;
    if (plane != nullptr) {
      const Value& n = plane->Prop("normal");
      if (n.is_array() && n.size() == 3) {
        const V3 v{model::Number(n[0]), model::Number(n[1]), model::Number(n[2])};
        if (const std::optional<V3> u = Unit(v)) p.N = *u;
      }
      p.O = p.N * model::Number(plane->Prop("offset"));
    }
    p.U = std::abs(p.N[0]) > 0.9 ? V3{0, 1, 0} : V3{1, 0, 0};
    p.V = Cross(p.N, p.U);
    return p;
  }

  // A profile curve as a chain of plane points (arcs in steps of at most 15 degrees); empty when it is
  // malformed.
  static std::vector<V2> Chain(const Value& c, bool& axial)
  {
    axial = false;
    if (!c.is_object() || !c.contains("points") || !c.at("points").is_array()) return {};
    const Value& p = c.at("points");
    const bool line = c.contains("curve") && c.at("curve") == "line";
    if (p.size() != (line ? 4u : 6u)) return {};
    double v[6];
    for (std::size_t i = 0; i < p.size(); ++i)
      if (!std::isfinite(v[i] = model::Number(p[i], std::nan("")))) return {};
    if (line) {
      axial = c.contains("style") && c.at("style") == 3;
      return {{v[0], v[1]}, {v[2], v[3]}};
    }
    const double a1 = std::atan2(v[3] - v[1], v[2] - v[0]), r = std::hypot(v[2] - v[0], v[3] - v[1]);
    double sweep = std::atan2(v[5] - v[1], v[4] - v[0]) - a1;
    while (sweep <= 0)
      sweep += 2 * std::numbers::pi;
    if (c.contains("clockwise") && c.at("clockwise") == true) sweep -= 2 * std::numbers::pi;
    const int n = std::max(2, int(std::ceil(std::abs(sweep) / (std::numbers::pi / 12))));
    std::vector<V2> out;
    for (int i = 0; i <= n; ++i) {
      const double a = a1 + sweep * i / n;
      out.push_back({v[0] + r * std::cos(a), v[1] + r * std::sin(a)});
    }
    return out;
  }

  void Add(const V3& a, const V3& b)
  {
    if (Out.size() < MaxElements && Finite(a) && Finite(b)) Out.push_back({a, b});
  }

  void Feature(const Object& f)
  {
    const Plane plane = PlaneOf(f.RefProp("profile-sketch"));
    std::vector<std::vector<V3>> chains;
    std::optional<std::array<V3, 2>> axis;
    const Value& profile = f.Prop("profile");
    if (!profile.is_array()) return;
    for (const Value& c : profile) {
      bool axial = false;
      std::vector<V2> chain = Chain(c, axial);
      if (chain.empty()) continue;
      if (axial) {
        if (!axis) axis = std::array<V3, 2>{plane.At(chain.front()), plane.At(chain.back())};
        continue;
      }
      std::vector<V3> c3;
      for (const V2& p : chain)
        c3.push_back(plane.At(p));
      chains.push_back(std::move(c3));
    }
    if (f.Kind() == model::Extrusion)
      Extrusion(f, plane, chains);
    else if (axis)
      Rotation(f, (*axis)[0], (*axis)[1], chains);
  }

  void Extrusion(const Object& f, const Plane& plane, const std::vector<std::vector<V3>>& chains)
  {
    const double d0 = std::abs(model::Number(f.Prop("depth0"))),
                 d1 = std::abs(model::Number(f.Prop("depth1")));
    double lo = 0, hi = d0;
    switch (model::SaturatedInt(model::Number(f.Prop("direction")))) {
    case 1:
      lo = -d1, hi = 0;
      break;
    case 2:
      lo = -d1;
      break;
    case 3:
      lo = -d0 / 2, hi = d0 / 2;
      break;
    default:
      break;
    }
    for (const std::vector<V3>& c : chains) {
      for (double t : {lo, hi})
        for (std::size_t i = 0; i + 1 < c.size(); ++i)
          Add(c[i] + plane.N * t, c[i + 1] + plane.N * t);
      for (const V3* p : {&c.front(), &c.back()})
        Add(*p + plane.N * lo, *p + plane.N * hi);
    }
  }

  void Rotation(const Object& f, const V3& a, const V3& b, const std::vector<std::vector<V3>>& chains)
  {
    const std::optional<V3> k = Unit(b - a);
    if (!k) return;
    double turn = std::abs(model::Number(f.Prop("angle0"))) + std::abs(model::Number(f.Prop("angle1")));
    if (!std::isfinite(turn) || turn < 1e-6) return;
    turn = std::min(turn, 360.0) * std::numbers::pi / 180;
    // Rodrigues' rotation of p about the axis through a.
    auto turned = [&](const V3& p, double t) {
      const V3 v = p - a;
      return a + v * std::cos(t) + Cross(*k, v) * std::sin(t) + *k * (Dot(*k, v) * (1 - std::cos(t)));
    };
    std::vector<double> at;
    for (double q = 0; q < turn - 1e-9; q += std::numbers::pi / 2)
      at.push_back(q);
    if (turn < 2 * std::numbers::pi - 1e-9) at.push_back(turn);
    for (double t : at)
      for (const std::vector<V3>& c : chains)
        for (std::size_t i = 0; i + 1 < c.size(); ++i)
          Add(turned(c[i], t), turned(c[i + 1], t));
    const int steps = std::max(2, int(std::ceil(turn / (std::numbers::pi / 18))));
    for (const std::vector<V3>& c : chains)
      for (const V3* p : {&c.front(), &c.back()})
        for (int i = 0; i < steps; ++i)
          Add(turned(*p, turn * i / steps), turned(*p, turn * (i + 1) / steps));
  }

  std::vector<Edge> Out;
};

std::vector<Object*> ViewsOf(const Object& o)
{
  std::vector<Object*> out;
  for (Object* m : model::LiveMembers(o))
    if (m->Kind() == model::View || m->Kind() == model::SketchView || m->Kind() == model::AssociationView)
      out.push_back(m);
  return out;
}

class ViewsFacet final : public Facet<txapi::IViews>
{
public:
  using Facet::Facet;

  int GetCount() override
  {
    Log("GetCount");
    return int(ViewsOf(Model()).size());
  }
  txapi::SmartPtr<txapi::IView> GetViewByNumber(int number) override
  {
    Log("GetViewByNumber", number);
    if (HandOutRefused("GetViewByNumber")) return {};
    for (Object* v : ViewsOf(Model()))
      if (v->Prop("number") == number) return HandOut<txapi::IView>(v);
    // A drawing always has its system view, numbered 0.
    if (number != 0 || !Host::IsDocument(Model())) return {};
    Object& v = ModelHost().Create(model::View, &Model(), &Model());
    v.Set("number", 0);
    v.Set("name", "Системный вид");
    v.MarkApplied();
    return HandOut<txapi::IView>(&v);
  }
  // The view made last; a drawing without views works in its system view.
  txapi::SmartPtr<txapi::IView> GetActiveView() override
  {
    Log("GetActiveView");
    if (HandOutRefused("GetActiveView")) return {};
    const auto views = ViewsOf(Model());
    if (views.empty()) return GetViewByNumber(0);
    return HandOut<txapi::IView>(views.back());
  }
  txapi::SmartPtr<txapi::IView> Add(txapi::LtViewType type) override
  {
    Log("Add", int(type));
    // A sketch's editing document has its one view only.
    if (HandOutRefused("Add") || !Host::IsDocument(Model())) return {};
    const bool fromModel =
        type == txapi::vt_Arbitrary || type == txapi::vt_Standart || type == txapi::vt_Section;
    Object& v = ModelHost().Create(fromModel ? model::AssociationView : model::View, &Model(), &Model());
    v.Set("type", int(type));
    if (!fromModel) v.MarkApplied();
    return HandOut<txapi::IView>(&v);
  }
};

// The view properties, shared by ordinary views and views built from a model.
template <class I> class ViewProperties : public Facet<I>
{
public:
  using Facet<I>::Facet;

  int GetNumber() override
  {
    this->Log("GetNumber");
    const Value& n = this->Model().Prop("number");
    return n.is_number_integer() ? n.template get<int>() : 0;
  }
  std::wstring GetName() override
  {
    this->Log("GetName");
    return this->Model().Text("name");
  }
  void SetX(double x) override { Put("SetX", "x", x); }
  void SetY(double y) override { Put("SetY", "y", y); }
  void SetScale(double scale) override { Put("SetScale", "scale", scale); }
  void SetAngle(double angle) override { Put("SetAngle", "angle", angle); }
  void SetColor(int color) override { Put("SetColor", "color", color); }
  void SetName(const std::wstring& name) override { Put("SetName", "name", name); }
  void SetNumber(int number) override { Put("SetNumber", "number", number); }

protected:
  template <class T> void Put(std::string_view op, std::string_view key, const T& v)
  {
    this->Log(op, v);
    this->Model().Set(key, ToValue(v));
  }
};

class ViewFacet final : public ViewProperties<txapi::IView>
{
public:
  using ViewProperties::ViewProperties;
};

class AssociationViewFacet final : public ViewProperties<txapi::IAssociationView>
{
public:
  using ViewProperties::ViewProperties;

  void SetSourceFileName(const std::wstring& fileName) override
  {
    Log("SetSourceFileName", fileName);
    const std::filesystem::path p =
        fileName.empty() ? std::filesystem::path() : ModelHost().Resolve(ToPath(fileName));
    Model().Set("source", p.string());
    Build();
  }
  void SetProjectionName(const std::wstring& name) override
  {
    Put("SetProjectionName", "projection", name);
    Build();
  }
  void SetOrientation(const std::vector<double>& matrix) override
  {
    Log("SetOrientation", matrix);
    Model().Set("orientation", Value(matrix));
    Build();
  }
  void SetCutLine(txapi::SmartPtr<txapi::IDrawingObject> cutLine) override
  {
    Log("SetCutLine", cutLine);
    Model().Set("cut-line", RefValue(cutLine.get()));
    Build();
  }
  bool Update() override
  {
    if (!Model().Update()) return false;
    return Build();
  }

private:
  // The part a view shows: of the open document saved under its source file, else read from the file.
  Object* SourcePart(const Object& view)
  {
    const Value& s = view.Prop("source");
    if (!s.is_string() || s.get<std::string>().empty()) return nullptr;
    Host& host = ModelHost();
    const std::filesystem::path path(s.get<std::string>());
    for (Object* d : host.Documents())
      if (Host::DocumentPath(*d) == path) return host.TopPart(*d);
    std::string error;
    Object* d = ReadDocumentFile(host, path, error);
    return d != nullptr ? host.TopPart(*d) : nullptr;
  }

  // Where a view of a model looks from; a section view's from its cut line, through the view that holds
  // that line. model is the view whose source it shows.
  std::optional<ViewAxes> AxesOf(const Object& view, const Object*& source,
                                 std::optional<std::array<V3, 2>>& cut, int depth = 0)
  {
    source = &view;
    if (view.Prop("type") == int(txapi::vt_Standart)) {
      const Value& n = view.Prop("projection");
      return n.is_string() ? NamedProjection(n.get<std::string>()) : std::nullopt;
    }
    if (view.Prop("type") == int(txapi::vt_Arbitrary)) return MatrixProjection(view.Prop("orientation"));
    const Object* line = view.RefProp("cut-line");
    const Object* holder = line != nullptr ? line->Parent() : nullptr;
    if (holder == nullptr || holder->Kind() != model::AssociationView || holder == &view || depth > 8)
      return std::nullopt;
    std::optional<std::array<V3, 2>> ignored;
    const std::optional<ViewAxes> outer = AxesOf(*holder, source, ignored, depth + 1);
    std::vector<double> xy;
    for (const Value& v : line->Prop("points"))
      xy.push_back(model::Number(v, std::nan("")));
    if (xy.size() < 4)
      xy = {model::Number(line->Prop("x1")), model::Number(line->Prop("y1")), model::Number(line->Prop("x2")),
            model::Number(line->Prop("y2"))};
    if (!outer) return std::nullopt;
    const model::Frame f = FrameOf(*line);
    double u1, v1, u2, v2;
    model::Apply(f, xy[0], xy[1], u1, v1);
    model::Apply(f, xy[2], xy[3], u2, v2);
    const V3 p = outer->Model(u1, v1);
    const std::optional<V3> along = Unit(outer->X * (u2 - u1) + outer->Y * (v2 - v1));
    if (!along || !Finite(p)) return std::nullopt;
    std::optional<ViewAxes> a = ViewAxes::Facing(Cross(*along, outer->W()), *along);
    if (!a) return std::nullopt;
    // The plane's point nearest the model's origin: the section shows the model in model coordinates,
    // as the other views do.
    a->O = a->W() * Dot(p, a->W());
    cut = std::array<V3, 2>{p, a->W()};
    return a;
  }

  static model::Frame FrameOf(const Object& o)
  {
    model::Frame f{1, 0, 0, 1, 0, 0};
    const Value& v = o.Prop("frame");
    if (v.is_array() && v.size() == 6)
      for (std::size_t i = 0; i < 6; ++i)
        f[i] = model::Number(v[i]);
    return f;
  }

  // The view's elements anew, as soon as it knows its model and its side (also before it is updated, as
  // the host shows a view while it is being set up); false when it has no model to show.
  bool Build()
  {
    Object& view = Model();
    for (Object* e : model::LiveMembers(view, model::LineSegment))
      e->Set("deleted", true);
    const Object* source = nullptr;
    std::optional<std::array<V3, 2>> cut;
    const std::optional<ViewAxes> axes = AxesOf(view, source, cut);
    Object* part = axes && source != nullptr ? SourcePart(*source) : nullptr;
    if (part == nullptr) return false;
    const Wireframe wireframe(*part);
    for (Wireframe::Edge e : wireframe.Edges()) {
      if (cut && !Behind(*cut, e.A, e.B)) continue;
      const V2 a = axes->Project(e.A), b = axes->Project(e.B);
      if (std::hypot(b[0] - a[0], b[1] - a[1]) < 1e-6) continue;
      Object& s = ModelHost().Create(model::LineSegment, view.Document(), &view);
      s.Set("x1", a[0]), s.Set("y1", a[1]), s.Set("x2", b[0]), s.Set("y2", b[1]), s.Set("style", 1);
      s.MarkApplied();
    }
    return true;
  }

  // Keeps what lies behind the cut plane (point, normal towards the viewer): the edge, cut at the plane.
  static bool Behind(const std::array<V3, 2>& plane, V3& a, V3& b)
  {
    const double da = Dot(a - plane[0], plane[1]), db = Dot(b - plane[0], plane[1]);
    if (da > Eps && db > Eps) return false;
    if (da > Eps) a = a + (b - a) * (da / (da - db));
    if (db > Eps) b = b + (a - b) * (db / (db - da));
    return true;
  }
};

class AssociationViewElementsFacet final : public Facet<txapi::IAssociationViewElements>
{
public:
  using Facet::Facet;

  void SetVisibleLines(bool show) override { Switch("SetVisibleLines", 0, show); }
  void SetHiddenLines(bool show) override { Switch("SetHiddenLines", 1, show); }
  void SetTangentEdges(bool show) override { Switch("SetTangentEdges", 2, show); }
  void SetThreads(bool show) override { Switch("SetThreads", 3, show); }
  void SetAxes(bool show) override { Switch("SetAxes", 4, show); }
  void SetDesignations(bool show) override { Switch("SetDesignations", 5, show); }

private:
  void Switch(std::string_view op, std::size_t i, bool show)
  {
    Log(op, show);
    Value e = Model().Prop("elements");
    if (!e.is_array() || e.size() != 6) e = Value::array({false, false, false, false, false, false});
    e[i] = show;
    Model().Set("elements", std::move(e));
  }
};

} // namespace

FacetEntry Views()
{
  return Offer<ViewsFacet>("IViews");
}
FacetEntry View()
{
  return Offer<ViewFacet>("IView");
}

void AddViewKinds(KindTable& t)
{
  t.Add(std::string(model::AssociationView), 0,
        {Offer<AssociationViewFacet>("IAssociationView"), View(),
         Offer<AssociationViewElementsFacet>("IAssociationViewElements"), DrawingObject()});
}

} // namespace txhost::facets
