#pragma once
// The linear dimensions a mould part's sheet hands over, each where it lands on the sheet: the sweeps
// over the sheets' values and over their measures on the models read them from one recording.
#include <cmath>
#include <string>
#include <vector>

#include "RecordingModeler.h"

namespace stdtest::sheetdims {

struct TDim
{
  double Value = 0;
  bool AlongX = false, AlongY = false;   // what it measures (neither: parallel to its points)
  bool Diameter = false;                 // a diameter or a thread
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // the measured points on the sheet
  int Sheet = 0;                         // how many sheets were opened before it
  // The placement it was drawn in: the origin's place, the scale and the angle (degrees).
  double Ox = 0, Oy = 0, Scale = 1, Angle = 0;
  std::string S1, S2, S3;

  // Drawn unturned at full scale with the view's x axis on the sheet's: where a main view stands (the
  // view may be moved along its axis).
  bool Upright() const
  {
    return std::fabs(Oy) < 1e-9 && std::fabs(Scale - 1) < 1e-9 && std::fabs(Angle) < 1e-9;
  }
  // The value as the sheet writes it, in the host's markup.
  std::string Text() const
  {
    std::string v = std::to_string(Value);
    v.erase(v.find_last_not_of('0') + 1);
    if (!v.empty() && v.back() == '.') v.pop_back();
    return S1 + v + S2 + S3;
  }
};

// An angle dimension as it lands on the sheet: its vertex, its rays' directions (degrees, on the sheet) and
// the placement it was drawn in.
struct TAngle
{
  double Value = 0, X = 0, Y = 0, A1 = 0, A2 = 0;
  double Ox = 0, Oy = 0, Scale = 1, Angle = 0;
  bool Upright() const
  {
    return std::fabs(Oy) < 1e-9 && std::fabs(Scale - 1) < 1e-9 && std::fabs(Angle) < 1e-9;
  }
};

// The recording modeller, opening every sheet and part, that keeps each linear dimension's points
// where they land on the sheet; what the host refuses to draw (a point not finite) is not kept.
struct TDimTap : TRecordingModeler
{
  TDimTap()
  {
    LeafStampAnswer = true;
    NewPartPlaneAnswer = true;
  }
  std::vector<TDim> Dims;
  std::vector<TAngle> Angles;
  void drDimA(const double& Val, int Napr, const double& FBase, const double& Rr, int Pt, int Pn,
              const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
              const double& x2, const double& y2, int T2, int Po2, const TString& S, const double& xc,
              const double& yc) override
  {
    TRecordingModeler::drDimA(Val, Napr, FBase, Rr, Pt, Pn, Fn, Dln, x1, y1, T1, Po1, x2, y2, T2, Po2, S, xc,
                              yc);
    for (double v : {Val, FBase, xc, yc})
      if (!std::isfinite(v)) return;
    TAngle a;
    const TTransf2D& t = R2D().Transf2D;
    t.xyMtr(xc, yc, a.X, a.Y);
    t.xyMtr(0.0, 0.0, a.Ox, a.Oy);
    a.Scale = t.ScaleMtr(), a.Angle = t.AngleMtr();
    a.Value = std::fabs(Val), a.A1 = FBase + a.Angle, a.A2 = FBase + Napr * Val + a.Angle;
    Angles.push_back(a);
  }
  void drDimL(const double& iVal, const TString& Qual, const double& Dx, const double& Dy, int Pt, int Pn,
              const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
              const double& x2, const double& y2, int T2, int Po2, const TString& S1, const TString& S2,
              const TString& S3) override
  {
    TRecordingModeler::drDimL(iVal, Qual, Dx, Dy, Pt, Pn, Fn, Dln, x1, y1, T1, Po1, x2, y2, T2, Po2, S1, S2,
                              S3);
    for (double v : {Dx, Dy, Fn, Dln, x1, y1, x2, y2})
      if (!std::isfinite(v)) return;
    TDim d;
    d.Value = std::fabs(iVal);
    d.AlongX = Dx == 0.0, d.AlongY = !d.AlongX && Dy == 0.0;
    d.S1 = S1.Utf8Text(), d.S2 = S2.Utf8Text(), d.S3 = S3.Utf8Text();
    d.Diameter = d.S1.find("&02") != std::string::npos || d.S1 == "M";
    d.Sheet = Count("drLeafStamp");
    const TTransf2D& t = R2D().Transf2D;
    t.xyMtr(x1, y1, d.X1, d.Y1);
    t.xyMtr(x2, y2, d.X2, d.Y2);
    t.xyMtr(0.0, 0.0, d.Ox, d.Oy);
    d.Scale = t.ScaleMtr();
    d.Angle = t.AngleMtr();
    Dims.push_back(d);
  }
};

} // namespace stdtest::sheetdims
