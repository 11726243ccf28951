// The linear dimensions of a mould sheet: each line at the offset asked for when that is clean, else the
// nearest clean offset or its value past an end; then each value slid along its line off what crosses it.

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "hxcadkit/adapter/drModelerAPI.h"
#include "hxcadkit/adapter/drSheetMeasures.h"

namespace drApi {

using namespace sheet;

namespace {

// Whether the line from (A1x, A1y) to (A2x, A2y), drawn on to (E1x, E1y) before it and (E2x, E2y) past it
// under a value slid past an end, has those run-ons clear of every extension line and every settled
// dimension line but its own (own) and of the extension lines of the dimensions still to come from the
// one at from on, nor runs across a roughness sign where it was asked (signs settle after the dimensions,
// where asked when free). A run-on starting on its arrow only touches a line through the arrow.
template <class TLines>
bool RunOnClear(double A1x, double A1y, double A2x, double A2y, double E1x, double E1y, double E2x,
                double E2y, const std::vector<std::array<double, 4>>& extensions, const TLines& settled,
                std::size_t own, const std::vector<std::vector<std::array<double, 4>>>& coming,
                std::size_t from, const std::vector<TQuad>& signs)
{
  // An extension line is met from a little inside the arrow: one just past it (the face beside a thin
  // step's) crosses the line drawn as well as one farther on. Those through an arrow's point are the
  // dimension's own, or others from the same face.
  std::array<std::array<double, 4>, 2> pieces;
  std::size_t count = 0;
  if (Norm(E1x - A1x, E1y - A1y) > 0.3) pieces[count++] = {A1x, A1y, E1x, E1y};
  if (Norm(E2x - A2x, E2y - A2y) > 0.3) pieces[count++] = {A2x, A2y, E2x, E2y};
  for (std::size_t piece = 0; piece < count; ++piece) {
    const std::array<double, 4>& p = pieces[piece];
    const double l = Norm(p[2] - p[0], p[3] - p[1]), bx = (p[2] - p[0]) / l * 0.3,
                 by = (p[3] - p[1]) / l * 0.3;
    const std::array<double, 4> inside{p[0] - bx, p[1] - by, p[2], p[3]};
    const auto across = [&p](const std::array<double, 4>& o) { return LinesCross(p, o); };
    const auto extension = [&](const std::array<double, 4>& o) {
      return OffSegment(A1x, A1y, o) > 0.05 && OffSegment(A2x, A2y, o) > 0.05 && LinesCross(inside, o);
    };
    const double px[2] = {p[0], p[2]}, py[2] = {p[1], p[3]};
    if (std::any_of(signs.begin(), signs.end(),
                    [&](const TQuad& q) { return Overlap(q.X, q.Y, 4, px, py, 2); }))
      return false;
    if (std::any_of(extensions.begin(), extensions.end(), extension)) return false;
    for (std::size_t k = 0; k < settled.size(); ++k)
      if (k != own && across({settled[k].X1, settled[k].Y1, settled[k].X2, settled[k].Y2})) return false;
    for (std::size_t j = from; j < coming.size(); ++j)
      if (std::any_of(coming[j].begin(), coming[j].end(), extension)) return false;
  }
  return true;
}

} // namespace

// One linear dimension after another over the sheet as it stands: the offsets tried for its line, the
// tiers a place falls in, and the moves back towards what it sizes once the search has carried it off.
class TSheetLayout::TLinearSearch
{
public:
  explicit TLinearSearch(TSheetLayout& layout);
  // The dimension i settled: its line moved, its value, line and extension lines occupying the sheet, and
  // its value kept in values to be slid off what crosses it.
  void Place(std::size_t i, std::vector<TValue>& values);

private:
  // Parallel dimension lines stand at least this far apart, as a draftsman spaces them; the search goes
  // in half millimetres, outwards first, at most this far from the offset asked for.
  static constexpr double Spacing = DimensionSpacing, Step = 0.5, Reach = 160, Gap = 1, Near = 10;
  // Where the host puts the line at offset d, its value above its middle as it is read.
  struct TAt
  {
    // The line, and the line short of its arrows' points: a line across the part from outline to
    // outline crosses none.
    TQuad Value, Line, Between;
    double A1x, A1y, A2x, A2y, From, To, E1x = 0, E1y = 0, E2x = 0, E2y = 0;
  };

  static bool Holds(const std::array<double, 4>& v, double x, double y)
  {
    return x >= v[0] - 0.5 && x <= v[2] + 0.5 && y >= v[1] - 0.5 && y <= v[3] + 0.5;
  }
  void Start(std::size_t i);
  TAt At(double d, double slide = 0) const;
  bool ThroughOther(double X, double Y, double AX, double AY) const;
  bool Spaced(const TAt& r) const;
  bool Framed(const TAt& r) const;
  static bool ArcCrosses(const TArc& a, const TQuad& q);
  void Consider(double d, double slide);
  double Offset(int k) const;
  void Search(int from, int to, double slide);
  void SearchEither(int to, double first, double second);
  void Classify();
  void SearchAcrossBore();
  bool RunsAlong(double d) const;
  template <class TKeeps> void NearWithValuePast(const TKeeps& keeps);
  bool BeyondLonger(double d) const;
  bool ClearThere(double d, double slide, bool signsStay = true) const;
  bool FarOff(double d) const;
  void OtherSide();
  bool SlidClear(double d) const;
  bool CrossesExtension(double d, double slide, bool coming = true) const;
  void Nearer();
  bool AcrossOther(std::vector<TValue>& values);
  void Record(double d, double slide, std::vector<TValue>& values);

  TSheetLayout& L;
  const std::vector<std::array<double, 4>> Views;
  // The extension lines of the dimensions still to settle, to their lines as asked and past them.
  std::vector<std::vector<std::array<double, 4>>> Coming;
  // The roughness signs where they were asked, which a line run on under a value keeps off.
  std::vector<TQuad> SignsAsked;
  // The extension lines of the dimensions settled (not the lines the sheet draws to carry signs off their
  // surfaces), by cells of the sheet: a line asks only those about it.
  std::vector<std::array<double, 4>> Drawn;
  TCells DrawnCells;

  // The dimension being placed, its directions and levels across it, its value's length.
  const TDimension* M = nullptr;
  std::size_t I = 0;
  double Ux = 1, Uy = 0, Nx = 0, Ny = 1, S1 = 0, S2 = 0, Asked = 0, Len = 0, Lowest = 0;
  int Steps = 0, NearSteps = 0;
  // The best offsets found: clear of everything, then with the line over the drawing, then nearer
  // another line than the spacing, then only inside the frame.
  double Best[4] = {NAN, NAN, NAN, NAN}, Slid[4] = {0, 0, 0, 0};
  // While a line asked across a hollow section is tried there: its line crosses the bore's outlines.
  bool AcrossBore = false, RunOnStrict = true;
  // What the line asked crosses: the views it measures (part), whether it runs through a hollow section
  // (through), edged round a bore's middle (bore), across its own view's outlines (own), within a view
  // (within); its value's shift past an end.
  std::array<double, 4> Part{};
  bool Through = false, Bore = false, Own = false, InView = false;
  double Past = 0;
};

TSheetLayout::TLinearSearch::TLinearSearch(TSheetLayout& layout) : L(layout), Views(layout.ViewBoxes())
{
  for (const TDimension& m : L.Dimensions) {
    std::vector<std::array<double, 4>> lines;
    const double asked = m.SX * m.Nx + m.SY * m.Ny;
    for (const auto& [px, py] : {std::array{m.X1, m.Y1}, std::array{m.X2, m.Y2}}) {
      const double d = asked - (px * m.Nx + py * m.Ny), l = std::fabs(d);
      if (l > 1e-9)
        lines.push_back(
            {px, py, px + (d + ExtensionPast * d / l) * m.Nx, py + (d + ExtensionPast * d / l) * m.Ny});
    }
    Coming.push_back(std::move(lines));
  }
  for (const TSign& g : L.Signs)
    SignsAsked.push_back(L.Footprint(g, g.SX, g.SY));
  DrawnCells.Reset(0, 0, L.W, L.H);
}

void TSheetLayout::TLinearSearch::Start(std::size_t i)
{
  I = i, M = &L.Dimensions[i];
  const TDimension& m = *M;
  Ux = m.Ux, Uy = m.Uy, Nx = m.Nx, Ny = m.Ny;
  S1 = m.X1 * Nx + m.Y1 * Ny, S2 = m.X2 * Nx + m.Y2 * Ny, Asked = m.SX * Nx + m.SY * Ny;
  Len = ValueLength(m.Chars);
  // Never nearer the part than the offset asked for, or than a spacing beyond it when that lies farther.
  Lowest = std::min(Asked, std::max(S1, S2) + Spacing);
  for (int t = 0; t < 4; ++t)
    Best[t] = NAN, Slid[t] = 0;
  AcrossBore = false, RunOnStrict = true;
  Steps = int(Reach / Step);
  NearSteps = int(1.5 * Near / Step);
}

// The value slid along the line by slide from above its middle (past an end where it does not fit).
TSheetLayout::TLinearSearch::TAt TSheetLayout::TLinearSearch::At(double d, double slide) const
{
  const TDimension& m = *M;
  const double len = Len;
  TAt r;
  r.A1x = m.X1 + (d - S1) * Nx, r.A1y = m.Y1 + (d - S1) * Ny;
  r.A2x = m.X2 + (d - S2) * Nx, r.A2y = m.Y2 + (d - S2) * Ny;
  const double L = Norm(r.A2x - r.A1x, r.A2y - r.A1y);
  const double line = L > 0 ? std::atan2(r.A2y - r.A1y, r.A2x - r.A1x) / Deg : std::atan2(Uy, Ux) / Deg;
  double read = line;
  if (read > 90.001 || read < -89.999) read += 180;
  const double c = std::cos(read * Deg), s = std::sin(read * Deg);
  const double mx = (r.A1x + r.A2x) / 2 - s + slide * Ux, my = (r.A1y + r.A2y) / 2 + c + slide * Uy;
  r.Value = Turned(mx, my, read, -len / 2, 0, len / 2, ValueHeight);
  r.Between = L > 1 ? Turned(r.A1x, r.A1y, line, 0.5, -0.3, L - 0.5, 0.3)
                    : Turned(r.A1x, r.A1y, line, 0, -0.3, L, 0.3);
  // A value past an end has the line run on under it.
  const double run = L > 0 ? ((mx - r.A1x) * (r.A2x - r.A1x) + (my - r.A1y) * (r.A2y - r.A1y)) / L : 0;
  r.Line = Turned(r.A1x, r.A1y, line, slide != 0 ? std::min(0.0, run - len / 2) : 0, -0.3,
                  slide != 0 ? std::max(L, run + len / 2) : L, 0.3);
  const double mid = mx * Ux + my * Uy, a = r.A1x * Ux + r.A1y * Uy, b = r.A2x * Ux + r.A2y * Uy;
  r.From = std::min({a, b, mid - len / 2}), r.To = std::max({a, b, mid + len / 2});
  // Where the line is drawn: on under a value past an end.
  const double e0 = slide != 0 && L > 0 ? std::min(0.0, run - len / 2) / L : 0,
               e1 = slide != 0 && L > 0 ? std::max(L, run + len / 2) / L : 1;
  r.E1x = r.A1x + e0 * (r.A2x - r.A1x), r.E1y = r.A1y + e0 * (r.A2y - r.A1y);
  r.E2x = r.A1x + e1 * (r.A2x - r.A1x), r.E2y = r.A1y + e1 * (r.A2y - r.A1y);
  return r;
}

// Whether an extension line from a measured point (X, Y) to (AX, AY) and past runs through a view other
// than the one it measures.
bool TSheetLayout::TLinearSearch::ThroughOther(double X, double Y, double AX, double AY) const
{
  if (!(Norm(AX - X, AY - Y) > 1e-9)) return false;
  const auto [EX, EY] = ExtensionEnd(X, Y, AX, AY);
  const double ex[2] = {X, EX}, ey[2] = {Y, EY};
  return std::any_of(Views.begin(), Views.end(), [&](const std::array<double, 4>& v) {
    if (X >= v[0] - 0.01 && X <= v[2] + 0.01 && Y >= v[1] - 0.01 && Y <= v[3] + 0.01) return false;
    // One ending on the view's edge, within the sheet's rounding, runs into it as the checks read it.
    const TQuad q = Rect(v[0] - 0.01, v[1] - 0.01, v[2] + 0.01, v[3] + 0.01);
    return Overlap(q.X, q.Y, 4, ex, ey, 2);
  });
}

bool TSheetLayout::TLinearSearch::Spaced(const TAt& r) const
{
  for (const TSettled& p : L.Settled) {
    const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = Norm(lx, ly);
    if (l > 0 && std::fabs(lx * Nx + ly * Ny) > 1e-4 * l) continue;
    const double a = p.X1 * Ux + p.Y1 * Uy, b = p.X2 * Ux + p.Y2 * Uy;
    // Its value's reach along it, in this line's direction.
    const double sign = lx * Ux + ly * Uy >= 0 ? 1 : -1, from = std::min(a, b) - 0, to = std::max(a, b);
    const double vFrom = sign > 0 ? std::min(from, p.From) : std::min(from, -p.To),
                 vTo = sign > 0 ? std::max(to, p.To) : std::max(to, -p.From);
    if (vTo + Gap < r.From || r.To + Gap < vFrom) continue;
    if (std::fabs((p.X1 - r.A1x) * Nx + (p.Y1 - r.A1y) * Ny) < Spacing - 1e-9) return false;
  }
  return true;
}

// Its line and extension lines, to their ends past the line, inside the frame.
bool TSheetLayout::TLinearSearch::Framed(const TAt& r) const
{
  const TDimension& m = *M;
  for (const auto& [px, py, ax, ay] :
       {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
    const auto [ex, ey] = ExtensionEnd(px, py, ax, ay);
    if (!L.InFrame(ax, ay, 0) || !L.InFrame(ex, ey, 0)) return false;
  }
  return true;
}

// Whether an arc drawn (in chords of at most 10 degrees) crosses q.
bool TSheetLayout::TLinearSearch::ArcCrosses(const TArc& a, const TQuad& q)
{
  // Its chords lie within its circle's box: a quad whose box lies apart from that box meets none.
  constexpr double Apart = 1e-3;
  const double r = std::fabs(a.R);
  if (std::max({q.X[0], q.X[1], q.X[2], q.X[3]}) + Apart < a.X - r ||
      std::min({q.X[0], q.X[1], q.X[2], q.X[3]}) - Apart > a.X + r ||
      std::max({q.Y[0], q.Y[1], q.Y[2], q.Y[3]}) + Apart < a.Y - r ||
      std::min({q.Y[0], q.Y[1], q.Y[2], q.Y[3]}) - Apart > a.Y + r)
    return false;
  const int n = std::clamp(int(std::ceil(std::fabs(a.Sweep) / 10)), 1, 36);
  for (int i = 0; i < n; ++i) {
    const double u = (a.From + a.Sweep * i / n) * Deg, v = (a.From + a.Sweep * (i + 1) / n) * Deg;
    const double gx[2] = {a.X + a.R * std::cos(u), a.X + a.R * std::cos(v)},
                 gy[2] = {a.Y + a.R * std::sin(u), a.Y + a.R * std::sin(v)};
    if (Overlap(q.X, q.Y, 4, gx, gy, 2)) return true;
  }
  return false;
}

// The offset d, its value slid by slide, kept as the best of its tier where none of that tier was found.
void TSheetLayout::TLinearSearch::Consider(double d, double slide)
{
  const TAt r = At(d, slide);
  if (!Framed(r)) return;
  bool framed = true;
  for (int k = 0; k < 4; ++k)
    framed = framed && L.InFrame(r.Value.X[k], r.Value.Y[k], 0);
  if (!framed) return;
  // A value past an end stands beside the part: clear of its thin arcs too (a callout's circle).
  if (!L.Free(r.Value) || (slide != 0 && std::any_of(L.Arcs.begin(), L.Arcs.end(), [&](const TArc& a) {
                             return ArcCrosses(a, r.Value);
                           }))) {
    if (std::isnan(Best[3])) Best[3] = d, Slid[3] = slide;
    return;
  }
  // Clean also where no thin line of the view (an axis running past the part) crosses its value.
  const TAgainst value(r.Value);
  const auto thin = [&value](const std::array<double, 4>& g) {
    const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
    return value.Meets(gx, gy, 2);
  };
  // Nor one along its line (which its value cannot slide off) of a dimension still to settle.
  const auto along = [&](const std::array<double, 4>& g) {
    const double gx = g[2] - g[0], gy = g[3] - g[1];
    return std::fabs(gx * Uy - gy * Ux) < 1e-6 * Norm(gx, gy) && thin(g);
  };
  bool later = false;
  for (std::size_t j = I + 1; j < Coming.size() && !later; ++j)
    later = std::any_of(Coming[j].begin(), Coming[j].end(), along);
  const TDimension& m = *M;
  const bool apart = Spaced(r) && !L.AlongOutline(r.A1x, r.A1y, r.A2x, r.A2y) &&
                     !ThroughOther(m.X1, m.Y1, r.A1x, r.A1y) && !ThroughOther(m.X2, m.Y2, r.A2x, r.A2y) &&
                     !later;
  // A line run on past an arrow under its value crosses no extension line nor dimension line, settled
  // or still to come: a value slid past an end takes the side, or the offset, where its run-on is
  // clear, as a draftsman keeps a value that does not fit between its arrows off the lines beside it.
  const auto runOnClear = [&] {
    return RunOnClear(r.A1x, r.A1y, r.A2x, r.A2y, r.E1x, r.E1y, r.E2x, r.E2y, L.Extensions, L.Settled,
                      L.Settled.size(), Coming, I + 1, SignsAsked);
  };
  const bool clean = apart && (AcrossBore || L.Clear(r.Between)) && !L.Taken(r.Line) &&
                     std::none_of(L.Thin.begin(), L.Thin.end(), thin) && (!RunOnStrict || runOnClear()) &&
                     !CrossesExtension(d, slide, false);
  const int tier = clean ? 0 : apart ? 1 : 2;
  if (std::isnan(Best[tier])) Best[tier] = d, Slid[tier] = slide;
}

// Outwards k steps, then inwards at twice the cost.
double TSheetLayout::TLinearSearch::Offset(int k) const
{
  const bool in = k % 3 == 2;
  return in ? Asked - Step * double((k + 1) / 3) : Asked + Step * double(k - (k + 1) / 3);
}

void TSheetLayout::TLinearSearch::Search(int from, int to, double slide)
{
  for (int k = from; k <= to && std::isnan(Best[0]); ++k)
    if (const double d = Offset(k); d >= Lowest || k % 3 != 2) Consider(d, slide);
}

// Both sides of the value at each offset before the next: a line whose value is blocked on one side
// stays at its feature with the value on the other.
void TSheetLayout::TLinearSearch::SearchEither(int to, double first, double second)
{
  for (int k = 0; k <= to && std::isnan(Best[0]); ++k)
    if (const double d = Offset(k); d >= Lowest || k % 3 != 2)
      for (const double slide : {first, second})
        if (std::isnan(Best[0])) Consider(d, slide);
}

// Only a line asked across the part it measures: its value would stand on that part.
void TSheetLayout::TLinearSearch::Classify()
{
  const TDimension& m = *M;
  const TQuad centred = At(Asked).Value;
  const double cx = (centred.X[0] + centred.X[2]) / 2, cy = (centred.Y[0] + centred.Y[2]) / 2;
  // A hollow section's diameter asked through the points it measures (its line across the bore from
  // wall to wall) lies across the part too, its halves two views about the bore.
  Part = {1e300, 1e300, -1e300, -1e300};
  bool halves = true;
  for (const std::array<double, 4>& v : Views) {
    const bool first = Holds(v, m.X1, m.Y1), second = Holds(v, m.X2, m.Y2);
    if (first && second) halves = false;
    if (first || second)
      Part = {std::min(Part[0], v[0]), std::min(Part[1], v[1]), std::max(Part[2], v[2]),
              std::max(Part[3], v[3])};
  }
  // So is one whose halves meet only across the bore (a seat's edge drawn across its mouth): the
  // points' middle lies in no hatched area while each point is on the edge of one.
  Bore = false;
  if (const double l = Norm(m.X2 - m.X1, m.Y2 - m.Y1); !halves && l > 2) {
    const auto hatched = [this](double x, double y) {
      return std::any_of(L.Areas.begin(), L.Areas.end(), [&](const std::pair<std::size_t, std::size_t>& a) {
        bool in = false;
        for (std::size_t k = a.first; k < a.second; ++k) {
          const auto& g = L.Segments[k];
          if ((g[1] > y) != (g[3] > y) && x < (g[2] - g[0]) * (y - g[1]) / (g[3] - g[1]) + g[0]) in = !in;
        }
        return in;
      });
    };
    const double bx = (m.X2 - m.X1) / l, by = (m.Y2 - m.Y1) / l;
    const auto wall = [&](double x, double y) {
      return hatched(x - bx * 0.5, y - by * 0.5) || hatched(x + bx * 0.5, y + by * 0.5);
    };
    halves = Bore = !hatched((m.X1 + m.X2) / 2, (m.Y1 + m.Y2) / 2) && wall(m.X1, m.Y1) && wall(m.X2, m.Y2);
  }
  // So is one asked across its own view within a spacing of what it measures, over outlines between its
  // arrows (a diameter given across a section, over the bore and the screw in it, as a diameter nested
  // round another on the same side could not be): its value stands beyond the part's outlines there.
  const bool through = std::fabs(Asked - S1) <= 1 && std::fabs(Asked - S2) <= 1;
  Own = !halves && std::fabs(Asked - S1) <= Spacing && std::fabs(Asked - S2) <= Spacing &&
        !L.Clear(At(Asked).Between);
  Through = ((halves && through) || Own) && Holds(Part, cx, cy);
  InView = L.Within(cx, cy) && std::any_of(Views.begin(), Views.end(), [&](const std::array<double, 4>& v) {
             return Holds(v, cx, cy) && Holds(v, m.X1, m.Y1) && Holds(v, m.X2, m.Y2);
           });
  Past = Norm(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + Len / 2 + 1.5;
}

// A line asked through a hollow section stays across it, its value beyond the outlines there, before
// it is carried off the part; a bore edged round its middle does not make it a line within a view.
void TSheetLayout::TLinearSearch::SearchAcrossBore()
{
  const TDimension& m = *M;
  AcrossBore = true;
  // A bore edged round its middle holds the value only past its walls, nearer than any other offset.
  SearchEither(Bore ? 0 : NearSteps, m.Side < 0 ? -Past : Past, m.Side < 0 ? Past : -Past);
  // Past the part's outlines the line crosses there: a bore's value stands beyond its wall.
  const double a = m.X1 * Ux + m.Y1 * Uy, b = m.X2 * Ux + m.Y2 * Uy, mid = (a + b) / 2;
  double lo = std::min(a, b), hi = std::max(a, b);
  for (const auto& g : L.Segments) {
    const double g0 = g[0] * Nx + g[1] * Ny - Asked, g1 = g[2] * Nx + g[3] * Ny - Asked;
    if ((g0 > 0) == (g1 > 0) || g0 == g1) continue;
    const double t = g0 / (g0 - g1), x = g[0] + t * (g[2] - g[0]), y = g[1] + t * (g[3] - g[1]);
    if (!Holds(Part, x, y)) continue;
    lo = std::min(lo, x * Ux + y * Uy), hi = std::max(hi, x * Ux + y * Uy);
  }
  const double up = hi - mid + Len / 2 + 1.5, down = mid - lo + Len / 2 + 1.5;
  SearchEither(NearSteps, m.Side < 0 ? -down : up, m.Side < 0 ? up : -down);
  AcrossBore = false;
}

// A line too short for its value between its extension lines, carried off so far that they run on
// over its view farther than the view is across them, stays by what it measures instead, its value
// past an end, as a draftsman writes a step's length at the step.
bool TSheetLayout::TLinearSearch::RunsAlong(double d) const
{
  const TDimension& m = *M;
  const TAt r = At(d);
  for (const auto& [px, py, ax, ay] :
       {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
    const auto [ex, ey] = ExtensionEnd(px, py, ax, ay);
    if (AlongItsView({px, py, ex, ey}, Views)) return true;
  }
  return false;
}

// Near the offset asked again, its value past either end, taken where it keeps what keeps asks.
// Where no side keeps its run-on clear there, a run-on across a line is still better than a line
// carried off its feature. Where a line of the view runs just past the end (a zone's bracket round a
// short step), the value goes on past it, at most its own length farther.
template <class TKeeps> void TSheetLayout::TLinearSearch::NearWithValuePast(const TKeeps& keeps)
{
  const TDimension& m = *M;
  const double far = Best[0], farSlide = Slid[0];
  const double past = Norm(m.X2 - m.X1, m.Y2 - m.Y1) / 2 + Len / 2 + 1.5;
  const auto at = [&](double slide) {
    Best[0] = NAN;
    Search(0, NearSteps, slide);
    if (!std::isnan(Best[0]) && keeps(Best[0], Slid[0])) return true;
    Best[0] = far, Slid[0] = farSlide;
    return false;
  };
  for (const bool strict : {true, false}) {
    RunOnStrict = strict;
    for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past})
      if (at(slide)) {
        RunOnStrict = true;
        return;
      }
  }
  RunOnStrict = true;
  for (double farther = 1; farther <= Len; ++farther)
    for (const double slide : {m.Side < 0 ? -past : past, m.Side < 0 ? past : -past})
      if (at(slide + (slide < 0 ? -farther : farther))) return;
}

// A line carried out past a longer parallel one that spans all it measures would have its extension
// lines cross that line: it stays nearer, inside the longer one, its value past an end, where that
// is free.
bool TSheetLayout::TLinearSearch::BeyondLonger(double d) const
{
  const TDimension& m = *M;
  const double a = m.X1 * Ux + m.Y1 * Uy, b = m.X2 * Ux + m.Y2 * Uy, near = std::max(S1, S2);
  return std::any_of(L.Settled.begin(), L.Settled.end(), [&](const TSettled& p) {
    const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = Norm(lx, ly);
    if (!(l > 0) || std::fabs(lx * Nx + ly * Ny) > 1e-4 * l) return false;
    const double pa = p.X1 * Ux + p.Y1 * Uy, pb = p.X2 * Ux + p.Y2 * Uy, level = p.X1 * Nx + p.Y1 * Ny;
    return std::min(pa, pb) <= std::min(a, b) + 0.01 && std::max(pa, pb) >= std::max(a, b) - 0.01 &&
           level > near && level < d - 1e-6;
  });
}

// Brought back there, it takes no sign's place as asked (its line, its value, nor its extension lines
// that sign's value), its value lies across no extension line still to come, and its extension lines
// run across no value settled: the sign and the dimensions after it then stand where they did.
// A line brought back out of reach may take a sign's place as asked: the sign settles after it.
bool TSheetLayout::TLinearSearch::ClearThere(double d, double slide, bool signsStay) const
{
  const TDimension& m = *M;
  const TAt r = At(d, slide);
  if (signsStay && std::any_of(L.Signs.begin(), L.Signs.end(), [&](const TSign& g) {
        const TQuad f = L.Footprint(g, g.SX, g.SY);
        return Overlap(r.Value, f) || Overlap(r.Line, f);
      }))
    return false;
  for (std::size_t j = I + 1; j < Coming.size(); ++j)
    for (const std::array<double, 4>& g : Coming[j]) {
      const double gx[2] = {g[0], g[2]}, gy[2] = {g[1], g[3]};
      if (Overlap(r.Value.X, r.Value.Y, 4, gx, gy, 2)) return false;
    }
  for (const auto& [px, py, ax, ay] :
       {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
    const double l = Norm(ax - px, ay - py);
    if (!(l > 1e-9)) continue;
    const TQuad e = Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + ExtensionPast, 0.2);
    if (L.Taken(e) ||
        std::any_of(L.Signs.begin(), L.Signs.end(),
                    [&](const TSign& g) { return Overlap(e, L.SignValue(g, g.SX, g.SY)); }))
      return false;
  }
  return true;
}

// Whether the line at offset d stands out of reach of what it sizes, as the release checks measure it:
// more than 30 of empty paper between the outline of its view over its span, the parallel lines
// settled there and it. A size carried that far off is read against the wrong feature.
bool TSheetLayout::TLinearSearch::FarOff(double d) const
{
  constexpr double Far = 30;
  const TDimension& m = *M;
  const double a = std::min(m.X1 * Ux + m.Y1 * Uy, m.X2 * Ux + m.Y2 * Uy),
               b = std::max(m.X1 * Ux + m.Y1 * Uy, m.X2 * Ux + m.Y2 * Uy);
  double from = std::max(S1, S2);
  const auto view = std::find_if(Views.begin(), Views.end(),
                                 [&](const std::array<double, 4>& v) { return Holds(v, m.X1, m.Y1); });
  // Only the outlines in the cells of its view can lie in it.
  if (view != Views.end())
    L.OutlineBands().Any((*view)[0] - 0.5, (*view)[1] - 0.5, (*view)[2] + 0.5, (*view)[3] + 0.5,
                         L.Segments.size(), [&](std::size_t i) {
      const auto& g = L.Segments[i];
      if (!Holds(*view, g[0], g[1]) || !Holds(*view, g[2], g[3])) return false;
      const double ga = g[0] * Ux + g[1] * Uy, gb = g[2] * Ux + g[3] * Uy;
      if (std::max(ga, gb) < a - 1e-6 || std::min(ga, gb) > b + 1e-6) return false;
      const double na = g[0] * Nx + g[1] * Ny, nb = g[2] * Nx + g[3] * Ny;
      for (const double x : {std::max(a, std::min(ga, gb)), std::min(b, std::max(ga, gb))}) {
        const double level = std::fabs(gb - ga) > 1e-9 ? na + (x - ga) / (gb - ga) * (nb - na) : na;
        if (level < d) from = std::max(from, level);
      }
      return false;
    });
  std::vector<double> levels{from, d};
  for (const TSettled& p : L.Settled) {
    const double lx = p.X2 - p.X1, ly = p.Y2 - p.Y1, l = Norm(lx, ly), level = p.X1 * Nx + p.Y1 * Ny;
    if (!(l > 0) || std::fabs(lx * Nx + ly * Ny) > 1e-4 * l) continue;
    const double pa = p.X1 * Ux + p.Y1 * Uy, pb = p.X2 * Ux + p.Y2 * Uy;
    // One ending on its extension line is a step towards it, as the checks take it, within their rounding.
    if (std::max(pa, pb) >= a - 0.01 && std::min(pa, pb) <= b + 0.01 && level > from && level < d)
      levels.push_back(level);
  }
  std::sort(levels.begin(), levels.end());
  for (std::size_t k = 0; k + 1 < levels.size(); ++k)
    if (levels[k + 1] - levels[k] > Far) return true;
  return false;
}

// Where that side has no room, the line goes to the part's other side, 10 beyond the outlines
// across its span.
void TSheetLayout::TLinearSearch::OtherSide()
{
  const TDimension& m = *M;
  const double a = m.X1 * Ux + m.Y1 * Uy, b = m.X2 * Ux + m.Y2 * Uy;
  // The part reaches as far as its outlines go on without a gap (another view lies further off).
  double beyond = std::min(S1, S2);
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& g : L.Segments) {
      const double g0 = g[0] * Ux + g[1] * Uy, g1 = g[2] * Ux + g[3] * Uy;
      if (std::max(g0, g1) < std::min(a, b) || std::min(g0, g1) > std::max(a, b)) continue;
      const double lo = std::min(g[0] * Nx + g[1] * Ny, g[2] * Nx + g[3] * Ny),
                   hi = std::max(g[0] * Nx + g[1] * Ny, g[2] * Nx + g[3] * Ny);
      if (lo < beyond - 1e-9 && hi >= beyond - 5) beyond = lo, grew = true;
    }
  }
  for (int k = 0; k <= Steps && std::isnan(Best[0]); ++k)
    Consider(beyond - 10 - Step * k, 0);
}

// The line moved to offset d, its value slid by slide, and what it takes of the sheet recorded.
void TSheetLayout::TLinearSearch::Record(double d, double slide, std::vector<TValue>& values)
{
  const TDimension& m = *M;
  // From where its line was asked, which a size taken on the other side does not keep.
  const double asked = m.SX * Nx + m.SY * Ny;
  if (d != asked) {
    const double k = (d - asked) / (m.Scale > 0 ? m.Scale : 1);
    m.MoveLine(m.LX + k * m.CNx, m.LY + k * m.CNy);
  }
  if (slide != 0 && m.MoveValue) m.MoveValue(slide / (m.UScale > 0 ? m.UScale : 1));
  const TAt r = At(d, slide);
  if (m.MoveValue)
    values.push_back({L.Boxes.size(), L.Settled.size(), r.A1x, r.A1y, r.A2x, r.A2y, Len, Ux, Uy, m.UScale,
                      m.MoveValue, slide});
  L.Boxes.push_back(r.Value);
  L.DimensionLines.push_back(r.Line);
  L.LinearTips.push_back({r.A1x, r.A1y, Ux, Uy});
  L.LinearTips.push_back({r.A2x, r.A2y, Ux, Uy});
  // Its extension lines, from the measured points to past the line: no text lies across them.
  for (const auto& [px, py, ax, ay] :
       {std::array{m.X1, m.Y1, r.A1x, r.A1y}, std::array{m.X2, m.Y2, r.A2x, r.A2y}}) {
    const double l = Norm(ax - px, ay - py);
    if (l > 1e-9) {
      L.DimensionLines.push_back(
          Turned(px, py, std::atan2(ay - py, ax - px) / Deg, 0.5, -0.2, l + ExtensionPast, 0.2));
      const auto [ex, ey] = ExtensionEnd(px, py, ax, ay);
      L.Extensions.push_back({px, py, ex, ey});
      Drawn.push_back(L.Extensions.back());
      DrawnCells.Put(Drawn.size() - 1, Span(Drawn.back()));
    }
  }
  // Its value's reach along the line as drawn from its first end: a line measured against its own
  // direction has it turned.
  const bool along = (r.E2x - r.E1x) * Ux + (r.E2y - r.E1y) * Uy >= 0;
  L.Settled.push_back({r.E1x, r.E1y, r.E2x, r.E2y, along ? r.From : -r.To, along ? r.To : -r.From});
}

void TSheetLayout::TLinearSearch::Place(std::size_t i, std::vector<TValue>& values)
{
  Start(i);
  const TDimension& m = *M;
  // Near the offset asked with the value above the line's middle; then there with the value past an end
  // of the line, as a draftsman writes a value that does not fit between its extension lines, rather
  // than the line carried far off along the part; then farther out.
  Classify();
  if ((!InView || Bore || Own) && Through) SearchAcrossBore();
  Search(0, NearSteps, 0);
  if (InView)
    for (const double slide : {m.Side < 0 ? -Past : Past, m.Side < 0 ? Past : -Past})
      Search(0, NearSteps, slide);
  // A value past an end whose place there lies enclosed by the views about it (a collar beside, a detail
  // below) goes on farther along its line, at most its own length, before the line leaves its feature.
  if (InView)
    for (double farther = 1; farther <= Len && std::isnan(Best[0]); ++farther)
      for (const double slide : {m.Side < 0 ? -Past : Past, m.Side < 0 ? Past : -Past})
        Search(0, 0, slide + (slide < 0 ? -farther : farther));
  Search(NearSteps + 1, 2 * Steps, 0);
  if (!std::isnan(Best[0]) && std::fabs((m.X2 - m.X1) * Ux + (m.Y2 - m.Y1) * Uy) < Len + 2 &&
      RunsAlong(Best[0]))
    NearWithValuePast([&](double d, double) { return !RunsAlong(d); });
  // Nor does one carried past a feature standing out from its view farther than the view is across (a
  // flange far wider than its bush is long): it stays near the offset asked across that feature, its
  // value past an end, as a draftsman keeps the length by the part rather than draw its extension lines
  // up past the flange.
  if (!std::isnan(Best[0]) && RunsAlong(Best[0])) {
    AcrossBore = true;
    NearWithValuePast([&](double d, double) { return !RunsAlong(d); });
    AcrossBore = false;
  }
  if (!std::isnan(Best[0]) && BeyondLonger(Best[0]))
    NearWithValuePast([&](double d, double slide) { return !BeyondLonger(d) && ClearThere(d, slide); });
  // A line the search carried out of reach while the offset asked lies within it stays near that offset,
  // its value past an end, where that is clear there.
  if (!std::isnan(Best[0]) && FarOff(Best[0]) && !FarOff(Asked))
    NearWithValuePast([&](double d, double slide) { return !FarOff(d) && ClearThere(d, slide, false); });
  if (std::isnan(Best[0]) && std::isnan(Best[1])) OtherSide();
  if (!std::isnan(Best[0]) && FarOff(Best[0])) Nearer();
  double d = Asked, slide = 0;
  for (int t = 0; t < 4; ++t)
    if (!std::isnan(Best[t])) {
      d = Best[t], slide = Slid[t];
      break;
    }
  // A value too long for its line between the arrows that has no clean place past either end there
  // takes the size on the part's other side, where the drawing offers it and that side has one.
  if (m.Other && slide == 0 && std::fabs((m.X2 - m.X1) * Ux + (m.Y2 - m.Y1) * Uy) < Len + 1 &&
      !SlidClear(d) && AcrossOther(values))
    return;
  Record(d, slide, values);
}

// A line out of reach at the offset asked (a line nearer the part taken to its other side) comes in
// towards the part to the first clean offset within reach, its value as it was.
void TSheetLayout::TLinearSearch::Nearer()
{
  const double found = Best[0], slide = Slid[0];
  for (double d = Best[0] - Step; d >= Lowest; d -= Step) {
    Best[0] = NAN;
    Consider(d, slide);
    if (!std::isnan(Best[0]) && !FarOff(Best[0]) && !CrossesExtension(Best[0], slide)) return;
  }
  Best[0] = found, Slid[0] = slide;
}

// Whether the line at offset d crosses an extension line, settled or still to come, between its arrows
// (but one from the points it measures, or one it runs along): a line brought in towards the part keeps
// behind those.
bool TSheetLayout::TLinearSearch::CrossesExtension(double d, double slide, bool coming) const
{
  const TAt r = At(d, slide);
  const std::array<double, 4> between{r.A1x, r.A1y, r.A2x, r.A2y};
  const double l = Norm(r.A2x - r.A1x, r.A2y - r.A1y);
  const auto across = [&](const std::array<double, 4>& o) {
    const double turn = (r.A2x - r.A1x) * (o[3] - o[1]) - (r.A2y - r.A1y) * (o[2] - o[0]);
    return std::fabs(turn) > 1e-6 * l * Norm(o[2] - o[0], o[3] - o[1]) &&
           OffSegment(r.A1x, r.A1y, o) > 0.05 && OffSegment(r.A2x, r.A2y, o) > 0.05 && LinesCross(between, o);
  };
  if (DrawnCells.Any(Span(between), [&](std::size_t i) { return across(Drawn[i]); })) return true;
  for (std::size_t j = I + 1; coming && j < Coming.size(); ++j)
    if (std::any_of(Coming[j].begin(), Coming[j].end(), across)) return true;
  return false;
}

// Whether the value at offset d has a place past an end, at most its own length farther out, where
// nothing settled crosses it and its line run on under it crosses no extension line, settled or still to
// come (the signs settle after the values, off them).
bool TSheetLayout::TLinearSearch::SlidClear(double d) const
{
  for (double farther = 0; farther <= Len; ++farther)
    for (const double slide : {Past + farther, -Past - farther}) {
      const TAt r = At(d, slide);
      bool framed = true;
      for (int k = 0; k < 4; ++k)
        framed = framed && L.InFrame(r.Value.X[k], r.Value.Y[k], 0);
      if (framed && !L.Crossed(r.Value) && !L.Taken(r.Value) &&
          RunOnClear(r.A1x, r.A1y, r.A2x, r.A2y, r.E1x, r.E1y, r.E2x, r.E2y, L.Extensions, L.Settled,
                     L.Settled.size(), Coming, I + 1, {}))
        return true;
    }
  return false;
}

// The dimension i taken on the part's other side, its value past an end, where that is clean near the
// offset asked there: recorded there. Else it stays as it was found.
bool TSheetLayout::TLinearSearch::AcrossOther(std::vector<TValue>& values)
{
  TDimension& slot = L.Dimensions[I];
  const TDimension asked = slot;
  slot = *asked.Other;
  Start(I);
  // There it is the first line off what it sizes.
  Asked = Lowest = std::max(S1, S2) + Spacing;
  Classify();
  for (double farther = 0; farther <= Len && std::isnan(Best[0]); ++farther)
    for (const double slide : {slot.Side < 0 ? -Past : Past, slot.Side < 0 ? Past : -Past})
      Search(0, NearSteps, slide + (slide < 0 ? -farther : farther));
  if (!std::isnan(Best[0])) {
    asked.ToOther();
    Record(Best[0], Slid[0], values);
    return true;
  }
  slot = asked;
  Start(I);
  Classify();
  return false;
}

void TSheetLayout::PlaceLinear()
{
  std::vector<TValue> values;
  TLinearSearch search(*this);
  for (std::size_t i = 0; i < Dimensions.size(); ++i)
    search.Place(i, values);
  Dimensions.clear();
  PlaceValues(values);
}

void TSheetLayout::PlaceValues(const std::vector<TValue>& values)
{
  // A value no line crosses stays above its line's middle; else it slides along the line, within the
  // extension lines or past one of them (its line runs on under it), the nearer the better, to where
  // no line crosses it and it lies on no other text.
  for (const TValue& v : values) {
    const TQuad centred = Boxes[v.Box];
    // A line touching the value does not cross it; one a tenth of a millimetre into it does.
    const auto shrunk = [](TQuad q) {
      const double cx = (q.X[0] + q.X[2]) / 2, cy = (q.Y[0] + q.Y[2]) / 2;
      for (int k = 0; k < 4; ++k) {
        const double dx = q.X[k] - cx, dy = q.Y[k] - cy, n = Norm(dx, dy),
                     f = n > 0.1 ? (n - 0.1) / n : 0;
        q.X[k] = cx + dx * f, q.Y[k] = cy + dy * f;
      }
      return q;
    };
    const auto free = [&](const TQuad& q) {
      for (int k = 0; k < 4; ++k)
        if (!InFrame(q.X[k], q.Y[k], 0)) return false;
      const TQuad in = shrunk(q);
      if (Crossed(in)) return false;
      const TAgainst against(in);
      // Another text touching it keeps off it as it keeps off that one: both taken a tenth in.
      return !Boxes.Any(against.Box(),
                        [&](std::size_t i) { return i != v.Box && against.Meets(shrunk(Boxes[i])); });
    };
    if (free(centred)) continue;
    const double half = Norm(v.A2x - v.A1x, v.A2y - v.A1y) / 2, l = v.Length / 2;
    // The line's middle and the value's shift along u from it.
    const double mid = ((v.A1x + v.A2x) * v.Ux + (v.A1y + v.A2y) * v.Uy) / 2;
    const double a = std::min(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid,
                 b = std::max(v.A1x * v.Ux + v.A1y * v.Uy, v.A2x * v.Ux + v.A2y * v.Uy) - mid;
    // Half-millimetre steps either way as far as the line's half, two values' lengths and 30 beyond:
    // past a neighbour's extension line too when the one beside it is taken. First only where the line
    // run on under it crosses no other's line nor extension line.
    const TSettled& line = Settled[v.Line];
    const double ox = line.X1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Ux,
                 oy = line.Y1 - ((line.X1 * v.Ux + line.Y1 * v.Uy) - mid) * v.Uy;
    bool moved = false;
    for (int pass = 0; pass < 2 && !moved; ++pass)
      for (int k = 1; k <= 4 * int(half + 2 * l + 30); ++k) {
        const double shift = 0.5 * ((k + 1) / 2) * (k % 2 == 0 ? -1 : 1);
        // Wholly between the extension lines or wholly past one.
        // From the line's middle: the value may already stand slid past an end.
        const double at = v.Slid + shift;
        const bool within = at - l >= a + 0.5 && at + l <= b - 0.5;
        const bool past = at - l >= b + 1 || at + l <= a - 1;
        if (!within && !past) continue;
        TQuad q = centred;
        for (int c = 0; c < 4; ++c)
          q.X[c] += shift * v.Ux, q.Y[c] += shift * v.Uy;
        if (!free(q)) continue;
        // Its line runs on under it.
        const double from = std::min(a, at - l), to = std::max(b, at + l);
        if (pass == 0 && !RunOnClear(ox + a * v.Ux, oy + a * v.Uy, ox + b * v.Ux, oy + b * v.Uy,
                                     ox + from * v.Ux, oy + from * v.Uy, ox + to * v.Ux, oy + to * v.Uy,
                                     Extensions, Settled, v.Line, {}, 0, {}))
          continue;
        Boxes.Set(v.Box, q);
        TSettled& settled = Settled[v.Line];
        settled.X1 = ox + from * v.Ux, settled.Y1 = oy + from * v.Uy, settled.X2 = ox + to * v.Ux,
        settled.Y2 = oy + to * v.Uy;
        v.Move(at / (v.UScale > 0 ? v.UScale : 1));
        moved = true;
        break;
      }
  }
}

} // namespace drApi
