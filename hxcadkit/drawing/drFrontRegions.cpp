#include "hxcadkit/drawing/drFrontRegions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <tuple>
#include <utility>

#include "hxcadkit/drawing/drFrontSet.h"

namespace hxfront {

// The spans [lo, hi] of in that also lie in the circular span from s of length len (len < 2 pi), all in
// 0..w.
void Meet(const TSpans& in, double s, double len, double w, TSpans& out)
{
  s = WithinTurn(s);
  const std::pair<double, double> parts[2] = {{s, std::min(s + len, w)},
                                              {0.0, std::min(s + len - FullTurn, w)}};
  out.clear();
  for (const auto& [a, b] : in)
    for (const auto& [c, d] : parts) {
      const double lo = std::max(a, c), hi = std::min(b, d);
      if (lo < hi) out.push_back({lo, hi});
    }
}

// The direction of (x, y) as atan2 gives it, without the call along the axes, where its values are exact.
double Direction(double y, double x)
{
  if (y == 0.0) {
    if (x > 0.0) return y;
    if (x < 0.0) return std::copysign(M_PI, y);
  } else if (x == 0.0) {
    if (y > 0.0) return M_PI_2;
    if (y < 0.0) return -M_PI_2;
  }
  return std::atan2(y, x);
}

// The parameters u (0..w) at which the arc about c of radius R, counter-clockwise from the angle a,
// lies strictly inside the region, into in (spare is working room): each edge keeps the angles whose
// cosine against its normal exceeds a bound, a circular span.
void ArcInside(const TRegion& r, const TPoint2D& c, double R, double a, double w, TSpans& in, TSpans& spare)
{
  in.assign(1, {0.0, w});
  for (const TRegion::TEdge& e : r.E) {
    const double k = Inside(e, c.x, c.y) / R;
    if (k >= 1.0) continue;
    if (k <= -1.0) return in.clear();
    if (std::isnan(e.Angle)) e.Angle = Direction(e.ny, e.nx);
    const double beta = std::acos(-k), phi = e.Angle;
    Meet(in, phi - beta - a, 2 * beta, w, spare);
    in.swap(spare);
    if (in.empty()) break;
  }
}

// What of 0..w lies outside the spans (which it sorts), into out.
void Rest(TSpans& in, double w, TSpans& out)
{
  out.clear();
  if (in.empty()) {
    if (0.0 < w) out.push_back({0.0, w});
    return;
  }
  // Two pieces (a line across two regions) are put in order here, without the call.
  if (in.size() == 2) {
    if (in[1] < in[0]) std::swap(in[0], in[1]);
  } else if (in.size() > 2) {
    SortFew(in);
  }
  double from = 0.0;
  for (const auto& [lo, hi] : in) {
    if (lo > from) out.push_back({from, lo});
    from = std::max(from, hi);
  }
  if (from < w) out.push_back({from, w});
}

// Whether the curves drawn now bound a hatch or a colouring (collected, or pending on the host).
bool Bounding(const TRegistryModeler2D& r)
{
  if (r.Collecting()) return true;
  for (Integer i = 0; i < r.APrevCommand.Count; ++i)
    if (r.APrevCommand[i] == cmHatch || r.APrevCommand[i] == cmColouring) return true;
  return false;
}

void TWork::Clear()
{
  auto clear = [](auto&... lists) { (lists.clear(), ...); };
  clear(Regions, Edges, Overlap, OverlapFrom, Grow, RayLines, RayArcs, Clusters, Boundary, Closing, Cutting,
        Along, In, Runs, Outside_, Runs_, Gaps_, WaitingOut, Drawn, Corners, Joining, Ts, Ts2, TsAlong, Near,
        NearRegion, Asked, AskedAcross, AlongPieces, EdgePieces, MiddleIn, Middles, Waiting);
}

// Sets kept for the next ones on a registry; more are deleted when they go.
constexpr std::size_t KeepSets = 4;
// Front modellers kept so.
constexpr std::size_t KeepFronts = 8;

void TFrontSet::Stand(TModeler3D& m, TFrontRegions* owner)
{
  TFrontKeep& keep = TFrontKeep::Of(m);
  M = &m;
  Owner = owner;
  OverlapKnown = PlacedKnown = PlacedAngleKnown = false;
  Previous = keep.Standing;
  PreviousCloser = m.R2D().Closer;
  Front = nullptr;
  // The lines of the last set's boundary waiting for its end would reach this set's: they are clipped now,
  // as they were drawn, their runs along its outlines waiting there.
  if (Previous && Previous->Set->Waits(m)) Previous->Set->DrawWaiting(m, false);
  keep.Standing = owner;
  m.R2D().Closer = this;
}

void TFrontSet::Go(bool draw)
{
  // A host call that fails while drawing must not leave these regions standing on the modeller.
  try {
    // A boundary still being collected when the regions go closes now, as it would have at its end; any
    // other keeps its pieces.
    if (draw && Waits(*M)) {
      CloseBoundary(*M);
    } else if (draw) {
      DrawWaiting(*M, false);
      DrawAlong(*M);
    }
  } catch (...) {
    StandDown();
    throw;
  }
  StandDown();
}

void TFrontSet::StandDown()
{
  TFrontKeep::Of(*M).Standing = Previous;
  M->R2D().Closer = PreviousCloser;
  if (Front) TFrontModeler::Give(Front);
  Front = nullptr;
}

TModeler3D* TFrontSet::Through(TModeler3D& m)
{
  if (&m != M) return nullptr;
  // Made while these regions stand, so that it stops its lines at them.
  if (!Front && TFrontKeep::Of(m).Standing == Owner) Front = TFrontModeler::Take(*M, this);
  return Front;
}

void TFrontSet::Polygon(const TPoint2D* corners, std::size_t count)
{
  if (count < 3) return;
  TRegion r{{}, Edges.size(), 0.0, 0.0, 0.0, 0.0};
  const TRegion::TEdge* edges = Edges.data();
  // The placement looked up once for all the corners.
  const TTransf2D& t = M->R2D().Transf2D;
  const TMtr2D* placed = t.AMtr.Count > 0 ? &t.AMtr.Last() : nullptr;
  // The corners on the sheet into p, then the edges and the box: false for an outline not taken.
  auto outline = [&](auto* p) {
    for (std::size_t k = 0; k < count; ++k) {
      const TPoint2D& c = corners[k];
      double x = c.x, y = c.y;
      if (placed) placed->TransformCoord(c.x, c.y, x, y);
      if (!std::isfinite(x) || !std::isfinite(y)) return false;
      p[k].x = x, p[k].y = y;
    }
    const std::size_t last = count - 1;
    double area = 0.0;
    for (std::size_t i = 0; i < last; ++i)
      area += p[i].x * p[i + 1].y - p[i + 1].x * p[i].y;
    area += p[last].x * p[0].y - p[0].x * p[last].y;
    if (std::fabs(area) < 1e-12) return false;
    if (area < 0.0) std::reverse(p, p + count);
    r.x1 = r.x2 = p[0].x, r.y1 = r.y2 = p[0].y;
    if (Edges.capacity() - Edges.size() < count)
      Edges.reserve(std::max(2 * Edges.capacity(), Edges.size() + count));
    for (std::size_t i = 0; i < count; ++i) {
      const auto &a = p[i], &b = p[i < last ? i + 1 : 0];
      r.x1 = std::min(r.x1, a.x), r.y1 = std::min(r.y1, a.y), r.x2 = std::max(r.x2, a.x),
      r.y2 = std::max(r.y2, a.y);
      const double len = Length(b.x - a.x, b.y - a.y);
      if (!(len > 0.0)) continue;
      const double nx = (a.y - b.y) / len, ny = (b.x - a.x) / len;
      Edges.push_back({TPoint2D(a.x, a.y), TPoint2D(b.x, b.y), nx, ny, nx * a.x + ny * a.y, NAN});
    }
    return true;
  };
  // Regions are boxes and outlines of a few corners: theirs stay on the stack (left unset: each is written
  // before it is read), a longer one's go in the kept list.
  struct TCorner
  {
    double x, y;
  };
  constexpr std::size_t Few = 8;
  TCorner few[Few];
  if (!(count <= Few ? outline(few) : (Corners.resize(count), outline(Corners.data())))) return;
  // The list of edges moved as it grew: the regions find theirs again.
  if (Edges.data() != edges)
    for (TRegion& q : Regions)
      q.E.First = Edges.data() + q.From;
  r.E = {Edges.data() + r.From, Edges.size() - r.From};
  r.gx1 = r.x1 - OnOutline, r.gy1 = r.y1 - OnOutline, r.gx2 = r.x2 + OnOutline, r.gy2 = r.y2 + OnOutline;
  r.sx1 = r.x1 + OnOutline, r.sy1 = r.y1 + OnOutline, r.sx2 = r.x2 - OnOutline, r.sy2 = r.y2 - OnOutline;
  OverlapKnown = false;
  if (!Clusters.empty() && BoxesMeet(r, Clusters.back().x1, Clusters.back().y1, Clusters.back().x2,
                                     Clusters.back().y2, OnOutline)) {
    TCluster& k = Clusters.back();
    k.x1 = std::min(k.x1, r.x1), k.y1 = std::min(k.y1, r.y1), k.x2 = std::max(k.x2, r.x2),
    k.y2 = std::max(k.y2, r.y2);
    k.To = Regions.size() + 1;
  } else {
    Clusters.push_back({r.x1, r.y1, r.x2, r.y2, Regions.size(), Regions.size() + 1});
  }
  TCluster& k = Clusters.back();
  k.gx1 = k.x1 - OnOutline, k.gy1 = k.y1 - OnOutline, k.gx2 = k.x2 + OnOutline, k.gy2 = k.y2 + OnOutline;
  k.sx1 = k.x1 + OnOutline, k.sy1 = k.y1 + OnOutline, k.sx2 = k.x2 - OnOutline, k.sy2 = k.y2 - OnOutline;
  Regions.push_back(std::move(r));
}

void TFrontSet::Clip(const TModeler3D& m, double x1, double y1, double x2, double y2, bool bounding, int attr,
                     TSpans& out)
{
  TPoint2D a, b;
  m.R2D().Transf2D.xyMtr(x1, y1, a.x, a.y);
  m.R2D().Transf2D.xyMtr(x2, y2, b.x, b.y);
  if (!ClipSheet(a, b, bounding, attr, out)) out.assign(1, {0.0, 1.0});
}

bool TFrontSet::CutSheet(const TPoint2D& a, const TPoint2D& b, const TCluster* first, bool bounding, int attr,
                         TSpans& out)
{
  const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
               by2 = std::max(a.y, b.y);
  const double dx = b.x - a.x, dy = b.y - a.y, len = Length(dx, dy);
  // A line of no length has no piece to cut: a region holding its point hides it whole.
  if (len == 0.0) {
    for (const TRegion& r : Regions)
      if (!r.E.empty() && std::all_of(r.E.begin(), r.E.end(), [&](const TRegion::TEdge& e) {
            return Inside(e, a.x, a.y) > OnOutline;
          }))
        return out.clear(), true;
    return false;
  }
  // The ends as values: the compiler would read them anew for every edge, as what is written may hold them.
  const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
  // Only the pieces of a boundary wait along an outline.
  const bool runs = bounding && len > 0.0;
  TSpans &in = In, &along = Runs;
  in.clear(), along.clear();
  // The first cluster's box is known to meet the segment's; the others are tested.
  const TCluster* const end = Clusters.data() + Clusters.size();
  const TRegion* const regions = Regions.data();
  for (const TCluster* k = first; k != end;) {
    for (const TRegion *p = regions + k->From, *last = regions + k->To; p != last; ++p) {
      const TRegion& r = *p;
      if (runs ? !(bx1 <= r.gx2 && bx2 >= r.gx1 && by1 <= r.gy2 && by2 >= r.gy1)
               : !(bx1 < r.sx2 && bx2 > r.sx1 && by1 < r.sy2 && by2 > r.sy1))
        continue;
      // The parameters at which the segment lies strictly inside, [lo, hi] while it may; one within the
      // outline's band of an edge's line on its inner side runs along that edge (and lies inside nowhere).
      // Once it may not, hi is below every lo: the edges left are only looked at for what runs along them.
      constexpr double Nowhere = -HUGE_VAL;
      double lo = 0.0, hi = 1.0;
      for (const TRegion::TEdge& e : r.E) {
        const double da = Inside(e, ax, ay), db = Inside(e, bx, by);
        if (da <= OnOutline && db <= OnOutline) {
          hi = Nowhere;
          if (!runs) break;
          if (std::fabs(da) <= OnOutline && std::fabs(db) <= OnOutline) {
            const double tp = ((e.p.x - a.x) * dx + (e.p.y - a.y) * dy) / (len * len);
            const double tq = ((e.q.x - a.x) * dx + (e.q.y - a.y) * dy) / (len * len);
            const double lo2 = std::max(0.0, std::min(tp, tq)), hi2 = std::min(1.0, std::max(tp, tq));
            if ((hi2 - lo2) * len > Touch) along.push_back({lo2, hi2});
          }
          continue;
        }
        // [lo, hi] is tested only when it narrows: it was not empty before.
        if (da < 0.0)
          lo = std::max(lo, da / (da - db));
        else if (db < 0.0)
          hi = std::min(hi, da / (da - db));
        else
          continue;
        if (lo >= hi) {
          hi = Nowhere;
          if (!runs) break;
        }
      }
      if ((hi - lo) * len > Touch) {
        in.push_back({lo, hi});
        if (bounding) Cut(std::size_t(p - regions));
      }
    }
    if (runs)
      while (++k != end && !(bx1 <= k->gx2 && bx2 >= k->gx1 && by1 <= k->gy2 && by2 >= k->gy1)) {
      }
    else
      while (++k != end && !(bx1 < k->sx2 && bx2 > k->sx1 && by1 < k->sy2 && by2 > k->sy1)) {
      }
  }
  if (along.empty()) {
    if (in.empty()) return false;
    if (in.size() > 1) {
      Rest(in, 1.0, out);
      return true;
    }
    // One piece hidden, as Rest leaves it.
    const auto [lo, hi] = in[0];
    out.clear();
    if (lo > 0.0) out.push_back({0.0, lo});
    if (const double from = std::max(0.0, hi); from < 1.0) out.push_back({from, 1.0});
    return true;
  }
  // What runs along an outline and lies outside every region waits; the rest is drawn now.
  TSpans &outside = Outside_, &gaps = Gaps_, &along2 = Runs_;
  Rest(in, 1.0, outside);
  Rest(along, 1.0, gaps);
  Rest(gaps, 1.0, along2);
  for (const auto& [lo, hi] : outside)
    for (const auto& [lo2, hi2] : along2)
      if (std::min(hi, hi2) - std::max(lo, lo2) > 0.0) {
        const double t0 = std::max(lo, lo2), t1 = std::min(hi, hi2);
        Along.push_back(
            {TPoint2D(a.x + dx * t0, a.y + dy * t0), TPoint2D(a.x + dx * t1, a.y + dy * t1), attr});
      }
  in.insert(in.end(), along.begin(), along.end());
  Rest(in, 1.0, out);
  return true;
}

// A circle about (X, Y) of radius R drawn in the frame F, on the sheet: its centre, radius and box.
struct TSheetCircle
{
  const TFrame& F;
  double Det, Rs;
  TPoint2D C;
  double x1, y1, x2, y2;
  TSheetCircle(const TFrame& f, double X, double Y, double R)
      : F(f), Det(F.Det()), Rs(std::fabs(R) * std::sqrt(std::fabs(Det))), C(F.To(X, Y)), x1(C.x - Rs),
        y1(C.y - Rs), x2(C.x + Rs), y2(C.y + Rs)
  {
  }
  bool Meets(double gx1, double gy1, double gx2, double gy2) const
  {
    return x1 <= gx2 && x2 >= gx1 && y1 <= gy2 && y2 >= gy1;
  }
};

// The frame m draws in now, worked out once for each placement: kept in the slots given (a key of the six
// numbers that place a point, the frame's six), found there again while the placement stays.
TFrame Placed(const TModeler2D& m, double* key, double* frame, bool& known, bool& angleKnown)
{
  const TTransf2D& t = m.R2D().Transf2D;
  double k[6] = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0}; // an empty stack places as the identity does
  if (t.AMtr.Count > 0) {
    const TMtr2D& a = t.AMtr.Last();
    k[0] = a.M[0][0], k[1] = a.M[0][1], k[2] = a.M[1][0], k[3] = a.M[1][1], k[4] = a.M[2][0],
    k[5] = a.M[2][1];
  }
  // Bit for bit: a zero's sign can turn an axis's direction by a full turn.
  if (!known || std::memcmp(k, key, sizeof k) != 0) {
    const TFrame f(m);
    std::copy(k, k + 6, key);
    const double values[6] = {f.ox, f.oy, f.xx, f.xy, f.yx, f.yy};
    std::copy(values, values + 6, frame);
    known = true;
    angleKnown = false;
    return f;
  }
  return TFrame(frame);
}

bool TFrontSet::Meets(const TModeler3D& m, double X, double Y, double R)
{
  const TFrame f = Placed(m, PlacedKey, PlacedFrame, PlacedKnown, PlacedAngleKnown);
  const TSheetCircle s(f, X, Y, R);
  // Against the regions' own boxes: an arc that meets a cluster's box often passes all its regions.
  for (const TCluster& k : Clusters)
    if (s.Meets(k.gx1, k.gy1, k.gx2, k.gy2))
      for (std::size_t i = k.From; i < k.To; ++i)
        if (const TRegion& r = Regions[i]; s.Meets(r.gx1, r.gy1, r.gx2, r.gy2)) return true;
  return false;
}

void TFrontSet::Clip(const TModeler3D& m, double X, double Y, double R, double a1, double sweep,
                     bool bounding, std::vector<std::pair<double, double>>& out, const double* ends)
{
  const TFrame f = Placed(m, PlacedKey, PlacedFrame, PlacedKnown, PlacedAngleKnown);
  const TSheetCircle s(f, X, Y, R);
  const double det = s.Det, Rs = s.Rs;
  if (!PlacedAngleKnown) PlacedAngle = Direction(f.xy, f.xx), PlacedAngleKnown = true;
  // Under a placement that mirrors, the arc runs the other way on the sheet.
  const double phi = PlacedAngle, start = det > 0.0 ? phi + a1 : phi - a1 - sweep;
  const TPoint2D c = s.C;
  TSpans& in = In;
  in.clear();
  const double cx1 = s.x1, cy1 = s.y1, cx2 = s.x2, cy2 = s.y2;
  // The arc's own box, worked out once its circle's meets a cluster's: a large arc passes most fasteners by.
  double ax1 = cx1, ay1 = cy1, ax2 = cx2, ay2 = cy2;
  bool arcBox = sweep >= FullTurn;
  for (const TCluster& k : Clusters) {
    if (!s.Meets(k.gx1, k.gy1, k.gx2, k.gy2)) continue;
    if (!arcBox) {
      arcBox = true;
      // The ends on the circle: as drawn, brought onto it, or worked out from the angles.
      TPoint2D p, q;
      if (ends) {
        p = f.To(ends[0], ends[1]), q = f.To(ends[2], ends[3]);
        for (TPoint2D* e : {&p, &q}) {
          const double d = Length(e->x - c.x, e->y - c.y);
          if (d > 0.0) *e = TPoint2D(c.x + (e->x - c.x) * Rs / d, c.y + (e->y - c.y) * Rs / d);
        }
      } else {
        p = TPoint2D(c.x + Rs * std::cos(start), c.y + Rs * std::sin(start));
        q = TPoint2D(c.x + Rs * std::cos(start + sweep), c.y + Rs * std::sin(start + sweep));
      }
      ax1 = std::min(p.x, q.x), ay1 = std::min(p.y, q.y), ax2 = std::max(p.x, q.x), ay2 = std::max(p.y, q.y);
      // Where it passes an axis' direction it reaches the circle's box (a margin for the ends' rounding).
      constexpr double Quarter = FullTurn / 4;
      if (OnSweep(0.0, start, sweep, 0.0)) ax2 = cx2;
      if (OnSweep(Quarter, start, sweep, 0.0)) ay2 = cy2;
      if (OnSweep(2 * Quarter, start, sweep, 0.0)) ax1 = cx1;
      if (OnSweep(3 * Quarter, start, sweep, 0.0)) ay1 = cy1;
      const double e = Touch * (1.0 + Rs);
      ax1 -= e, ay1 -= e, ax2 += e, ay2 += e;
    }
    if (!(ax1 <= k.gx2 && ax2 >= k.gx1 && ay1 <= k.gy2 && ay2 >= k.gy1)) continue;
    for (std::size_t i = k.From; i < k.To; ++i) {
      if (const TRegion& r = Regions[i]; !(ax1 <= r.gx2 && ax2 >= r.gx1 && ay1 <= r.gy2 && ay2 >= r.gy1))
        continue;
      bool cut = false;
      ArcInside(Regions[i], c, Rs, start, sweep, Runs, Gaps_);
      for (const auto& s : Runs)
        if ((s.second - s.first) * Rs > Touch) in.push_back(s), cut = true;
      if (cut && bounding) Cut(i);
    }
  }
  if (bounding)
    Boundary.push_back({true, c.x, c.y, Rs, 0.0, start, std::min(sweep, FullTurn), cx1, cy1, cx2, cy2});
  Rest(in, sweep, out);
  if (det < 0.0) {
    std::reverse(out.begin(), out.end());
    for (auto& [lo, hi] : out)
      std::tie(lo, hi) = std::pair(sweep - hi, sweep - lo);
  }
}

bool TFrontSet::Cuts(const TPoint2D& a, const TPoint2D& b, const TCluster* first, int attr, TSpans& out)
{
  // Whether a region hides a piece is asked first, without the runs along the outlines.
  if (!CutSheet(a, b, first, false, attr, out)) return false;
  // Cut: clipped as a boundary's line drawn at once is, from the first cluster it touches (which may come
  // before the first it enters).
  Boundary.push_back({false, a.x, a.y, b.x, b.y, 0.0, 0.0, std::min(a.x, b.x), std::min(a.y, b.y),
                      std::max(a.x, b.x), std::max(a.y, b.y)});
  CutSheet(a, b, Touched(a, b), true, attr, out);
  return true;
}

const TCluster* TFrontSet::Touched(const TPoint2D& a, const TPoint2D& b) const
{
  const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
               by2 = std::max(a.y, b.y);
  for (const TCluster& k : Clusters)
    if (by2 >= k.gy1 && by1 <= k.gy2 && bx2 >= k.gx1 && bx1 <= k.gx2) return &k;
  return nullptr;
}

// Draws on m the pieces of the line from (x1, y1) to (x2, y2) between the parameters of spans, those
// longer than a touch.
void DrawSpans(TModeler2D& m, double x1, double y1, double x2, double y2, int attr, const TSpans& spans)
{
  const double len = Length(x2 - x1, y2 - y1);
  for (const auto& [t1, t2] : spans)
    if ((t2 - t1) * len > Touch)
      m.drLine(x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1, x1 + (x2 - x1) * t2, y1 + (y2 - y1) * t2, attr);
}

void TFrontSet::DrawWaiting(TModeler2D& m, bool whole)
{
  if (Waiting.empty()) return;
  std::vector<TWaiting> waiting;
  waiting.swap(Waiting);
  // A closing goes through every curve of the boundary, those that waited too.
  if (!whole)
    for (const TWaiting& w : waiting)
      Boundary.push_back({false, w.a.x, w.a.y, w.b.x, w.b.y, 0.0, 0.0, std::min(w.a.x, w.b.x),
                          std::min(w.a.y, w.b.y), std::max(w.a.x, w.b.x), std::max(w.a.y, w.b.y)});
  const TTransf2D& t = m.R2D().Transf2D;
  const TFrame f(m);
  TSpans& out = WaitingOut;
  for (const TWaiting& w : waiting) {
    // As drawn where the placement now puts it there (bit for bit), else back from the sheet.
    TPoint2D p(w.x1, w.y1), q(w.x2, w.y2), pa, qb;
    t.xyMtr(p.x, p.y, pa.x, pa.y);
    t.xyMtr(q.x, q.y, qb.x, qb.y);
    if (std::memcmp(&pa, &w.a, sizeof pa) != 0 || std::memcmp(&qb, &w.b, sizeof qb) != 0)
      p = f.From(w.a.x, w.a.y), q = f.From(w.b.x, w.b.y);
    const TCluster* first = whole ? nullptr : Touched(w.a, w.b);
    if (!first || !CutSheet(w.a, w.b, first, true, w.Attr, out))
      m.drLine(p.x, p.y, q.x, q.y, w.Attr);
    else
      DrawSpans(m, p.x, p.y, q.x, q.y, w.Attr, out);
  }
  waiting.clear();
  if (Waiting.empty()) Waiting.swap(waiting);
}

} // namespace hxfront

TFrontKeep::~TFrontKeep() = default;

TFrontKeep& TFrontKeep::Of(const TModeler2D& m)
{
  TRegistryModeler2D& r = m.R2D();
  if (!r.Front) r.Front.reset(new TFrontKeep);
  return *r.Front;
}

void TFrontKeepGone::operator()(TFrontKeep* k) const
{
  delete k;
}

TFrontRegions::TFrontRegions(TModeler3D& m)
{
  TFrontKeep& keep = TFrontKeep::Of(m);
  if (keep.Sets.empty()) {
    Set = new hxfront::TFrontSet;
  } else {
    Set = keep.Sets.back().release();
    keep.Sets.pop_back();
  }
  Set->Stand(m, this);
}

TFrontRegions::~TFrontRegions() noexcept(false)
{
  std::unique_ptr<hxfront::TFrontSet> set(Set);
  TFrontKeep& keep = TFrontKeep::Of(set->Modeller());
  // What waits is drawn as the regions go, which a failing host call can interrupt: that failure goes to the
  // caller as any other. While another one unwinds, nothing more is drawn, since a second would end the process.
  set->Go(std::uncaught_exceptions() <= Unwinding);
  if (keep.Sets.size() >= hxfront::KeepSets) return;
  set->Clear();
  keep.Sets.push_back(std::move(set));
}

TFrontRegions* TFrontRegions::Standing(const TModeler2D& m)
{
  const TFrontKeep* keep = m.R2D().Front.get();
  return keep ? keep->Standing : nullptr;
}

TModeler3D* TFrontRegions::Through(TModeler3D& m)
{
  return Set->Through(m);
}

void TFrontRegions::Polygon(const TPoint2D* corners, std::size_t count)
{
  Set->Polygon(corners, count);
}

void TFrontRegions::Box(double x1, double y1, double x2, double y2)
{
  const TPoint2D corners[] = {TPoint2D(x1, y1), TPoint2D(x2, y1), TPoint2D(x2, y2), TPoint2D(x1, y2)};
  Set->Polygon(corners, 4);
}

std::vector<std::pair<double, double>> TFrontRegions::Outside(const TModeler3D& m, double x1, double y1,
                                                              double x2, double y2)
{
  std::vector<std::pair<double, double>> out;
  Set->Clip(m, x1, y1, x2, y2, false, 1, out);
  return out;
}

std::vector<std::pair<double, double>> TFrontRegions::Outside(const TModeler3D& m, double X, double Y,
                                                              double R, double a1, double sweep)
{
  std::vector<std::pair<double, double>> out;
  Set->Clip(m, X, Y, R, a1, sweep, false, out);
  return out;
}

TFrontModeler::TFrontModeler(TModeler3D& to) : TFrontModeler(to, nullptr)
{
  if (TFrontRegions* regions = TFrontRegions::Standing(to)) Front = regions->Set;
}

TFrontModeler::TFrontModeler(TModeler3D& to, hxfront::TFrontSet* front)
    : TModeler3D(&Own, false), To(&to), Front(front)
{
}

bool TFrontModeler::AsNew() const
{
  const TRegistryModeler2D& r = R2D();
  return r.AContour.Count == 0 && r.HatchContour.Count == 0 && !r.CurDrawingObject && !r.PrevDrawingObject &&
         r.PrevIndex == 0 && r.Transf2D.AMtr.Count == 0 && !r.OnlySizes2D && r.APrevCommand.Count == 0 &&
         r.AGroup.Count == 0 && r.ACutPoint.Count == 0 && r.Closer == nullptr && r.DI.cDetail == 0 &&
         r.DI.cSuffics == 0 && r.DI.Left == 0.0 && r.DI.Top == 0.0 && C.Count == 0;
}

TFrontModeler* TFrontModeler::Take(TModeler3D& to, hxfront::TFrontSet* front)
{
  TFrontKeep& keep = TFrontKeep::Of(to);
  if (keep.Fronts.empty()) return new TFrontModeler(to, front);
  TFrontModeler* f = keep.Fronts.back().release();
  keep.Fronts.pop_back();
  f->To = &to;
  f->Front = front;
  return f;
}

void TFrontModeler::Give(TFrontModeler* f)
{
  TFrontKeep& keep = TFrontKeep::Of(*f->To);
  if (keep.Fronts.size() >= hxfront::KeepFronts || !f->AsNew()) {
    delete f;
    return;
  }
  keep.Fronts.emplace_back(f);
}

TFrontLines::TFrontLines(TModeler3D& m)
{
  TFrontRegions* regions = TFrontRegions::Standing(m);
  Lines = regions ? regions->Through(m) : nullptr;
  if (!Lines) Lines = Own = TFrontModeler::Take(m, regions ? regions->Set : nullptr);
}

TFrontLines::~TFrontLines()
{
  if (Own) TFrontModeler::Give(Own);
}

void TFrontModeler::drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr)
{
  // Thin lines in the negated style (a thread's root) are drawn too, and hidden as the others are.
  if (!Front || Attr == 0) return To->drLine(x1, y1, x2, y2, Attr);
  const TRegistryModeler2D& r = To->R2D();
  TPoint2D a, b;
  r.Transf2D.xyMtr(x1, y1, a.x, a.y);
  r.Transf2D.xyMtr(x2, y2, b.x, b.y);
  hxfront::TSpans& out = Out;
  const bool bounding = hxfront::Bounding(r);
  // A boundary's line that nothing cuts waits for the boundary's closing, which draws it whole if nothing cut
  // the boundary at all.
  if (bounding && Front->Waits(*To)) {
    if (Front->Wait(a, b, x1, y1, x2, y2, Attr, out)) return;
  } else if (!Front->ClipSheet(a, b, bounding, Attr, out)) {
    return To->drLine(x1, y1, x2, y2, Attr);
  }
  hxfront::DrawSpans(*To, x1, y1, x2, y2, Attr, out);
}

void TFrontModeler::drArc(const double& X, const double& Y, const double& R, const double& x1,
                          const double& y1, const double& x2, const double& y2, int Napr, int Attr)
{
  if (!Front || Attr <= 0) return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  // An arc of the drawing away from every fastener stays whole, with no angles worked out (unless its ends
  // are no numbers: such an arc is not drawn).
  const bool bounding = hxfront::Bounding(To->R2D());
  if (!bounding && std::isfinite(X) && std::isfinite(Y) && std::isfinite(x1) && std::isfinite(y1) &&
      std::isfinite(x2) && std::isfinite(y2) && !Front->Meets(*To, X, Y, R))
    return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  // Counter-clockwise from a1 over the sweep; the pieces outside the regions go in the arc's own sense.
  double a1 = hxfront::Direction(y1 - Y, x1 - X), a2 = hxfront::Direction(y2 - Y, x2 - X);
  if (Napr < 0) std::swap(a1, a2);
  double sweep = a2 - a1;
  while (sweep <= 0.0)
    sweep += hxfront::FullTurn;
  hxfront::TSpans& out = Out;
  const double ends[] = {x1, y1, x2, y2};
  Front->Clip(*To, X, Y, R, a1, sweep, bounding, out, ends);
  if (out.size() == 1 && out[0].first == 0.0 && out[0].second == sweep)
    return To->drArc(X, Y, R, x1, y1, x2, y2, Napr, Attr);
  const double r = std::fabs(R);
  for (const auto& [u1, u2] : out) {
    if (!((u2 - u1) * r > hxfront::Touch)) continue;
    const double p1 = X + r * std::cos(a1 + u1), q1 = Y + r * std::sin(a1 + u1);
    const double p2 = X + r * std::cos(a1 + u2), q2 = Y + r * std::sin(a1 + u2);
    if (Napr < 0)
      To->drArc(X, Y, R, p2, q2, p1, q1, Napr, Attr);
    else
      To->drArc(X, Y, R, p1, q1, p2, q2, Napr, Attr);
  }
}

void TFrontModeler::drCircle(const double& X, const double& Y, const double& R, int Attr)
{
  // A circle of a boundary is cut as its arcs are; a drawing's circles stay whole.
  if (!Front || Attr <= 0 || !hxfront::Bounding(To->R2D())) return To->drCircle(X, Y, R, Attr);
  hxfront::TSpans& out = Out;
  Front->Clip(*To, X, Y, R, 0.0, hxfront::FullTurn, true, out);
  if (out.size() == 1 && out[0].first == 0.0 && out[0].second == hxfront::FullTurn)
    return To->drCircle(X, Y, R, Attr);
  const double r = std::fabs(R);
  for (const auto& [u1, u2] : out)
    if ((u2 - u1) * r > hxfront::Touch)
      To->drArc(X, Y, r, X + r * std::cos(u1), Y + r * std::sin(u1), X + r * std::cos(u2),
                Y + r * std::sin(u2), 1, Attr);
}

void TFrontModeler::drEllipse(const double& X, const double& Y, const double& A, const double& B,
                              const double& Angle, int Attr)
{
  To->drEllipse(X, Y, A, B, Angle, Attr);
}

void TFrontModeler::drMtr(double x, double y, double Angle, double Scale)
{
  To->drMtr(x, y, Angle, Scale);
}

void TFrontModeler::drDeleteMtr()
{
  To->drDeleteMtr();
}
