#pragma once
// TContour: an ordered chain of plane curves (points, segments, circles, arcs, texts) that is
// itself a plane curve. It owns its members. Its parameter lays the members' ranges end to end;
// member i begins at the sum of the ranges before it.
//
// The contour also answers the questions other code asks of it as a region or as a chain:
// whether a point lies inside or on it, whether a curve or another contour touches it, where a
// horizontal or vertical line crosses it, and where it crosses itself.
//
// Members are added and removed with the array's own operations (Add, Insert, ReleaseItem);
// none of them resets the cached parameter length, so after changing the members call
// Refresh() before asking for parameters.
#include <vector>

#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/Mathemat.h"

class TKmfData;
class TInterSector;
class TGImage;

// The crossing abscissas of the point-in-contour test: a singly linked list (new nodes in
// front) that counts each abscissa once, left of the point under test or at/right of it.
class ListX
{
public:
  struct TNode
  {
    double x;
    TNode* next;
  };

  ListX(double px, double py, TInterSector* is) : PX(px), PY(py), IS(is) {}
  ~ListX();
  ListX(const ListX&) = delete;
  ListX& operator=(const ListX&) = delete;

  // Nothing when an abscissa within 0.0001 of x is listed already.
  void Add(double const& x);

  TNode* List = nullptr;
  double PX = 0;
  double PY = 0;
  UInteger CountIntersectsLeft = 0;
  UInteger CountIntersectsRight = 0;
  TInterSector* IS = nullptr;
};

// Measures of a convex hole. The assignment copies the named values only; S stays.
struct TConvexHoleData
{
  TConvexHoleData() = default;
  TConvexHoleData(const TConvexHoleData&) = default;
  TConvexHoleData& operator=(const TConvexHoleData& o);

  double Square = 0, Pxc = 0, Pyc = 0, Pr = 0, Px = 0, Py = 0, Pax = 0, Pay = 0, Pj = 0, Px0 = 0, Py0 = 0,
         Px1 = 0, Py1 = 0;
  double S[8] = {};
};

class TContour : public TCurve2D, public TArrayOfP<TCurve2D>
{
public:
  TContour() = default;
  TContour(const TContour&) = delete;
  // Replaces the members by copies of the source's; the curve fields stay this contour's own.
  TContour& operator=(const TContour& other);
  ~TContour() override;

  using TCurve2D::InterSect;
  using TCurve2D::IsLink;
  using TCurve2D::Mtr;

  // --- Parameter and evaluation ---------------------------------------------------------
  Real GetTMin() const override { return 0; }
  // The total parameter length, computed once after construction or Refresh().
  Real GetTMax() const override;
  // Writes the back-links (Owner, startParam, Index) into the members and sums their ranges.
  Real CalculateParamLength() const;
  // The member that carries contour parameter t (brought into range first, written back) and
  // the member's own parameter there; a parameter on a joint belongs to the later member.
  // -1 (local 0) for an empty contour.
  Integer FindSegment(double& t, double& local) const;
  void PointOn(Real t, TPoint2D& P) const override;
  void FirstDer(Real t, TVector2D& V) const override;
  void SecondDer(Real t, TVector2D& V) const override;
  void ThirdDer(Real t, TVector2D& V) const override;
  // Inside the range (or on a closed contour) as above; before the start and past the end of
  // an open contour the first and the last member extend themselves.
  void _PointOn(Real t, TPoint2D& P) const override;
  void _FirstDer(Real t, TVector2D& V) const override;
  void _SecondDer(Real t, TVector2D& V) const override;
  void _ThirdDer(Real t, TVector2D& V) const override;
  Boolean NearPointProjection(const TPoint2D& P, TPoint2D Eps, Real& t, Boolean ext,
                              TRegion1D* region) const override;
  // Recomputed at every call.
  Real GetMetricLength() const override;
  // With t2 before t1 the part runs over the end of the contour.
  Real GetMetricLengthPart(Real t1, Real t2) const override;

  // --- Shape queries ----------------------------------------------------------------------
  // Each member ends where the next one starts (within 0.0001).
  Boolean IsDirect() const override;
  Boolean IsDirect2(double tol) const;
  // One member: closed only when it is a circle. Does not set the closed field.
  Boolean IsClosed() const override;
  // The only operation that sets the closed field, on which the parameter correction depends.
  Boolean IsClosed2(double tol);
  // a's end and b's start agree within 0.0001; false when either is null.
  static Boolean IsLink(TCurve2D const* a, TCurve2D const* b);
  UInteger CountAt(unsigned atr) const;
  // Pairs (member, end) that carry the point: a segment's start (0) or end (1), an arc's or a
  // circle's centre (0).
  Boolean Find2(double const& x, double const& y, TArrayOf<TPair<int, int>>& found) const;

  // --- Boxes ------------------------------------------------------------------------------
  // An empty contour gives the box with all four values 0.
  void Rect(TRect2D& R) const override;
  void RangeIn(double& left, double& bottom, double& right, double& top) const;
  // Union of the boxes of the members whose Atr is one of the given. No members: all 0; no
  // match: the box forms leave R as it was, the value forms give all 0.
  void RangeAtIn(unsigned a, TRect2D& R) const;
  void RangeAtIn(unsigned a, unsigned b, TRect2D& R) const;
  void RangeAtIn(unsigned a, unsigned b, unsigned c, TRect2D& R) const;
  void RangeAtIn(unsigned a, double& l, double& bt, double& r, double& t) const;
  void RangeAtIn(unsigned a, unsigned b, double& l, double& bt, double& r, double& t) const;
  void RangeAtIn(unsigned a, unsigned b, unsigned c, double& l, double& bt, double& r, double& t) const;

  // --- Copying and editing ----------------------------------------------------------------
  // A new contour of copies of the members (fields of a new contour); null when empty.
  TCurve2D* Duplicate() const override;
  // Appends copies of the members to dest and returns it; null for a null dest or an empty
  // source.
  TContour* Duplicate(TContour* dest) const;
  TContour* DuplicateAt(unsigned atr, TContour* dest) const;
  // Deletes LS and every member; the pointer storage stays.
  void Clear();
  void Mtr(double const& dx, double const& dy, double const& angle, double const& scale);
  // Reverses every member and the order of members 1 .. Count-1; member 0 stays first.
  void Inverse() override;

  // --- Cutting and deriving (ContourOps.cpp) ----------------------------------------------
  // Keeps the part from t1 to t2; on a closed contour t1 after t2 runs over the seam.
  void Trimm(double t1, double t2);
  // Trims the contour itself to [t1, t2]; part2 stays null.
  TState TrimmPart(Real t1, Real t2, TCurve2D*& part2) override;
  // Removes the part from t1 to t2 (over the end when t2 comes first). A cut inside one
  // member splits it: the second piece is inserted after it, part2 stays null.
  TState DeletePart(Real t1, Real t2, TCurve2D*& part2) override;
  // A new curve over [t1, t2] (s = -1: swapped into the caller's variables and reversed): the
  // single remaining member itself, else a contour; null for a degenerate request.
  TCurve2D* Trimmed(Real& t1, Real& t2, int s) const override;
  // The members chained clockwise, each offset by d (Atr 1) followed by the corner piece
  // to the next one (Atr 2); Name2 is the chained member's index. Loops at concave corners
  // stay.
  TCurve2D* Offset(const Real& d) const override;
  // Reorders and reverses members so that each starts where the one before ends (within tol
  // in x and in y); keep false reverses member 0 first. False at the first member that links
  // to nothing, the order reached so far kept.
  Boolean MakeDirect(double tol, bool keep);
  // The piece that joins the offsets o1 of c1 and o2 of c2 at their corner: an arc of radius
  // |d| about the joint, or a segment; null for a null member.
  static TCurve2D* FilletSegment(TCurve2D* c1, TCurve2D* c2, double const& d, TCurve2D* o1, TCurve2D* o2);
  // Signed area, positive counter-clockwise. A circle member ends the sum with its full area.
  Real Area2() const;
  // 1, -1 or 0 by the sign of Area2().
  Integer GetSense() const;
  // Gauss-Legendre nodes (ascending on [-1, 1]) and weights of order n, 1 to 8; false for null
  // arrays or n < 1, and zeros with false for n > 8.
  static Boolean FillIntegrationValues(double* nodes, double* weights, int n);
  // One line per segment, arc or circle member (other kinds leave their entry as it was).
  void toText(TArrayOf<TString>& lines) const;

  // --- Drawing ----------------------------------------------------------------------------
  // Member i through the modeller's drLine, drCircle and drArc (angles form); style 0 means
  // the member's Atr. Other kinds draw nothing. Any 2D or 3D modeller will do, so the
  // geometry needs nothing of the drawing model.
  template <class Modeller> void drItem(Modeller& m, int i, int style) const
  {
    if (i < 0 || i >= Count || !FArray[i]) return;
    const TCurve2D* c = FArray[i];
    const int st = style == 0 ? int(c->Atr) : style;
    switch (c->IsType()) {
    case tLineSeg: {
      const TLineSeg* s = static_cast<const TLineSeg*>(c);
      m.drLine(s->x, s->y, s->xk, s->yk, st);
      break;
    }
    case tCircle: {
      const TCircle* k = static_cast<const TCircle*>(c);
      m.drCircle(k->x, k->y, k->Radius, st);
      break;
    }
    case tArc: {
      const TArc* a = static_cast<const TArc*>(c);
      m.drArc(a->x, a->y, a->Radius, a->A1, a->A2, st, int(a->sense));
      break;
    }
    default:
      break;
    }
  }
  template <class Modeller> void drItems(Modeller& m, int style) const
  {
    for (Integer i = 0; i < Count; ++i)
      drItem(m, i, style);
  }
  template <class Modeller> void drItemsAt(Modeller& m, unsigned atr, int style) const
  {
    for (Integer i = 0; i < Count; ++i)
      if (FArray[i] && unsigned(FArray[i]->Atr) == atr) drItem(m, i, style);
  }

  // On the OpenGL surface (ContourGI.cpp): pen style from style, or from Atr when it is 0.
  void GIdrItem(int i, TGImage& img, int style) const;
  void GIdrItems(TGImage& img, int style) const;

  // --- Approximation and measures ---------------------------------------------------------
  // Appends points (one per unit of length; a segment gives its start), and the end point of
  // an open contour.
  void Aproximate(TPolyLine& pl) const override;
  // The convex hull of the approximation, built once and kept; null for an empty contour.
  TPolyLine* GetLS();
  void DeleteLS();
  // Perimeter and area of the hull, not of the contour.
  Real Len();
  Real Area();
  // Rebuilds the hull and gives the centre and length of its outline (all 0 when empty).
  void CenterXYLenCut(double& cx, double& cy, double& len);
  // Each member approximated by itself: xyz three values per point, edges per member the
  // point count and the global point numbers.
  void GetEdges(std::vector<double>& xyz, std::vector<int>& edges) const;

  // --- Stream -----------------------------------------------------------------------------
  // int32 count, then per member its int32 kind code and its own record.
  void Store(TKmfData& S) const override;
  // Kind codes 1 to 5; any other code, a count that the remaining bytes cannot hold or a
  // truncated member stops the reading with one message, keeping the members read before.
  void Load(TKmfData& S) override;

  // --- Containment and intersection -------------------------------------------------------
  // The point lies on the contour (within 0.0001 of a crossing) or inside it.
  Boolean FoundPoint(double const& x, double const& y) const;
  Integer FoundLine(TLineSeg const* s) const;
  Boolean FoundArc(TArc const* a) const;
  Integer FoundCircle(TCircle const* c) const;
  // By the curve's kind: point, segment, circle, arc; any other kind and an empty contour 0.
  Integer Found(TCurve2D const* c) const;
  Boolean Found(TContour const& other) const;
  Boolean Colision(TContour const& other) const;
  // The crossings with the first member met: 0, 1 or 2.
  Integer InterSect(TCurve2D const* c) const;
  // The curve meets at least two members.
  Boolean InterSect2(TCurve2D const* c) const;
  // The crossings of the members with each other and themselves, the joints of the chain
  // left out; answers how many were added to X.
  Integer SelfIntersect(const TRegion1D& region, TInterSector& X, Boolean flag) const override;
  // Contour parameters where y = y0 (x = x0) meets the members, appended to what out holds;
  // a shared vertex counts once, the closing point of a closed contour at 0.
  void InterSectHorizontal(Real y0, TAReal& out) const override;
  void InterSectVertical(Real x0, TAReal& out) const override;

  TPolyLine* LS = nullptr;

private:
  void DeleteMembers();
  // The union of the boxes of the members with one of the attributes; false when none.
  Boolean BoxOfAttributes(const unsigned* atr, int n, TRect2D& R) const;
  void RangeAtInValues(const unsigned* atr, int n, double& l, double& bt, double& r, double& t) const;
  void Scan(Real v, bool horizontal, TAReal& out) const;
  Real PartLength(Real t1, Real t2, bool wrap) const;
  template <class Eval> void RawEval(Real t, Eval eval) const;
};
