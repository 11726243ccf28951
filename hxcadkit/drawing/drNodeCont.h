#pragma once
// The node language: a 2D outline written as a chain of nodes (lines, arcs, rounded and
// chamfered corners, style changes) from a start point, drawn through a modeller as built,
// mirrored about the X axis, or both. Profiles of the couplings and the mould parts are written
// in it as upper halves: the mode flag (the units digit of the drawing code) adds the auxiliary
// lines of a 2D section, while the flag 0 closes the half along the axis for a 3D sketch.
//
// Each builder allocates one node holding copies of its values, links it in front of its last
// argument and returns it, so a chain reads from its first node outwards; building draws
// nothing. The program that receives a chain (TContDrawing::Make) owns it.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/drModeler.h"

class TNode;
class TFrontModeler;

// The working room of a set of front regions: its regions and what is worked out of them, the boundary being
// collected and the lists the clipping and the closing fill for each curve. A set gives it back when it goes
// (its lists emptied, their room kept), and the next set takes it: a drawing makes several sets, and each
// would otherwise grow every list anew.
struct TFrontRegionsWork
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
  // Per region, the other regions whose boxes meet its box (within the touch): worked out when a boundary first
  // closes after regions were added.
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
  // The pieces of the boundary being collected that regions hide, each with the region (an arc's piece never
  // pairs with another), and those of the boundary being closed.
  struct THidden
  {
    TPoint2D a, b;
    std::size_t Region;
    bool Arc;
  };
  std::vector<THidden> Hidden, HiddenClosing;
  struct THiddenOrder
  {
    std::size_t Region;
    double Key;
    std::uint32_t Index;
  };
  std::vector<THiddenOrder> HiddenOrder;
  std::vector<char> Paired;
  // Kept for the next line.
  std::vector<std::pair<double, double>> In, Runs, Outside_, Runs_, Gaps_, WaitingOut;
  // Kept for the next boundary.
  std::vector<TAlong> Drawn;
  std::vector<TPoint2D> Corners; // kept for the next region
  // Per region, whether the boundary being closed closes along it: 1 where it cuts the boundary, 2 where it
  // only overlaps (through others) one that does, 3 where it cuts it only where the boundary cancels itself
  // (see MarkPaired).
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

// Regions of the sheet that lie in front of what is drawn while they stand: a fastener, pin or spacer in a
// section's plane hides the parts behind it, and in a view the parts hide what lies inside them. The
// lines and arcs that programs draw stop exactly at the regions; lines along a region's outline stay, and
// so do auxiliary lines. Where a region cuts the boundary of a hatch or a colouring, the boundary closes
// along the region's outline: when the object ends, the pieces of the outline that border the hatched side
// are added to it (so a hole the region fills keeps its walls, and metal the region covers is left out).
// Each region is a convex polygon given in the frame the modeller draws in when it is added; a region that
// abuts another does not hide what runs along their common edge, so the pieces of one fastener overlap.
// Regions stand only while a 2D drawing is made; one set stands at a time: the last one made, until it
// goes.
class TFrontRegions : private TBoundaryCloser, private TFrontRegionsWork
{
public:
  explicit TFrontRegions(TModeler3D& m);
  ~TFrontRegions();
  TFrontRegions(const TFrontRegions&) = delete;
  TFrontRegions& operator=(const TFrontRegions&) = delete;

  // A convex polygon, its corners in order; one of fewer than three corners or with a non-finite one is
  // not taken.
  void Polygon(const std::vector<TPoint2D>& corners) { Polygon(corners.data(), corners.size()); }
  void Polygon(const TPoint2D* corners, std::size_t count);
  // The rectangle between two corners.
  void Box(double x1, double y1, double x2, double y2);

  static TFrontRegions* Standing();
  // A modeller drawing through m with its lines stopping at these regions: one kept for the modeller the
  // regions were made on, made once; null for another modeller.
  TModeler3D* Through(TModeler3D& m);
  // The parameters (0..1, in order) between which the segment, in the frame m draws in now, lies outside
  // every region.
  std::vector<std::pair<double, double>> Outside(const TModeler3D& m, double x1, double y1, double x2,
                                                 double y2) const;
  // The same for the arc about (X, Y) of radius R counter-clockwise from the angle a1 over the sweep
  // (radians, 0 < sweep <= 2 pi): the angles a1 + u for the pieces of u outside every region.
  std::vector<std::pair<double, double>> Outside(const TModeler3D& m, double X, double Y, double R, double a1,
                                                 double sweep) const;
  // Whether one region holds every point (in the frame m draws in now) strictly inside.
  bool Hides(const TModeler3D& m, const std::vector<TPoint2D>& points) const;

  // Outside, for a curve drawn while bounding tells whether it goes into the boundary of a hatch or a
  // colouring being collected: that boundary closes over the regions that cut it when its object ends.
  // A boundary's pieces that run along a region's outline wait for its end, drawn in the style attr: they
  // stay where they part the hatched side from a region or from the outside, and go where a region covers
  // one side and the outside lies on the other.
  std::vector<std::pair<double, double>> Clip(const TModeler3D& m, double x1, double y1, double x2, double y2,
                                              bool bounding, int attr = 1);
  void Clip(const TModeler3D& m, double x1, double y1, double x2, double y2, bool bounding, int attr,
            std::vector<std::pair<double, double>>& out);
  std::vector<std::pair<double, double>> Clip(const TModeler3D& m, double X, double Y, double R, double a1,
                                              double sweep, bool bounding);
  // ends, when given, are the arc's ends as drawn (x1, y1, x2, y2): its box is worked out from them.
  void Clip(const TModeler3D& m, double X, double Y, double R, double a1, double sweep, bool bounding,
            std::vector<std::pair<double, double>>& out, const double* ends = nullptr);

  using TRegion = TFrontRegionsWork::TRegion;
  using TBoundCurve = TFrontRegionsWork::TBoundCurve;
  using TRayLine = TFrontRegionsWork::TRayLine;

private:
  friend class TFrontModeler;
  void CloseBoundary(TModeler2D& m) override;
  // Whether a line of a boundary drawn on m now may wait for the boundary to close: it is this set's
  // modeller, whose closing this set makes, and a hatch or a colouring is being collected.
  bool Waits(const TModeler3D& m) const
  {
    const TRegistryModeler2D& r = m.R2D();
    if (&m != &M || r.Closer != this || r.APrevCommand.Count <= 0) return false;
    const TCommand c = r.APrevCommand.Last();
    return c == cmHatch || c == cmColouring;
  }
  // The boundary's line from a to b on the sheet, (x1, y1) to (x2, y2) as drawn on M: false when a region
  // cuts it, its pieces to draw now in out; otherwise it waits, and true.
  bool Wait(const TPoint2D& a, const TPoint2D& b, double x1, double y1, double x2, double y2, int attr,
            std::vector<std::pair<double, double>>& out)
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
  // The rest of Wait, from the first cluster whose box the line's meets: whether a region hides a piece of
  // it, and if so its pieces to draw now in out.
  bool Cuts(const TPoint2D& a, const TPoint2D& b, const TCluster* first, int attr,
            std::vector<std::pair<double, double>>& out);
  // The first cluster whose box grown by the outline's band the segment's box meets, or none.
  const TCluster* Touched(const TPoint2D& a, const TPoint2D& b) const;
  // Draws the lines waiting, each whole (nothing cut the boundary) or its pieces outside the regions (their
  // runs along the outlines waiting on as the others').
  void DrawWaiting(TModeler2D& m, bool whole);
  // Clip for the segment from a to b on the sheet: false when it stays whole (out untouched), true with the
  // pieces in out otherwise. Most segments pass every fastener: that much is worked out where it is called.
  bool ClipSheet(const TPoint2D& a, const TPoint2D& b, bool bounding, int attr,
                 std::vector<std::pair<double, double>>& out)
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
  // The rest of ClipSheet, from the first cluster whose box the segment's meets.
  bool CutSheet(const TPoint2D& a, const TPoint2D& b, const TCluster* first, bool bounding, int attr,
                std::vector<std::pair<double, double>>& out);
  // Whether the circle about (X, Y) of radius R, in the frame m draws in now, meets the box of any region.
  bool Meets(const TModeler3D& m, double X, double Y, double R) const;

  TModeler3D& M;
  bool OverlapKnown = false;
  // The placement the last arc was drawn in (its matrix's six numbers that place a point), the frame worked out
  // of it (origin and axes on the sheet) and the direction of its x axis: the arcs of one piece share them.
  mutable double PlacedKey[6] = {}, PlacedFrame[6] = {}, PlacedAngle = 0.0;
  mutable bool PlacedKnown = false, PlacedAngleKnown = false;
  // Marks the region as cutting the boundary; the list only grows while a set stands, so it is grown only when
  // short (growing it to its own size costs a call per piece).
  void Cut(std::size_t i)
  {
    if (Cutting.size() < Regions.size()) Cutting.resize(Regions.size());
    Cutting[i] = 1;
  }
  // Cut, for the piece of a line from a to b that region i hides.
  void Cut(std::size_t i, const TPoint2D& a, const TPoint2D& b)
  {
    Cut(i);
    Hidden.push_back({a, b, i, false});
  }
  // Marks the regions that cut the boundary being closed only where it cancels itself: each piece of it that
  // the region hides lies on an odd number of its other hidden pieces, so that by the even-odd rule the
  // boundary passes through the region nowhere, and the region lies on one side of it as one that cuts
  // nothing does.
  void MarkPaired();
  TFrontRegions* Previous;
  TBoundaryCloser* PreviousCloser;
  // The modeller that stops lines at these regions, taken from the spare ones and given back when they go.
  TFrontModeler* Front = nullptr;
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
  // Whether the boundary encloses the middle of each region that cuts it nowhere (or only where it cancels),
  // into MiddleIn (1 for the others).
  void AskMiddles(const std::vector<TBoundCurve>& curves);
  // Whether one of the pieces region i hides of the boundary being closed runs through c.
  bool OnHidden(std::size_t i, const TPoint2D& c) const;
  // Whether another region that region i overlaps holds the piece of its edge from p0 to p1 (its middle mid
  // strictly inside, its ends within the touch).
  bool Held(std::size_t i, const TPoint2D& mid, const TPoint2D& p0, const TPoint2D& p1) const;
  void DrawPlannedEdges(TModeler2D& m);
  std::uint32_t Ask(const TPoint2D& p)
  {
    Asked.push_back({p, false});
    return std::uint32_t(Asked.size() - 1);
  }
};

// A modeller drawing through another, its lines (but auxiliary lines) stopping at the front
// regions standing when it is made, as the lines of node programs do: for what is drawn otherwise, a
// hole's walls among them. Its placements are the other one's; corners and chamfers reach that one as
// their lines and arcs. It makes nothing of its own.
struct TFrontModelerState
{
  TConstraint2D C;
  TRegistryModeler2D Own{C};
};
class TFrontModeler : private TFrontModelerState, public TModeler3D
{
public:
  explicit TFrontModeler(TModeler3D& to);
  TFrontModeler(TModeler3D& to, TFrontRegions* front);
  using TModeler2D::drArc;
  using TModeler2D::drAStView7;
  using TModeler2D::drView;
  using TModeler3D::drSpcObj;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override;
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override;
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override;
  void drEllipse(const double& X, const double& Y, const double& A, const double& B, const double& Angle,
                 int Attr) override;
  void drMtr(double x, double y, double Angle, double Scale) override;
  void drDeleteMtr() override;
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

private:
  friend class TFrontRegions;
  friend class TFrontLines;
  // A modeller made for another set: drawing through to, stopping at front. Made anew, or a spare one whose
  // drawing state is as a new one's.
  static TFrontModeler* Take(TModeler3D& to, TFrontRegions* front);
  // Keeps it for the next set, or deletes it.
  static void Give(TFrontModeler* f);
  bool AsNew() const;

  TModeler3D* To;
  TFrontRegions* Front;
  std::vector<std::pair<double, double>> Out; // kept for the next line
};

// What to draw through so that lines stop at the regions standing now: the standing set's own modeller for
// m, made once for all that draw on m; a front modeller made here for another modeller or when none stand.
class TFrontLines
{
public:
  explicit TFrontLines(TModeler3D& m);
  ~TFrontLines();
  TFrontLines(const TFrontLines&) = delete;
  TFrontLines& operator=(const TFrontLines&) = delete;
  TModeler3D& operator*() const { return *Lines; }

private:
  TFrontModeler* Own = nullptr;
  TModeler3D* Lines;
};

class TContDrawing : public TWrapModeler
{
public:
  // A program drawing through M, which it owns only when told so.
  explicit TContDrawing(TModeler3D* M, bool Owner = false);
  ~TContDrawing() override;

  // Frees the previous nodes and installs the start point (x0, y0) followed by first.
  void Make(double x0, double y0, TNode* first);
  // Deletes the nodes; the program is empty afterwards.
  void Free();
  void ContBlockClear(int) {}
  bool Empty() const { return First == nullptr; }

  // Draws the program once with the mode flag t (only t != 0 matters) and the style t, or 1
  // when t is 0: as built, or mirrored about the X axis (y negated, arc directions reversed).
  void dr2D(int t) const;
  void dr2DMY(int t) const;
  // Draws by the drawing code tl: tl / 10 chooses the pass (1 as built, 2 mirrored, 3 mirrored
  // then as built, anything else as built) and tl % 10 is the flag. Nothing with NoDraw or an
  // empty program; Free and Clear are not read.
  void drContBlock(int tl, bool Free = false, bool Clear = false, bool NoDraw = false) const;
  // Draws the program by the code tl and each hole's program by its own code as one figure: where a hole's
  // lines run along this program's (a hole's band drawn over the face it opens in), the pieces on one another
  // cancel in pairs, as the even-odd rule has them, and the face is drawn broken at the hole. The program's
  // lines away from the holes are drawn as drContBlock draws them, in order; those near a hole come after
  // them, then the holes'.
  void drContBlockWithHoles(int tl, std::initializer_list<std::pair<const TContDrawing*, int>> holes) const;
  // The same with the holes that holes draws on the modeller it is given, in this program's frame or in
  // placements of their own.
  void drContBlockWithHoles(int tl, const std::function<void(TModeler3D&)>& holes) const;

private:
  void Draw(int t, bool mirrored) const;
  // Draws the program on m as Draw and drContBlock do, with no regions in front of it.
  void Run(TModeler3D& m, int t, bool mirrored) const;
  void RunBlock(TModeler3D& m, int tl) const;

  TNode* First = nullptr;
};

// A move to (x, y).
TNode* dSP(double x, double y, TNode* next = nullptr);
// A line to (x, y).
TNode* dP(double x, double y, TNode* next = nullptr);
// A line to (x, y) and, with the flag, an auxiliary line from there down to the axis.
TNode* dPx(double x, double y, TNode* next = nullptr);
// With the flag only, an auxiliary line to (x, y); the current point stays.
TNode* dPnm(double x, double y, TNode* next = nullptr);
// The line to (x, y) only without the flag (only with it for dPt1); a move otherwise.
TNode* dPt0(double x, double y, TNode* next = nullptr);
TNode* dPt1(double x, double y, TNode* next = nullptr);
// An arc about (xc, yc) of radius |r| to (x, y): counter-clockwise for r > 0.
TNode* dA(double xc, double yc, double r, double x, double y, TNode* next = nullptr);
// Over the corner (x1, y1) to (x, y), the corner rounded by r where it fits.
TNode* dCLL(double x1, double y1, double x, double y, double r, TNode* next = nullptr);
// Over the corner (x1, y1) to (x, y), the corner chamfered by c.
TNode* dFsk(double x1, double y1, double x, double y, double c, TNode* next = nullptr);
// Over the corners (x1, y1) and (x2, y2) to (x, y), each rounded by r where it fits.
TNode* dCVR(double x1, double y1, double x2, double y2, double x, double y, double r, TNode* next = nullptr);
// The style of the following nodes: n as unsigned modulo 10, 1 when that is 0.
TNode* dTL(int n, TNode* next = nullptr);
// a followed by b when c; otherwise b alone (a is deleted).
TNode* dMacroIf(bool c, TNode* a, TNode* b);
// a followed by tail when c; otherwise b followed by tail (the unused branch is deleted).
TNode* dMacroIfE(bool c, TNode* a, TNode* b, TNode* tail);
// Deletes a chain built and never handed to a program.
void dFree(TNode* first);
