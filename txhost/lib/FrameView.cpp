#include "txhost/lib/FrameView.h"

#include "txapi/IProcess.h"
#include "txhost/lib/Object.h"

#include <cmath>
#include <limits>

namespace txhost {

FrameView& ViewOf(Object& frame)
{
  return frame.Extra<FrameView>();
}

namespace {
bool ToPixel(double v, int& out)
{
  const double r = std::round(v);
  if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())) return false;
  out = int(r);
  return true;
}
} // namespace

bool ProjectPoint(const FrameView& view, int kind, double x, double y, double z, int& px, int& py)
{
  if (kind != txapi::kcDocument) return false;
  const double d[3] = {x - view.Target[0], y - view.Target[1], z - view.Target[2]};
  auto along = [&](const std::array<double, 3>& axis) {
    return d[0] * axis[0] + d[1] * axis[1] + d[2] * axis[2];
  };
  int qx = 0, qy = 0;
  if (!ToPixel(view.X0 + view.Width / 2.0 + view.Scale * along(view.Right), qx) ||
      !ToPixel(view.Y0 + view.Height / 2.0 + view.Scale * along(view.Up), qy))
    return false;
  px = qx;
  py = qy;
  return true;
}

} // namespace txhost
