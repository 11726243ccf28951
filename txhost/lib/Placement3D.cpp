#include "txhost/lib/Placement3D.h"

#include "txapi/Enums.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

namespace txhost::place {

namespace {

constexpr double PlaceEps = 1e-9;
// End points of profile curves closer than this (mm) are one point.
constexpr double JoinTolerance = 1e-5;
// Offset planes built on offset planes: a file read back may claim a loop.
constexpr int MaxPlaneChain = 8;

double Rad(double deg)
{
  return deg * std::numbers::pi / 180.0;
}

Vec2 Sub2(const Vec2& a, const Vec2& b)
{
  return {a[0] - b[0], a[1] - b[1]};
}

double Dist2(const Vec2& a, const Vec2& b)
{
  return std::hypot(a[0] - b[0], a[1] - b[1]);
}

double SignedTurn(const Curve& c)
{
  if (c.K == Curve::Kind::Circle) return 2 * std::numbers::pi;
  const double a0 = std::atan2(c.A[1] - c.C[1], c.A[0] - c.C[0]);
  const double a1 = std::atan2(c.B[1] - c.C[1], c.B[0] - c.C[0]);
  double s = std::fmod(a1 - a0, 2 * std::numbers::pi);
  if (s < 0) s += 2 * std::numbers::pi;
  if (Dist2(c.A, c.B) < JoinTolerance) s = 2 * std::numbers::pi;
  if (c.Clockwise) s = s - 2 * std::numbers::pi;
  if (c.Clockwise && Dist2(c.A, c.B) < JoinTolerance) s = -2 * std::numbers::pi;
  return s;
}

Vec2 ArcPoint(const Curve& c, double t)
{
  const double a0 = std::atan2(c.A[1] - c.C[1], c.A[0] - c.C[0]) + SignedTurn(c) * t;
  return {c.C[0] + c.R * std::cos(a0), c.C[1] + c.R * std::sin(a0)};
}

// Points along a curve, ends included, arcs in steps of at most 1/48 of a turn.
void Polyline(const Curve& c, std::vector<Vec2>& out, bool withEnd)
{
  if (c.K == Curve::Kind::Line) {
    out.push_back(c.A);
    if (withEnd) out.push_back(c.B);
    return;
  }
  const int n = std::max(2, int(std::ceil(std::abs(SignedTurn(c)) / (2 * std::numbers::pi) * 48)));
  for (int i = 0; i < n + (withEnd ? 1 : 0); ++i)
    out.push_back(ArcPoint(c, double(i) / n));
}

Curve Reversed(Curve c)
{
  std::swap(c.A, c.B);
  if (c.K == Curve::Kind::Arc) c.Clockwise = !c.Clockwise;
  return c;
}

// The 2D box of a loop: its polyline, and each arc's extreme points on the u and v axes.
void LoopBox2(const Loop& loop, Vec2& lo, Vec2& hi)
{
  lo = {1e300, 1e300};
  hi = {-1e300, -1e300};
  std::vector<Vec2> pts;
  for (const Curve& c : loop.Curves) {
    if (c.K == Curve::Kind::Line) {
      pts.push_back(c.A);
      pts.push_back(c.B);
      continue;
    }
    pts.push_back(c.A);
    pts.push_back(c.B);
    // The quarter points the arc passes.
    const double a0 = std::atan2(c.A[1] - c.C[1], c.A[0] - c.C[0]), s = SignedTurn(c);
    for (int k = -8; k <= 8; ++k) {
      const double q = k * std::numbers::pi / 2;
      const double t = (q - a0) / s;
      if (t >= 0 && t <= 1) pts.push_back({c.C[0] + c.R * std::cos(q), c.C[1] + c.R * std::sin(q)});
    }
  }
  for (const Vec2& p : pts)
    for (int i = 0; i < 2; ++i) {
      lo[i] = std::min(lo[i], p[i]);
      hi[i] = std::max(hi[i], p[i]);
    }
}

// A point well inside the region the loop's first curve bounds, on the curve itself: its middle.
Vec2 SamplePoint(const Loop& loop)
{
  const Curve& c = loop.Curves.front();
  if (c.K == Curve::Kind::Line) return {(c.A[0] + c.B[0]) / 2, (c.A[1] + c.B[1]) / 2};
  return ArcPoint(c, 0.5);
}

double Num(const Value& v, bool& ok)
{
  if (!v.is_number() || !std::isfinite(v.get<double>())) {
    ok = false;
    return 0.0;
  }
  return v.get<double>();
}


Vec3 Read3(const Value& a, std::size_t at, bool& ok)
{
  if (!a.is_array() || a.size() < at + 3) {
    ok = false;
    return {};
  }
  return {Num(a[at], ok), Num(a[at + 1], ok), Num(a[at + 2], ok)};
}

// The box of a circle of radius r about a line along the unit axis a, at the points p0 and p1 of the axis.
void CylinderBox(Box& b, const Vec3& p0, const Vec3& p1, const Vec3& a, double r)
{
  for (const Vec3& p : {p0, p1}) {
    Vec3 lo = p, hi = p;
    for (int i = 0; i < 3; ++i) {
      const double e = r * std::sqrt(std::max(0.0, 1.0 - a[std::size_t(i)] * a[std::size_t(i)]));
      lo[std::size_t(i)] -= e;
      hi[std::size_t(i)] += e;
    }
    b.Add(lo);
    b.Add(hi);
  }
}

} // namespace

Vec3 Add(const Vec3& a, const Vec3& b)
{
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Vec3 Sub(const Vec3& a, const Vec3& b)
{
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 Mul(const Vec3& a, double k)
{
  return {a[0] * k, a[1] * k, a[2] * k};
}
double Dot(const Vec3& a, const Vec3& b)
{
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 Cross(const Vec3& a, const Vec3& b)
{
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Length(const Vec3& a)
{
  return std::sqrt(Dot(a, a));
}
Vec3 Unit(const Vec3& a)
{
  const double l = Length(a);
  return l < PlaceEps ? a : Mul(a, 1.0 / l);
}

Vec3 Frame::At(double u, double v, double w) const
{
  return Add(O, Along(u, v, w));
}

Vec3 Frame::Along(double u, double v, double w) const
{
  return Add(Add(Mul(U, u), Mul(V, v)), Mul(N, w));
}

bool Frame::Mirrored() const
{
  return Dot(Cross(U, V), N) < 0;
}

std::optional<Frame> StandardPlane(int planeType)
{
  switch (planeType) {
  case txapi::o3d_planeXOY:
    return Frame{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  case txapi::o3d_planeXOZ:
    return Frame{{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}};
  case txapi::o3d_planeYOZ:
    return Frame{{0, 0, 0}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
  default:
    return std::nullopt;
  }
}

Frame Offset(const Frame& plane, double d)
{
  Frame f = plane;
  f.O = Add(plane.O, Mul(plane.N, d));
  return f;
}

Frame Turned(const Frame& plane, double angleDeg)
{
  const double c = std::cos(Rad(angleDeg)), s = std::sin(Rad(angleDeg));
  Frame f = plane;
  f.U = Add(Mul(plane.U, c), Mul(plane.V, s));
  f.V = Sub(Mul(plane.V, c), Mul(plane.U, s));
  return f;
}

Range Sweep(int direction, double depth0, double depth1)
{
  const double d0 = std::abs(depth0), d1 = std::abs(depth1);
  switch (direction) {
  case txapi::dtNormal:
    return {0.0, d0};
  case txapi::dtReverse:
    return {-d1, 0.0};
  case txapi::dtBoth:
    return {-d1, d0};
  case txapi::dtMiddlePlane:
    return {-d0 / 2, d0 / 2};
  default:
    return {};
  }
}

double TaperShift(double taperDeg, bool outward, double w)
{
  return (outward ? 1.0 : -1.0) * std::abs(w) * std::tan(Rad(std::abs(taperDeg)));
}

Vec3 Matrix::Point(const Vec3& p) const
{
  return Add(O, Direction(p));
}

Vec3 Matrix::Direction(const Vec3& d) const
{
  return Add(Add(Mul(X, d[0]), Mul(Y, d[1])), Mul(Z, d[2]));
}

bool Matrix::Mirrored() const
{
  return Dot(Cross(X, Y), Z) < 0;
}

std::optional<Matrix> MatrixOf(const std::vector<double>& m)
{
  if (m.size() != 16) return std::nullopt;
  for (double v : m)
    if (!std::isfinite(v)) return std::nullopt;
  return Matrix{{m[0], m[1], m[2]}, {m[4], m[5], m[6]}, {m[8], m[9], m[10]}, {m[12], m[13], m[14]}};
}

Frame Apply(const Matrix& m, const Frame& f)
{
  return {m.Point(f.O), m.Direction(f.U), m.Direction(f.V), m.Direction(f.N)};
}

bool Box::Empty() const
{
  return Lo[0] > Hi[0];
}

void Box::Add(const Vec3& p)
{
  for (std::size_t i = 0; i < 3; ++i) {
    Lo[i] = std::min(Lo[i], p[i]);
    Hi[i] = std::max(Hi[i], p[i]);
  }
}

void Box::Add(const Box& b)
{
  if (b.Empty()) return;
  Add(b.Lo);
  Add(b.Hi);
}

Vec3 Box::Overlap(const Box& b) const
{
  if (Empty() || b.Empty()) return {-1, -1, -1};
  Vec3 o{};
  for (std::size_t i = 0; i < 3; ++i)
    o[i] = std::min(Hi[i], b.Hi[i]) - std::max(Lo[i], b.Lo[i]);
  return o;
}

bool Box::Contains(const Box& b, double tolerance) const
{
  if (Empty() || b.Empty()) return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (b.Lo[i] < Lo[i] - tolerance || b.Hi[i] > Hi[i] + tolerance) return false;
  return true;
}

Box Apply(const Matrix& m, const Box& b)
{
  Box out;
  if (b.Empty()) return out;
  for (int k = 0; k < 8; ++k)
    out.Add(m.Point({(k & 1) ? b.Hi[0] : b.Lo[0], (k & 2) ? b.Hi[1] : b.Lo[1], (k & 4) ? b.Hi[2] : b.Lo[2]}));
  return out;
}

double ArcTurn(const Curve& c)
{
  return SignedTurn(c);
}

Arc3D PlaceArc(const Frame& f, const Curve& arc)
{
  Arc3D a;
  a.C = f.At(arc.C[0], arc.C[1]);
  a.Start = f.At(arc.A[0], arc.A[1]);
  a.End = f.At(arc.B[0], arc.B[1]);
  a.R = arc.R * Length(f.U);
  // Counterclockwise in (u, v) turns about U x V, whichever way N points.
  const Vec3 up = Unit(Cross(f.U, f.V));
  a.Axis = arc.K == Curve::Kind::Arc && arc.Clockwise ? Mul(up, -1.0) : up;
  return a;
}

Arc3D Apply(const Matrix& m, const Arc3D& a)
{
  Arc3D out = a;
  out.C = m.Point(a.C);
  out.Start = m.Point(a.Start);
  out.End = m.Point(a.End);
  // A reflection turns the sense of every rotation: M(a x r) = det(M) (Ma x Mr).
  out.Axis = Unit(Mul(m.Direction(a.Axis), m.Mirrored() ? -1.0 : 1.0));
  return out;
}

Loops FindLoops(const std::vector<Curve>& curves)
{
  Loops out;
  // End points by grid cell, so that joining stays linear in the number of curves.
  // Cells far out (sizes no part has) are clamped, so that a neighbour's index still fits.
  auto cell = [](const Vec2& p) {
    const auto index = [](double v) {
      const double q = v / (4 * JoinTolerance), limit = 4e18;
      return std::llround(std::isnan(q) ? 0.0 : std::clamp(q, -limit, limit));
    };
    return std::pair<long long, long long>{index(p[0]), index(p[1])};
  };
  std::multimap<std::pair<long long, long long>, std::size_t> ends;
  std::vector<bool> used(curves.size(), false);
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (curves[i].K == Curve::Kind::Circle) {
      used[i] = true;
      out.Closed.push_back(Loop{{curves[i]}, 0});
      continue;
    }
    ends.insert({cell(curves[i].A), i});
    ends.insert({cell(curves[i].B), i});
  }
  // An unused curve with an end at p, turned to start there; false when none.
  auto next = [&](const Vec2& p, Curve& found) {
    const auto [cx, cy] = cell(p);
    for (long long dx = -1; dx <= 1; ++dx)
      for (long long dy = -1; dy <= 1; ++dy) {
        auto [from, to] = ends.equal_range({cx + dx, cy + dy});
        for (auto it = from; it != to; ++it) {
          const std::size_t j = it->second;
          if (used[j]) continue;
          if (Dist2(curves[j].A, p) < JoinTolerance) found = curves[j];
          else if (Dist2(curves[j].B, p) < JoinTolerance) found = Reversed(curves[j]);
          else continue;
          used[j] = true;
          return true;
        }
      }
    return false;
  };
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (used[i]) continue;
    used[i] = true;
    std::vector<Curve> chain{curves[i]};
    bool closed = Dist2(chain.front().A, chain.back().B) < JoinTolerance && chain.front().K == Curve::Kind::Arc;
    Curve c;
    while (!closed && next(chain.back().B, c)) {
      chain.push_back(c);
      closed = Dist2(chain.front().A, chain.back().B) < JoinTolerance;
    }
    if (!closed) {
      // The chain may go on backwards from where it started.
      while (!closed && next(chain.front().A, c)) {
        chain.insert(chain.begin(), Reversed(c));
        closed = Dist2(chain.front().A, chain.back().B) < JoinTolerance;
      }
    }
    if (closed)
      out.Closed.push_back(Loop{std::move(chain), 0});
    else
      out.Open += int(chain.size());
  }
  for (std::size_t i = 0; i < out.Closed.size(); ++i) {
    const Vec2 p = SamplePoint(out.Closed[i]);
    int depth = 0;
    for (std::size_t j = 0; j < out.Closed.size(); ++j)
      if (j != i && Inside(out.Closed[j], p)) ++depth;
    out.Closed[i].Depth = depth;
  }
  return out;
}

bool Inside(const Loop& loop, const Vec2& p)
{
  std::vector<Vec2> pts;
  for (const Curve& c : loop.Curves)
    Polyline(c, pts, false);
  bool in = false;
  for (std::size_t i = 0, n = pts.size(); i < n; ++i) {
    const Vec2& a = pts[i];
    const Vec2& b = pts[(i + 1) % n];
    // Half-open in v, so that a vertex on the ray counts once.
    if ((a[1] > p[1]) != (b[1] > p[1])) {
      const double u = a[0] + (p[1] - a[1]) * (b[0] - a[0]) / (b[1] - a[1]);
      if (u > p[0]) in = !in;
    }
  }
  return in;
}

Box LoopBox(const Frame& f, const Loop& loop)
{
  Vec2 lo, hi;
  LoopBox2(loop, lo, hi);
  Box b;
  for (int k = 0; k < 4; ++k)
    b.Add(f.At((k & 1) ? hi[0] : lo[0], (k & 2) ? hi[1] : lo[1]));
  return b;
}

Circle3D Apply(const Matrix& m, const Circle3D& c)
{
  Circle3D out = c;
  out.Centre = m.Point(c.Centre);
  out.Axis = Unit(m.Direction(c.Axis));
  return out;
}

std::optional<Placed> PlaceExtrusion(int type, const Frame& sketch, int direction, double depth0, double depth1,
                                     double taperDeg, bool taperOutward, const std::vector<Curve>& profile)
{
  Loops loops = FindLoops(profile);
  if (loops.Closed.empty()) return std::nullopt;
  Placed p;
  p.Kind = "extrusion";
  p.Type = type;
  p.Cut = type == txapi::o3d_cutExtrusion;
  p.Sketch = sketch;
  p.Sweep = Sweep(direction, depth0, depth1);
  p.Taper = std::abs(taperDeg);
  p.TaperOutward = taperOutward;
  p.OpenCurves = loops.Open;
  for (const Loop& l : loops.Closed) {
    if (l.Depth % 2 != 0) continue;
    Vec2 lo, hi;
    LoopBox2(l, lo, hi);
    for (double w : {p.Sweep.From, p.Sweep.To}) {
      // Taper moves every edge; a section cannot shrink below nothing.
      const double s = std::max(TaperShift(p.Taper, taperOutward, w), -std::min(hi[0] - lo[0], hi[1] - lo[1]) / 2);
      for (int k = 0; k < 4; ++k)
        p.Tool.Add(sketch.At((k & 1) ? hi[0] + s : lo[0] - s, (k & 2) ? hi[1] + s : lo[1] - s, w));
    }
  }
  for (const Loop& l : loops.Closed) {
    const Curve& c = l.Curves.front();
    if (l.Curves.size() != 1 || c.K != Curve::Kind::Circle) continue;
    p.Circles.push_back({sketch.At(c.C[0], c.C[1]), Unit(sketch.N), c.R, p.Sweep});
  }
  p.Loops = std::move(loops.Closed);
  return p;
}

std::optional<Placed> PlaceRotation(int type, const Frame& sketch, double angleDeg, const Vec2& axisA,
                                    const Vec2& axisB, const std::vector<Curve>& profile)
{
  const double axisLength = Dist2(axisA, axisB);
  Loops loops = FindLoops(profile);
  if (loops.Closed.empty() || axisLength < PlaceEps) return std::nullopt;
  Placed p;
  p.Kind = "rotated";
  p.Type = type;
  p.Cut = type == txapi::o3d_cutRotated;
  p.Sketch = sketch;
  p.Angle = angleDeg;
  p.AxisPoint = sketch.At(axisA[0], axisA[1]);
  p.AxisDir = Unit(sketch.Along(axisB[0] - axisA[0], axisB[1] - axisA[1]));
  p.OpenCurves = loops.Open;
  const Vec2 w{(axisB[0] - axisA[0]) / axisLength, (axisB[1] - axisA[1]) / axisLength};
  double tLo = 1e300, tHi = -1e300, rHi = 0.0;
  for (const Loop& l : loops.Closed) {
    std::vector<Vec2> pts;
    for (const Curve& c : l.Curves)
      Polyline(c, pts, true);
    for (const Vec2& q : pts) {
      const Vec2 d = Sub2(q, axisA);
      const double t = d[0] * w[0] + d[1] * w[1];
      tLo = std::min(tLo, t);
      tHi = std::max(tHi, t);
      rHi = std::max(rHi, std::abs(d[0] * w[1] - d[1] * w[0]));
    }
  }
  CylinderBox(p.Tool, Add(p.AxisPoint, Mul(p.AxisDir, tLo)), Add(p.AxisPoint, Mul(p.AxisDir, tHi)), p.AxisDir, rHi);
  p.Circles.push_back({p.AxisPoint, p.AxisDir, rHi, {tLo, tHi}});
  p.Loops = std::move(loops.Closed);
  return p;
}

std::optional<Frame> PlaneFrame(const Object& plane)
{
  const Object* base = &plane;
  double offset = 0.0;
  for (int i = 0; i < MaxPlaneChain && base != nullptr; ++i) {
    if (base->Prop("standard") == true) {
      std::optional<Frame> f = StandardPlane(model::TypeOf(*base));
      if (f) *f = Offset(*f, offset);
      return f;
    }
    if (model::TypeOf(*base) != txapi::o3d_planeOffset) return std::nullopt;
    offset += model::Number(base->Prop("offset"));
    base = base->RefProp("base");
  }
  return std::nullopt;
}

std::optional<Frame> SketchFrame(const Object& sketch)
{
  const Object* plane = sketch.RefProp("plane");
  std::optional<Frame> f = plane != nullptr ? PlaneFrame(*plane) : std::nullopt;
  if (f) *f = Turned(*f, model::Number(sketch.Prop("angle")));
  return f;
}

Matrix ComponentMatrix(const Object& component)
{
  const Value& p = component.Prop("placement");
  std::vector<double> m;
  if (p.is_array())
    for (const Value& v : p)
      m.push_back(model::Number(v, NAN));
  return MatrixOf(m).value_or(Matrix{});
}

Value PlacedToJson(const Placed& p)
{
  Value v = Value::object();
  v["kind"] = p.Kind;
  v["type"] = p.Type;
  v["cut"] = p.Cut;
  Value frame = Value::array();
  for (const Vec3* a : {&p.Sketch.O, &p.Sketch.U, &p.Sketch.V, &p.Sketch.N})
    for (double x : *a)
      frame.push_back(x);
  v["frame"] = std::move(frame);
  if (p.Kind == "extrusion") {
    v["sweep"] = Value::array({p.Sweep.From, p.Sweep.To});
    v["taper"] = Value::array({p.Taper, p.TaperOutward});
  } else {
    v["axis"] = Value::array({p.AxisPoint[0], p.AxisPoint[1], p.AxisPoint[2], p.AxisDir[0], p.AxisDir[1], p.AxisDir[2]});
    v["angle"] = p.Angle;
  }
  v["box"] = Value::array({p.Tool.Lo[0], p.Tool.Lo[1], p.Tool.Lo[2], p.Tool.Hi[0], p.Tool.Hi[1], p.Tool.Hi[2]});
  v["open"] = p.OpenCurves;
  Value circles = Value::array();
  for (const Circle3D& c : p.Circles)
    circles.push_back(Value::array({c.Centre[0], c.Centre[1], c.Centre[2], c.Axis[0], c.Axis[1], c.Axis[2], c.R,
                                    c.Along.From, c.Along.To}));
  v["circles"] = std::move(circles);
  return v;
}

std::optional<Placed> PlacedFromJson(const Value& v)
{
  if (!v.is_object()) return std::nullopt;
  bool ok = true;
  Placed p;
  auto at = [&](const char* key) -> const Value& {
    static const Value none;
    auto it = v.find(key);
    if (it == v.end()) {
      ok = false;
      return none;
    }
    return *it;
  };
  const Value& kind = at("kind");
  if (!kind.is_string() || (kind != "extrusion" && kind != "rotated")) return std::nullopt;
  p.Kind = kind.get<std::string>();
  p.Type = model::SaturatedInt(Num(at("type"), ok));
  p.Cut = at("cut") == true;
  const Value& frame = at("frame");
  if (!frame.is_array() || frame.size() != 12) return std::nullopt;
  p.Sketch = {Read3(frame, 0, ok), Read3(frame, 3, ok), Read3(frame, 6, ok), Read3(frame, 9, ok)};
  if (p.Kind == "extrusion") {
    const Value& s = at("sweep");
    const Value& t = at("taper");
    if (!s.is_array() || s.size() != 2 || !t.is_array() || t.size() != 2) return std::nullopt;
    p.Sweep = {Num(s[0], ok), Num(s[1], ok)};
    p.Taper = Num(t[0], ok);
    p.TaperOutward = t[1] == true;
  } else {
    const Value& a = at("axis");
    if (!a.is_array() || a.size() != 6) return std::nullopt;
    p.AxisPoint = Read3(a, 0, ok);
    p.AxisDir = Read3(a, 3, ok);
    p.Angle = Num(at("angle"), ok);
  }
  const Value& box = at("box");
  if (!box.is_array() || box.size() != 6) return std::nullopt;
  p.Tool.Lo = Read3(box, 0, ok);
  p.Tool.Hi = Read3(box, 3, ok);
  p.OpenCurves = model::SaturatedInt(Num(at("open"), ok));
  const Value& circles = at("circles");
  if (!circles.is_array()) return std::nullopt;
  for (const Value& c : circles) {
    if (!c.is_array() || c.size() != 9) return std::nullopt;
    p.Circles.push_back({Read3(c, 0, ok), Read3(c, 3, ok), Num(c[6], ok), {Num(c[7], ok), Num(c[8], ok)}});
  }
  if (!ok) return std::nullopt;
  return p;
}

namespace {

std::string Pt(const Vec3& v)
{
  std::ostringstream s;
  s << "(";
  for (std::size_t i = 0; i < 3; ++i)
    s << (i ? ", " : "") << (std::abs(v[i]) < 5e-10 ? 0.0 : v[i]);
  s << ")";
  return s.str();
}

} // namespace

std::string Describe(const Placed& p)
{
  std::ostringstream s;
  s << "placed at " << Pt(p.Sketch.O) << " u " << Pt(p.Sketch.U) << " v " << Pt(p.Sketch.V) << " n "
    << Pt(p.Sketch.N);
  if (p.Kind == "extrusion") {
    s << ", sweep [" << p.Sweep.From << ", " << p.Sweep.To << "]";
    if (p.Taper != 0.0) s << ", taper " << p.Taper << (p.TaperOutward ? " out" : " in");
  } else {
    s << ", axis " << Pt(p.AxisPoint) << " along " << Pt(p.AxisDir) << ", turn " << p.Angle;
  }
  s << ", box " << Pt(p.Tool.Lo) << " - " << Pt(p.Tool.Hi) << ", " << p.Loops.size() << " loops";
  if (p.OpenCurves > 0) s << ", " << p.OpenCurves << " open curves ignored";
  for (const Circle3D& c : p.Circles)
    s << "; circle r " << c.R << " at " << Pt(c.Centre) << " along " << Pt(c.Axis) << " [" << c.Along.From
      << ", " << c.Along.To << "]";
  return s.str();
}

std::optional<Placed> PlacedOf(const Object& feature)
{
  if (model::Deleted(feature) || !feature.Has("placed")) return std::nullopt;
  std::optional<Placed> p = PlacedFromJson(feature.Prop("placed"));
  if (p) p->Loops = FindLoops(ProfileCurves(feature.Prop("profile"))).Closed;
  return p;
}

std::vector<Curve> ProfileCurves(const Value& profile, std::optional<std::array<Vec2, 2>>* axis)
{
  std::vector<Curve> out;
  if (!profile.is_array()) return out;
  for (const Value& c : profile) {
    // A profile read back from a file may hold anything.
    if (!c.is_object() || !c.contains("points") || !c.at("points").is_array()) continue;
    const Value& p = c.at("points");
    const Value& kind = c.contains("curve") ? c.at("curve") : Value();
    Curve k;
    k.K = kind == "line" ? Curve::Kind::Line : kind == "circle" ? Curve::Kind::Circle : Curve::Kind::Arc;
    const std::size_t at = k.K == Curve::Kind::Line ? 0 : 2;
    if (p.size() < at + 4) continue;
    bool ok = true;
    if (k.K != Curve::Kind::Line) k.C = {Num(p[0], ok), Num(p[1], ok)};
    k.A = {Num(p[at], ok), Num(p[at + 1], ok)};
    k.B = {Num(p[at + 2], ok), Num(p[at + 3], ok)};
    if (c.contains("radius")) k.R = Num(c.at("radius"), ok);
    k.Clockwise = c.contains("clockwise") && c.at("clockwise") == true;
    if (!ok) continue;
    if (k.K == Curve::Kind::Line && c.contains("style") && c.at("style") == int(txapi::txCSAxial)) {
      if (axis != nullptr && !*axis) *axis = std::array<Vec2, 2>{k.A, k.B};
      continue;
    }
    out.push_back(k);
  }
  return out;
}

std::vector<Placed> PlacedFeatures(const Object& part)
{
  std::vector<Placed> out;
  for (const Object* m : model::LiveMembers(part))
    if (std::optional<Placed> p = PlacedOf(*m)) out.push_back(std::move(*p));
  return out;
}

} // namespace txhost::place
