// The fit rules of the coupling tables: what one row must hold against the other columns and tables
// for its builders to make sound parts, derived from where those builders put each piece. A row that
// breaks one is refused with the table, the row and what does not fit, before anything is built.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "Duvozadu/CplgDetails.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/CplgShared.h"

namespace {
// The clearances the rules keep, in the order of FitWalls.
enum EWall {
  MuvpPitch,
  MuvpRim,
  MuvpHub,
  MuvpHoleHub,
  MuvpBore,
  MuvpKeyway,
  FlangedPitch,
  FlangedHub,
  FlangedRim,
  FlangedRecess,
  FlangedKeyway,
  StarDiscs,
  StarOuter,
  StarRoot,
  StarKeyway,
  ToothedPitch,
  ToothedBarrel,
  ToothedRim,
  ToothedKeyway,
  ToroidalPitch,
  ToroidalHub,
  ToroidalRim,
  ToroidalKeyway,
  HingeKeyway,
  JawDiscKeyway,
  HingeJaws,
  Walls
};
} // namespace

// What each clearance lies between, as "between" takes them, and whether it is a wall of one part (a keyway's
// floor under its hub's face, a hole beside the bore, the rim or a recess beside a hole), which a hole must
// not break through, rather than two pieces, which may touch.
const TFitWall FitWalls[] = {
    {"втулками соседних пальцев", false},
    {"отверстиями втулок и наружным диаметром D", true},
    {"гайками пальцев и ступицей d1", false},
    {"отверстиями втулок и ступицей d1", false},
    {"отверстиями втулок и отверстием вала", true},
    {"дном шпоночного паза и ступицей d1", true},
    {"соседними болтами", false},
    {"болтами и ступицей D2", false},
    {"отверстиями болтов и диаметром D", true},
    {"отверстиями болтов и выточкой D3", true},
    {"дном шпоночного паза и ступицей D2", true},
    {"звездочкой и дисками полумуфт", false},
    {"звездочкой и уступами кулачков", false},
    {"кулачками и впадинами звездочки", false},
    {"дном шпоночного паза и ступицей d1", true},
    {"соседними болтами", false},
    {"болтами и обоймой D1", false},
    {"отверстиями болтов и диаметром D", true},
    {"дном шпоночного паза и ступицей d1", true},
    {"соседними болтами", false},
    {"болтами и ступицей d1", false},
    {"отверстиями болтов и диаметром D1", true},
    {"дном шпоночного паза и ступицей d1", true},
    {"дном шпоночного паза и ступицей d1", true},
    {"дном шпоночного паза и ступицей D3", true},
    {"кулачками полумуфт у центра шарнира", false},
};
const int CountFitWall = sizeof FitWalls / sizeof *FitWalls;
static_assert(sizeof FitWalls / sizeof *FitWalls == Walls);
void (*FitGauge)(int wall, double clearance) = nullptr;

namespace {
// Lengths the tables derive from others (sums of values written to a hundredth) agree within this share.
constexpr double Slack = 1e-9;
// Pieces closer than this are taken as touching, which a solid check counts as fitting: what rounding leaves
// of a clearance computed from the tables' values decides nothing.
constexpr double Touch = 1e-6;

TString Num(double v)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", v);
  return TString(text);
}

// A length as a message gives it, to a hundredth of a millimetre.
TString Mm(double v)
{
  return Num(std::round(v * 100.0) / 100.0 + 0.0);
}

// The builders' heads and nuts stand with two corners on the assembly's Y axis: their flats face 30, 90 and
// 150 degrees from +Y towards +Z, their corners 0, 60 and 120.
double HexagonFit(double angle, double offset)
{
  double most = 0.0;
  for (const double a : {offset, offset + 60.0, offset + 120.0})
    most = std::fmax(most, std::fabs(std::cos((angle - a) * M_PI / 180.0)));
  return most;
}

// Pieces the builders place round the axis: the i-th of the first count at first + i * turn degrees from +Y
// towards +Z on the circle of diameter D, each as wide as round (its widest round piece: a washer, a bush)
// and the hexagon of across flats hex (none at 0) of its head or nut.
struct TRing
{
  double count, first, turn, D, round, hex;
  double Angle(int i) const { return first + i * turn; }
  int Placed() const { return count > 0.0 ? int(std::fmin(std::ceil(count), 360.0)) : 0; }
};

// The least clearance between two pieces of a ring: two round ones apart by their distance less their width,
// two hexagons turned alike by the distance of their centres along the normal of a flat less across flats.
double Pitch(const TRing& c)
{
  const int n = c.Placed();
  std::vector<double> y(n), z(n);
  for (int i = 0; i < n; ++i) {
    y[i] = c.D / 2 * std::cos(c.Angle(i) * M_PI / 180.0);
    z[i] = c.D / 2 * std::sin(c.Angle(i) * M_PI / 180.0);
  }
  double least = INFINITY;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      const double dy = y[j] - y[i], dz = z[j] - z[i], apart = std::hypot(dy, dz);
      least = std::fmin(least, apart - c.round);
      if (c.hex > 0.0)
        least = std::fmin(least, apart * HexagonFit(std::atan2(dz, dy) * 180.0 / M_PI, 30.0) - c.hex);
    }
  return least;
}

// A piece of a fastener set standing on the face a hub rises from, From to To past it: a washer (Round wide
// round a bore Bore, the outer edge of its far end chamfered as the builders' washers are) or, with Hex, a
// head or nut (the hexagon of that across flats).
struct TOnFace
{
  double From, To, Round, Bore, Hex;
};

// The hub beside them: radius Radius, rising from the face behind a fillet F, a quarter circle from the face
// at Radius + F down to the hub F past it (none at 0 or below).
struct TFilletedHub
{
  double Radius, F;
  // Its radius t past the face.
  double At(double t) const
  {
    return F <= 0.0 || t >= F ? Radius : Radius + F - std::sqrt(std::fmax(0.0, F * F - (F - t) * (F - t)));
  }
};

// The corners of the hexagon of across flats S about (y, z): every coupling inserts its heads and nuts
// unturned about their axes, two corners on the assembly's Y axis (at 0, 60, ... degrees from +Y towards +Z).
std::array<std::array<double, 2>, 6> Hexagon(double y, double z, double S)
{
  std::array<std::array<double, 2>, 6> h{};
  for (int k = 0; k < 6; ++k)
    h[k] = {y + CornerRadius(S) * std::cos(k * M_PI / 3), z + CornerRadius(S) * std::sin(k * M_PI / 3)};
  return h;
}

// The signed area the triangle of the axis and the points a, b shares with the disc of radius R about the
// axis: summed over a polygon's edges, the polygon's area within the disc.
double TriangleInDisc(const std::array<double, 2>& a, const std::array<double, 2>& b, double R)
{
  const auto cross = [](const std::array<double, 2>& u, const std::array<double, 2>& v) {
    return u[0] * v[1] - u[1] * v[0];
  };
  const auto sector = [&](const std::array<double, 2>& u, const std::array<double, 2>& v) {
    return R * R / 2 * std::atan2(cross(u, v), u[0] * v[0] + u[1] * v[1]);
  };
  const double dy = b[0] - a[0], dz = b[1] - a[1], A = dy * dy + dz * dz, B = a[0] * dy + a[1] * dz,
               C = a[0] * a[0] + a[1] * a[1] - R * R, disc = B * B - A * C;
  if (!(A > 0.0)) return 0.0;
  if (disc <= 0.0) return sector(a, b);
  const double s1 = (-B - std::sqrt(disc)) / A, s2 = (-B + std::sqrt(disc)) / A;
  if (s2 <= 0.0 || s1 >= 1.0) return sector(a, b);
  const std::array<double, 2> p{a[0] + std::fmax(s1, 0.0) * dy, a[1] + std::fmax(s1, 0.0) * dz},
      q{a[0] + std::fmin(s2, 1.0) * dy, a[1] + std::fmin(s2, 1.0) * dz};
  return sector(a, p) + cross(p, q) / 2 + sector(q, b);
}

// The area a circle of radius a about a point c from the axis shares with the disc of radius R about it.
double CircleInDisc(double c, double a, double R)
{
  if (!(a > 0.0 && R > 0.0) || c >= a + R) return 0.0;
  if (c <= std::fabs(R - a)) return M_PI * std::fmin(a, R) * std::fmin(a, R);
  const double p = std::acos(std::clamp((c * c + a * a - R * R) / (2 * c * a), -1.0, 1.0)),
               q = std::acos(std::clamp((c * c + R * R - a * a) / (2 * c * R), -1.0, 1.0));
  return a * a * (p - std::sin(p) * std::cos(p)) + R * R * (q - std::sin(q) * std::cos(q));
}

// A piece of a ring on a face beside a hub: how deep it reaches into the hub where it stands on the face (its
// clearance, negative), and the volume it shares with the hub, which the solid check weighs.
class TBesideHub
{
public:
  TBesideHub(const TRing& ring, int i, const TOnFace& p, const TFilletedHub& hub) : P(p), Hub(hub)
  {
    const double a = ring.Angle(i) * M_PI / 180.0;
    C = {ring.D / 2 * std::cos(a), ring.D / 2 * std::sin(a)};
    if (P.Hex > 0.0) H = Hexagon(C[0], C[1], P.Hex);
  }

  // Its distance from the hub's surface on the face: the distance of its nearest point from the axis less
  // the fillet's radius there.
  double Clearance() const
  {
    const double c = std::hypot(C[0], C[1]);
    if (!(P.Hex > 0.0)) return c - P.Round / 2 - Hub.At(P.From);
    // A hexagon's nearest point lies on an edge (or it stands round the axis).
    double nearest = INFINITY;
    for (int k = 0; k < 6; ++k) {
      const auto &a = H[k], &b = H[(k + 1) % 6];
      const double dy = b[0] - a[0], dz = b[1] - a[1];
      const double s = std::clamp(-(a[0] * dy + a[1] * dz) / (dy * dy + dz * dz), 0.0, 1.0);
      nearest = std::fmin(nearest, std::hypot(a[0] + s * dy, a[1] + s * dz));
    }
    return (Contains() ? -nearest : nearest) - Hub.At(P.From);
  }

  // The volume it shares with the hub: over the fillet, taken by the angle along its arc, whose radius
  // falls steeply from the face, then along the hub.
  double Shared() const
  {
    const double from = std::fmax(P.From, 0.0), to = P.To;
    double v = 0.0;
    if (Hub.F > 0.0 && from < Hub.F && from < to) {
      const double f = Hub.F, a0 = std::acos(1 - from / f), a1 = std::acos(1 - std::fmin(to, f) / f);
      v += Simpson(a0, a1, 128, [&](double a) {
        return Within(f * (1 - std::cos(a)), Hub.Radius + f - f * std::sin(a)) * f * std::sin(a);
      });
    }
    const double past = std::fmax(from, std::fmax(Hub.F, 0.0));
    if (past < to) v += Simpson(past, to, 16, [&](double t) { return Within(t, Hub.Radius); });
    return v;
  }

  // The least volume of the piece (the solid it belongs to may be larger): the solid check takes two solids
  // sharing up to 1e-6 of the smaller one as touching.
  double Volume() const
  {
    const double section = P.Hex > 0.0 ? std::sqrt(3.0) / 2 * P.Hex * P.Hex - M_PI * P.Bore * P.Bore / 4
                                       : M_PI * (P.Round * P.Round - P.Bore * P.Bore) / 4;
    return std::fmax(0.0, section * (P.To - P.From));
  }

private:
  // Whether the hexagon stands round the axis.
  bool Contains() const
  {
    for (int k = 0; k < 6; ++k) {
      const auto &a = H[k], &b = H[(k + 1) % 6];
      if (a[0] * b[1] - a[1] * b[0] < 0.0) return false;
    }
    return true;
  }

  // Its section t past the face within the radius R of the axis: a washer's outer edge is chamfered at 45
  // degrees by a quarter of its thickness at its far end (no more than half its ring's width).
  double Within(double t, double R) const
  {
    if (P.Hex > 0.0) {
      double area = 0.0;
      for (int k = 0; k < 6; ++k)
        area += TriangleInDisc(H[k], H[(k + 1) % 6], R);
      return area;
    }
    const double T = P.To - P.From, chamfer = std::fmax(0.0, std::min({T / 4, (P.Round - P.Bore) / 4, T / 2}));
    const double a = P.Round / 2 - std::fmax(0.0, t - (P.To - chamfer));
    return CircleInDisc(std::hypot(C[0], C[1]), a, R);
  }

  template <class F> static double Simpson(double a, double b, int n, F&& g)
  {
    const double h = (b - a) / n;
    double s = g(a) + g(b);
    for (int k = 1; k < n; ++k)
      s += g(a + k * h) * (k % 2 ? 4 : 2);
    return s * h / 3;
  }

  TOnFace P;
  TFilletedHub Hub;
  std::array<double, 2> C;
  std::array<std::array<double, 2>, 6> H{};
};

// The solid check's tolerance: solids that share up to this volume (of the smaller one) touch.
double TouchingVolume(double smaller)
{
  return std::fmax(0.1, 1e-6 * smaller);
}

// The face of a flange the pieces of each fastener on it stand on, and the hub that rises from it.
struct TFace
{
  TFilletedHub Hub;
  std::vector<TOnFace> Pieces;
};

// A washer with a nut or a head on it, and a head alone, as a fastener set puts them on a face.
std::vector<TOnFace> WasherAndHexagon(const TFastenerSet& s, double bore)
{
  return {{0.0, s.WasherThickness, s.Washer, s.WasherBore, 0.0},
          {s.WasherThickness, s.WasherThickness + s.Height, 0.0, bore, s.AcrossFlats}};
}
std::vector<TOnFace> Head(const TFastenerSet& s)
{
  return {{0.0, s.Height, 0.0, 0.0, s.AcrossFlats}};
}

class TFit
{
public:
  TFit(const TFitTables& t, TFitFault& fault) : T(t), Fault(fault) {}

  const TTable& Table(int k) const { return k == FitKeyway ? *T.Keyway : *T.T[k]; }

  bool Fail(int table, Integer row, const TString& what)
  {
    Fault.Table = table;
    Fault.Row = row;
    Fault.What = what;
    return false;
  }

  // The key column of a table ascends: strictly, or (a main table's torques, shared by the rows of one
  // group, with the group's bores in the control column) by groups whose bores ascend. The column named is
  // the one out of order: the bores' within a group.
  bool Ascends(int table, int col, bool strict)
  {
    const TTable& t = Table(table);
    for (Integer r = 1; r < t.CountRow; ++r) {
      const double a = t.Row(r - 1)[col], b = t.Row(r)[col];
      const bool bores = !strict && a == b && t.Row(r - 1)[t.Control] >= t.Row(r)[t.Control];
      if (b < a || (strict && a == b) || bores)
        return Fail(table, r,
                    TString("значения столбца ") + TString(bores ? t.Control : col) +
                        TString(" не возрастают"));
    }
    return true;
  }

  // The row of a table holding exactly this key in column col; null, with the fault named at the row that
  // asked, when none does: the row not below it belongs to another piece.
  const double* Exact(int table, int col, double key, int asking, Integer row, const char* what)
  {
    const TTable& t = Table(table);
    for (Integer r = 0; r < t.CountRow; ++r)
      if (t.Row(r)[col] == key) return t.Row(r);
    Fail(asking, row, TString("нет ") + TString(what) + Num(key) + TString(" в таблице ") + t.Name);
    return nullptr;
  }

  // A clearance between two pieces, refused with what meets and by how much when they overlap (touching
  // pieces fit); a wall of one part (FitWalls' Through) is refused when a hole or a keyway breaks through it
  // or leaves nothing of it.
  bool Wall(int table, Integer row, EWall wall, double clear, const TString& what, const TString& tail = {})
  {
    if (FitGauge) FitGauge(wall, clear);
    if (FitWalls[wall].Through ? clear >= Touch : clear >= -Touch) return true;
    return Fail(table, row, what + TString(" на ") + Mm(-clear) + tail);
  }

  // The rows of each torque group agree on the columns both halves share, once every rule has held (ok).
  bool Done(bool ok, std::initializer_list<int> shared = {}) { return ok && Agree(shared); }

  // z pieces on a ring (count placed of them, pieces the noun of their count in its three forms) clear of
  // each other.
  bool OnCircle(int table, Integer row, EWall wall, double z, const TRing& ring,
                const char* const (&pieces)[3], const char* circle)
  {
    const TString on = Counted(z, pieces[0], pieces[1], pieces[2]) + TString(" не помещаются на ") +
                       TString(circle) + TString(" ") + Num(ring.D);
    return Wall(table, row, wall, Pitch(ring), on + TString(": соседние заходят друг на друга"));
  }

  // One radius stays at or above another: a piece clear of the part below it.
  bool Clear(int table, Integer row, EWall wall, double above, double below, const char* what)
  {
    return Wall(table, row, wall, above - below, TString(what));
  }

  // The pieces of a ring standing on the faces of flanges (each face's pieces beside its hub) clear of the
  // hubs: a piece that reaches into one is refused, by its depth there. Where the drawings put the fasteners
  // in front of the hubs (slivers), only when it shares more with the hub than the solid check takes for
  // touching: the fillet's arc falls from the face so steeply that a washer's edge half a millimetre inside
  // its start shares a few hundredths of a cubic millimetre with it. Elsewhere a view draws the fillet's edge
  // across the washer however little it reaches in, and the first fastener (where the section plane cuts it)
  // with its head and nut across their corners towards the axis, however the model turns them there: a
  // hexagon is measured as the circle round it.
  bool BesideHubs(int table, Integer row, EWall wall, const TRing& ring, const std::vector<TFace>& faces,
                  const char* what, bool slivers)
  {
    double least = INFINITY, over = INFINITY;
    for (const TFace& face : faces)
      for (TOnFace p : face.Pieces) {
        if (!slivers && p.Hex > 0.0) p = {p.From, p.To, p.Hex * 2.0 / std::sqrt(3.0), p.Bore, 0.0};
        // A round piece stands alike everywhere on its circle.
        for (int i = 0; i < (p.Hex > 0.0 ? ring.Placed() : std::min(ring.Placed(), 1)); ++i) {
          const TBesideHub b(ring, i, p, face.Hub);
          const double clear = b.Clearance();
          least = std::fmin(least, clear);
          if (!(clear >= -Touch) && !(slivers && b.Shared() <= TouchingVolume(b.Volume())))
            over = std::fmin(over, clear);
        }
      }
    if (FitGauge) FitGauge(wall, over < INFINITY ? over : least);
    if (!(over < INFINITY)) return true;
    return Fail(table, row, TString(what) + TString(" на ") + Mm(-over));
  }

  // Two pieces clear of each other, or overlapping by clear (negative) and sharing volume, which the solid
  // check takes for touching up to its tolerance for a piece of the volume smaller (at least).
  bool Overlap(int table, Integer row, EWall wall, double clear, double volume, double smaller, const TString& what)
  {
    if (FitGauge) FitGauge(wall, clear);
    if (clear >= -Touch || volume <= TouchingVolume(smaller)) return true;
    return Fail(table, row, what + TString(" на ") + Mm(-clear));
  }

  // The keyway of a bore d: the table has the row its builders take (the bore above its first key), the
  // key narrower than the bore, and its floor inside the hub of radius hub by the wall.
  bool Keyway(int table, Integer row, EWall wall, double d, double hub)
  {
    const TTable& k = *T.Keyway;
    if (!(d > k.Row(0)[0])) return Fail(table, row, TString("нет шпоночного паза для вала ") + Num(d));
    const double* S = k.GetParam(k.Control, d, true);
    if (!(S[1] < d)) return Fail(table, row, TString("шпонка шире вала ") + Num(d));
    return Wall(table, row, wall, hub - (d / 2 + S[2]),
                TString("шпоночный паз вала ") + Num(d) + TString(" выходит из ступицы"));
  }

  // A build with two bores takes half 1 from one row of a torque group and half 2 from another: the rows
  // of a group agree on the columns of the pieces both halves share (fasteners, their circle, the faces
  // they join), else the halves' pieces miss each other.
  bool Agree(std::initializer_list<int> shared)
  {
    const TTable& t = Table(0);
    Integer first = 0;
    for (Integer r = 1; r < t.CountRow; ++r) {
      if (t.Row(r)[0] != t.Row(first)[0]) {
        first = r;
        continue;
      }
      for (const int c : shared)
        if (!(t.Row(r)[c] == t.Row(first)[c]))
          return Fail(0, r,
                      TString("значение столбца ") + TString(c) + TString(" не совпадает со строкой ") +
                          TString(first + 1) + TString(" того же момента"));
    }
    return true;
  }

  const TFitTables T;
  TFitFault& Fault;
};

// Every bore of a main table has its keyway, within the hub of the radius hub(row) gives.
template <class F> bool Keyways(TFit& f, EWall wall, F&& hub)
{
  const TTable& t = f.Table(0);
  for (Integer r = 0; r < t.CountRow; ++r)
    if (!f.Keyway(0, r, wall, t.Row(r)[t.Control], hub(t.Row(r)))) return false;
  return true;
}

// The bolt of a row by its thread: a row of its own, whose nut stands on its washer.
const double* Bolt(TFit& f, Integer row, double thread)
{
  const double* K = f.Exact(1, 0, thread, 0, row, "болта М");
  if (K && !(K[3] <= K[5])) {
    f.Fail(1, Integer((K - f.Table(1).Row(0)) / f.Table(1).CountColumn),
           TString("гайка болта М") + Num(thread) + TString(" шире шайбы"));
    return nullptr;
  }
  return K;
}

// The rows of a bolted coupling's main table, keys ascending, each with the bolt its column thread names (a
// washer of the bolts table under its nut when washer); each(row, A, K) checks the rest of the row.
template <class F> bool EachBolted(TFit& f, int thread, bool washer, F&& each)
{
  if (!f.Ascends(0, 0, false) || !f.Ascends(1, 0, true)) return false;
  const TTable& t = f.Table(0);
  for (Integer r = 0; r < t.CountRow; ++r) {
    const double* A = t.Row(r);
    const double* K = washer ? Bolt(f, r, A[thread]) : f.Exact(1, 0, A[thread], 0, r, "болта М");
    if (!K || !each(r, A, K)) return false;
  }
  return true;
}

// The nouns of the pieces counted round a ring, as one, two and five of them take them.
const char* const BoltNouns[] = {"болт", "болта", "болтов"};
const char* const PinNouns[] = {"палец", "пальца", "пальцев"};

// The bolts of a ring (z of them, their holes d wide) clear of each other and, with their heads, washers and
// nuts on the flanges' faces, of the hubs beside them (what); their holes within the diameter rim (named).
// With no bolt placed there is nothing to meet. The walls kept are pitch (between neighbours), inner and
// rim, in FitWalls' order.
struct TBoltCircle
{
  EWall pitch;
  double z;
  TRing ring;
  double d;
  std::vector<TFace> faces;
  const char *what, *circle;
  double rim;
  const char* rimName;
  bool slivers = false; // see BesideHubs
};
bool BoltCircle(TFit& f, Integer r, const TBoltCircle& c)
{
  if (c.ring.Placed() == 0) return true;
  return f.OnCircle(0, r, c.pitch, c.z, c.ring, BoltNouns, c.circle) &&
         f.BesideHubs(0, r, EWall(c.pitch + 1), c.ring, c.faces, c.what, c.slivers) &&
         f.Wall(0, r, EWall(c.pitch + 2), c.rim / 2 - (c.ring.D / 2 + c.d / 2),
                TString("отверстия болтов выходят за диаметр ") + TString(c.rimName));
}

} // namespace

// The sleeve-and-pin coupling. The pin set starts at the face of half 1 (the spacer against it, then the
// elastic bushings in half 2's holes); the pin's cone sits in flange 1, its washer and nut on flange 1's back
// face, where the hub of half 1 runs on behind the flange's fillet.
bool FitMUVP(const TFitTables& tables, TFitFault& fault)
{
  TFit f(tables, fault);
  // Half 2 places the pins half 1's row chose (dp 14): on its D1 (5), its count (15), the nuts by its l1
  // (10) and gap B (13).
  if (!f.Ascends(0, 0, false) || !f.Ascends(1, 0, true)) return false;
  const TTable& t = f.Table(0);
  for (Integer r = 0; r < t.CountRow; ++r) {
    const double* A = t.Row(r);
    const double D = A[2], D1 = A[5], d1 = A[7], l1 = A[10], l2 = A[11], z = A[15], f1 = A[16],
                 d = A[17];
    const double* P = f.Exact(1, 0, A[14], 0, r, "пальца ");
    if (!P) return false;
    const TFastenerSet nut = PinNut(P);
    const double cone = P[5] - P[6] - P[7];
    // Round the axis: the elastic bushing is the widest piece, but an edited row may make any other so. The
    // pins stand at i * 360 / z degrees from +Y, as many as z holds whole.
    double w = P[15];
    for (const double v : {P[0], P[1], P[14], nut.Washer})
      w = std::fmax(w, v);
    const TRing pins{std::floor(z), 0.0, 360.0 / z, D1, w, nut.AcrossFlats};
    if (pins.Placed() > 0) {
      if (!f.OnCircle(0, r, MuvpPitch, z, pins, PinNouns, "D1")) return false;
      // The holes of half 2's bushings and half 1's cones.
      if (!f.Clear(0, r, MuvpRim, D / 2, D1 / 2 + std::fmax(P[15], P[0]) / 2,
                   "втулки пальцев выходят за наружный диаметр D"))
        return false;
      // Half 2's holes run through the whole half: they stay clear of its hub d1 where its fillet f leaves the
      // flange's back face (a view draws the fillet's edge across the bushings in them), or touch it there.
      if (!f.Clear(0, r, MuvpHoleHub, D1 / 2 - P[15] / 2, TFilletedHub{d1 / 2, f1}.At(0.0),
                   "отверстия втулок задевают ступицу d1"))
        return false;
      // The washer on flange 1's back face, where the hub d1 rises behind its fillet f, the nut on the washer.
      if (!f.BesideHubs(0, r, MuvpHub, pins, {{{d1 / 2, f1}, WasherAndHexagon(nut, P[3])}},
                        "гайки пальцев задевают ступицу d1", false))
        return false;
    }
    const Integer pin = Integer((P - f.Table(1).Row(0)) / f.Table(1).CountColumn);
    if (!(P[0] < P[14] && P[14] < P[15]))
      return f.Fail(1, pin, TString("распорная втулка не помещается между пальцем и отверстием"));
    // The spacer (13) and the elastic bushings (16) follow each other on the pin's cylinder (6): longer, they
    // run onto its collar and across the section's lines.
    if (!(P[13] + P[16] <= P[6] + Slack * (1.0 + P[6])))
      return f.Fail(1, pin, TString("распорная и упругие втулки длиннее цилиндра пальца"));
    // The thread runs out into the neck (4) below it: a wider neck turns the run-out inside out, and stands
    // in the washer's hole.
    if (!(P[4] < P[3])) return f.Fail(1, pin, TString("шейка пальца не тоньше резьбы"));
    if (!(cone > 0.0 && cone <= l1)) return f.Fail(0, r, TString("конус пальца не помещается в полумуфте 1"));
    if (cone + P[8] > l1 + nut.WasherThickness)
      return f.Fail(0, r, TString("резьба пальца не доходит до гайки"));
    // The nut stands on the pin: its end passes the washer into the nut, which beside it would hold nothing
    // (though no solid meets another there). Out of the nut, or short of its end, the pin fits alike; and its
    // bushings, longer than half 2's flange, stand on in their holes, cut through the whole half.
    if (!(P[2] - P[6] - P[7] > l1 + nut.WasherThickness))
      return f.Fail(0, r, TString("палец не доходит до гайки"));
    if (!(l1 + f1 < A[4] && l2 + f1 < A[4] && l1 + f1 < A[19] && l2 + f1 < A[19]))
      return f.Fail(0, r, TString("фланец не короче ступицы"));
    if (pins.Placed() > 0 && !f.Wall(0, r, MuvpBore, D1 / 2 - P[15] / 2 - d / 2,
                                     TString("отверстия втулок задевают отверстие вала")))
      return false;
  }
  return f.Done(Keyways(f, MuvpKeyway, [](const double* A) { return A[7] / 2; }), {5, 10, 13, 14, 15});
}

// The flanged coupling: the bolts on the circle D1 (8) through both flanges (b thick, 16), the head on half
// 1's back face and the washer and nut on half 2's, where the hub D2 (9) rises behind the fillet r (18). The
// bolts stand at i * 360 / z - 90 degrees from +Y.
bool FitFlanged(const TFitTables& tables, TFitFault& fault)
{
  TFit f(tables, fault);
  // Half 1's row places the bolts (count 6, circle D1 8, flange b 16, thread 19) through both flanges.
  return f.Done(EachBolted(f, 19, true,
                           [&](Integer r, const double* A, const double* K) {
                             const TRing bolts{A[6], -90.0, 360.0 / A[6], A[8], K[5], K[3]};
                             // The heads on half 1's flange, the washers and nuts on half 2's, each beside
                             // its hub D2 behind the fillet r: every row may be either half.
                             const TFastenerSet set = FlangedBolt(K, A[19]);
                             const TFilletedHub hub{A[9] / 2, A[18]};
                             return BoltCircle(f, r,
                                               {FlangedPitch,
                                                A[6],
                                                bolts,
                                                A[19],
                                                {{hub, Head(set)}, {hub, WasherAndHexagon(set, A[19])}},
                                                "болты задевают ступицу D2",
                                                "D1",
                                                A[7],
                                                "D"}) &&
                                    (bolts.Placed() == 0 ||
                                     f.Clear(0, r, FlangedRecess, A[8] / 2 - A[19] / 2, A[10] / 2,
                                             "отверстия болтов задевают выточку D3"));
                           }) &&
                    Keyways(f, FlangedKeyway, [](const double* A) { return A[9] / 2; }),
                {6, 8, 16, 19});
}

// Along the axis the star stands between the halves' faces where the assembly places them: their discs,
// where it is wider than their bores, and their jaws' outer parts (from l3, 9), where its teeth reach past
// B1 (7), the line those parts begin at. The faces of row r's half, as half 1 or half 2 with any row of its
// torque group as the other (which places half 2 when it is half 1), each of any bore type. A face the star
// reaches into is refused by how deep, and by the other half's row where that is another. Beside the star's
// teeth and beyond the rim D nothing of the halves stands.
bool StarBetweenFaces(TFit& f, Integer r, const double* A, const double* St)
{
  const TTable& t = f.Table(0);
  const double half = St[3] / 2, teeth = StarTeethReach(St);
  struct TDeepest
  {
    double Clear = INFINITY;
    Integer Other = 0;
    void Keep(double clear, Integer other)
    {
      if (clear < Clear) *this = {clear, other};
    }
  } disc, outer;
  // The row with itself first: a face as deep with another row is said of the row alone.
  for (Integer k = -1; k < t.CountRow; ++k) {
    const Integer q = k < 0 ? r : k;
    const double* A2 = t.Row(q);
    if ((k >= 0 && q == r) || A2[0] != A[0]) continue;
    for (int T = 0; T < 4; ++T)
      for (int T2 = 0; T2 < 4; ++T2) {
        const TStarAxial first = StarAxial(A, T, A2, T2), second = StarAxial(A2, T2, A, T);
        if (St[0] / 2 > StarDiscBore(A, T)) {
          disc.Keep(first.Disc1 - half, q);
          disc.Keep(second.Disc2 - half, q);
        }
        if (teeth > A[7]) {
          outer.Keep(first.Outer1 - half, q);
          outer.Keep(second.Outer2 - half, q);
        }
      }
  }
  const auto wall = [&](const TDeepest& d, EWall w, const char* what) {
    const TString with =
        d.Other == r ? TString() : TString(", когда другая полумуфта из строки ") + Num(double(d.Other + 1));
    return d.Clear == INFINITY || f.Wall(0, r, w, d.Clear, TString(what), with);
  };
  return wall(disc, StarDiscs, "звездочка заходит в диск полумуфты") &&
         wall(outer, StarOuter, "звездочка заходит в уступ кулачков полумуфты");
}

// The jaw coupling with a star: the star is the row whose tooth width is the gap 2B between the jaws,
// within the jaws' diameter, as thick as their overlap; its halves' jaws stand at every second pitch of
// the star, so a star has an even number of teeth.
bool FitStar(const TFitTables& tables, TFitFault& fault)
{
  TFit f(tables, fault);
  // One star between both halves' jaws (D 3, flank offset B 6 choosing the star, B1 7, outer part l3 9),
  // half 2 placed by half 1's gap 13.
  if (!f.Ascends(0, 0, false) || !f.Ascends(1, 2, true)) return false;
  const TTable& stars = f.Table(1);
  for (Integer r = 0; r < stars.CountRow; ++r) {
    const double z = stars.Row(r)[5];
    if (!(std::fmod(z, 2.0) == 0.0))
      return f.Fail(1, r, TString("число зубьев звездочки ") + Num(z) + TString(" не четное"));
    if (!(z >= 4.0)) return f.Fail(1, r, TString("у звездочки меньше 4 зубьев"));
  }
  const TTable& t = f.Table(0);
  for (Integer r = 0; r < t.CountRow; ++r) {
    const double* A = t.Row(r);
    const double* St = f.Exact(1, 2, 2 * A[6], 0, r, "звездочки шириной зуба ");
    if (!St) return false;
    if (!StarBetweenFaces(f, r, A, St)) return false;
    // Round the axis: the jaws stand at every second pitch 360 / z, their flanks on the star's teeth's (B
    // from a tooth's middle), their tips B1 (7) out from the axis. Between two teeth the star's flanks meet
    // at B / sin(180 / z), and the fillet St4 rounding that root reaches out to St4 cos2 / sin past it: a
    // jaw's tip stays beyond it, else more or wider teeth leave the jaws no room and they cut into the star.
    const double half = M_PI / St[5],
                 root = (A[6] + St[4] * std::cos(half) * std::cos(half)) / std::sin(half);
    if (!f.Wall(0, r, StarRoot, A[7] - root,
                TString("кулачки не помещаются между ") + Counted(St[5], "зубом", "зубьями", "зубьями") +
                    TString(" звездочки")))
      return false;
    // Along the axis, for either hub: the jaws' roots from the origin, their outer part from l3 (9) to the
    // jaws' end x0 = l1 - l, the disc on to l2 (8) past its chamfer f (10), the hub past its fillet r (11)
    // and its end's chamfer to l1.
    for (const int di : {0, 11}) {
      const double l = A[4 + di], l1 = A[5 + di], x0 = l1 - l;
      // The jaws' outer part (from l3) stands on them, beside the other half's jaws round the axis (the star
      // between them along it); their tips clear the other half's chamfer f and fillet r by the gap A13.
      if (!(A[9] < x0 && A[13] >= A[10] + A[11] &&
            x0 + A[10] < A[8] && A[8] + A[11] + 2 * A[10] <= l1))
        return f.Fail(0, r, TString("кулачки, диск и ступица полумуфты не следуют друг за другом"));
    }
  }
  return f.Done(Keyways(f, StarKeyway, [](const double* A) { return A[2] / 2; }), {3, 6, 7, 9, 13});
}

// The toothed couplings: the bolts on the circle D0 (18) through the flanges of the sleeves (or of the
// sleeve and the flanged half), whose barrel D1 (3) rises behind the fillet f (13); heads, washers and nuts
// stand on the flanges' back faces between the barrel and the rim D (2). With a flanged half (flanged), the
// heads stand on its flange, whose hub Dh (4) rises behind the same fillet.
namespace {
bool Toothed(const TFitTables& tables, TFitFault& fault, bool flanged)
{
  TFit f(tables, fault);
  // The two sleeves (or the sleeve and the flanged half) meet at their flanges and are bolted together:
  // all but the bore and its hub (4, 6) is shared.
  return f.Done(
      EachBolted(f, 19, true,
                 [&](Integer r, const double* A, const double* K) {
                   // Along the axis: the flange (B / 2 thick) past its fillet f; the hub from L / 2 - l to
                   // its end L / 2, its crowned teeth (b wide about l1) on it past their fillets and
                   // inside the sleeve, which ends at X - t.
                   const double xE = A[5] / 2, w2 = A[11] / 2, f1 = A[13];
                   if (!(A[8] / 2 > f1 && xE - A[6] >= 0.0 && A[12] - w2 - f1 >= xE - A[6] &&
                         A[12] + w2 + f1 <= A[16] - A[17]))
                     return f.Fail(0, r, TString("зубья ступицы, фланец и обойма не следуют друг за другом"));
                   // A gear of a fractional number of teeth is no gear.
                   if (std::floor(A[10]) != A[10])
                     return f.Fail(0, r, TString("число зубьев ") + Num(A[10]) + TString(" не целое"));
                   // Across: the hub under the sleeve's teeth, whose root stays inside the barrel and
                   // below the bolts' holes.
                   const double Rr = (A[10] + 2) * A[9] / 2 + 2.0, Ri = A[9] * (A[10] - 2) / 2;
                   if (!(A[4] / 2 < Ri && Rr < A[3] / 2 && Rr < A[18] / 2 - A[19] / 2))
                     return f.Fail(0, r, TString("зубья обоймы не помещаются между ступицей и обоймой"));
                   // The washers and nuts on the sleeve's flange beside its barrel, the heads on the
                   // other sleeve's or the flanged half's.
                   const TFastenerSet set = ToothedBolt(K);
                   const TFilletedHub barrel{A[3] / 2, f1}, heads{(flanged ? A[4] : A[3]) / 2, f1};
                   return BoltCircle(f, r,
                                     {ToothedPitch,
                                      A[20],
                                      {A[20], 90.0, -360.0 / A[20], A[18], K[5], K[3]},
                                      A[19],
                                      {{heads, Head(set)}, {barrel, WasherAndHexagon(set, A[19])}},
                                      "болты задевают обойму D1",
                                      "D0",
                                      A[2],
                                      "D",
                                      true});
                 }) &&
          Keyways(f, ToothedKeyway, [](const double* A) { return A[4] / 2; }),
      {2, 3, 5, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20});
}
} // namespace

bool FitToothed(const TFitTables& tables, TFitFault& fault)
{
  return Toothed(tables, fault, false);
}

bool FitToothedFlanged(const TFitTables& tables, TFitFault& fault)
{
  return Toothed(tables, fault, true);
}

// The toroidal coupling: the bolts on the circle D2 (9) with their washers on the flanges' outer faces,
// within the shell's feet D1 (8).
bool FitToroidal(const TFitTables& tables, TFitFault& fault)
{
  TFit f(tables, fault);
  // One shell and its half-rings, bolted to both halves' flanges: all but the bore, its hub and its lengths.
  return f.Done(EachBolted(f, 5, false,
                           [&](Integer r, const double* A, const double* K) {
                             // The ring under the shell's foot is as thick as the foot and the flange's step
                             // f.
                             if (!(A[10] <= A[17] + A[18] + Slack * (1.0 + A[10])))
                               return f.Fail(0, r,
                                             TString("кольцо b3 толще лапы оболочки b0 и уступа f на ") +
                                                 Mm(A[10] - A[17] - A[18]));
                             // The half-ring's collar runs from a bolt's diameter below the bolt circle up to
                             // the half-ring's top, 12 below the shell's feet: a thinner bolt raises its foot
                             // to the top, and the half-ring falls apart.
                             if (!(A[9] / 2 - A[5] < A[8] / 2 - 12.0))
                               return f.Fail(0, r,
                                             TString("болты М") + Num(A[5]) +
                                                 TString(" не оставляют буртика полукольца под D2 ") +
                                                 Num(A[9]));
                             // The bolts stand at 90 + i * 360 / z degrees from +Y.
                             // Each flange's outer face has a washer and a head on it, beside the hub d1
                             // behind the fillet f.
                             const TFastenerSet b = TorusBolt(A, K);
                             return BoltCircle(f, r,
                                               {ToroidalPitch,
                                                A[4],
                                                {A[4], 90.0, 360.0 / A[4], A[9], b.Washer, b.AcrossFlats},
                                                A[5],
                                                {{{A[14] / 2, A[18]}, WasherAndHexagon(b, 0.0)}},
                                                "болты задевают ступицу d1",
                                                "D2",
                                                A[8],
                                                "D1"});
                           }) &&
                    Keyways(f, ToroidalKeyway, [](const double* A) { return A[14] / 2; }),
                {2, 4, 5, 6, 7, 8, 9, 10, 13, 16, 17, 18});
}

namespace {
// The hinge couplings: the half-couplings are taken by the main row's place in its table, the cross piece
// by the main row's torque, and the pin and the bushing by the cross piece's place in its table: each of
// these rows exists. The double joint's middle piece (fork) has a half's slot cut at each of its ends.
bool Hinge(const TFitTables& tables, TFitFault& fault, bool fork)
{
  TFit f(tables, fault);
  if (!f.Ascends(0, 0, false) || !f.Ascends(2, 0, true)) return false;
  const TTable &t = f.Table(0), &halves = f.Table(1), &cross = f.Table(2);
  for (Integer r = 0; r < t.CountRow; ++r) {
    const double* A = t.Row(r);
    if (r >= halves.CountRow) return f.Fail(0, r, TString("нет строки в таблице ") + halves.Name);
    // Along a half, for either hub: its end l1, the slot's floor at l1 - l, the hub's cone from l1 - l3;
    // the slot as deep as the other half's jaw (l2) is long.
    const double* H = halves.Row(r);
    // Across: each half's jaw (2r wide) in the other's slot b, and the cross piece between the jaws.
    const double* S = f.Exact(2, 0, A[0], 0, r, "крестовины для момента ");
    if (!S) return false;
    if (!(2 * H[16] <= H[6] && S[1] <= H[6]))
      return f.Fail(1, r, TString("кулачок или крестовина шире паза b ") + Num(H[6]));
    // The pin of the cross piece passes its hole and the half's.
    const Integer k = Integer((S - cross.Row(0)) / cross.CountColumn);
    if (k < f.Table(3).CountRow && !(f.Table(3).Row(k)[1] <= S[3] && f.Table(3).Row(k)[1] <= H[4]))
      return f.Fail(0, r, TString("палец крестовины не проходит в отверстие d3 ") + Num(H[4]));
    // The bushing's core (d1) passes through the pin's cross hole (d1).
    if (k < f.Table(3).CountRow && k < f.Table(4).CountRow && !(f.Table(4).Row(k)[2] <= f.Table(3).Row(k)[2]))
      return f.Fail(3, k, TString("втулка не проходит в отверстие пальца d1 ") + Num(f.Table(3).Row(k)[2]));
    // The bushing's end rings (d) stand where the pin does, across the other fork: in the holes d3.
    if (k < f.Table(4).CountRow && !(f.Table(4).Row(k)[1] <= S[3] && f.Table(4).Row(k)[1] <= H[4]))
      return f.Fail(0, r, TString("втулка крестовины не проходит в отверстие d3 ") + Num(H[4]));
    // The half is turned for the shaft its main row names: its keyway is cut from that shaft's bore.
    if (!(H[1] == A[1]))
      return f.Fail(0, r,
                    TString("вал ") + Num(A[1]) + TString(" не входит в отверстие полумуфты d ") + Num(H[1]));
    for (const int di : {0, 1})
      if (!(H[12 + di] < H[7 + di] && H[7 + di] < H[9 + di] && H[9 + di] - H[7 + di] >= H[11]))
        return f.Fail(1, r, TString("паз, вилка и ступица полумуфты не следуют друг за другом"));
    // A jaw (2r wide, in the other half's slot b) runs straight from its rounding r to l2, its flanks widening
    // from there to the fork's diameter D at the slot's floor x = l1 - l. Shorter than its rounding, the jaw
    // widens before the joint's centre; the other half's, a quarter turned, as far past it, and the two meet
    // between where each passes b / 2 (X from its tip): four corners sharing 2/3 s^2 L^3 over L = 2 (r - X),
    // s the flanks' slope, and at the centre each jaw s L / 2 past b / 2 (no further than the fork reaches).
    for (const int di : {0, 1}) {
      const double s = (H[5] / 2 - H[16]) / (H[9 + di] - H[7 + di] - H[11]), X = H[11] + (H[6] / 2 - H[16]) / s,
                   L = 2 * (H[16] - X);
      if (s > 0.0 && L > 0.0 &&
          !f.Overlap(1, r, HingeJaws, -std::fmin(s * L / 2, H[5] / 2 - H[6] / 2), 2.0 / 3.0 * s * s * L * L * L, 0.0,
                     TString("кулачки полумуфт заходят друг на друга у центра шарнира")))
        return false;
    }
    // A slot reaches from the joint to its floor l1 - l less the jaw's rounding r, by the hub either end
    // takes. The cross piece (l long, 2) lies within the shallower: past a floor its corners stand in the
    // half round the bore. The fork's two slots, the deeper at both ends, stay apart between the joint
    // centres A.
    const double slot[] = {H[9] - H[7] - H[16], H[10] - H[8] - H[16]};
    if (!(S[2] / 2 <= std::fmin(slot[0], slot[1])))
      return f.Fail(2, k, TString("крестовина длиннее паза полумуфты ") + Num(H[0]));
    if (fork && !(2 * std::fmax(slot[0], slot[1]) < A[3]))
      return f.Fail(1, r, TString("пазы вилки сходятся между центрами шарниров A ") + Num(A[3]));
    if (!f.Keyway(0, r, HingeKeyway, A[1], halves.Row(r)[2] / 2)) return false;
  }
  for (const int k : {3, 4})
    if (f.Table(k).CountRow < cross.CountRow)
      return f.Fail(2, f.Table(k).CountRow, TString("нет строки в таблице ") + f.Table(k).Name);
  return f.Done(true);
}
} // namespace

bool FitHinge(const TFitTables& tables, TFitFault& fault)
{
  return Hinge(tables, fault, false);
}

bool FitHinge2(const TFitTables& tables, TFitFault& fault)
{
  return Hinge(tables, fault, true);
}

bool FitJawDisc(const TFitTables& tables, TFitFault& fault)
{
  TFit f(tables, fault);
  // One insert whose tongues stand in both halves' slots, across the gap the overall length L (4, 5)
  // leaves between the hubs Lh (6, 7): halves that reach each other leave it none.
  const TTable& t = f.Table(0);
  for (Integer r = 0; r < t.CountRow; ++r)
    for (const int di : {0, 1})
      if (!(t.Row(r)[4 + di] - 2 * t.Row(r)[6 + di] > 0.0))
        return f.Fail(0, r,
                      TString("полумуфты длиной ") + Num(t.Row(r)[6 + di]) +
                          TString(" не оставляют зазора для вставки в длине L ") + Num(t.Row(r)[4 + di]));
  return f.Done(f.Ascends(0, 0, false) && Keyways(f, JawDiscKeyway, [](const double* A) { return A[3] / 2; }),
                {8, 9, 10, 11, 12, 13, 14, 15});
}

bool FitKeywayTable(const TTable& keyways, TFitFault& fault)
{
  const TTable* none[9] = {};
  TFit f({none, &keyways}, fault);
  return f.Ascends(FitKeyway, 0, true);
}
