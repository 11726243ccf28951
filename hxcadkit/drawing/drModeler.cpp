#include "hxcadkit/drawing/drModeler.h"

#include <cmath>

#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/drawing/BaseDetail.h"

// ---------------------------------------------------------------------------------------------
// TTransf2D

void TTransf2D::xyMtr(const double& x, const double& y, double& X, double& Y) const
{
  if (AMtr.Count <= 0) {
    X = x;
    Y = y;
    return;
  }
  double tx = 0.0, ty = 0.0;
  AMtr.Last().TransformCoord(x, y, tx, ty);
  X = tx;
  Y = ty;
}

double TTransf2D::ScaleMtr() const
{
  if (AMtr.Count <= 0) return 1.0;
  const TMtr2D& m = AMtr.Last();
  return std::sqrt(m.M[0][0] * m.M[0][0] + m.M[0][1] * m.M[0][1]);
}

double TTransf2D::AngleMtr() const
{
  if (AMtr.Count <= 0) return 0.0;
  const TMtr2D& m = AMtr.Last();
  return AngleLine(0.0, 0.0, m.M[0][0], m.M[0][1]);
}

void TTransf2D::drMtr(double x, double y, double Angle, double Scale)
{
  TMtr2D m;
  if (AMtr.Count > 0) m = AMtr.Last();
  m.drMtr(x, y, Angle, Scale);
  AMtr.Push(m);
}

void TTransf2D::drDeleteMtr()
{
  if (AMtr.Count > 0) AMtr.Pop();
}

// ---------------------------------------------------------------------------------------------
// TModeler2D, TModeler3D

TModeler2D::~TModeler2D()
{
  if (OwnR) delete R;
}

void TModeler2D::drArc(const double& xc, const double& yc, const double& r, const double& a1,
                       const double& a2, int Attr, int Napr)
{
  const double x1 = xc + r * std::cos(a1), y1 = yc + r * std::sin(a1);
  const double x2 = xc + r * std::cos(a2), y2 = yc + r * std::sin(a2);
  drArc(xc, yc, r, x1, y1, x2, y2, Napr, Attr);
}

void TModeler2D::drMtr(double x, double y, double Angle, double Scale)
{
  R->Transf2D.drMtr(x, y, Angle, Scale);
}

void TModeler2D::drDeleteMtr()
{
  R->Transf2D.drDeleteMtr();
}

TModeler3D::~TModeler3D() = default;

// ---------------------------------------------------------------------------------------------
// TLeafSelector

TLeafSelector::TLeafSelector() : ASize(10, 10)
{
  const double sides[10][2] = {{840, 1186}, {1186, 840}, {594, 840}, {840, 594}, {420, 594},
                               {594, 420},  {297, 420},  {420, 297}, {210, 297}, {297, 210}};
  for (const auto& s : sides)
    ASize.Add(TPoint2D(s[0], s[1]));
}

TLeafSelector& TLeafSelector::Instance()
{
  static TLeafSelector selector;
  return selector;
}

void TLeafSelector::GetLeafLeftUp(int format, int orientation, double& x, double& y) const
{
  double longSide = 1188.0, shortSide = 840.0;
  switch (format) {
  case 1:
    longSide = 840.0;
    shortSide = 594.0;
    break;
  case 2:
    longSide = 594.0;
    shortSide = 420.0;
    break;
  case 3:
    longSide = 420.0;
    shortSide = 297.0;
    break;
  case 4:
    longSide = 297.0;
    shortSide = 210.0;
    break;
  default:
    break;
  }
  x = 40.0;
  y = (orientation == 0 ? longSide : shortSide) - 30.0;
}

// ---------------------------------------------------------------------------------------------
// The material table

namespace {

TArrayOf<TMaterial> MakeMaterials()
{
  TArrayOf<TMaterial> a(8, 8);
  const char* names[] = {"Сталь 45 ГОСТ 1050-88", "Сталь 40Х ГОСТ 4543-71", "Сталь 35 ГОСТ 1050-88",
                         "Сталь Ст3 ГОСТ 380-2005", "СЧ 20 ГОСТ 1412-85"};
  const double density[] = {7.85, 7.82, 7.85, 7.85, 7.1};
  for (int i = 0; i < 5; ++i) {
    TMaterial m;
    m.Name = TString(names[i]);
    m.Density = density[i];
    a.Push(m);
  }
  return a;
}

} // namespace

TArrayOf<TMaterial> AMaterial = MakeMaterials();

// ---------------------------------------------------------------------------------------------
// The link through which the core's control model and variable list reach the drawing model.
// It is installed while this unit is loaded: any program that has a modeller links this unit.

namespace {

class TDrawingLinkOfModel : public TDrawingLink
{
public:
  TDrawingLinkOfModel() { Previous = TDrawingLink::Set(this); }
  ~TDrawingLinkOfModel() override
  {
    if (TDrawingLink::Get() == this) TDrawingLink::Set(Previous);
  }

  void SetCurrent(TModeler3D& m, const TCurrentDetail& d) override
  {
    TDetailInfo& di = m.R2D().DI;
    di.cDetail = d.cDetail;
    di.cSuffics = d.cSuffics;
    di.Weight = d.Weight;
    di.comment = d.comment;
    di.designation = d.designation;
    di.fileName = d.fileName;
    di.material = d.material;
    di.Left = d.Left;
    di.Top = d.Top;
  }
  void ClearOnlySizes2D(TModeler3D& m) override { m.R2D().OnlySizes2D = false; }
  TString MaterialName(int index) const override
  {
    return AMaterial.ValidIndex(index) ? AMaterial[index].Name : TString();
  }
  void GetLeafLeftUp(int format, int orientation, double& x, double& y) const override
  {
    TLeafSelector::Instance().GetLeafLeftUp(format, orientation, x, y);
  }
  void dr2D(const TDetail& d) override { d.dr2D(); }
  void dr3D(const TDetail& d, int n) override { d.dr3D(n); }
  void AddLinkedVariable(TModeler3D&, const TString&, double, const TString&, const TString&) override
  {
    // Host model variables come through TModeler3D::drAddVariable, which needs the host API's
    // variable interface; until the modeller offers it no variable is made.
  }

private:
  TDrawingLink* Previous = nullptr;
};

TDrawingLinkOfModel DrawingLinkOfModel;

} // namespace
