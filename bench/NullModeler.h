#pragma once
// A modeller that draws nothing: it counts the primitive calls and, when asked, keeps them with
// their arguments, so that a benchmark can replay the same calls straight on a modeller as its
// baseline.
#include <vector>

#include "hxcadkit/drawing/drModeler.h"

class TNullModeler : public TModeler3D
{
public:
  struct TPrim
  {
    int Kind; // 0 line, 1 arc, 2 circle
    double v[7];
    int Napr, Attr;
  };

  TNullModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}

  using TModeler3D::drArc;
  using TModeler3D::drAStView7;
  using TModeler3D::drView;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override
  {
    ++Calls;
    if (Keep) Prims.push_back({0, {x1, y1, x2, y2}, 0, Attr});
  }
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override
  {
    ++Calls;
    if (Keep) Prims.push_back({1, {X, Y, R, x1, y1, x2, y2}, Napr, Attr});
  }
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override
  {
    ++Calls;
    if (Keep) Prims.push_back({2, {X, Y, R}, 0, Attr});
  }
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override {}
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

  long Calls = 0;
  bool Keep = false;
  std::vector<TPrim> Prims;

private:
  TConstraint2D Constraint;
};

// Makes the kept calls again on m, through its virtual primitives.
inline void Replay(TModeler3D& m, const std::vector<TNullModeler::TPrim>& prims)
{
  for (const TNullModeler::TPrim& p : prims)
    switch (p.Kind) {
    case 0:
      m.drLine(p.v[0], p.v[1], p.v[2], p.v[3], p.Attr);
      break;
    case 1:
      m.drArc(p.v[0], p.v[1], p.v[2], p.v[3], p.v[4], p.v[5], p.v[6], p.Napr, p.Attr);
      break;
    default:
      m.drCircle(p.v[0], p.v[1], p.v[2], p.Attr);
    }
}
