#include "txhost/lib/Model.h"

#include "txapi/Enums.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model3D.h"
#include "txhost/lib/Placement3D.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace txhost::model {

namespace {

struct StandardSpec
{
  int Type;
  std::string_view Kind;
  const char* Name;
  std::array<double, 3> Normal; // planes: the normal; axes: the direction
};

constexpr std::array<StandardSpec, 7> Standards{{
    {txapi::o3d_planeXOY, Plane, "Плоскость XY", {0, 0, 1}},
    {txapi::o3d_planeXOZ, Plane, "Плоскость ZX", {0, 1, 0}},
    {txapi::o3d_planeYOZ, Plane, "Плоскость ZY", {1, 0, 0}},
    {txapi::o3d_pointCS, Datum, "Начало координат", {0, 0, 0}},
    {txapi::o3d_axisOX, Datum, "Ось X", {1, 0, 0}},
    {txapi::o3d_axisOY, Datum, "Ось Y", {0, 1, 0}},
    {txapi::o3d_axisOZ, Datum, "Ось Z", {0, 0, 1}},
}};

std::string Quote(const std::wstring& text)
{
  // Appended, not "\"" + text: gcc 12 takes that for an overlapping copy (-Wrestrict, its bug 105329).
  std::string quoted = "\"";
  quoted += ToUtf8(text);
  quoted += '"';
  return quoted;
}

std::string Num(double v)
{
  std::ostringstream s;
  s << (std::abs(v) < 5e-13 ? 0.0 : v);
  return s.str();
}

std::string Points(const Value& a)
{
  std::string s = "(";
  for (std::size_t i = 0; a.is_array() && i < a.size(); ++i)
    s += (i == 0 ? "" : ", ") + Num(Number(a[i]));
  return s + ")";
}

} // namespace

double Number(const Value& v, double otherwise)
{
  return v.is_number() ? v.get<double>() : otherwise;
}

int SaturatedInt(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return int(v);
}

int TypeOf(const Object& o)
{
  const Value& t = o.Prop("type");
  return t.is_number_integer() ? t.get<int>() : 0;
}

bool Deleted(const Object& o)
{
  return o.Prop("deleted") == true;
}

void DeleteWithMembers(Object& o)
{
  // Most objects deleted are lines and arcs, which hold nothing: a phantom's every move empties its group.
  if (o.Members().empty()) {
    o.Set("deleted", true);
    return;
  }
  // A list of its own, not the call stack: objects nest as deep as a file holds them; a member list
  // that loops (a file may hold one) is walked once.
  std::vector<Object*> next{&o};
  std::unordered_set<const Object*> seen;
  while (!next.empty()) {
    Object* at = next.back();
    next.pop_back();
    if (!seen.insert(at).second) continue;
    at->Set("deleted", true);
    next.insert(next.end(), at->Members().begin(), at->Members().end());
  }
}

std::vector<Object*> LiveMembers(const Object& o, std::string_view kind)
{
  std::vector<Object*> out;
  for (Object* m : o.Members())
    if (!Deleted(*m) && (kind.empty() || m->Kind() == kind)) out.push_back(m);
  return out;
}

Object& NewObject(Host& host, std::string_view kind, Object& parent, int type)
{
  Object& o = host.Create(kind, parent.Document(), &parent);
  o.Set("type", type);
  return o;
}

Object* StandardObject(Host& host, Object& part, int type)
{
  const StandardSpec* spec = nullptr;
  for (const auto& s : Standards)
    if (s.Type == type) spec = &s;
  if (spec == nullptr) return nullptr;
  for (Object* m : LiveMembers(part))
    if (m->Prop("standard") == true && TypeOf(*m) == type) return m;
  Object& o = NewObject(host, spec->Kind, part, type);
  o.Set("standard", true);
  o.Set("name", spec->Name);
  o.Set("hidden", false);
  o.Set("origin", Value::array({0.0, 0.0, 0.0}));
  o.Set(spec->Kind == Plane ? "normal" : "direction",
        Value::array({spec->Normal[0], spec->Normal[1], spec->Normal[2]}));
  o.MarkApplied();
  return &o;
}

std::vector<Object*> ModelObjects(const Object& part, const std::vector<int>& types)
{
  std::vector<Object*> out;
  const bool all = types.empty() || std::find(types.begin(), types.end(), 0) != types.end();
  auto wanted = [&](const Object& m) {
    return m.Has("type") && (all || std::find(types.begin(), types.end(), TypeOf(m)) != types.end());
  };
  for (Object* m : LiveMembers(part)) {
    if (wanted(*m)) out.push_back(m);
    // The faces and edges of the bodies the feature made.
    for (Object* body : LiveMembers(*m, Body))
      for (Object* f : LiveMembers(*body))
        if (wanted(*f)) out.push_back(f);
  }
  return out;
}

Frame StackFrame(const Value& stack)
{
  Frame f{1, 0, 0, 1, 0, 0};
  if (!stack.is_array()) return f;
  // Outermost first: f = f o p for each p in push order.
  for (const Value& p : stack) {
    if (!p.is_array() || p.size() != 4) continue;
    const double x = Number(p[0]), y = Number(p[1]), a = Number(p[2]) * M_PI / 180.0, s = Number(p[3], 1.0);
    const double c = std::cos(a) * s, sn = std::sin(a) * s;
    // p: (u, v) -> (c u - sn v + x, sn u + c v + y); row form a00 = c, a01 = sn, a10 = -sn, a11 = c.
    Frame g{c, sn, -sn, c, x, y};
    Frame r;
    r[0] = g[0] * f[0] + g[1] * f[2];
    r[1] = g[0] * f[1] + g[1] * f[3];
    r[2] = g[2] * f[0] + g[3] * f[2];
    r[3] = g[2] * f[1] + g[3] * f[3];
    Apply(f, g[4], g[5], r[4], r[5]);
    f = r;
  }
  return f;
}

void Apply(const Frame& f, double x, double y, double& X, double& Y)
{
  const double nx = f[0] * x + f[2] * y + f[4];
  const double ny = f[1] * x + f[3] * y + f[5];
  X = nx;
  Y = ny;
}

Object* OwningPart(const Object& o)
{
  for (Object* p = o.Parent(); p != nullptr; p = p->Parent())
    if (p->Kind() == kinds::Part) return p;
  return nullptr;
}

Value ProfileOf(const Object& sketch)
{
  Value out = Value::array();
  for (Object* c : LiveMembers(sketch)) {
    const bool circle = c->Kind() == model2d::Circle;
    if (!c->Applied() || (c->Kind() != LineSegment && c->Kind() != Arc && !circle)) continue;
    Frame f{1, 0, 0, 1, 0, 0};
    const Value& stored = c->Prop("frame");
    if (stored.is_array() && stored.size() == 6)
      for (std::size_t i = 0; i < 6; ++i)
        f[i] = Number(stored[i]);
    const double scale = std::hypot(f[0], f[1]);
    Value e = Value::object();
    e["style"] = c->Prop("style");
    if (c->Kind() == LineSegment) {
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      Apply(f, Number(c->Prop("x1")), Number(c->Prop("y1")), x1, y1);
      Apply(f, Number(c->Prop("x2")), Number(c->Prop("y2")), x2, y2);
      e["curve"] = "line";
      e["points"] = Value::array({x1, y1, x2, y2});
    } else if (circle) {
      // A closed loop of its own (a hole): kept in the arc's form, starting and ending at angle 0, so
      // that readers of arcs take it as the full turn.
      double xc = 0, yc = 0;
      Apply(f, Number(c->Prop("xc")), Number(c->Prop("yc")), xc, yc);
      const double r = Number(c->Prop("radius")) * scale;
      e["curve"] = "circle";
      e["points"] = Value::array({xc, yc, xc + r, yc, xc + r, yc});
      e["radius"] = r;
      e["clockwise"] = false;
    } else {
      double xc = 0, yc = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      Apply(f, Number(c->Prop("xc")), Number(c->Prop("yc")), xc, yc);
      Apply(f, Number(c->Prop("x1")), Number(c->Prop("y1")), x1, y1);
      Apply(f, Number(c->Prop("x2")), Number(c->Prop("y2")), x2, y2);
      e["curve"] = "arc";
      e["points"] = Value::array({xc, yc, x1, y1, x2, y2});
      e["radius"] = Number(c->Prop("radius")) * scale;
      e["clockwise"] = c->Prop("clockwise");
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<Object*> Mates(const Host& host, const Object& document)
{
  std::vector<Object*> out;
  for (Object* o : host.ObjectsOf(document))
    if (o->Kind() == Mate && !Deleted(*o)) out.push_back(o);
  return out;
}

namespace {

// Components nest only as deep as a file read back may claim; a file whose member lists loop stops here.
constexpr int MaxComponentDepth = 16;

// The part's tree: with only, those of its members (a macro's), indented under their macro. Each object is
// described once, where it is first met: objects that several macros or components list (or a macro that
// lists itself) are named again as "shown above", so that the text grows with the document, never with the
// number of ways through it.
void DescribePart(const Object& part, int depth, std::ostream& out, std::unordered_set<const Object*>& shown,
                  const std::vector<Object*>* only = nullptr);

// Below the deepest level printed, the objects that are not printed anywhere are counted, so that a reader
// knows how much the text leaves out: each once, however many ways below lead to it (a loop included), walked
// without recursion, since a chain may be as long as the file.
void CountUnshown(const Object& part, const std::vector<Object*>* only, std::ostream& out,
                  const std::string& pad, const std::unordered_set<const Object*>& shown)
{
  std::vector<Object*> walk = only != nullptr ? *only : TreeMembers(part);
  std::unordered_set<const Object*> counted;
  while (!walk.empty()) {
    Object* m = walk.back();
    walk.pop_back();
    if (m->Kind() == Variable || !m->Has("type") || shown.contains(m) || !counted.insert(m).second) continue;
    std::vector<Object*> below;
    if (m->Kind() == kinds::Part)
      below = TreeMembers(*m);
    else if (m->Kind() == Macro3D)
      below = MacroMembers(*m);
    walk.insert(walk.end(), below.begin(), below.end());
  }
  if (counted.empty()) return;
  out << pad << counted.size() << (counted.size() == 1 ? " object" : " objects") << " nested deeper than "
      << MaxComponentDepth << " levels not shown\n";
}

void DescribePart(const Object& part, int depth, std::ostream& out, std::unordered_set<const Object*>& shown,
                  const std::vector<Object*>* only)
{
  const std::string pad(std::size_t(depth) * 2 + 4, ' ');
  if (depth > MaxComponentDepth) return CountUnshown(part, only, out, pad, shown);
  for (Object* m : only != nullptr ? *only : TreeMembers(part)) {
    const std::string& kind = m->Kind();
    if (kind != Variable && m->Has("type") && !shown.insert(m).second) {
      out << pad << kind << " #" << m->Id() << " (shown above)\n";
      continue;
    }
    if (kind == Variable) {
      out << pad << "variable " << Quote(m->Text("name")) << " = " << Num(Number(m->Prop("value")));
      if (!m->Text("expression").empty()) out << " (" << Quote(m->Text("expression")) << ")";
      out << "\n";
      continue;
    }
    if (!m->Has("type")) continue;
    out << pad << kind << " #" << m->Id();
    if (m->Has("name") && kind != kinds::Part) out << " " << Quote(m->Text("name"));
    if (kind == Plane && !m->Prop("standard").is_boolean()) {
      if (const Object* base = m->RefProp("base")) out << " offset " << Num(Number(m->Prop("offset"))) << " from #" << base->Id();
      if (m->Has("origin")) out << " origin " << Points(m->Prop("origin"));
    } else if (kind == Sketch) {
      if (const Object* plane = m->RefProp("plane")) out << " on #" << plane->Id();
      out << " angle " << Num(Number(m->Prop("angle"))) << ", " << LiveMembers(*m, LineSegment).size()
          << " lines, " << LiveMembers(*m, Arc).size() << " arcs, " << LiveMembers(*m, model2d::Circle).size()
          << " circles" << (m->Prop("editing") == true ? ", editing" : "");
    } else if (kind == Rotated || kind == Extrusion) {
      out << " type " << TypeOf(*m);
      if (const Object* sketch = m->RefProp("profile-sketch")) out << " profile #" << sketch->Id();
      const Value& profile = m->Prop("profile");
      out << ", " << (profile.is_array() ? profile.size() : 0) << " curves";
      if (Number(m->Prop("status"), 1) == 0)
        out << (profile.is_array() && !profile.empty() ? " (failed)" : " (failed: empty profile)");
      if (kind == Rotated) out << ", angles " << Num(Number(m->Prop("angle0"))) << " " << Num(Number(m->Prop("angle1")));
      else out << ", depths " << Num(Number(m->Prop("depth0"))) << " " << Num(Number(m->Prop("depth1")));
      DescribeFeature(*m, false, out);
    } else if (kind == kinds::Part) {
      const std::wstring name = m->Has("name") ? m->Text("name") : m->Text("sourceName");
      const std::wstring marking = m->Has("marking") ? m->Text("marking") : m->Text("sourceMarking");
      out << " " << Quote(name) << " " << Quote(marking) << " from " << Quote(m->Text("file"));
      const Value& p = m->Prop("placement");
      if (p.is_array() && p.size() == 16)
        out << " at (" << Num(Number(p[12])) << ", " << Num(Number(p[13])) << ", " << Num(Number(p[14]))
            << ") x (" << Num(Number(p[0])) << ", " << Num(Number(p[1])) << ", " << Num(Number(p[2])) << ") y ("
            << Num(Number(p[4])) << ", " << Num(Number(p[5])) << ", " << Num(Number(p[6])) << ")";
    } else if (kind != Plane && kind != Datum) {
      DescribeFeature(*m, true, out);
    }
    if (m->Prop("hidden") == true) out << " hidden";
    out << (m->Applied() ? "" : " (not applied)") << "\n";
    if (kind == Rotated || kind == Extrusion)
      if (const std::optional<place::Placed> placed = place::PlacedOf(*m))
        out << pad << "  " << place::Describe(*placed) << "\n";
    if (kind == kinds::Part) DescribePart(*m, depth + 1, out, shown);
    if (kind == Macro3D) {
      const std::vector<Object*> members = MacroMembers(*m);
      DescribePart(part, depth + 1, out, shown, &members);
    }
  }
}

} // namespace

namespace {

// A drawing's blocks (macro objects that a library's command made) and its specification entries.
void DescribeBlocks(const Host& host, const Object& document, std::ostream& out)
{
  std::vector<const Object*> blocks, entries;
  for (const Object* o : host.ObjectsOf(document)) {
    if (Deleted(*o)) continue;
    if (o->Kind() == model2d::Macro && o->Has("command")) blocks.push_back(o);
    if (o->Kind() == spec::Entry) entries.push_back(o);
  }
  if (!blocks.empty()) out << "    blocks: " << blocks.size() << "\n";
  for (const Object* b : blocks)
    out << "      block #" << b->Id() << " command " << b->Prop("command").dump() << " of "
        << Quote(b->Text("library-file")) << " at (" << Num(Number(b->Prop("x"))) << ", "
        << Num(Number(b->Prop("y"))) << ") angle " << Num(Number(b->Prop("angle")))
        << (b->Applied() ? "" : " (not applied)") << "\n";
  if (!entries.empty()) out << "    specification entries: " << entries.size() << "\n";
  for (const Object* e : entries) {
    out << "      entry #" << e->Id() << " section " << e->Prop("section").dump();
    const Value& columns = e->Prop("columns");
    if (columns.is_object())
      for (const auto& [type, text] : columns.items())
        if (text.is_string()) out << " [" << type << "] " << Quote(FromUtf8(text.get<std::string>()));
    out << (e->Applied() ? "" : " (not applied)") << "\n";
  }
}

} // namespace

void DescribeModel(const Host& host, const Object& document, std::ostream& out)
{
  DescribeBlocks(host, document, out);
  const Object* top = host.TopPart(document);
  if (top == nullptr) return;
  std::unordered_set<const Object*> shown;
  DescribePart(*top, 0, out, shown);
  const std::vector<Object*> mates = Mates(host, document);
  if (mates.empty()) return;
  out << "    mates: " << mates.size() << "\n";
  for (const Object* m : mates) {
    const Object* a = m->RefProp("first");
    const Object* b = m->RefProp("second");
    out << "      mate #" << m->Id() << " kind " << m->Prop("kind").dump() << " #" << (a ? a->Id() : 0) << " - #"
        << (b ? b->Id() : 0) << " fixing " << m->Prop("fixing").dump() << " direction "
        << m->Prop("direction").dump() << " value " << Num(Number(m->Prop("value")));
    for (const Object* v : LiveMembers(*m, Variable))
      if (!v->Text("expression").empty())
        out << " " << Quote(v->Text("name")) << " = " << Quote(v->Text("expression"));
    out << (m->Applied() ? "" : " (not applied)") << "\n";
  }
}

} // namespace txhost::model
