#pragma once
// TGImage: the drawing surface over the fixed-function OpenGL pipeline and GLU. The gi*
// operations draw at once into the current context; the dr* operations append a record to the
// element list that glDraw replays later (a host paint event replays what was recorded
// earlier). The surface also runs the mouse view command (pan, zoom, rotate) of a 3D view.
// Every operation needs the thread that owns the current OpenGL context; the surface has no
// locks.
#include <GL/gl.h>

#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/GImageFont.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/IEventObjects.h"
#include "txapi/SmartPtr.h"

// 0x00BBGGRR; values above 24 bits are markers, not colours.
class TColor
{
public:
  constexpr TColor(UInteger c = 0) : Color(c) {}
  constexpr TColor(unsigned char r, unsigned char g, unsigned char b) : Color(Rgb(r, g, b)) {}
  static constexpr UInteger Rgb(unsigned char r, unsigned char g, unsigned char b)
  {
    return UInteger(r) | UInteger(g) << 8 | UInteger(b) << 16;
  }
  void Set(unsigned char r, unsigned char g, unsigned char b) { Color = Rgb(r, g, b); }
  constexpr unsigned char Red() const { return Color & 0xFF; }
  constexpr unsigned char Green() const { return Color >> 8 & 0xFF; }
  constexpr unsigned char Blue() const { return Color >> 16 & 0xFF; }
  constexpr bool operator==(UInteger c) const { return Color == c; }
  constexpr bool operator!=(UInteger c) const { return Color != c; }
  constexpr operator Integer() const { return Integer(Color); }

  UInteger Color;
};

extern const TColor clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver, clRed,
    clLime, clYellow, clBlue, clFuchsia, clAqua, clLtGray, clDkGray, clWhite, clNone, clDefault;
// The lower and upper background colours that GradientBk takes.
extern const TColor DnBkColor, UpBkColor;

enum TPenStyles : Integer {
  psUnknown = 0,
  psSolid = 1,
  psThinSolid = 2,
  psDash = 3,
  psDot = 4,
  psDashDot = 5,
  psDashDotDot = 6,
  psClear = 7,
  psInsideFrame = 8
};

enum TypesGIElements : Integer {
  eLineWidth,
  eSetStyle,
  eColor,
  eColorStyle,
  eMtr,
  eMtr3D,
  eDeleteMtr,
  ePoint,
  eLine,
  eCircle,
  eArc,
  eRectAngle,
  eTextOut,
  eAxle,
  eBegin,
  eEnd,
  eVertex,
  ePointSize,
  eVertexPointer,
  eNormalPointer,
  eIndexPointer,
  eColorPointer,
  eEdgeFlagPointer,
  eEnableClientState,
  eDisableClientState,
  eDrawArrays,
  eDrawElements,
  eEnable,
  eDisable,
  ePolygonMode,
  eBlendFunc,
  ePoint3D,
  eLine3D,
  ePushState,
  ePopState,
  eSetScreenPlane
};

class TGImage
{
public:
  enum GICommands : Integer { cNone = 0, cRotate = 1, cScale = 2, cMove = 3 };

  // One recorded element; every record has the same size. Pointer records (vertex arrays,
  // indices) do not own their data: the caller keeps it alive until drClear.
  struct TGElement
  {
    TypesGIElements TE;
    union {
      struct
      {
        GLubyte cR, cG, cB;
        TPenStyles St;
      };
      struct
      {
        GLdouble W;
      };
      struct
      {
        GLdouble X, Y, Sc, A;
      };
      struct
      {
        GLdouble x1, y1, x2, y2, z1, z2;
      };
      struct
      {
        GLdouble xc, yc, R, Sa, Ea;
      };
      struct
      {
        GLdouble xt, yt, Angle, ht;
        TString* S;
      };
      struct
      {
        GLenum Tcode;
      };
      struct
      {
        GLdouble vX, vY, vZ;
      };
      struct
      {
        GLint size;
        GLenum atype;
        GLsizei stride;
        const GLvoid* data;
      };
      struct
      {
        GLenum mode;
        GLint first;
        GLsizei count;
      };
      struct
      {
        GLenum aarray;
      };
      struct
      {
        GLenum md;
        GLsizei cnt;
        GLsizei finish;
        GLenum typ;
        const GLvoid* Dat;
      };
      struct
      {
        GLenum face, fmode;
      };
      struct
      {
        GLboolean LoadIdentity;
      };
      struct
      {
        GLdouble left, right, bottom, top, zNear, zFar;
      };
    };
  };

  // The host's pressed-keys queries, in the roles the view command gives them: a drag runs,
  // the command cycles, a point is picked.
  struct TKeys
  {
    Boolean Drag = false;
    Boolean Switch = false;
    Boolean Pick = false;
  };

  static constexpr Integer MaxCountLElements = 524288;
  static constexpr Integer FirstCountLElements = 1024;

  TGImage(void* handle = nullptr, void* owner = nullptr);
  ~TGImage();
  TGImage(const TGImage&) = delete;
  TGImage& operator=(const TGImage&) = delete;

  // --- State --------------------------------------------------------------------------------
  void SetHandle(void*) {}
  void ReSize() {}
  // Builds the font's display lists once per surface; both arguments are ignored.
  void InitFont(const TString& fontName = TString(), int height = 0);
  void Set3D(bool v, double r = 1, double g = 1, double b = 1, double a = 1);
  bool IsSet3D() const { return XRot != 0 || YRot != 0; }
  void drClearColor(double r, double g, double b, double a);
  void SetCommand(GICommands c) { Command = c; }
  void SetDXYScale(double dX, double dY, double Sc);

  // --- Immediate drawing --------------------------------------------------------------------
  void giLine(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2);
  void giLine3D(const GLdouble& x1, const GLdouble& y1, const GLdouble& z1, const GLdouble& x2,
                const GLdouble& y2, const GLdouble& z2);
  void giRectAngle(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2);
  void giRectAngleFill(const GLdouble& x1, const GLdouble& y1, const GLdouble& x2, const GLdouble& y2,
                       const GLdouble& z);
  // 16 segments per 10 units of radius, 16 .. 4096 in all.
  void giCircle(const GLdouble& xc, const GLdouble& yc, const GLdouble& R);
  // Counter-clockwise from Sa to Ea (degrees); nothing for radii above 1e6.
  void giArc(const GLdouble& xc, const GLdouble& yc, const GLdouble& R, const GLdouble& Sa,
             const GLdouble& Ea);
  void giMtr(const GLdouble& x, const GLdouble& y, const GLdouble& angle, const GLdouble& s);
  void giMtr3D(const GLdouble& x, const GLdouble& y, const GLdouble& z, const GLdouble& s);
  void giDeleteMtr();
  void giSetStyle(const TPenStyles& style);
  void giTextOut(const GLdouble& x, const GLdouble& y, const GLdouble& angle, const GLdouble& h,
                 const TString& text);
  void giPushState(const GLboolean& loadIdentity);
  void giPopState();
  void giSetScreenPlane(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                        GLdouble zFar);
  void GradientBk(TColor upColor, TColor downColor);
  void Begin3D(double S);
  void End3D();

  // --- Recording ----------------------------------------------------------------------------
  // A full list (MaxCountLElements records) takes no more: further records are dropped.
  void drLineWidth(GLdouble w);
  void drPointSize(GLdouble s);
  void drStyle(TPenStyles style);
  void drColor(GLubyte r, GLubyte g, GLubyte b);
  void drColorStyle(TColor colour, TPenStyles style);
  void drMtr(GLdouble x, GLdouble y, GLdouble angle, GLdouble s);
  void drMtr3D(GLdouble x, GLdouble y, GLdouble z, GLdouble s);
  void drDeleteMtr();
  void drPoint(GLdouble x, GLdouble y);
  void drPoint3D(GLdouble x, GLdouble y, GLdouble z);
  void drLine(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2);
  void drLine3D(GLdouble x1, GLdouble y1, GLdouble z1, GLdouble x2, GLdouble y2, GLdouble z2);
  void drAxle();
  void drCircle(GLdouble xc, GLdouble yc, GLdouble R);
  // A negative radius swaps the angles: the arc keeps its place and runs the other way.
  void drArc(GLdouble xc, GLdouble yc, GLdouble R, GLdouble Sa, GLdouble Ea);
  void drRectAngle(GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2);
  void drText(GLdouble x, GLdouble y, GLdouble angle, GLdouble h, const TString& text);
  void drBegin(GLenum mode);
  void drEnd();
  void drVertex(GLdouble x, GLdouble y, GLdouble z);
  void drVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data);
  void drNormalPointer(GLenum type, GLsizei stride, const GLvoid* data);
  void drIndexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data);
  void drColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* data);
  void drEdgeFlagPointer(GLsizei stride, const GLvoid* data);
  void drEnableClientState(GLenum array);
  void drDisableClientState(GLenum array);
  void drDrawArrays(GLenum mode, GLint first, GLsizei count);
  void drDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices);
  void drEnable(GLenum cap);
  void drDisable(GLenum cap);
  void drPolygonMode(GLenum face, GLenum mode);
  void drBlendFunc(GLenum sfactor, GLenum dfactor);
  void drPushState(GLboolean loadIdentity);
  void drPopState();
  void drSetScreenPlane(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                        GLdouble zFar);
  // Empties the list (freeing the text copies) and resets the projection matrix.
  void drClear();
  // Replays the list; the flags are not used.
  void glDraw(bool flag1 = false, bool flag2 = false);

  // --- Mouse view command -------------------------------------------------------------------
  // x, y: the cursor in window pixels, rows top-down. A move drag holds one extra model-view
  // matrix on the OpenGL stack from MouseDown to MouseUp.
  void MouseDown(const TKeys& keys, int x, int y);
  void MouseMove(const TKeys& keys, int x, int y);
  void MouseUp(const TKeys& keys, int x, int y);
  // The same with the keys the host reports for a frame event; an empty holder holds none.
  void MouseDown(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  void MouseMove(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  void MouseUp(const txapi::SmartPtr<txapi::IPressedKeys>& keys, int x, int y);
  static TKeys KeysOf(const txapi::SmartPtr<txapi::IPressedKeys>& keys);

  TFontGlif Font;
  void* Handle = nullptr;
  void* Owner = nullptr;
  TArrayOf<TGElement> LElements;
  Integer CountLElement = 0;
  Integer CWidth = 0, CHeight = 0;
  GLint Viewport[4] = {0, 0, 0, 0};
  GLint prViewPort[4] = {0, 0, 0, 0};
  TMtr3D viewMatrix, mtrMatrix;
  bool V3D = true;
  GICommands Command = cNone;
  bool CommandWork = false;
  Integer X = 0, Y = 0;
  double Z = 0;
  double sX = 0, sY = 0, sZ = 0;
  double cX = 0, cY = 0, cZ = 0;
  double rX1 = 0, rX2 = 0, rY1 = 0, rY2 = 0, rZ1 = 0, rZ2 = 0;
  double XRot = 30, YRot = 70;
  double ClearRed = 1, ClearGreen = 1, ClearBlue = 1, ClearAlpha = 1;
  double Tx = 0, Ty = 0, Ta = 0, Th = 0, dTx = 0, dTy = 0;

private:
  void DrawElements();
  // The next free record, or null when the list is full.
  TGElement* NewElement(TypesGIElements kind);
  void drArcElement(TypesGIElements kind, GLdouble xc, GLdouble yc, GLdouble R, GLdouble Sa, GLdouble Ea);
  void FreeTexts();
  bool GrowElements();
  void SetCursor(int x, int y);
  void ReadDepth();
  void ReadMatrices();
  void ReadModelView();
  void UnProject(double x, double y, double z, double& ox, double& oy, double& oz) const;
  void TranslateKeepingDepth();
};

// The process-wide surface, built when the library is loaded.
extern TGImage GI;
