#pragma once
// A modeller that draws nothing and makes no document: what runs through it only does what the
// drawing model itself does (frames, registries, the names callers compose on the way).
#include "hxcadkit/drawing/drModeler.h"

class TBlankModeler : public TModeler3D
{
public:
  TBlankModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}
  using TModeler3D::drArc;
  using TModeler3D::drAStView7;
  using TModeler3D::drView;
  void drLine(const double&, const double&, const double&, const double&, int) override {}
  void drArc(const double&, const double&, const double&, const double&, const double&, const double&,
             const double&, int, int) override
  {
  }
  void drCircle(const double&, const double&, const double&, int) override {}
  void drEllipse(const double&, const double&, const double&, const double&, const double&, int) override {}
  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

private:
  TConstraint2D Constraint;
};
