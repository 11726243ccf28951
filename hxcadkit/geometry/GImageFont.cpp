#include "hxcadkit/geometry/GImageFont.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "hxcadkit/core/Messager.h"
#include "hxcadkit/geometry/Elements.h"
#include "hxcadkit/geometry/SolverInterSect.h"

namespace {
using TGluCallback = void (*)();

void ShowError(const char* what, GLenum code)
{
  TString text(what);
  text.Add(reinterpret_cast<const char*>(gluErrorString(code)));
  Messager->LiftBox(text, TMessager::toAlways);
}
} // namespace

void TGluTesselator::VertexOut(void* vertex)
{
  glVertex3dv(static_cast<const GLdouble*>(vertex));
}

// ---------------------------------------------------------------------------------------------
// Glyphs

void TCharGlif::TMetrics::toStream(TKmfData& S) const
{
  S << gmBlackBoxX << gmBlackBoxY << gmptGlyphOrigin.x << gmptGlyphOrigin.y << gmCellIncX << gmCellIncY;
}

void TCharGlif::TMetrics::fromStream(TKmfData& S)
{
  S >> gmBlackBoxX >> gmBlackBoxY >> gmptGlyphOrigin.x >> gmptGlyphOrigin.y >> gmCellIncX >> gmCellIncY;
}

TCharGlif::TCharGlif() : Points(64, 64), Contours(12, 12) {}

TCharGlif::~TCharGlif() = default;

void TCharGlif::toStream(TKmfData& S) const
{
  GM.toStream(S);
  Points.toStream(S);
  Contours.toStream(S);
}

void TCharGlif::fromStream(TKmfData& S)
{
  GM.fromStream(S);
  Points.fromStream(S);
  Contours.fromStream(S);
  bool fits = Contours.Count == 0 || (Contours[0] == 0 && Points.Count > 0);
  for (Integer k = 0; fits && k < Contours.Count; ++k)
    fits = Contours[k] < Points.Count && (k == 0 || Contours[k] > Contours[k - 1]);
  for (Integer i = 0; fits && i < Points.Count; ++i)
    fits = std::isfinite(Points[i].x) && std::isfinite(Points[i].y) && std::isfinite(Points[i].z);
  if (!fits) {
    Points.Clear();
    Contours.Clear();
  }
}

void TCharGlif::MakeListOGL(GLuint iListOGL)
{
  if (Points.Empty() || Contours.Empty()) {
    ListOGL = 0;
    return;
  }
  ListOGL = iListOGL;
  GLUtesselator* tess = gluNewTess();
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<TGluCallback>(glEnd));
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<TGluCallback>(glBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<TGluCallback>(TGluTesselator::VertexOut));

  glNewList(ListOGL, GL_COMPILE);
  glScaled(1.0 / 90, 1.0 / 90, 1.0 / 90);
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0, 0, 1);
  gluTessBeginPolygon(tess, nullptr);
  const Integer last = Contours.Count - 1;
  Integer k = -1; // the contour the points belong to
  for (Integer i = 0; i < Points.Count; ++i) {
    if (k < last && i == Contours[k + 1]) {
      ++k;
      gluTessBeginContour(tess);
    }
    gluTessVertex(tess, &Points[i].x, &Points[i].x);
    if ((k < last && i + 1 == Contours[k + 1]) || (k == last && i == Points.Count - 1))
      gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  if (GLenum e = glGetError(); e != GL_NO_ERROR) ShowError("Помилка tess: ", e);
  glTranslatef(GLfloat(GM.gmCellIncX), 0, 0);
  glScaled(90, 90, 90);
  glEndList();

  if (ListOGL == 2230) {
    if (!glIsList(2230)) {
      Messager->LiftBox(TString("Списка нет!"), TMessager::toAlways);
    } else {
      // A check that a finished list can be called, not a drawing: the font is first built inside a
      // paint, over the host's picture, so no pixel, depth or stencil value may change. The list
      // advances the model-view matrix; the caller's matrix must not move.
      glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_TRANSFORM_BIT);
      glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
      glDepthMask(GL_FALSE);
      glStencilMask(0);
      glMatrixMode(GL_MODELVIEW);
      glPushMatrix();
      glCallList(2230);
      glPopMatrix();
      glPopAttrib();
      if (GLenum e = glGetError(); e != GL_NO_ERROR) ShowError("Ошибка списка: ", e);
    }
  }
  gluDeleteTess(tess);
}

void TCharGlif::Draw() const
{
  if (ListOGL != 0) glCallList(ListOGL);
}

TRect2D TCharGlif::GetRect() const
{
  const TPoint2D& o = GM.gmptGlyphOrigin;
  return TRect2D(o.x, o.y, o.x + GM.gmBlackBoxX, o.y + GM.gmBlackBoxY);
}

void TCharGlif::KeepPoints(const std::vector<bool>& keep)
{
  // before[i]: the kept points ahead of point i, so the new index of the first kept point at
  // or after it; a contour start moves there, and a contour left without points goes.
  std::vector<Integer> before(std::size_t(Points.Count) + 1);
  Integer n = 0;
  for (Integer i = 0; i < Points.Count; ++i) {
    before[i] = n;
    if (keep[i]) Points[n++] = Points[i];
  }
  before[Points.Count] = n;
  Points.Count = n;
  Integer m = 0;
  for (Integer k = 0; k < Contours.Count; ++k) {
    const Integer start = before[Contours[k]];
    if (start < n && (m == 0 || start > Contours[m - 1])) Contours[m++] = start;
  }
  Contours.Count = m;
}

void TCharGlif::CheckSelfInterSect()
{
  std::vector<bool> keep(std::size_t(Points.Count), true);
  for (Integer i = 0, j = 1; j < Points.Count; ++j) {
    const TPoint3D &a = Points[i], &b = Points[j];
    if (std::hypot(b.x - a.x, b.y - a.y, b.z - a.z) < 1.0)
      keep[j] = false;
    else
      i = j;
  }
  KeepPoints(keep);
  // Fewer than four points make no pair of edges apart from each other (and need no solver: most
  // glyphs of a damaged block have no outline, and each solver reserves its crossings).
  if (Points.Count < 4) return;
  TInterSector solver;
  for (Integer i = 0; i < Points.Count && Points.Count >= 4;) {
    const Integer n = Points.Count;
    auto P = [&](Integer j) { return TPoint2D(Points[j % n].x, Points[j % n].y); };
    TLineSeg e1(P(i), P(i + 1)), e2(P(i + 2), P(i + 3));
    solver.ACrossPoint.Clear();
    if (solver.InterSection(&e1, &e2) > 0) {
      keep.assign(std::size_t(n), true);
      keep[(i + 2) % n] = false;
      KeepPoints(keep);
      i = (i + 2) % n;
    } else {
      ++i;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Font

void TFontGlif::Load(const unsigned char* Data, int CountData)
{
  if (!Data) return;
  TKmfData S;
  S.fromMemory(Data, CountData);
  fromStream(S);
  Init = true;
}

void TFontGlif::toStream(TKmfData& S) const
{
  S << ListBase;
  for (const TCharGlif& g : ACharGlif)
    g.toStream(S);
}

void TFontGlif::fromStream(TKmfData& S)
{
  S >> ListBase;
  for (TCharGlif& g : ACharGlif)
    g.fromStream(S);
}

void TFontGlif::MakeListOGL()
{
  for (int c = 1; c < 256; ++c)
    ACharGlif[c].MakeListOGL(GLuint(ListBase + c));
}

double TFontGlif::Len(const TString& Text, int Position) const
{
  const int n = std::min(Text.Length(), Position);
  double sum = 0;
  for (int i = 0; i < n; ++i)
    sum += ACharGlif[static_cast<unsigned char>(Text[i])].GM.gmCellIncX;
  return n < 1 ? 0 : sum / 100;
}

double TFontGlif::Height(const TString& Text, int Position) const
{
  const int n = std::min(Text.Length(), Position);
  double high = 0;
  for (int i = 0; i < n; ++i)
    high = std::max(high, ACharGlif[static_cast<unsigned char>(Text[i])].GM.gmBlackBoxY);
  return n < 1 ? 0 : high / 100;
}
