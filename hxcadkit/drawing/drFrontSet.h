#pragma once
// The working state of the regions in front of a drawing (drFrontRegions.h), shared by the units that clip
// what is drawn at the regions (drFrontRegions.cpp) and close a hatch's boundary along them
// (drFrontClosing.cpp), and what a modeller's registry keeps for them. The rest of the library uses a set
// through TFrontRegions.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/drFrontRegions.h"

// What the regions in front keep on a modeller's registry: the set standing there now, and the sets, front
// modellers and figure recorder gone, kept for the next ones (making each makes its lists or its drawing
// state anew). Gone with the registry.
class TFrontKeep
{
public:
  ~TFrontKeep();
  // The keep of m's registry, made when first asked for.
  static TFrontKeep& Of(const TModeler2D& m);

  TFrontRegions* Standing = nullptr;
  std::vector<std::unique_ptr<hxfront::TFrontSet>> Sets;
  std::vector<std::unique_ptr<TFrontModeler>> Fronts;
  std::unique_ptr<TModeler3D> Recorder;
};

namespace hxfront {

// A line this close to a region's outline runs along it.
inline constexpr double OnOutline = 1e-7;
// Pieces shorter than this (millimetres) are where a curve only touches a region.
inline constexpr double Touch = 1e-6;
inline constexpr double FullTurn = 2 * M_PI;
// The mark of a region that takes part in closing a boundary only through the regions it overlaps (one that
// cuts the boundary has 1).
inline constexpr char Joined = 2;

using TSpans = std::vector<std::pair<double, double>>;

// The working room of a set of front regions: its regions and what is worked out of them, the boundary being
// collected and the lists the clipping and the closing fill for each curve. A set is kept on its modeller's
// registry when it goes (its lists emptied, their room kept), and the next set made there takes it: a drawing
// makes several sets, and each would otherwise grow every list anew.
struct TWork
{
  // A convex region in sheet coordinates, counter-clockwise, with its box.
  struct TRegion
  {
    // Each edge from p to q, with its inward unit normal n: n.x * x + n.y * y - c is the distance inside.
    struct TEdge
    {
      TPoint2D p, q;
      double nx, ny, c;
      mutable double Angle; // of the normal, worked out when an arc first meets it (not a number until then)
    };
    // Its edges, kept in the set's one list of edges.
    struct TEdges
    {
      const TEdge* First = nullptr;
      std::size_t Count = 0;
      const TEdge* begin() const { return First; }
      const TEdge* end() const { return First + Count; }
      std::size_t size() const { return Count; }
      bool empty() const { return Count == 0; }
      const TEdge& operator[](std::size_t k) const { return First[k]; }
    };
    TEdges E;
    std::size_t From; // its first edge in that list
    double x1, y1, x2, y2;
    double gx1 = 0, gy1 = 0, gx2 = 0, gy2 = 0; // the box grown by the outline's band, for every curve clipped
    // The box shrunk by that band (empty for a region thinner than it): a line whose box meets none of it
    // lies inside the region nowhere, and only a boundary's runs along the outline need more.
    double sx1 = 0, sy1 = 0, sx2 = 0, sy2 = 0;
  };
  // A curve of a boundary in sheet coordinates: a segment, or an arc counter-clockwise from A1 over Sweep.
  struct TBoundCurve
  {
    bool IsArc;
    double x1, y1, x2, y2; // the ends of a segment; the centre and radius of an arc in x1, y1, x2
    double A1, Sweep;
    double bx1, by1, bx2, by2;
  };

  // A line of a boundary as the test of a point's enclosure takes it: its box's upper corner, its start and
  // direction, and the direction's cross product with the ray's.
  struct TRayLine
  {
    double bx2, by2, x1, y1, gx, gy, den;
  };

  std::vector<TRegion> Regions;
  std::vector<TRegion::TEdge> Edges;
  // Per region, the other regions whose boxes meet its box (within the touch): worked out when a boundary
  // first closes after regions were added.
  std::vector<std::size_t> Overlap, OverlapFrom;
  std::vector<std::size_t> Grow;
  // The boundary being closed, ready for the test of a point's enclosure (Enclose reads them).
  std::vector<TRayLine> RayLines;
  std::vector<const TBoundCurve*> RayArcs;
  // Runs of regions made one after another whose boxes meet (the pieces of one fastener), with their box:
  // a curve away from it passes all of them.
  struct TCluster
  {
    double x1, y1, x2, y2;
    std::size_t From, To;
    double gx1 = 0, gy1 = 0, gx2 = 0, gy2 = 0; // the box grown by the outline's band, for every line clipped
    double sx1 = 0, sy1 = 0, sx2 = 0, sy2 = 0; // and shrunk by it, as the regions' are
  };
  std::vector<TCluster> Clusters;
  // The boundary being collected while the regions stand, and which regions cut it.
  std::vector<TBoundCurve> Boundary, Closing;
  std::vector<char> Cutting;
  struct TAlong
  {
    TPoint2D a, b;
    int Attr;
  };
  std::vector<TAlong> Along;
  // The lines of the boundary being collected that no region cut when drawn, on the sheet and as drawn: drawn
  // whole when the boundary closes with nothing cut, and clipped then if something was.
  struct TWaiting
  {
    TPoint2D a, b;
    double x1, y1, x2, y2;
    int Attr;
  };
  std::vector<TWaiting> Waiting;
  // Kept for the next line.
  std::vector<std::pair<double, double>> In, Runs, Outside_, Runs_, Gaps_, WaitingOut;
  // Kept for the next boundary.
  std::vector<TAlong> Drawn;
  std::vector<TPoint2D> Corners; // kept for the next region
  // Per region, whether the boundary being closed closes along it: 1 where it cuts the boundary, 2 where it
  // only overlaps (through others) one that does.
  std::vector<char> Joining;
  std::vector<double> Ts, Ts2, TsAlong;
  // The points whose enclosure by the boundary being closed is asked while it closes, answered all at once,
  // and the pieces waiting for the answers: of the pieces along the outlines (Rule 0: drawn; 1: drawn when
  // the first point is enclosed; 2: when just one of the two is), and of the regions' edges (drawn when
  // enclosed).
  struct TAsked
  {
    TPoint2D P;
    bool In;
  };
  std::vector<TAsked> Asked;
  std::vector<std::pair<double, std::uint32_t>> AskedAcross;
  struct TAlongPiece
  {
    TPoint2D a, b;
    int Attr;
    std::uint32_t Q1, Q2;
    int Rule;
  };
  std::vector<TAlongPiece> AlongPieces;
  struct TEdgePiece
  {
    std::size_t Region, Edge;
    double t0, t1;
    std::uint32_t Q;
  };
  std::vector<TEdgePiece> EdgePieces;
  // Per region, whether the boundary being closed may enclose it (see AskMiddles), the middles asked, and the
  // boundary's box (worked out as its closing starts).
  std::vector<char> MiddleIn;
  std::vector<std::pair<std::size_t, std::uint32_t>> Middles;
  double PlanBox[4] = {};
  std::vector<const TBoundCurve*> Near, NearRegion;

  // Every list emptied, its room kept.
  void Clear();
};

using TRegion = TWork::TRegion;
using TBoundCurve = TWork::TBoundCurve;
using TCluster = TWork::TCluster;

// A vector's length; the library's hypot guards against overflow that sheet sizes never reach, slowly.
inline double Length(double dx, double dy)
{
  return std::sqrt(dx * dx + dy * dy);
}

// The placement a modeller draws in now (a similarity): the origin's image and the unit axes' images.
struct TFrame
{
  double ox, oy, xx, xy, yx, yy;
  explicit TFrame(const double* v) : ox(v[0]), oy(v[1]), xx(v[2]), xy(v[3]), yx(v[4]), yy(v[5]) {}
  explicit TFrame(const TModeler2D& m)
  {
    const TTransf2D& t = m.R2D().Transf2D;
    t.xyMtr(0.0, 0.0, ox, oy);
    t.xyMtr(1.0, 0.0, xx, xy);
    t.xyMtr(0.0, 1.0, yx, yy);
    xx -= ox, xy -= oy, yx -= ox, yy -= oy;
  }
  double Det() const { return xx * yy - xy * yx; }
  TPoint2D To(double x, double y) const { return TPoint2D(ox + xx * x + yx * y, oy + xy * x + yy * y); }
  TPoint2D From(double X, double Y) const
  {
    const double d = Det(), u = X - ox, v = Y - oy;
    return TPoint2D((yy * u - yx * v) / d, (xx * v - xy * u) / d);
  }
};

inline bool BoxesMeet(const TRegion& r, double x1, double y1, double x2, double y2, double margin)
{
  return x1 <= r.x2 + margin && x2 >= r.x1 - margin && y1 <= r.y2 + margin && y2 >= r.y1 - margin;
}

inline double Inside(const TRegion::TEdge& e, double x, double y)
{
  return e.nx * x + e.ny * y - e.c;
}

inline double Cross(double ax, double ay, double bx, double by)
{
  return ax * by - ay * bx;
}

// The angle as it lies within 0..2 pi. Most angles lie within a turn already, where the remainder is the
// angle itself: the call is left out for them.
inline double WithinTurn(double u)
{
  if (!(u > -FullTurn && u < FullTurn)) u = std::fmod(u, FullTurn);
  if (u < 0.0) u += FullTurn;
  return u;
}

// Whether the angle lies on the arc counter-clockwise from a1 over the sweep, within tol radians.
inline bool OnSweep(double angle, double a1, double sweep, double tol)
{
  if (sweep >= FullTurn) return true;
  const double u = WithinTurn(angle - a1);
  return u <= sweep + tol || u >= FullTurn - tol;
}

// Sorts as std::sort does, with the few values a curve's crossings give sorted in place by insertion: the
// library's sort does the same for so few, after a call and checks that cost more than the sort.
template <class T> void SortFew(T* v, std::size_t n)
{
  if (n > 16) return std::sort(v, v + n);
  for (std::size_t i = 1; i < n; ++i) {
    const T x = v[i];
    std::size_t j = i;
    for (; j > 0 && x < v[j - 1]; --j)
      v[j] = v[j - 1];
    v[j] = x;
  }
}

template <class T> void SortFew(std::vector<T>& v)
{
  SortFew(v.data(), v.size());
}

// A set of front regions at work: what TFrontRegions stands on a modeller. It clips the curves drawn through
// its front modeller at its regions, collects the boundary of a hatch or a colouring being drawn with the
// lines of it that wait for its end, and closes that boundary along the regions when its object ends.
class TFrontSet final : public TBoundaryCloser, private TWork
{
public:
  // Stands on m, for the set the user made.
  void Stand(TModeler3D& m, TFrontRegions* owner);
  // Goes: what is left of a boundary is drawn (not when draw is false: the drawing is being abandoned), the
  // set before stands again, also when drawing fails.
  void Go(bool draw = true);
  // The set before stands again, and the front modeller is given back.
  void StandDown();

  void Polygon(const TPoint2D* corners, std::size_t count);
  TModeler3D* Through(TModeler3D& m);
  TModeler3D& Modeller() const { return *M; }

  // The parameters between which the segment, in the frame m draws in now, lies outside every region (into
  // out), for a curve drawn while bounding tells whether it goes into the boundary of a hatch or a colouring
  // being collected: that boundary closes over the regions that cut it when its object ends. A boundary's
  // pieces that run along a region's outline wait for its end, drawn in the style attr: they stay where they
  // part the hatched side from a region or from the outside, and go where a region covers one side and the
  // outside lies on the other.
  void Clip(const TModeler3D& m, double x1, double y1, double x2, double y2, bool bounding, int attr,
            TSpans& out);
  // The same for the arc about (X, Y) of radius R counter-clockwise from the angle a1 over the sweep
  // (radians, 0 < sweep <= 2 pi): the angles a1 + u for the pieces of u outside every region. ends, when
  // given, are the arc's ends as drawn (x1, y1, x2, y2): its box is worked out from them.
  void Clip(const TModeler3D& m, double X, double Y, double R, double a1, double sweep, bool bounding,
            TSpans& out, const double* ends = nullptr);

  // Whether a line of a boundary drawn on m now may wait for the boundary to close: it is this set's
  // modeller, whose closing this set makes, and a hatch or a colouring is being collected.
  bool Waits(const TModeler3D& m) const
  {
    const TRegistryModeler2D& r = m.R2D();
    if (&m != M || r.Closer != this || r.APrevCommand.Count <= 0) return false;
    const TCommand c = r.APrevCommand.Last();
    return c == cmHatch || c == cmColouring;
  }
  // The boundary's line from a to b on the sheet, (x1, y1) to (x2, y2) as drawn on M: false when a region
  // cuts it, its pieces to draw now in out; otherwise it waits, and true.
  bool Wait(const TPoint2D& a, const TPoint2D& b, double x1, double y1, double x2, double y2, int attr,
            TSpans& out)
  {
    const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
                 by2 = std::max(a.y, b.y);
    for (const TCluster& k : Clusters)
      if (by2 > k.sy1 && by1 < k.sy2 && bx2 > k.sx1 && bx1 < k.sx2) {
        if (!Cuts(a, b, &k, attr, out)) break;
        return false;
      }
    Waiting.push_back({a, b, x1, y1, x2, y2, attr});
    return true;
  }
  // Clip for the segment from a to b on the sheet: false when it stays whole (out untouched), true with the
  // pieces in out otherwise. Most segments pass every fastener: that much is worked out where it is called.
  bool ClipSheet(const TPoint2D& a, const TPoint2D& b, bool bounding, int attr, TSpans& out)
  {
    const double bx1 = std::min(a.x, b.x), by1 = std::min(a.y, b.y), bx2 = std::max(a.x, b.x),
                 by2 = std::max(a.y, b.y);
    if (bounding) Boundary.push_back({false, a.x, a.y, b.x, b.y, 0.0, 0.0, bx1, by1, bx2, by2});
    // Across the axis first: the parts run along it and the fasteners lie off it, so that most segments pass
    // them above or below.
    if (bounding) {
      for (const TCluster& k : Clusters)
        if (by2 >= k.gy1 && by1 <= k.gy2 && bx2 >= k.gx1 && bx1 <= k.gx2)
          return CutSheet(a, b, &k, bounding, attr, out);
      return false;
    }
    for (const TCluster& k : Clusters)
      if (by2 > k.sy1 && by1 < k.sy2 && bx2 > k.sx1 && bx1 < k.sx2)
        return CutSheet(a, b, &k, bounding, attr, out);
    return false;
  }
  // Whether the circle about (X, Y) of radius R, in the frame m draws in now, meets the box of any region.
  bool Meets(const TModeler3D& m, double X, double Y, double R);

  // Every list emptied, its room kept, for the next set.
  void Clear() { TWork::Clear(); }

private:
  void CloseBoundary(TModeler2D& m) override;
  // The rest of Wait, from the first cluster whose box the line's meets: whether a region hides a piece of
  // it, and if so its pieces to draw now in out.
  bool Cuts(const TPoint2D& a, const TPoint2D& b, const TCluster* first, int attr, TSpans& out);
  // The first cluster whose box grown by the outline's band the segment's box meets, or none.
  const TCluster* Touched(const TPoint2D& a, const TPoint2D& b) const;
  // Draws the lines waiting, each whole (nothing cut the boundary) or its pieces outside the regions (their
  // runs along the outlines waiting on as the others').
  void DrawWaiting(TModeler2D& m, bool whole);
  // The rest of ClipSheet, from the first cluster whose box the segment's meets.
  bool CutSheet(const TPoint2D& a, const TPoint2D& b, const TCluster* first, bool bounding, int attr,
                TSpans& out);
  // Marks the region as cutting the boundary; the list only grows while a set stands, so it is grown only
  // when short (growing it to its own size costs a call per piece).
  void Cut(std::size_t i)
  {
    if (Cutting.size() < Regions.size()) Cutting.resize(Regions.size());
    Cutting[i] = 1;
  }
  // Draws every piece waiting along the outlines, uncut, through m.
  void DrawAlong(TModeler2D& m);
  // The pieces waiting along the outlines, with cut split where the curves meet them and each with the points
  // whose enclosure tells whether it keeps to the rule (a side counts as covered only by the regions in
  // Joining, those the boundary closes along); then, once Enclose has answered, those that keep to it drawn.
  void PlanAlong(const std::vector<TBoundCurve>& curves, bool cut);
  void DrawPlannedAlong(TModeler2D& m);
  // The outline of the regions that cut the boundary: the pieces of their edges off it and outside the other
  // regions, waiting to be drawn where the boundary encloses them; then those drawn.
  void PlanEdges(const std::vector<TBoundCurve>& curves);
  // Whether the boundary encloses the middle of each region that cuts it nowhere, into MiddleIn (1 for the
  // others).
  void AskMiddles(const std::vector<TBoundCurve>& curves);
  // Whether another region that region i overlaps holds the piece of its edge from p0 to p1 (its middle mid
  // strictly inside, its ends within the touch).
  bool Held(std::size_t i, const TPoint2D& mid, const TPoint2D& p0, const TPoint2D& p1) const;
  void DrawPlannedEdges(TModeler2D& m);
  std::uint32_t Ask(const TPoint2D& p)
  {
    Asked.push_back({p, false});
    return std::uint32_t(Asked.size() - 1);
  }

  TModeler3D* M = nullptr;
  TFrontRegions* Owner = nullptr;
  bool OverlapKnown = false;
  // The placement the last arc was drawn in (its matrix's six numbers that place a point), the frame worked
  // out of it (origin and axes on the sheet) and the direction of its x axis: the arcs of one piece share
  // them.
  double PlacedKey[6] = {}, PlacedFrame[6] = {}, PlacedAngle = 0.0;
  bool PlacedKnown = false, PlacedAngleKnown = false;
  // The set that stood on the modeller before, and the modeller's closer before.
  TFrontRegions* Previous = nullptr;
  TBoundaryCloser* PreviousCloser = nullptr;
  // The modeller that stops lines at these regions, taken from the spare ones and given back when they go.
  TFrontModeler* Front = nullptr;
};

} // namespace hxfront
