#include "hxcadkit/drawing/drModeler.h"

#include <cmath>

#include "hxcadkit/core/ModelerLink.h"
#include "hxcadkit/drawing/BaseDetail.h"

// ---------------------------------------------------------------------------------------------
// TTransf2D

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
// TRegistryModeler2D

TRegistryModeler2D::TRegistryModeler2D(TConstraint2D& c)
    : AContour(8, 8), APrevCommand(32, 32), AGroup(0, 8), Constraint2D(c), ACutPoint(0, 16)
{
}

TRegistryModeler2D::~TRegistryModeler2D() = default;

// ---------------------------------------------------------------------------------------------
// TModeler2D: primitives and placement

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

void TModeler2D::drLayer(int) {}

void TModeler2D::drMtr(double x, double y, double Angle, double Scale)
{
  R->Transf2D.drMtr(x, y, Angle, Scale);
}

void TModeler2D::drDeleteMtr()
{
  R->Transf2D.drDeleteMtr();
}

void TModeler2D::drText(const double&, const double&, const double&, const double&, const double&, int,
                        const TString&)
{
}
void TModeler2D::drPoint(const double&, const double&) {}
void TModeler2D::drPolyline3D(bool) {}

// ---------------------------------------------------------------------------------------------
// Cut lines

void TModeler2D::NewCut()
{
  R->ACutPoint.Clear();
}

void TModeler2D::ACT(const double& x, const double& y)
{
  double X = 0.0, Y = 0.0;
  R->Transf2D.xyMtr(x, y, X, Y);
  R->ACutPoint.Push(TPoint2D(X, Y));
}

void TModeler2D::ACTIf(bool c, const double& x, const double& y)
{
  if (c) ACT(x, y);
}

void TModeler2D::DrawCut(const TString& S, int Direction)
{
  // Points gathered inside a collector stay for a later DrawCut.
  if (R->Collecting() || R->ACutPoint.Count <= 0) return;
  // Copies: the calls below may collect into the same list.
  const TPoint2D first = R->ACutPoint[0], last = R->ACutPoint.Last();
  drCut(7.0, 1.0, 75.0, S, first.x, first.y, Direction, last.x, last.y, Direction);
  for (Integer i = 0; i < R->ACutPoint.Count; ++i) {
    const TPoint2D p = R->ACutPoint[i];
    drPoint(p.x, p.y);
  }
  drEndObj();
  NewCut();
}

void TModeler2D::drCut(const double&, const double&, const double&, const TString&, const double&,
                       const double&, int, const double&, const double&, int)
{
  R->APrevCommand.Push(cmCut);
}

// ---------------------------------------------------------------------------------------------
// Groups, macros and pending objects

void TModeler2D::drGroup(bool) {}
void TModeler2D::drEndGroup() {}
void TModeler2D::drClearRegion(std::int64_t) {}

void TModeler2D::drColouring(std::int64_t)
{
  R->APrevCommand.Push(cmColouring);
}

void TModeler2D::drHatch(int, const double&, const double&)
{
  R->HatchContour.Clear();
  R->AContour.Push(&R->HatchContour);
  R->APrevCommand.Push(cmHatch);
}

void TModeler2D::drMacro2D(bool) {}
void TModeler2D::drEndMacro() {}

void TModeler2D::CloseBoundary()
{
  if (R->Closer == nullptr || R->APrevCommand.Count <= 0) return;
  const TCommand c = R->APrevCommand.Last();
  if (c == cmHatch || c == cmColouring) R->Closer->CloseBoundary(*this);
}

void TModeler2D::drEndObj()
{
  CloseBoundary();
  if (R->APrevCommand.Count <= 0) return;
  const TCommand c = R->APrevCommand.Pop();
  if (c == cmHatch && R->AContour.Count > 0 && R->AContour.Last() == &R->HatchContour) R->AContour.Pop();
}

void TModeler2D::drShelf(txapi::txLeaderSignEnum, const double&, const double&, txapi::txShelfDirectionEnum,
                         txapi::txArrowEnum, const double&, const double&, const double&, const TString&,
                         const double&, const double&, const double&, const TString&)
{
  R->APrevCommand.Push(cmShelf);
}

// ---------------------------------------------------------------------------------------------
// Dimensions and designations without a body of their own

void TModeler2D::drDimL(const double&, const TString&, const double&, const double&, int, int, const double&,
                        const double&, const double&, const double&, int, int, const double&, const double&,
                        int, int, const TString&, const TString&, const TString&)
{
}
void TModeler2D::drDimD(const double&, const TString&, const double&, int, int, const double&, const double&,
                        int, const TString&, const TString&, const TString&)
{
}
void TModeler2D::drDimR(const double&, const TString&, const double&, const double&, int, int, const double&,
                        const double&, int, int, const TString&, const TString&, const TString&)
{
}
void TModeler2D::drDimA(const double&, int, const double&, const double&, int, int, const double&,
                        const double&, const double&, const double&, int, int, const double&, const double&,
                        int, int, const TString&, const double&, const double&)
{
}
void TModeler2D::drRough(const double&, const double&, const double&, txapi::txRoughSignEnum, const TString&,
                         const TString&, const TString&)
{
}
void TModeler2D::drSRough(int, bool, const TString&) {}
void TModeler2D::drForm(const double&, const double&, int, int, const TString&, const TString&) {}
void TModeler2D::drSupportForm(const double&, const double&, int, int) {}
void TModeler2D::drBase(const double&, const double&, const double&, const double&, const TString&) {}
void TModeler2D::drWPointer(const double&, const double&, const double&, const double&, const double&,
                            const double&, const double&, const double&, const double&, const TString&)
{
}
void TModeler2D::drRectAngleAxleDim3D(txapi::txObj3dTypeEnum, const double&, const double&, const double&,
                                      const double&, const double&, int, const TString&)
{
}

// ---------------------------------------------------------------------------------------------
// Sheets and documents

bool TModeler2D::drView(int N, const double& x, const double& y)
{
  TDetailInfo& di = R->DI;
  di.Left += x;
  di.Top += y;
  TString name("Вид ");
  name += TString(N);
  name += " ";
  name += di.comment;
  drView(N, di.Left, di.Top, 0.0, di.Scale, name);
  return true;
}

bool TModeler2D::drLeafStamp(int, int, bool)
{
  return false;
}

bool TModeler2D::drLeafStamp(int Detail, int subDetail, const double& x, const double& y, bool Invisible)
{
  const bool made = drLeafStamp(Detail, subDetail, Invisible);
  if (made) {
    R->DI.Left += x;
    R->DI.Top += y;
  }
  return made;
}

bool TModeler2D::drLeafStampView1(int Detail, int subDetail, const double& x, const double& y, bool Invisible)
{
  if (!drLeafStamp(Detail, subDetail, Invisible)) return false;
  return drView(1, x, y);
}

void TModeler2D::drShtamp() {}
void TModeler2D::drCreateLeaf(TString&, txapi::DocumentTypeEnum, int, int, int, int, TString&, bool) {}
void TModeler2D::drSaveLeaf() {}
void TModeler2D::drCloseView() {}
void TModeler2D::drCloseLeaf() {}
void TModeler2D::drOpenTDem() {}
void TModeler2D::drCloseTDem() {}
void TModeler2D::drStringObj(const TString&) {}

void TModeler2D::drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                          const TString& S4)
{
  drCloseView();
  if (R->Collecting()) return;
  if (!S1.Empty()) {
    drOpenTDem();
    drStringObj(S2.Empty() ? S1 : TString("1.") + S1);
    if (!S2.Empty()) drStringObj(TString("2.") + S2);
    if (!S3.Empty()) drStringObj(TString("3.") + S3);
    if (!S4.Empty()) drStringObj(TString("4.") + S4);
    drCloseTDem();
  }
  drCloseLeaf();
}

void TModeler2D::drCloseLeafSpw(bool) {}
void TModeler2D::drAStView7(const double&, const double&, const double&, const double&, const TString&,
                            const TString&, const TMtr3D&)
{
}
void TModeler2D::drACutView7(const double&, const double&, const double&, const double&, const TString&,
                             txapi::SmartPtr<txapi::IDrawingObject>) const
{
}

double TModeler2D::drCreateAttrStr(double)
{
  return 0.0;
}
bool TModeler2D::drSetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject>, const double&, const TString&)
{
  return false;
}
bool TModeler2D::drGetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject>, const double&, TString&)
{
  return false;
}

// ---------------------------------------------------------------------------------------------
// TModeler3D

TModeler3D::~TModeler3D() = default;

void TModeler3D::drCreate3D(bool, bool, const TString&, const TString&, const TString&) {}
bool TModeler3D::drCreate3DNewPartPlane(int, int, bool, txapi::txObj3dTypeEnum, const double&)
{
  return false;
}
void TModeler3D::drPlaneEskis(txapi::txObj3dTypeEnum, double, double, const TString&) {}
void TModeler3D::drBaseRotate(int, const double&) {}
void TModeler3D::drCutRotate(int, const double&, TMark*) {}
void TModeler3D::drSurfaceRotate(int, const double&) {}
void TModeler3D::drBaseExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double&,
                                 const double&)
{
}
void TModeler3D::drBaseExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double&,
                                 const double&, bool)
{
}
void TModeler3D::drCutExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double&,
                                const double&)
{
}
void TModeler3D::drSurfaceExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double&,
                                    const double&)
{
}
void TModeler3D::drColor3D(int, const double&, const double&, const double&, const double&, const double&,
                           const double&)
{
}
void TModeler3D::drClose3D(bool, TSectionSpc) {}
void TModeler3D::drSave3D(bool, bool) {}
void TModeler3D::drSet(const TString&, const TString&, const TString&, int) {}
void TModeler3D::AddDetail(const double&, const double&, const double&, int, int, bool) {}
void TModeler3D::AddDetail(const double&, const double&, const double&, const TString&, bool, bool) {}
void TModeler3D::AddDetailAxle(const double&, const double&, const double&, const TString&, const double&,
                               const double&, const double&, const double&, const double&, const double&,
                               bool)
{
}
void TModeler3D::AddDetailAxle(const double&, const double&, const double&, int, int, const double&,
                               const double&, const double&, const double&, const double&, const double&)
{
}
void TModeler3D::drMacro3D(const TString&, bool) {}
void TModeler3D::drEndMacro3D() {}

void TModeler3D::drSetDC(int Detail, int Suffics)
{
  R2D().DI.cDetail = Detail;
  R2D().DI.cSuffics = Suffics;
}

txapi::SmartPtr<txapi::IVariable> TModeler3D::drAddVariable(const TString&, double, const TString&)
{
  return {};
}

void TModeler3D::drSpcObj(TString&, TSectionSpc, txapi::SmartPtr<txapi::IDrawingObject>) {}

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

TString MaterialName(int index)
{
  return AMaterial.ValidIndex(index) ? AMaterial[index].Name : TString();
}

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
  TString MaterialName(int index) const override { return ::MaterialName(index); }
  void GetLeafLeftUp(int format, int orientation, double& x, double& y) const override
  {
    TLeafSelector::Instance().GetLeafLeftUp(format, orientation, x, y);
  }
  void dr2D(const TDetail& d) override { d.dr2D(); }
  void dr3D(const TDetail& d, int n) override { d.dr3D(n); }
  void AddLinkedVariable(TModeler3D& m, const TString& name, double value, const TString& comment,
                         const TString&) override
  {
    // Linking the variable to a variable document takes the host's variable operations: the
    // host modeller installs a link of its own for that, handing the rest back to this one.
    m.drAddVariable(name, value, comment);
  }

private:
  TDrawingLink* Previous = nullptr;
};

TDrawingLinkOfModel DrawingLinkOfModel;

} // namespace
