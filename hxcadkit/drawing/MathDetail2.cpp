// The element outline record, and the machine elements of the mould plates.
#include "hxcadkit/drawing/MathDetail2.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetails.h"
#include "hxcadkit/drawing/MathDetailsUtil.h"
#include "hxcadkit/drawing/drNodeCont.h"

// ---------------------------------------------------------------------------------------------
// TElementOutline

TElementOutline::TElementOutline()
{
  // Room for the largest fastener at once: the elements are drawn by the dozen.
  Nodes.reserve(16);
  Half.reserve(8);
  Once.reserve(8);
}

TString DrawingNumber(double v)
{
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  std::string s = buf;
  while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.'))
    s.pop_back();
  std::replace(s.begin(), s.end(), '.', ',');
  if (s == "-0") s = "0";
  return TString(s.c_str());
}

void TElementOutline::Start(double x, double y)
{
  X0 = LastX = x;
  Y0 = LastY = y;
}

void TElementOutline::Add(TKind kind, double x, double y)
{
  // A chamfer or fillet of size 0 repeats a point: nothing to draw there.
  if (x == LastX && y == LastY) return;
  Nodes.push_back({kind, x, y});
  LastX = x;
  LastY = y;
}

void TElementOutline::P(double x, double y)
{
  Add(kLine, x, y);
}

void TElementOutline::Px(double x, double y)
{
  Add(kAux, x, y);
}

void TElementOutline::Pt0(double x, double y)
{
  Add(kClose, x, y);
}

void TElementOutline::A(double xc, double yc, double r, double x, double y)
{
  if (x == LastX && y == LastY) return;
  Nodes.push_back({kArc, x, y, xc, yc, r});
  LastX = x;
  LastY = y;
}

void TElementOutline::HalfLine(double x1, double y1, double x2, double y2, int style)
{
  if (x1 == x2 && y1 == y2) return;
  Half.push_back({TCurve::cLine, x1, y1, x2, y2, 0.0, 0.0, 0.0, 1, style});
}

void TElementOutline::Line(double x1, double y1, double x2, double y2, int style)
{
  if (x1 == x2 && y1 == y2) return;
  Once.push_back({TCurve::cLine, x1, y1, x2, y2, 0.0, 0.0, 0.0, 1, style});
}

void TElementOutline::Arc(double xc, double yc, double r, double x1, double y1, double x2, double y2,
                          int napr, int style)
{
  Once.push_back({TCurve::cArc, x1, y1, x2, y2, xc, yc, r, napr, style});
}

void TElementOutline::Circle(double xc, double yc, double r, int style)
{
  Once.push_back({TCurve::cCircle, xc, yc, xc, yc, xc, yc, r, 1, style});
}

void TElementOutline::Polygon(std::initializer_list<double> xy, int style)
{
  const double* p = xy.begin();
  const std::size_t n = xy.size() / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    Line(p[2 * i], p[2 * i + 1], p[2 * j], p[2 * j + 1], style);
  }
}

bool TElementOutline::Finite(double mx, double my, double ma, double ms) const
{
  // The sum of the magnitudes bounds every coordinate and turns NaN or infinite at once when
  // any of them is.
  double sum = std::fabs(X0) + std::fabs(Y0);
  for (const TStep& n : Nodes)
    sum += std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.xc) + std::fabs(n.yc) + std::fabs(n.r);
  for (const std::vector<TCurve>* list : {&Half, &Once})
    for (const TCurve& c : *list)
      sum += std::fabs(c.x1) + std::fabs(c.y1) + std::fabs(c.x2) + std::fabs(c.y2) + std::fabs(c.xc) +
             std::fabs(c.yc) + std::fabs(c.r);
  return PlacedFinite(sum, mx, my, ma, ms);
}

bool PlacedFinite(double sum, double mx, double my, double ma, double ms)
{
  // Placed, a coordinate is at most |mx| + |my| + |ms| (|x| + |y|). The elements and the
  // modeller square radii and coordinates, in the element's frame and placed, so both stay well
  // inside the range of doubles (a tiny scale must not let huge sizes through).
  const double placed = std::fabs(mx) + std::fabs(my) + std::fabs(ms) * sum;
  return std::isfinite(ma) && sum < 1e150 && placed < 1e150;
}

double Extent(std::initializer_list<double> sizes)
{
  double sum = 200.0;
  for (const double v : sizes)
    sum += 4.0 * std::fabs(v);
  return sum;
}

double Nearest(double d)
{
  return std::trunc(d + 0.5 * Zn(d));
}

void TElementOutline::Reserve(std::size_t once)
{
  Once.reserve(once);
}

void TElementOutline::DrawHalfLines(TModeler3D& M, bool mirror, int style) const
{
  const double k = mirror ? -1.0 : 1.0;
  for (const TCurve& c : Half)
    M.drLine(c.x1, k * c.y1, c.x2, k * c.y2, c.Style == PassStyle ? style : c.Style);
}

void TElementOutline::Draw(TModeler3D& M, int tl) const
{
  const int pass = tl / 10, flag = tl % 10;
  const int style = flag != 0 ? flag : 1;
  if (!Nodes.empty()) {
    // The outline is a node program, written from its last node back to its first.
    TNode* chain = nullptr;
    for (auto n = Nodes.rbegin(); n != Nodes.rend(); ++n)
      switch (n->Kind) {
      case kLine:
        chain = dP(n->x, n->y, chain);
        break;
      case kAux:
        chain = dPx(n->x, n->y, chain);
        break;
      case kClose:
        chain = dPt0(n->x, n->y, chain);
        break;
      case kArc:
        chain = dA(n->xc, n->yc, n->r, n->x, n->y, chain);
        break;
      }
    TContDrawing program(&M);
    program.Make(X0, Y0, chain);
    program.drContBlock(tl);
  }
  // Pieces standing in front (a nut on a bolt's thread) hide the element's other lines as they hide its
  // outline; its axis runs on through them.
  std::optional<TFrontModeler> front;
  TFrontRegions* regions = TFrontRegions::Standing(M);
  TModeler3D* through = regions ? regions->Through(M) : nullptr;
  if (regions && !through) front.emplace(M);
  TModeler3D& lines = through ? *through : front ? static_cast<TModeler3D&>(*front) : M;
  // The lines each drawn half adds, in the order the halves are drawn.
  if (flag != 0) {
    if (pass == 2 || pass == 3) DrawHalfLines(lines, true, style);
    if (pass != 2) DrawHalfLines(lines, false, style);
  }
  for (const TCurve& c : Once) {
    const int s = c.Style == PassStyle ? style : c.Style;
    switch (c.Type) {
    case TCurve::cLine:
      (s == 3 ? M : lines).drLine(c.x1, c.y1, c.x2, c.y2, s);
      break;
    case TCurve::cArc:
      (s == 3 ? M : lines).drArc(c.xc, c.yc, c.r, c.x1, c.y1, c.x2, c.y2, c.Napr, s);
      break;
    case TCurve::cCircle:
      (s == 3 ? M : lines).drCircle(c.xc, c.yc, c.r, s);
      break;
    }
  }
}

bool TElementOutline::DrawPlaced(TModeler3D& M, double mx, double my, double ma, double ms, int tl,
                                 bool macro, const char* what) const
{
  if (!Finite(mx, my, ma, ms)) {
    RefuseElement(what);
    return false;
  }
  M.drMtr(mx, my, ma, ms);
  if (macro) M.drMacro2D(true);
  Draw(M, tl);
  if (macro) M.drEndMacro();
  M.drDeleteMtr();
  return true;
}

namespace {
std::atomic<long long> ElementRefusalCount{0};
} // namespace

long long ElementRefusals()
{
  return ElementRefusalCount.load();
}

void RefuseElement(const char* what)
{
  ++ElementRefusalCount;
  Messager->LiftBox(DC(TString("Недопустимые размеры: ")) + DC(TString(what)), TMessager::toAlways);
}

// ---------------------------------------------------------------------------------------------
// The mould plates' elements. Their profiles follow the mould parts: an upper half closed along
// the axis in outline mode, the axis 3 mm past both ends, no macro.

namespace {

// A hexagon socket seen in section from the end face at x = 0: its walls at across flats / 2,
// the drill point at 120 degrees; in the negated style, as hidden edges.
void SocketLines(TElementOutline& o, double across, double depth)
{
  if (across <= 0.0 || depth <= 0.0) return;
  const double h = across / 2.0;
  o.HalfLine(0.0, h, depth, h, -1);
  o.HalfLine(depth, h, depth + h * Tan30, 0.0, -1);
}

// The socket head cap screw: head from 0 to K with its top edge rounded by r1, shank to L.
TElementOutline CapScrewOutline(double sR, double R, double iS, double K, double t, double L, double isl,
                                double r1)
{
  const double f = FitChamfer(r1, R, K);
  const double c = FitChamfer(0.2 * sR, sR, (L - K) / 2.0);
  TElementOutline o;
  o.Start(0.0, 0.0);
  o.P(0.0, R - f);
  if (f > 0.0) o.A(f, R - f, -f, f, R);
  o.P(K, R);
  Shank(o, K, L, sR, 0.0, c);
  o.Pt0(0.0, 0.0);
  ThreadLines(o, std::max(K, L - isl), L - c, sR);
  SocketLines(o, iS, t);
  o.Line(-3.0, 0.0, L + 3.0, 0.0, 3);
  return o;
}

} // namespace

void TCommonGeometry::dr2D_Shtift_V1(const double& mx, const double& my, const double& ma, const double& ms,
                                     const double& r, const double& l, int tl, bool, const double& f) const
{
  const double c = FitChamfer(f, r, l / 2.0);
  TElementOutline o;
  o.Start(0.0, 0.0);
  Shank(o, 0.0, l, r, c, c);
  o.Pt0(0.0, 0.0);
  o.Line(-3.0, 0.0, l + 3.0, 0.0, 3);
  o.DrawPlaced(M(), mx, my, ma, ms, tl, false, "штифт");
}

void TCommonGeometry::dr2D_SocketHeadCapScrew_V1(const double& mx, const double& my, const double& ma,
                                                 const double& mm, const double& sR, const double& R,
                                                 const double& iS, const double& K, const double& t,
                                                 const double& L, const double& isl, const double& r1, int tl,
                                                 bool) const
{
  CapScrewOutline(sR, R, iS, K, t, L, isl, r1).DrawPlaced(M(), mx, my, ma, mm, tl, false, "винт");
}

void TCommonGeometry::dr2D_HexagonSocketSetScrew_V1(const double& mx, const double& my, const double& ma,
                                                    const double& ms, const double& r, const double& iS,
                                                    const double& sl, const double& L, int tl, bool) const
{
  const double c = FitChamfer(0.2 * r, r, L / 2.0);
  TElementOutline o;
  o.Start(0.0, 0.0);
  Shank(o, 0.0, L, r, c, c);
  o.Pt0(0.0, 0.0);
  ThreadLines(o, std::max(c, L - sl), L - c, r);
  SocketLines(o, iS, std::min(iS, L));
  o.Line(-3.0, 0.0, L + 3.0, 0.0, 3);
  o.DrawPlaced(M(), mx, my, ma, ms, tl, false, "винт");
}

void TCommonGeometry::dr2D_Bolt7805_V1(const double& mx, const double& my, const double& ma, const double& ms,
                                       const double& r, const double& l, const double& l1,
                                       const double& HeadH, const double& HS, const double& iD2, int tl,
                                       bool) const
{
  const double e = HS / Cos30 / 2.0; // half the width across corners
  // The head's end face is chamfered at 30 degrees from its corners down to iD2.
  const double face = iD2 / 2.0 > 0.0 && iD2 / 2.0 < e ? iD2 / 2.0 : e;
  const double ch = std::min((e - face) * Tan30, HeadH);
  const double x1 = HeadH + l;
  const double c = FitChamfer(0.2 * r, r, l / 2.0);
  TElementOutline o;
  o.Start(0.0, 0.0);
  o.P(0.0, face);
  o.P(ch, e);
  o.P(HeadH, e);
  Shank(o, HeadH, x1, r, 0.0, c);
  o.Pt0(0.0, 0.0);
  o.HalfLine(ch, e / 2.0, HeadH, e / 2.0);
  ThreadLines(o, std::max(HeadH, x1 - l1), x1 - c, r);
  o.Line(-3.0, 0.0, x1 + 3.0, 0.0, 3);
  o.DrawPlaced(M(), mx, my, ma, ms, tl, false, "болт");
}

void TCommonGeometry::dr2D_Nut_V3(const double& mx, const double& my, const double& ma, const double& ms,
                                  const double& iMD, const double& S, const double&, int tl, bool) const
{
  // Code 32 of the standard parts cuts the square less this hexagon out of a bolt head: in
  // outline mode the hexagon stands alone.
  TElementOutline o;
  Hexagon(o, S, TElementOutline::PassStyle);
  if (tl % 10 != 0) {
    const double e = S / Cos30 / 2.0 + 2.0;
    if (iMD > 0.0) o.Circle(0.0, 0.0, iMD / 2.0);
    o.Line(-e, 0.0, e, 0.0, 3);
    o.Line(0.0, -e, 0.0, e, 3);
  }
  o.DrawPlaced(M(), mx, my, ma, ms, tl, false, "гайка");
}

void TCommonGeometry::dr3D_ScrewGost11738(const TString& FileName, const TString& Name,
                                          const TString& Marking, const double& d, const double& D,
                                          const double& S, const double& K, const double& t, const double& L,
                                          const double& sl, const double& r1) const
{
  TElementOutline socket;
  if (S > 0.0 && t > 0.0) Hexagon(socket, S, 1);
  MakeRevolvedPart(M(), FileName, Name, Marking, CapScrewOutline(d / 2.0, D / 2.0, 0.0, K, 0.0, L, sl, r1),
                   S > 0.0 && t > 0.0 ? &socket : nullptr, t, "винт", true);
}

void TCommonGeometry::dr3D_Shajba(const TString& FileName, const TString& Name, const TString& Marking,
                                  const double& D, const double& d, const double& L, const double& f) const
{
  TElementOutline o;
  Ring(o, L, d / 2.0, D / 2.0, f, f, 0.0);
  // The axis the ring is revolved about.
  o.Line(-2.0, 0.0, L + 2.0, 0.0, 3);
  MakeRevolvedPart(M(), FileName, Name, Marking, o, nullptr, 0.0, "шайба");
}

void TCommonGeometry::dr3D_PlugGost(const TString& FileName, const TString& Name, const TString& Marking,
                                    const double& D, const double& d, const double& L, const double& f) const
{
  TElementOutline o;
  Ring(o, L, d / 2.0, D / 2.0, f, f, f);
  o.Line(-2.0, 0.0, L + 2.0, 0.0, 3);
  MakeRevolvedPart(M(), FileName, Name, Marking, o, nullptr, 0.0, "втулка");
}

double TCommonGeometry::GrooveDetailLeft(double m, double H, bool close)
{
  const double k = std::fabs(m), h = std::fabs(H);
  return std::min(close ? -4.0 * h * k - 2.0 : -4.0 * h * k - 8.0 * k - 6.0, -36.0);
}

double TCommonGeometry::GrooveDetailRight(double m, double L, double H, const TString& Letter)
{
  const double k = std::fabs(m), h = std::fabs(H);
  const double chars = double((Letter + TString("(") + DrawingNumber(m) + TString(":1)")).Length());
  return std::max((std::fabs(L) + 4.0 * h) * k + 4.0, k + 3.6 * chars + 1.0);
}

void TCommonGeometry::drCVR_dV(const double& x, const double& y, const double& A, const double& m,
                               const double& L, const double& H, const double& R, const TString& Letter,
                               bool isSize, bool close) const
{
  // The title stands clear above the boundary, which reaches 4 H up and breaks 3 mm to either side.
  const double ty = std::max(10.0 / m, 4.0 * std::fabs(H) + 4.0 / m), end = std::fabs(R - H);
  if (!PlacedFinite(std::fabs(ty) + 10.0 * std::fabs(H) + std::fabs(L) + std::fabs(R) + 25.0, x, y, A, m))
    return RefuseElement("выносной элемент");
  TModeler3D& Md = M();
  // The detail with its title and sizes, in the sheet's millimetres about its point: the height's size
  // and the angle's on the left, the length's below, the title on the upper right.
  const TString title = Letter + TString("(") + DrawingNumber(m) + TString(":1)");
  const double k = std::fabs(m), h = std::fabs(H);
  double px = x, py = y;
  // Room below the groove for the sizes: close, what they take on the sheet (within 20 of the groove, their
  // values beyond); else room that grows with the enlargement. Beside the part's side likewise.
  const double below = close ? std::min(-5.0 * h * k - 2.0, -28.0) : -5.0 * h * k - 8.0 * k - 6.0;
  // Its outline, and with sizes their lines and values too (the height's 20 left of the groove, the
  // length's 15 below, the angle's arc 12 over the corner, each value 3.5 high a millimetre beyond), keep
  // off the sizes still to settle about the other views: an angle's arc carried out past its value would
  // cross them.
  const double out = isSize ? 3.5 + 1.0 : 0.0;
  Md.drFreeViewPlace(px, py, GrooveDetailLeft(m, H, close), below, GrooveDetailRight(m, L, H, Letter),
                     std::max({4.0 * h * k + 3.0, ty * k + 7.0, 20.0}),
                     isSize ? std::min(-4.0 * h * k, -20.0 - out) : -4.0 * h * k,
                     isSize ? std::min(-5.0 * h * k, -15.0 - out) : -5.0 * h * k,
                     (std::fabs(L) + 4.0 * h) * k, isSize ? std::max(4.0 * h * k, 12.0 + out) : 4.0 * h * k);
  // The detail's scale is the sheet's: a view drawn enlarged or reduced does not compound it.
  const double view = Md.R2D().Transf2D.ScaleMtr();
  Md.drMtr(px, py, A, view > 0.0 && std::isfinite(view) ? m / view : m);
  // The title stands 6 high on the sheet, not enlarged with the detail it names.
  Md.drText(1.0, ty, 0.0, 6.0 / m, 1.0, 75, title);
  TContDrawing c(&Md);
  // The part's side, the groove, and the boundary of the detail in style 5.
  c.Make(-4.0 * H, 0.0, dP(0.0, 0.0, dP(0.0, -5.0 * H)));
  c.dr2D(1);
  Md.drLine(L, 4.0 * H, L, -5.0 * H, 1);
  c.Make(0.0, 0.0, dCVR(H, -H, L, -H, L, end, R));
  c.dr2D(1);
  c.Make(-4.0 * H, 0.0, dP(0.0, -5.0 * H, dP(L, -5.0 * H, dP(L + 4.0 * H, 0.0, dP(L, 4.0 * H)))));
  c.dr2D(5);
  if (isSize) {
    const TString none;
    Md.drDimHL(L, -15.0, -10.0, 0.0, 0.0, L, end, none, none, none);
    Md.drDimVL(H, -20.0, -1.0, 0.0, 0.0, R, -H, none, none, none);
    // The chamfer's angle from the face it leaves, above the corner: from the side's line its ray would
    // run along the height's extension line out to the height's own line. Its arc is asked in the
    // detail's units, 12 on the sheet at any scale, or an enlarged detail would take the widest arc.
    Md.drDimApc(45.0, 135.0, k > 0.0 ? 12.0 / k : 12.0, 0.0, none, 0.0, 0.0);
  }
  Md.drDeleteMtr();
}
