// Contours and keep-out zones drawn on the OpenGL surface. They live apart from the contour
// unit so that the geometry library itself needs no OpenGL: only programs that draw link this.
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/GImage.h"
#include "hxcadkit/geometry/Protector.h"

namespace {

TPenStyles GIPen(int style)
{
  switch (style) {
  case 1:
    return psSolid;
  case 3:
    return psDashDot;
  case 4:
    return psDash;
  default:
    return psThinSolid;
  }
}
} // namespace

void TContour::GIdrItem(int i, TGImage& img, int style) const
{
  if (i < 0 || i >= Count || !FArray[i]) return;
  const TCurve2D* c = FArray[i];
  img.drStyle(GIPen(style == 0 ? int(c->Atr) : style));
  switch (c->IsType()) {
  case tLineSeg: {
    const TLineSeg* s = static_cast<const TLineSeg*>(c);
    img.drLine(s->x, s->y, s->xk, s->yk);
    break;
  }
  case tCircle: {
    const TCircle* k = static_cast<const TCircle*>(c);
    img.drCircle(k->x, k->y, k->Radius);
    break;
  }
  case tArc: {
    const TArc* a = static_cast<const TArc*>(c);
    img.drArc(a->x, a->y, int(a->GetSense()) * a->Radius, a->GetA1() * TMathDef::RADDEG,
              a->GetA2() * TMathDef::RADDEG);
    break;
  }
  case tText: {
    const TText* t = static_cast<const TText*>(c);
    img.drColor(0, 0, 0);
    if (t->Text) img.drText(t->x, t->y, t->Angle, t->Height, *t->Text);
    break;
  }
  default:
    break;
  }
}

void TContour::GIdrItems(TGImage& img, int style) const
{
  for (Integer i = 0; i < Count; ++i)
    GIdrItem(i, img, style);
}

void TProtector::Draw(TGImage& GI) const
{
  for (Integer i = 0; i < Count; ++i)
    if (FArray[i].Cont) FArray[i].Cont->GIdrItems(GI, 3);
}
