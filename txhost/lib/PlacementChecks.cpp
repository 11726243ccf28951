#include "txhost/lib/PlacementChecks.h"

#include "txapi/Enums.h"
#include "txhost/lib/DocumentFile.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

namespace txhost::place {

namespace {

bool Thick(const Vec3& overlap, double tolerance)
{
  return overlap[0] > tolerance && overlap[1] > tolerance && overlap[2] > tolerance;
}

bool Touching(const Vec3& overlap, double tolerance)
{
  return overlap[0] >= -tolerance && overlap[1] >= -tolerance && overlap[2] >= -tolerance;
}

std::string BoxText(const Box& b)
{
  std::ostringstream s;
  s << "(" << b.Lo[0] << ", " << b.Lo[1] << ", " << b.Lo[2] << ") - (" << b.Hi[0] << ", " << b.Hi[1] << ", "
    << b.Hi[2] << ")";
  return s.str();
}

bool IsBoss(const Placed& p)
{
  return !p.Cut && (p.Type == txapi::o3d_bossExtrusion || p.Type == txapi::o3d_bossRotated);
}

} // namespace

std::vector<std::string> CheckPart(const std::vector<Placed>& features, const std::string& name)
{
  std::vector<std::string> out;
  Box material;
  for (std::size_t i = 0; i < features.size(); ++i) {
    const Placed& f = features[i];
    std::ostringstream what;
    what << name << ": " << f.Kind << " " << i + 1 << " " << BoxText(f.Tool);
    if (f.Cut) {
      if (!Thick(material.Overlap(f.Tool), CheckTolerance))
        out.push_back(what.str() + " cuts nothing of " + BoxText(material));
      continue;
    }
    if (!IsBoss(f)) continue;
    if (!material.Empty() && !Touching(material.Overlap(f.Tool), CheckTolerance))
      out.push_back(what.str() + " does not touch " + BoxText(material));
    material.Add(f.Tool);
  }
  return out;
}

Box PlacedComponent::Body() const
{
  Box b;
  for (const Placed& f : Features)
    if (IsBoss(f)) b.Add(Apply(M, f.Tool));
  return b;
}

std::vector<Circle3D> PlacedComponent::Holes() const
{
  std::vector<Circle3D> out;
  for (const Placed& f : Features) {
    if (!f.Cut) continue;
    for (const Circle3D& c : f.Circles)
      out.push_back(Apply(M, c));
    // An arc of a straight cut that wraps half a turn or more is a seat a pin lies in, as a hole is.
    if (f.Kind == "extrusion")
      for (const Loop& l : f.Loops)
        for (const Curve& c : l.Curves)
          if (c.K == Curve::Kind::Arc && std::abs(ArcTurn(c)) >= std::numbers::pi - 1e-9)
            out.push_back(Apply(M, Circle3D{f.Sketch.At(c.C[0], c.C[1]), Unit(f.Sketch.N), c.R, f.Sweep}));
  }
  return out;
}

bool PlacedComponent::TurnedAxis(Vec3& point, Vec3& dir) const
{
  for (const Placed& f : Features)
    if (IsBoss(f)) {
      if (f.Kind != "rotated") return false;
      point = M.Point(f.AxisPoint);
      dir = Unit(M.Direction(f.AxisDir));
      return true;
    }
  return false;
}

std::vector<Box> PlacedComponent::Tools(const std::string& kind, bool cut) const
{
  std::vector<Box> out;
  for (const Placed& f : Features)
    if (f.Kind == kind && f.Cut == cut && (cut || IsBoss(f))) out.push_back(Apply(M, f.Tool));
  return out;
}

std::vector<PlacedComponent> ComponentsOf(Host& host, const Object& topPart)
{
  std::vector<PlacedComponent> out;
  std::map<std::string, const Object*> read;
  for (const Object* c : model::LiveMembers(topPart, kinds::Part)) {
    PlacedComponent pc;
    const std::string file = c->Prop("file").is_string() ? c->Prop("file").get<std::string>() : std::string();
    pc.Name = ToUtf8(c->Text("sourceName")) + " (" + file + ")";
    pc.M = ComponentMatrix(*c);
    const Object* source = c->RefProp("source");
    const Object* part = source != nullptr ? host.TopPart(*source) : nullptr;
    if (part == nullptr && !file.empty()) {
      auto [at, fresh] = read.try_emplace(file, nullptr);
      if (fresh) {
        std::string error;
        if (Object* doc = ReadDocumentFile(host, file, error)) at->second = host.TopPart(*doc);
      }
      part = at->second;
    }
    if (part != nullptr) pc.Features = PlacedFeatures(*part);
    out.push_back(std::move(pc));
  }
  return out;
}

std::vector<std::string> CheckFasteners(const std::vector<PlacedComponent>& components, const Vec3& mainPoint,
                                        const Vec3& mainDir, std::vector<int>* met)
{
  std::vector<std::string> out;
  const Vec3 axis = Unit(mainDir);
  for (std::size_t i = 0; i < components.size(); ++i) {
    Vec3 p, d;
    const bool turned = components[i].TurnedAxis(p, d);
    if (met != nullptr) met->push_back(0);
    if (!turned || (Length(Cross(d, axis)) < 1e-6 && Length(Cross(Sub(p, mainPoint), axis)) < AxisTolerance))
      continue;
    const Box body = components[i].Body();
    int hits = 0;
    for (std::size_t j = 0; j < components.size(); ++j) {
      if (j == i || !Clash(body, components[j].Body())) continue;
      bool along = false, meets = false;
      for (const Circle3D& h : components[j].Holes()) {
        if (Length(Cross(h.Axis, d)) > 1e-6) continue;
        along = true;
        meets = meets || Length(Cross(Sub(h.Centre, p), d)) < AxisTolerance;
      }
      if (!along) continue;
      if (meets) {
        ++hits;
        continue;
      }
      std::ostringstream s;
      s << components[i].Name << " on the axis through (" << p[0] << ", " << p[1] << ", " << p[2]
        << ") passes through " << components[j].Name << " beside its holes";
      out.push_back(s.str());
    }
    if (met != nullptr) met->back() = hits;
  }
  return out;
}

std::vector<std::string> CheckAssembly(const std::vector<PlacedComponent>& components, const Vec3& mainPoint,
                                       const Vec3& mainDir, std::vector<int>* met)
{
  std::vector<std::string> out;
  std::vector<const std::string*> checked;
  for (const PlacedComponent& c : components) {
    if (c.Features.empty()) out.push_back(c.Name + " has no placed feature");
    if (std::find_if(checked.begin(), checked.end(), [&](const std::string* n) { return *n == c.Name; }) !=
        checked.end())
      continue;
    checked.push_back(&c.Name);
    for (std::string& f : CheckPart(c.Features, c.Name))
      out.push_back(std::move(f));
  }
  for (std::string& f : CheckFasteners(components, mainPoint, mainDir, met))
    out.push_back(std::move(f));
  return out;
}

bool StandsIn(const Box& tongue, const Box& slot, double tolerance)
{
  return slot.Contains(tongue, tolerance);
}

bool Clash(const Box& a, const Box& b, double tolerance)
{
  return Thick(a.Overlap(b), tolerance);
}

} // namespace txhost::place
