#pragma once
// Stepped holes: the 2D section of a hole of up to three coaxial steps, and the same hole cut
// into the current 3D part.
//
// Steps, from the entry: the left one (entry chamfer lF, length ilL, radius ilR), the central
// one (chamfer F1 at its start, length iL, radius iR, chamfer F2 at its end) and the right one
// (length irL, radius irR, end chamfer rF). A step of length 0 is absent. The view mask Typ
// chooses the walls: 16 the upper one, 32 the lower one, 48 both.
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/drawing/drModeler.h"

class THole3DParam
{
public:
  // A hole description drawing through M (not owned).
  explicit THole3DParam(TModeler3D& M) : M(M) {}

  // The section along the direction Angle (degrees) from (x, y), without a macro, so that it
  // can bound a hatch: with both walls one closed loop, with one wall a closed half-section
  // through the axis. pSize and cSize are not read.
  void cHole(int Typ, const double& x, const double& y, const double& Angle, const double& pSize,
             const double& cSize, const double& lF, const double& ilL, const double& ilR, const double& F1,
             const double& iL, const double& iR, const double& F2, const double& irL, const double& irR,
             const double& rF);
  // The same section as one 2D macro.
  void drHole(int Typ, const double& x, const double& y, const double& Angle, const double& pSize,
              const double& cSize, const double& lF, const double& ilL, const double& ilR, const double& F1,
              const double& iL, const double& iR, const double& F2, const double& irL, const double& irR,
              const double& rF);
  // Cuts the steps at (x, y), from z on, into the current part, in one 3D macro; chamfers are
  // not cut. Nothing for Typ 0.
  void dr3DHole(int Typ, const double& x, const double& y, const double& z, const double& ilF,
                const double& ilL, const double& ilR, const double& iF1, const double& iL, const double& iR,
                const double& iF2, const double& irL, const double& irR, const double& irF);

  TModeler3D& M;
};

// The process-wide hole object, bound to the host modeller; the host modeller's unit defines
// both right after the modeller.
extern THole3DParam HH;
namespace drApi {
extern THole3DParam* H;
} // namespace drApi

// The kinds of holes, by name.
extern TArrayOf<TString> LHoleType;
