#pragma once
// Regions of the sheet that lie in front of what is drawn while they stand: a fastener, pin or spacer in a
// section's plane hides the parts behind it, and in a view the parts hide what lies inside them. The
// lines and arcs that programs draw stop exactly at the regions; lines along a region's outline stay, and
// so do auxiliary lines. Where a region cuts the boundary of a hatch or a colouring, the boundary closes
// along the region's outline: when the object ends, the pieces of the outline that border the hatched side
// are added to it (so a hole the region fills keeps its walls, and metal the region covers is left out).
//
// A set stands on the modeller it is made on, from then until it goes; the last one made on a modeller stands
// there until it goes. Each region is a convex polygon given in the frame the modeller draws in when it is
// added; a region that abuts another does not hide what runs along their common edge, so the pieces of one
// fastener overlap. What draws through the set's modeller (Through, or a TFrontModeler made on it) stops at
// its regions.
#include <cstddef>
#include <exception>
#include <utility>
#include <vector>

#include "hxcadkit/drawing/drModeler.h"

namespace hxfront {
class TFrontSet;
}

class TFrontRegions
{
public:
  explicit TFrontRegions(TModeler3D& m);
  // Draws what waits for the regions' end; a host call failing there is thrown on.
  ~TFrontRegions() noexcept(false);
  TFrontRegions(const TFrontRegions&) = delete;
  TFrontRegions& operator=(const TFrontRegions&) = delete;

  // A convex polygon, its corners in order; one of fewer than three corners or with a non-finite one is
  // not taken.
  void Polygon(const std::vector<TPoint2D>& corners) { Polygon(corners.data(), corners.size()); }
  void Polygon(const TPoint2D* corners, std::size_t count);
  // The rectangle between two corners.
  void Box(double x1, double y1, double x2, double y2);

  // The set standing on m now, or none.
  static TFrontRegions* Standing(const TModeler2D& m);
  // A modeller drawing through m with its lines stopping at these regions: one kept for the modeller the
  // regions were made on, made once; null for another modeller.
  TModeler3D* Through(TModeler3D& m);
  // The parameters (0..1, in order) between which the segment, in the frame m draws in now, lies outside
  // every region.
  std::vector<std::pair<double, double>> Outside(const TModeler3D& m, double x1, double y1, double x2,
                                                 double y2);
  // The same for the arc about (X, Y) of radius R counter-clockwise from the angle a1 over the sweep
  // (radians, 0 < sweep <= 2 pi): the angles a1 + u for the pieces of u outside every region.
  std::vector<std::pair<double, double>> Outside(const TModeler3D& m, double X, double Y, double R, double a1,
                                                 double sweep);

private:
  friend class hxfront::TFrontSet;
  friend class TFrontModeler;
  friend class TFrontLines;
  hxfront::TFrontSet* Set;
  int Unwinding = std::uncaught_exceptions(); // exceptions already in flight when made
};

// A modeller drawing through another, its lines (but auxiliary lines) stopping at the front
// regions standing on it when it is made, as the lines of node programs do: for what is drawn otherwise, a
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
  friend class hxfront::TFrontSet;
  friend class TFrontLines;
  TFrontModeler(TModeler3D& to, hxfront::TFrontSet* front);
  // A modeller drawing through to, stopping at front: a spare one kept on to's registry, whose drawing state
  // is as a new one's, or one made anew.
  static TFrontModeler* Take(TModeler3D& to, hxfront::TFrontSet* front);
  // Keeps it on its modeller's registry for the next one, or deletes it.
  static void Give(TFrontModeler* f);
  bool AsNew() const;

  TModeler3D* To;
  hxfront::TFrontSet* Front;
  std::vector<std::pair<double, double>> Out; // kept for the next line
};

// What to draw through so that lines stop at the regions standing on m now: the standing set's own modeller
// for m, made once for all that draw on m; otherwise a front modeller taken here (passing everything on when
// no set stands).
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

// Calls draw with what m is drawn through so that the regions standing on it, if any, hide what lies behind
// them: the standing set's own modeller, or a front modeller made for the call.
template <class F> void ThroughFront(TModeler3D& m, F draw)
{
  TFrontRegions* regions = TFrontRegions::Standing(m);
  if (!regions) return draw(m);
  if (TModeler3D* through = regions->Through(m)) return draw(*through);
  TFrontModeler front(m);
  draw(front);
}
