#include "hxcadkit/geometry/GImage.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

const TColor clBlack(0x000000), clMaroon(0x000080), clGreen(0x008000), clOlive(0x008080), clNavy(0x800000),
    clPurple(0x800080), clTeal(0x808000), clGray(0x808080), clSilver(0xC0C0C0), clRed(0x0000FF),
    clLime(0x00FF00), clYellow(0x00FFFF), clBlue(0xFF0000), clFuchsia(0xFF00FF), clAqua(0xFFFF00),
    clLtGray(0xC0C0C0), clDkGray(0x808080), clWhite(0xFFFFFF), clNone(0x1FFFFFFF), clDefault(0x20000000);
const TColor DnBkColor(0), UpBkColor(0xFFFFFFFE);

TGImage GI;

namespace {
constexpr double DegToRad = std::numbers::pi / 180;
// Segment counts grow with the radius; the bound keeps a huge radius from asking for
// billions of vertices.
constexpr double MaxSegments = 4096;

int Segments(double R, int perTen)
{
  const double n = std::trunc(std::min(std::fabs(R), 1e9) / 10);
  return int(std::clamp(perTen * n + 16, 16.0, MaxSegments));
}
} // namespace

TGImage::TGImage(void* handle, void* owner) : Handle(handle), Owner(owner), LElements(FirstCountLElements, 0) {}

TGImage::~TGImage()
{
  FreeTexts();
}

// ---------------------------------------------------------------------------------------------
// State

void TGImage::InitFont(const TString&, int)
{
  if (Font.Init) return;
  Font.Load(FontGlifData, FontGlifDataSize);
  for (int c = 1; c < 256; ++c)
    Font.ACharGlif[c].MakeListOGL(GLuint(Font.ListBase + c));
  Font.Init = true;
}

void TGImage::Set3D(bool v, double r, double g, double b, double a)
{
  V3D = v;
  XRot = v ? 30 : 0;
  YRot = v ? -20 : 0;
  drClearColor(r, g, b, a);
}

void TGImage::drClearColor(double r, double g, double b, double a)
{
  ClearRed = r;
  ClearGreen = g;
  ClearBlue = b;
  ClearAlpha = a;
}

void TGImage::SetDXYScale(double dX, double dY, double Sc)
{
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixd(mtrMatrix.V);
  glTranslated(dX, dY, 0);
  glScaled(Sc, Sc, Sc);
  ReadModelView();
}

// ---------------------------------------------------------------------------------------------
// Immediate drawing

void TGImage::giLine(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2)
{
  giLine3D(x1, y1, 0, x2, y2, 0);
}

void TGImage::giLine3D(const GLdouble& x1, const GLdouble& y1, const GLdouble& z1, const GLdouble& x2,
                       const GLdouble& y2, const GLdouble& z2)
{
  glBegin(GL_LINES);
  glVertex3d(x1, y1, z1);
  glVertex3d(x2, y2, z2);
  glEnd();
}

namespace {
// The rectangle's corners (x1, y1), (x1, y2), (x2, y2), (x2, y1) at depth z.
void Corners(GLenum mode, GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2, GLdouble z)
{
  glBegin(mode);
  glVertex3d(x1, y1, z);
  glVertex3d(x1, y2, z);
  glVertex3d(x2, y2, z);
  glVertex3d(x2, y1, z);
  glEnd();
}
} // namespace

void TGImage::giRectAngle(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2)
{
  Corners(GL_LINE_LOOP, x1, y1, x2, y2, 0);
}

void TGImage::giRectAngleFill(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2,
                              const GLdouble& z)
{
  Corners(GL_QUADS, x1, y1, x2, y2, z);
}

namespace {
// N + 1 points of the circle (xc, yc, R) from angle a0 in steps of da (radians).
void UnitCurve(GLenum mode, GLdouble xc, GLdouble yc, GLdouble R, int N, double a0, double da)
{
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(xc, yc, 0);
  glScaled(R, R, R);
  glBegin(mode);
  for (int k = 0; k <= N; ++k)
    glVertex3d(std::cos(a0 + da * k), std::sin(a0 + da * k), 0);
  glEnd();
  glPopMatrix();
}
} // namespace

void TGImage::giCircle(const GLdouble& xc, const GLdouble& yc, const GLdouble& R)
{
  const int N = Segments(R, 16);
  UnitCurve(GL_LINE_LOOP, xc, yc, R, N, 0, 2 * std::numbers::pi / N);
}

void TGImage::giArc(const GLdouble& xc, const GLdouble& yc, const GLdouble& R, const GLdouble& Sa,
                    const GLdouble& Ea)
{
  if (R > 1e6) return;
  const int N = Segments(R, 8);
  const double end = Ea < Sa ? Ea + 360 : Ea;
  UnitCurve(GL_LINE_STRIP, xc, yc, R, N, Sa * DegToRad, (end - Sa) / N * DegToRad);
}

void TGImage::giMtr(const GLdouble& x, const GLdouble& y, const GLdouble& angle, const GLdouble& s)
{
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(x, y, 0);
  glRotated(angle, 0, 0, 1);
  glScaled(s, s, s);
}

void TGImage::giMtr3D(const GLdouble& x, const GLdouble& y, const GLdouble& z, const GLdouble& s)
{
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(x, y, z);
  glScaled(s, s, s);
}

void TGImage::giDeleteMtr()
{
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void TGImage::giSetStyle(const TPenStyles& style)
{
  glLineWidth(1);
  struct TPen
  {
    bool stipple;
    GLushort pattern;
    GLubyte r, g, b;
  };
  static constexpr TPen pens[] = {
      {false, 0, 0, 0, 255},     // psSolid
      {false, 0, 0, 0, 0},       // psThinSolid
      {true, 0xF0F0, 0, 0, 0},   // psDash
      {true, 0x2222, 0, 0, 0},   // psDot
      {true, 0xF2F2, 255, 0, 0}, // psDashDot
      {true, 0xF9F9, 255, 0, 0}, // psDashDotDot
      {true, 0, 255, 255, 255},  // psClear
  };
  if (style < psSolid || style > psClear) {
    glEnable(GL_LINE_STIPPLE);
    return;
  }
  const TPen& p = pens[style - psSolid];
  if (p.stipple) {
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(4, p.pattern);
  } else {
    glDisable(GL_LINE_STIPPLE);
  }
  glColor3ub(p.r, p.g, p.b);
}

void TGImage::giTextOut(const GLdouble& x, const GLdouble& y, const GLdouble& angle, const GLdouble& h,
                        const TString& text)
{
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslated(x, y, 0);
  glRotated(angle, 0, 0, 1);
  glScaled(0.85 * h, h, h);
  glListBase(GLuint(Font.ListBase));
  glBitmap(0, 0, 0, 0, 0, 0, nullptr);
  glCallLists(text.Length(), GL_UNSIGNED_BYTE, text.PChar());
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void TGImage::giPushState(const GLboolean& loadIdentity)
{
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  for (GLenum m : {GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(m);
    glPushMatrix();
    if (loadIdentity) glLoadIdentity();
  }
}

void TGImage::giPopState()
{
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopClientAttrib();
  glPopAttrib();
}

void TGImage::giSetScreenPlane(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                               GLdouble zFar)
{
  glMatrixMode(GL_MODELVIEW);
  glOrtho(left, right, bottom, top, zNear, zFar);
}

void TGImage::GradientBk(TColor upColor, TColor downColor)
{
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -1, 1);
  glPushAttrib(GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glDisable(GL_LIGHTING);
  glShadeModel(GL_SMOOTH);
  glDisable(GL_CULL_FACE);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glPolygonMode(GL_FRONT, GL_FILL);
  // The colour bytes are unsigned: as signed bytes 0xFF would be -1 and clamp to black.
  const GLubyte down[4] = {downColor.Red(), downColor.Green(), downColor.Blue(),
                           GLubyte(downColor.Color >> 24)};
  const GLubyte up[4] = {upColor.Red(), upColor.Green(), upColor.Blue(), GLubyte(upColor.Color >> 24)};
  glBegin(GL_QUADS);
  glColor4ubv(down);
  glVertex3d(0, 0, -0.99);
  glVertex3d(1, 0, -0.99);
  glColor4ubv(up);
  glVertex3d(1, 1, -0.99);
  glVertex3d(0, 1, -0.99);
  glEnd();
  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void TGImage::Begin3D(double S)
{
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glGetIntegerv(GL_VIEWPORT, prViewPort);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-S, S, -S, S, -10 * S, 10 * S);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  const GLfloat diffuse[] = {0.5f, 0.5f, 0.5f, 1}, specular[] = {1, 1, 1, 1};
  glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT, GL_SHININESS, 25);
  glEnable(GL_LIGHTING);
  glColorMaterial(GL_FRONT, GL_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
}

void TGImage::End3D()
{
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHTING);
  glViewport(prViewPort[0], prViewPort[1], prViewPort[2], prViewPort[3]);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_FLAT);
}

// ---------------------------------------------------------------------------------------------
// Recording

TGImage::TGElement* TGImage::NewElement(TypesGIElements kind)
{
  if (CountLElement < 0 || CountLElement >= MaxCountLElements) return nullptr;
  if (CountLElement >= LElements.FSize && !GrowElements()) return nullptr;
  TGElement* e = &LElements[CountLElement++];
  e->TE = kind;
  return e;
}

// A full list is tens of megabytes, and every window has one: it takes room as its drawing grows, doubling,
// so that a window of a few hundred records does not clear and hold the whole of it.
bool TGImage::GrowElements()
{
  const Integer size = std::min(MaxCountLElements, std::max(FirstCountLElements, 2 * LElements.FSize));
  if (size <= LElements.FSize) return false;
  LElements.Count = std::min(CountLElement, LElements.FSize); // the records in use move with the storage
  LElements.SetSize(size);
  LElements.Count = 0;
  return LElements.FSize >= size;
}

// Field groups shared by several kinds.
namespace {
using TGElement = TGImage::TGElement;

void Segment(TGElement* e, GLdouble x1, GLdouble y1, GLdouble x2 = 0, GLdouble y2 = 0, GLdouble z1 = 0,
             GLdouble z2 = 0)
{
  if (!e) return;
  e->x1 = x1;
  e->y1 = y1;
  e->x2 = x2;
  e->y2 = y2;
  e->z1 = z1;
  e->z2 = z2;
}

void Colour(TGElement* e, GLubyte r, GLubyte g, GLubyte b, TPenStyles style = psUnknown)
{
  if (!e) return;
  e->cR = r;
  e->cG = g;
  e->cB = b;
  e->St = style;
}

void Transform(TGElement* e, GLdouble x, GLdouble y, GLdouble a, GLdouble s)
{
  if (!e) return;
  e->X = x;
  e->Y = y;
  e->A = a;
  e->Sc = s;
}

void Pointer(TGElement* e, GLint size, GLenum type, GLsizei stride, const GLvoid* data)
{
  if (!e) return;
  e->size = size;
  e->atype = type;
  e->stride = stride;
  e->data = data;
}

void Pair(TGElement* e, GLenum first, GLenum second)
{
  if (!e) return;
  e->face = first;
  e->fmode = second;
}
} // namespace

void TGImage::drLineWidth(GLdouble w)
{
  if (TGElement* e = NewElement(eLineWidth)) e->W = w;
}

void TGImage::drPointSize(GLdouble s)
{
  if (TGElement* e = NewElement(ePointSize)) e->W = s;
}

void TGImage::drStyle(TPenStyles style)
{
  if (TGElement* e = NewElement(eSetStyle)) e->St = style;
}

void TGImage::drColor(GLubyte r, GLubyte g, GLubyte b)
{
  Colour(NewElement(eColor), r, g, b);
}

void TGImage::drColorStyle(TColor colour, TPenStyles style)
{
  Colour(NewElement(eColorStyle), colour.Red(), colour.Green(), colour.Blue(), style);
}

void TGImage::drMtr(GLdouble x, GLdouble y, GLdouble angle, GLdouble s)
{
  Transform(NewElement(eMtr), x, y, angle, s);
}

void TGImage::drMtr3D(GLdouble x, GLdouble y, GLdouble z, GLdouble s)
{
  Transform(NewElement(eMtr3D), x, y, z, s);
}

void TGImage::drDeleteMtr()
{
  NewElement(eDeleteMtr);
}

void TGImage::drPoint(GLdouble x, GLdouble y)
{
  Segment(NewElement(ePoint), x, y);
}

void TGImage::drPoint3D(GLdouble x, GLdouble y, GLdouble z)
{
  Segment(NewElement(ePoint3D), x, y, z);
}

void TGImage::drLine(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2)
{
  Segment(NewElement(eLine), x1, y1, x2, y2);
}

void TGImage::drLine3D(GLdouble x1, GLdouble y1, GLdouble z1, GLdouble x2, GLdouble y2, GLdouble z2)
{
  Segment(NewElement(eLine3D), x1, y1, x2, y2, z1, z2);
}

void TGImage::drAxle()
{
  NewElement(eAxle);
}

void TGImage::drCircle(GLdouble xc, GLdouble yc, GLdouble R)
{
  if (R != 0) drArcElement(eCircle, xc, yc, R, 0, 0);
}

void TGImage::drArc(GLdouble xc, GLdouble yc, GLdouble R, GLdouble Sa, GLdouble Ea)
{
  if (R != 0) drArcElement(eArc, xc, yc, std::fabs(R), R < 0 ? Ea : Sa, R < 0 ? Sa : Ea);
}

void TGImage::drArcElement(TypesGIElements kind, GLdouble xc, GLdouble yc, GLdouble R, GLdouble Sa,
                           GLdouble Ea)
{
  if (TGElement* e = NewElement(kind)) {
    e->xc = xc;
    e->yc = yc;
    e->R = R;
    e->Sa = Sa;
    e->Ea = Ea;
  }
}

void TGImage::drRectAngle(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2)
{
  if (x1 != x2 && y1 != y2) Segment(NewElement(eRectAngle), x1, y1, x2, y2);
}

void TGImage::drText(GLdouble x, GLdouble y, GLdouble angle, GLdouble h, const TString& text)
{
  if (text.Length() < 1) return;
  if (TGElement* e = NewElement(eTextOut)) {
    e->xt = x;
    e->yt = y;
    e->Angle = angle;
    e->ht = h;
    e->S = new TString(text);
  }
}

void TGImage::drBegin(GLenum mode)
{
  if (TGElement* e = NewElement(eBegin)) e->Tcode = mode;
}

void TGImage::drEnd()
{
  NewElement(eEnd);
}

void TGImage::drVertex(GLdouble x, GLdouble y, GLdouble z)
{
  if (TGElement* e = NewElement(eVertex)) {
    e->vX = x;
    e->vY = y;
    e->vZ = z;
  }
}

void TGImage::drVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data)
{
  Pointer(NewElement(eVertexPointer), size, type, stride, data);
}

void TGImage::drNormalPointer(GLenum type, GLsizei stride, const GLvoid* data)
{
  Pointer(NewElement(eNormalPointer), 0, type, stride, data);
}

void TGImage::drIndexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data)
{
  Pointer(NewElement(eIndexPointer), size, type, stride, data);
}

void TGImage::drColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data)
{
  Pointer(NewElement(eColorPointer), size, type, stride, data);
}

void TGImage::drEdgeFlagPointer(GLsizei stride, const GLvoid* data)
{
  Pointer(NewElement(eEdgeFlagPointer), 0, 0, stride, data);
}

void TGImage::drEnableClientState(GLenum array)
{
  if (TGElement* e = NewElement(eEnableClientState)) e->aarray = array;
}

void TGImage::drDisableClientState(GLenum array)
{
  if (TGElement* e = NewElement(eDisableClientState)) e->aarray = array;
}

void TGImage::drDrawArrays(GLenum mode, GLint first, GLsizei count)
{
  if (TGElement* e = NewElement(eDrawArrays)) {
    e->mode = mode;
    e->first = first;
    e->count = count;
  }
}

void TGImage::drDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices)
{
  if (TGElement* e = NewElement(eDrawElements)) {
    e->md = mode;
    e->cnt = count;
    e->typ = type;
    e->Dat = indices;
  }
}

void TGImage::drEnable(GLenum cap)
{
  if (TGElement* e = NewElement(eEnable)) e->Tcode = cap;
}

void TGImage::drDisable(GLenum cap)
{
  if (TGElement* e = NewElement(eDisable)) e->Tcode = cap;
}

void TGImage::drPolygonMode(GLenum face, GLenum mode)
{
  Pair(NewElement(ePolygonMode), face, mode);
}

void TGImage::drBlendFunc(GLenum sfactor, GLenum dfactor)
{
  Pair(NewElement(eBlendFunc), sfactor, dfactor);
}

void TGImage::drPushState(GLboolean loadIdentity)
{
  if (TGElement* e = NewElement(ePushState)) e->LoadIdentity = loadIdentity;
}

void TGImage::drPopState()
{
  NewElement(ePopState);
}

void TGImage::drSetScreenPlane(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                               GLdouble zFar)
{
  if (TGElement* e = NewElement(eSetScreenPlane)) {
    e->left = left;
    e->right = right;
    e->bottom = bottom;
    e->top = top;
    e->zNear = zNear;
    e->zFar = zFar;
  }
}

void TGImage::FreeTexts()
{
  const Integer n = std::min(CountLElement, LElements.FSize);
  for (Integer i = 0; i < n; ++i)
    if (LElements[i].TE == eTextOut) {
      delete LElements[i].S;
      LElements[i].S = nullptr;
    }
  CountLElement = 0;
}

void TGImage::drClear()
{
  FreeTexts();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glGetDoublev(GL_PROJECTION_MATRIX, viewMatrix.V);
}

void TGImage::glDraw(bool, bool)
{
  DrawElements();
}

void TGImage::DrawElements()
{
  for (Integer i = 0; i < CountLElement; ++i) {
    const TGElement& e = LElements[i];
    switch (e.TE) {
    case eLineWidth:
      glLineWidth(GLfloat(e.W));
      break;
    case eSetStyle:
      giSetStyle(e.St);
      break;
    case eColor:
      glColor3ub(e.cR, e.cG, e.cB);
      break;
    case eColorStyle:
      glColor3ub(e.cR, e.cG, e.cB);
      giSetStyle(e.St);
      break;
    case eMtr:
      giMtr(e.X, e.Y, e.A, e.Sc);
      break;
    case eMtr3D:
      giMtr3D(e.X, e.Y, e.A, e.Sc);
      break;
    case eDeleteMtr:
      giDeleteMtr();
      break;
    case ePoint:
    case ePoint3D:
      glBegin(GL_POINTS);
      glVertex3d(e.x1, e.y1, e.TE == ePoint3D ? e.x2 : 0);
      glEnd();
      break;
    case eLine:
      giLine(e.x1, e.y1, e.x2, e.y2);
      break;
    case eLine3D:
      giLine3D(e.x1, e.y1, e.z1, e.x2, e.y2, e.z2);
      break;
    case eCircle:
      giCircle(e.xc, e.yc, e.R);
      break;
    case eArc:
      giArc(e.xc, e.yc, e.R, e.Sa, e.Ea);
      break;
    case eRectAngle:
      giRectAngle(e.x1, e.y1, e.x2, e.y2);
      break;
    case eTextOut:
      giTextOut(e.xt, e.yt, e.Angle, e.ht, *e.S);
      break;
    case eAxle:
      glColor3ub(255, 0, 0);
      glEnable(GL_LINE_STIPPLE);
      glLineStipple(4, 0xF2F2);
      glBegin(GL_LINES);
      glVertex3d(0, 500, 0);
      glVertex3d(0, -500, 0);
      glVertex3d(-500, 0, 0);
      glVertex3d(500, 0, 0);
      glEnd();
      glDisable(GL_LINE_STIPPLE);
      break;
    case eBegin:
      glBegin(e.Tcode);
      break;
    case eEnd:
      glEnd();
      break;
    case eVertex:
      glVertex3d(e.vX, e.vY, e.vZ);
      break;
    case ePointSize:
      glPointSize(GLfloat(e.W));
      break;
    case eVertexPointer:
      glVertexPointer(e.size, e.atype, e.stride, e.data);
      break;
    case eNormalPointer:
      glNormalPointer(e.atype, e.stride, e.data);
      break;
    case eIndexPointer:
      glIndexPointer(e.atype, e.stride, e.data);
      break;
    case eColorPointer:
      glColorPointer(e.size, e.atype, e.stride, e.data);
      break;
    case eEdgeFlagPointer:
      glEdgeFlagPointer(e.stride, e.data);
      break;
    case eEnableClientState:
      glEnableClientState(e.aarray);
      break;
    case eDisableClientState:
      glDisableClientState(e.aarray);
      break;
    case eDrawArrays:
      glDrawArrays(e.mode, e.first, e.count);
      break;
    case eDrawElements:
      glDrawElements(e.md, e.cnt, e.typ, e.Dat);
      break;
    case eEnable:
      glEnable(e.Tcode);
      break;
    case eDisable:
      glDisable(e.Tcode);
      break;
    case ePolygonMode:
      glPolygonMode(e.face, e.fmode);
      break;
    case eBlendFunc:
      glBlendFunc(e.face, e.fmode);
      break;
    case ePushState:
      giPushState(e.LoadIdentity);
      break;
    case ePopState:
      giPopState();
      break;
    case eSetScreenPlane:
      giSetScreenPlane(e.left, e.right, e.bottom, e.top, e.zNear, e.zFar);
      break;
    default: // kinds this surface does not know
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse view command

void TGImage::SetCursor(int x, int y)
{
  X = x;
  Y = Viewport[3] - 1 - y;
}

void TGImage::ReadDepth()
{
  GLfloat z = 0;
  glReadPixels(X, Y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &z);
  Z = z;
}

void TGImage::ReadModelView()
{
  glGetDoublev(GL_MODELVIEW_MATRIX, mtrMatrix.V);
}

void TGImage::ReadMatrices()
{
  glGetIntegerv(GL_VIEWPORT, Viewport);
  glGetDoublev(GL_PROJECTION_MATRIX, viewMatrix.V);
  ReadModelView();
}

void TGImage::UnProject(double x, double y, double z, double& ox, double& oy, double& oz) const
{
  gluUnProject(x, y, z, mtrMatrix.V, viewMatrix.V, Viewport, &ox, &oy, &oz);
}

// The shift that brings the point under the cursor back under it after a zoom or a move; a
// depth jump of 100 or more (the cursor left the model) keeps the depth.
void TGImage::TranslateKeepingDepth()
{
  const double d = sZ - cZ;
  glTranslated(cX - sX, cY - sY, std::fabs(d) < 100 ? -d : 0);
}

TGImage::TKeys TGImage::KeysOf(const txapi::SmartPtr<txapi::IPressedKeys>& keys)
{
  TKeys k;
  if (!keys) return k;
  k.Drag = keys->GetDrag();
  k.Switch = keys->GetModeSwitch();
  k.Pick = keys->GetPick();
  return k;
}

void TGImage::MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  MouseDown(KeysOf(keys), x, y);
}

void TGImage::MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  MouseMove(KeysOf(keys), x, y);
}

void TGImage::MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y)
{
  MouseUp(KeysOf(keys), x, y);
}

void TGImage::MouseDown(const TKeys& keys, int x, int y)
{
  SetCursor(x, y);
  if (!CommandWork && keys.Switch) {
    if (Command == cMove)
      Command = cScale;
    else if (Command == cScale || Command == cNone)
      Command = cMove;
    return;
  }
  ReadMatrices();
  SetCursor(x, y);
  ReadDepth();
  UnProject(X, Y, Z, sX, sY, sZ);
  if (keys.Pick || !keys.Drag) return;
  // A second press during a move drag must not push the matrix again: MouseUp pops once.
  const bool moving = CommandWork && Command == cMove;
  CommandWork = true;
  glMatrixMode(GL_MODELVIEW);
  cX = X;
  cY = Y;
  switch (Command) {
  case cRotate:
    cZ = 0;
    if (!V3D) CommandWork = false;
    break;
  case cMove:
    cZ = sZ;
    if (!moving) glPushMatrix();
    break;
  default:
    break;
  }
}

void TGImage::MouseMove(const TKeys&, int x, int y)
{
  SetCursor(x, y);
  if (!CommandWork || Command == cNone) {
    ReadMatrices();
    SetCursor(x, y);
    ReadDepth();
    UnProject(X, Y, Z, sX, sY, sZ);
    cX = X;
    cY = Y;
    return;
  }
  switch (Command) {
  case cMove:
    ReadDepth();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPushMatrix();
    ReadModelView();
    UnProject(X, Y, Z, cX, cY, cZ);
    glTranslated(cX - sX, cY - sY, cZ - sZ);
    ReadModelView();
    break;
  case cRotate:
    ReadModelView();
    UnProject(X, Y, 0, rX1, rY1, rZ1);
    UnProject(X + 10, Y, 0, rX2, rY2, rZ2);
    glRotated(Y - cY, rX1 - rX2, rY1 - rY2, rZ1 - rZ2);
    UnProject(X, Y, 0, rX1, rY1, rZ1);
    UnProject(X, Y + 10, 0, rX2, rY2, rZ2);
    glRotated(-(X - cX), rX1 - rX2, rY1 - rY2, rZ1 - rZ2);
    cX = X;
    cY = Y;
    ReadModelView();
    break;
  case cScale: {
    ReadDepth();
    ReadModelView();
    UnProject(cX, cY, Z, sX, sY, sZ);
    const double k = (Y - cY) / 50 + 1;
    glScaled(k, k, k);
    ReadModelView();
    UnProject(X, Y, Z, cX, cY, cZ);
    if (!V3D) cZ = sZ;
    TranslateKeepingDepth();
    cX = X;
    cY = Y;
    break;
  }
  default:
    break;
  }
}

void TGImage::MouseUp(const TKeys&, int x, int y)
{
  SetCursor(x, y);
  if (CommandWork && Command == cMove) {
    ReadDepth();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    ReadModelView();
    UnProject(X, Y, Z, cX, cY, cZ);
    TranslateKeepingDepth();
    ReadModelView();
  }
  CommandWork = false;
}
