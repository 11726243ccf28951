#pragma once
// Contours drawn into the drawing model's modellers: the link through which TContour::drItem
// reaches the modeller's 2D primitives. Whoever builds the global modeller installs it
// (InstallContourDrawing), beside the drawing model's other links.
#include "hxcadkit/geometry/Contour.h"

class TContourDrawing : public TContourDrawLink
{
public:
  void drLine(TModeler3D& m, const double& x1, const double& y1, const double& x2, const double& y2,
              int style) const override;
  void drCircle(TModeler3D& m, const double& x, const double& y, const double& r, int style) const override;
  void drArc(TModeler3D& m, const double& x, const double& y, const double& r, const double& a1, const double& a2,
             int style, int dir) const override;
};

// Installs the drawing model's one contour link; calling it again changes nothing.
void InstallContourDrawing();
