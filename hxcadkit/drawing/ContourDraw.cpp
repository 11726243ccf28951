#include "hxcadkit/drawing/ContourDraw.h"

#include "hxcadkit/drawing/drModeler.h"

void TContourDrawing::drLine(TModeler3D& m, const double& x1, const double& y1, const double& x2,
                             const double& y2, int style) const
{
  m.drLine(x1, y1, x2, y2, style);
}

void TContourDrawing::drCircle(TModeler3D& m, const double& x, const double& y, const double& r, int style) const
{
  m.drCircle(x, y, r, style);
}

void TContourDrawing::drArc(TModeler3D& m, const double& x, const double& y, const double& r, const double& a1,
                            const double& a2, int style, int dir) const
{
  // The angles form of the modeller, which works out the end points itself.
  static_cast<TModeler2D&>(m).drArc(x, y, r, a1, a2, style, dir);
}

void InstallContourDrawing()
{
  static const TContourDrawing link;
  SetContourDrawLink(&link);
}
