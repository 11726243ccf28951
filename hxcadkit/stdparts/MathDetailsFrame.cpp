// The common frame of a mould part's working drawing and 3D part: every class that draws itself
// opens its sheet or part document, draws its profile (with sizes on the sheet, as a bare
// closed half in the sketch) and closes it the same way, so the frame is written once here.
#include <cmath>
#include <iterator>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/drawing/MathDetail2.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/stdparts/MathDetailsl.h"

Integer MouldWhole(double v)
{
  return SaturatingToInt(v + 0.5 * Zn(v));
}

namespace {

// Entry i of the requirement texts; an unused slot gets a text of its own, not entry 0.
TString Requirement(int i)
{
  return i > 0 && i < int(std::size(TDemStr)) ? TDemStr[i] : TString();
}

} // namespace

namespace {

// The standard ratios a part is drawn enlarged or reduced by.
constexpr double StandardRatios[] = {1.0, 2.0, 2.5, 4.0, 5.0};

// The standard scale next below scale (5:1 down to 1:1, then 1:2 down to 1:5); 0 below the least.
double SmallerScale(double scale)
{
  for (auto r = std::rbegin(StandardRatios); r != std::rend(StandardRatios); ++r)
    if (*r < scale) return *r;
  for (const double r : StandardRatios)
    if (1.0 / r < scale) return 1.0 / r;
  return 0.0;
}

// View 1 of the sheet just opened, at (x, y) in the part's millimetres, with what draw draws in it at scale.
void MouldView(TModeler3D& M, double x, double y, double scale, const std::function<void(TModeler3D&)>& draw)
{
  if (scale == 1.0) {
    M.drView(1, x, y);
    if (draw) draw(M);
    return;
  }
  // The title block names the scale; the view stays the sheet's own, the part placed in it at that scale.
  TDetailInfo& info = M.R2D().DI;
  const double own = info.Scale;
  info.Scale = scale;
  M.drShtamp();
  info.Scale = own;
  M.drView(1, x * scale, y * scale);
  M.drMtr(0.0, 0.0, 0.0, scale);
  if (draw) draw(M);
  M.drDeleteMtr();
}

} // namespace

bool drMouldSheet(TModeler3D& M, int Id, double x, double y, const std::function<void(TModeler3D&)>& draw,
                  int t1, int t2, int t3, int t4)
{
  return drMouldSheet(M, Id, x, y, 1.0, draw, t1, t2, t3, t4);
}

bool drMouldSheet(TModeler3D& M, int Id, double x, double y, double scale,
                  const std::function<void(TModeler3D&)>& draw, int t1, int t2, int t3, int t4)
{
  const bool whole = scale == 1.0;
  if (!(whole ? M.drLeafStampView1(Id, 0, x, y, true) : M.drLeafStamp(Id, 0, true))) return false;
  // The running position the view is placed from, for a sheet drawn again.
  TDetailInfo& info = M.R2D().DI;
  const double left = whole ? info.Left - x : info.Left, top = whole ? info.Top - y : info.Top;
  if (!whole)
    MouldView(M, x, y, scale, draw);
  else if (draw)
    draw(M);
  // A part too large for its sheet, grown as far as it may be, would run off it: the sheet is drawn again
  // at the next smaller standard scale until it holds the part, or at the least there is.
  for (double s = SmallerScale(scale); s > 0 && !M.drViewHolds(); s = SmallerScale(s)) {
    M.drRestartLeaf();
    info.Left = left, info.Top = top;
    MouldView(M, x, y, s, draw);
  }
  drMouldCloseSheet(M, t1, t2, t3, t4);
  return true;
}

double MouldEnlargement(double length, const std::function<bool(double)>& roomy, double most)
{
  return MouldEnlargement(length, roomy, [most](double s) { return s <= most; });
}

double MouldEnlargement(double length, const std::function<bool(double)>& roomy,
                        const std::function<bool(double)>& allowed, double room)
{
  double fits = 1.0;
  for (const double s : StandardRatios) {
    if (s > 1.0 && (!(length * s <= room) || !allowed(s))) break;
    if (roomy(s)) return s;
    fits = s;
  }
  return fits;
}

double DrawnScale(const TModeler3D& M)
{
  const double view = M.R2D().Transf2D.ScaleMtr();
  return view > 0.0 && std::isfinite(view) ? view : 1.0;
}

double MouldReduction(double extent, double room)
{
  for (const double r : StandardRatios)
    if (extent / r <= room) return 1.0 / r;
  return 1.0 / StandardRatios[std::size(StandardRatios) - 1];
}

void drMouldCloseSheet(TModeler3D& M, int t1, int t2, int t3, int t4)
{
  // The texts begin with the blank that follows a requirement's number; one requirement alone is not
  // numbered and so starts with its first word.
  TString first = Requirement(t1);
  if (Requirement(t2).Empty()) {
    int from = 0;
    while (from < first.Length() && first[from] == ' ')
      ++from;
    first = first.SubStr(from, first.Length() - from);
  }
  M.drCloseViewTDemCloseLeaf(first, Requirement(t2), Requirement(t3), Requirement(t4));
}

bool drMouldDiscardEmpty(TModeler3D& M)
{
  if (M.drHasBody3D()) return false;
  // A part file without a body would pass for the part: the part is not written, and the user told.
  const TString file = M.drFileName3D();
  M.drDiscard3D();
  Messager->LiftBox(DC(TString("Деталь не имеет тела, файл не записан: ")) + file, TMessager::toAlways);
  return true;
}

TMouldBuildMark drMouldBuildMark(const TModeler3D& M)
{
  return {ElementRefusals(), M.drFailures3D()};
}

bool drMouldDiscardFailed(TModeler3D& M, const TMouldBuildMark& mark)
{
  const bool refused = ElementRefusals() != mark.Refused;
  // A part without a body says so, whatever failed on the way to it.
  if (!refused && (M.drFailures3D() == mark.Failed || !M.drHasBody3D())) return drMouldDiscardEmpty(M);
  const TString file = M.drFileName3D();
  M.drDiscardSheet3D();
  M.drDiscard3D();
  if (!refused)
    Messager->LiftBox(DC(TString("Элемент детали не построен, файл не записан: ")) + file,
                      TMessager::toAlways);
  return true;
}

bool drMouldSaved(TModeler3D& M, const TString& file)
{
  if (M.drSaved3D()) return true;
  Messager->LiftBox(DC(TString("Не удалось записать файл ")) + file, TMessager::toAlways);
  return false;
}

bool drMouldModel(TModeler3D& M, int Id, const std::function<void(TModeler3D&)>& profile,
                  const std::function<void(TModeler3D&)>& cut)
{
  const TMouldBuildMark mark = drMouldBuildMark(M);
  if (!M.drCreate3DNewPartPlane(Id, 0, true, txapi::o3d_planeYOZ, 0.0)) return false;
  if (profile) profile(M);
  M.drBaseRotate(0, 360.0);
  if (cut) cut(M);
  if (drMouldDiscardFailed(M, mark)) return false;
  mould::Grey(M);
  const TString file = M.drFileName3D();
  M.drClose3D(true, tNotExist);
  return drMouldSaved(M, file);
}
