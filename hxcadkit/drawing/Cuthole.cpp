#include "hxcadkit/drawing/Cuthole.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "hxcadkit/core/Messager.h"

namespace {

bool AllFinite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The upper wall of a stepped hole in its own frame (+x along the hole), from the entry to the
// exit: consecutive points join with lines, which also draw the shoulders between steps.
std::vector<TPoint2D> UpperWall(double lF, double ilL, double ilR, double F1, double iL, double iR, double F2,
                                double irL, double irR, double rF)
{
  std::vector<TPoint2D> w;
  auto to = [&w](double x, double y) {
    // A piece of zero length is not a line.
    if (w.empty() || w.back().x != x || w.back().y != y) w.emplace_back(x, y);
  };
  const double a = ilL > 0.0 ? ilL : 0.0;
  const double b = a + (iL > 0.0 ? iL : 0.0);
  const double c = b + (irL > 0.0 ? irL : 0.0);
  if (ilL > 0.0) {
    to(0.0, ilR + lF);
    to(lF, ilR);
    to(a, ilR);
  }
  if (iL > 0.0) {
    to(a, iR + F1);
    to(a + F1, iR);
    to(b - F2, iR);
    to(b, iR + F2);
  }
  if (irL > 0.0) {
    to(b, irR);
    to(c - rF, irR);
    to(c, irR + rF);
  }
  return w;
}

} // namespace

void THole3DParam::cHole(int Typ, const double& x, const double& y, const double& Angle, const double&,
                         const double&, const double& lF, const double& ilL, const double& ilR,
                         const double& F1, const double& iL, const double& iR, const double& F2,
                         const double& irL, const double& irR, const double& rF)
{
  const int mask = Typ & 48;
  if (mask == 0 || !AllFinite({x, y, Angle, lF, ilL, ilR, F1, iL, iR, F2, irL, irR, rF})) return;
  const std::vector<TPoint2D> w = UpperWall(lF, ilL, ilR, F1, iL, iR, F2, irL, irR, rF);
  if (w.size() < 2) return;
  const TPoint2D first = w.front(), last = w.back();
  constexpr int style = 1;
  M.drMtr(x, y, Angle, 1.0);
  if (mask == 48) {
    // One closed loop: upper wall, exit face, lower wall back, entry face.
    for (std::size_t i = 1; i < w.size(); ++i)
      M.drLine(w[i - 1].x, w[i - 1].y, w[i].x, w[i].y, style);
    M.drLine(last.x, last.y, last.x, -last.y, style);
    for (std::size_t i = w.size() - 1; i > 0; --i)
      M.drLine(w[i].x, -w[i].y, w[i - 1].x, -w[i - 1].y, style);
    M.drLine(first.x, -first.y, first.x, first.y, style);
  } else {
    // A closed half-section through the axis: the lower one is the upper one mirrored.
    const double s = mask == 32 ? -1.0 : 1.0;
    M.drLine(first.x, 0.0, first.x, s * first.y, style);
    for (std::size_t i = 1; i < w.size(); ++i)
      M.drLine(w[i - 1].x, s * w[i - 1].y, w[i].x, s * w[i].y, style);
    M.drLine(last.x, s * last.y, last.x, 0.0, style);
    M.drLine(last.x, 0.0, first.x, 0.0, style);
  }
  M.drDeleteMtr();
}

void THole3DParam::drHole(int Typ, const double& x, const double& y, const double& Angle, const double& pSize,
                          const double& cSize, const double& lF, const double& ilL, const double& ilR,
                          const double& F1, const double& iL, const double& iR, const double& F2,
                          const double& irL, const double& irR, const double& rF)
{
  M.drMacro2D(true);
  cHole(Typ, x, y, Angle, pSize, cSize, lF, ilL, ilR, F1, iL, iR, F2, irL, irR, rF);
  M.drEndMacro();
}

void THole3DParam::dr3DHole(int Typ, const double& x, const double& y, const double& z, const double&,
                            const double& ilL, const double& ilR, const double&, const double& iL,
                            const double& iR, const double&, const double& irL, const double& irR,
                            const double&)
{
  if (Typ == 0 || !AllFinite({x, y, z, ilL, ilR, iL, iR, irL, irR})) return;
  M.drMacro3D(DC(TString("Отверстие")), true);
  const double steps[3][2] = {{ilL, ilR}, {iL, iR}, {irL, irR}};
  double start = 0.0;
  for (const auto& s : steps) {
    if (s[0] > 0.0 && s[1] > 0.0) {
      M.drPlaneEskis(txapi::o3d_planeXOY, z - start, 0.0, EmptyStr);
      M.drCircle(x, y, s[1], 1);
      M.drCutExtrusion(txapi::dtNormal, txapi::etBlind, s[0], 0.0);
    }
    if (s[0] > 0.0) start += s[0];
  }
  M.drEndMacro3D();
}

TArrayOf<TString> LHoleType{TString("Отсутствует"), TString("Простое"), TString("Двуступенчатое"),
                            TString("Сложное")};
