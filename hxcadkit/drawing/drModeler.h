#pragma once
// The drawing model's interfaces: the abstract 2D and 3D modellers through which every profile
// and part draws (the host adapter implements them, a test records them), the modeller's drawing
// registry with the detail information and the 2D transform stack, the automatic-dimension list,
// the sheet selector and the material table.
//
// A modeller owns its drawing registry when told so and reaches it through R2D(). Several
// operations are overloaded (drArc, drView, drLeafStamp, drAStView7, drSpcObj, and in 3D
// AddDetail and drBaseExtrusion): a modeller that overrides one overload brings the others back
// with a using-declaration.
//
// The composite operations (rectangles, corners, the linear-dimension family, circle callouts,
// sheets with their first view) are written on the virtual primitives only, so a modeller that
// overrides a primitive sees every call a composite makes.
#include <cstdint>
#include <memory>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"
#include "hxcadkit/geometry/Contour.h"
#include "hxcadkit/geometry/Mathemat.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/Enums.h"
#include "txapi/IDrawingGroup.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IModelObject.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/IVariable.h"
#include "txapi/SmartPtr.h"

class TRegistrator;  // hxcadkit/core/TPointer.h
class TAVariable;    // hxcadkit/core/TPointer.h
class TControlModel; // hxcadkit/core/ControlModel.h
class TMark;         // a mark of a rotation; no modeller here reads it

// Sections of the host's bill of materials.
enum TSectionSpc : std::int32_t {
  tNotExist = 0,
  tDocumentatio = 1,
  tSborka = 5,
  tDetail = 20,
  tStandart = 25
};

// What kind of modeller answers (TModeler3D::Is).
enum TypeModeler : std::int32_t { mUknown = 0, mAPI = 1 };

// Pending drawing commands of a modeller.
enum TCommand : std::int32_t {
  cmNull = 0,
  cmCut = 1,
  cmShelf = 2,
  cmPolyline3D = 3,
  cmOpenShtamp = 4,
  cmLinkForm = 5,
  cmForm = 6,
  cmColouring = 7,
  cmHatch = 8
};

// A 2D placement: origin, angle in degrees, scale.
struct TMt
{
  double x = 0.0;
  double y = 0.0;
  double Angle = 0.0;
  double Scale = 1.0;
};

// A pointer that deletes what it points to when it owns it.
template <class T> class TReferenceOf
{
public:
  explicit TReferenceOf(T* p = nullptr, bool owner = false) : Owner(owner), Ptr(p) {}
  ~TReferenceOf()
  {
    if (Owner) delete Ptr;
  }
  TReferenceOf(const TReferenceOf&) = delete;
  TReferenceOf& operator=(const TReferenceOf&) = delete;

  // Points to p (owned with owner), deleting what it owned before.
  void Set(T* p, bool owner)
  {
    if (Owner && Ptr != p) delete Ptr;
    Ptr = p;
    Owner = owner;
  }

  bool Owner;
  T* Ptr;
};

// The 2D transform stack: every 2D call is placed by the innermost (last) matrix.
class TTransf2D
{
public:
  // No placements stored until the first one: a modeller that only forwards its placements (one drawing
  // through another) never needs them.
  TTransf2D() : AMtr(0, 64) {}

  // (x, y) through the innermost matrix into (X, Y); in and out may be the same variables.
  // With an empty stack (X, Y) = (x, y).
  void xyMtr(const double& x, const double& y, double& X, double& Y) const
  {
    if (AMtr.Count <= 0) {
      X = x;
      Y = y;
      return;
    }
    double tx = 0.0, ty = 0.0;
    AMtr.Last().TransformCoord(x, y, tx, ty);
    X = tx;
    Y = ty;
  }
  // sqrt(a00^2 + a01^2) of the innermost matrix; 1 with an empty stack.
  double ScaleMtr() const;
  // The direction of the innermost matrix's first row in degrees, 0 to 360; 0 with an empty
  // stack.
  double AngleMtr() const;
  // Pushes the placement (x, y, Angle degrees, Scale) nested in the innermost one: it acts on
  // a point first.
  void drMtr(double x, double y, double Angle, double Scale);
  // Pops the innermost placement; nothing on an empty stack.
  void drDeleteMtr();

  TArrayOf<TMtr2D> AMtr;
};

// The detail that the modeller is drawing.
struct TDetailInfo
{
  Integer cDetail = 0;
  Integer cSuffics = 0;
  TString Note;
  TString fileName;
  TString designation;
  TString material;
  TString scale;
  TString shoroh;
  TString comment;
  Integer Format2 = 0;
  Integer Orientation2 = 0;
  Real Scale = 0.0;
  Real Weight = 0.0;
  Real Left = 0.0;
  Real Top = 0.0;
};

// A detail code: the suffix in bits 0-7, the copy number in bits 8-15, the detail in 16-31.
struct TDetailCode
{
  TDetailCode() : fSuffics(0), fCopy(0), fDC(0) {}
  TDetailCode(unsigned detail, unsigned suffics, unsigned copy = 0)
      : fSuffics(suffics & 0xFFu), fCopy(copy & 0xFFu), fDC(detail & 0xFFFFu)
  {
  }
  // The code of the detail information's detail and suffix (copy 0).
  static TDetailCode Of(const TDetailInfo& di)
  {
    return TDetailCode(unsigned(di.cDetail), unsigned(di.cSuffics) & 0xFFu, 0);
  }
  std::uint32_t Value() const
  {
    return std::uint32_t(fSuffics) | (std::uint32_t(fCopy) << 8) | (std::uint32_t(fDC) << 16);
  }
  bool operator==(const TDetailCode& o) const { return Value() == o.Value(); }

  std::uint32_t fSuffics : 8;
  std::uint32_t fCopy : 8;
  std::uint32_t fDC : 16;
};
static_assert(sizeof(TDetailCode) == 4, "a detail code is one 32-bit word");

// One pending parametric constraint: its kind and the two points it joins.
struct TMateParam
{
  Integer Kind = 0;
  Integer Point1 = 0;
  Integer Point2 = 0;
};

// The parametric-constraint builder: the pending constraint points. The base adds none and
// constrains nothing; a host modeller derives its own.
class TConstraint2D : public TArrayOf<TMateParam>
{
public:
  TConstraint2D() : TArrayOf<TMateParam>(16, 16) {}
  ~TConstraint2D() override = default;

  virtual void Add() {}
  virtual void DoLine(double, double, double, double, int) {}
  virtual void DoArc(double, double, double, double, double, double, double, int, int) {}
  virtual void DoCircle(double, double, double, int) {}
  virtual void DoEllipse(double, double, double, double, double, int) {}
};

// The modeller draws no line whose ends lie within this of each other along both axes, in the drawing's
// units.
constexpr double LeastLine = 1e-4;

// The centre (ox, oy) of the rounding of r that drCLL draws over the corner (cx, cy) from (px, py) to
// (qx, qy); false, (ox, oy) untouched, where it draws none.
bool CornerCentre(double px, double py, double cx, double cy, double qx, double qy, double r, double& ox,
                  double& oy);

class TModeler2D;

// Told when the boundary of a hatch or a colouring is complete, just before the object ends, so that it
// may add the curves that close it (drawn through the modeller it is given, into that boundary).
class TBoundaryCloser
{
public:
  virtual void CloseBoundary(TModeler2D& m) = 0;

protected:
  ~TBoundaryCloser() = default;
};

// What the regions in front of a drawing keep on a modeller's registry (drFrontSet.h), and its deletion.
class TFrontKeep;
struct TFrontKeepGone
{
  void operator()(TFrontKeep* k) const;
};

// The modeller's drawing state.
class TRegistryModeler2D
{
public:
  explicit TRegistryModeler2D(TConstraint2D& c);
  virtual ~TRegistryModeler2D();
  TRegistryModeler2D(const TRegistryModeler2D&) = delete;
  TRegistryModeler2D& operator=(const TRegistryModeler2D&) = delete;

  // True while the curves drawn go into a collector (a hatch boundary, a sketch contour): the
  // stack is not empty and its top entry is set.
  bool Collecting() const { return AContour.Count > 0 && AContour.Last() != nullptr; }

  // The curve-collector stack, innermost last; not owned.
  TArrayOf<TContour*> AContour;
  // The registry's own collector, pushed by the base drHatch.
  TContour HatchContour;
  // The drawing object made last, and the previous element for constraints.
  txapi::SmartPtr<txapi::IDrawingObject> CurDrawingObject;
  txapi::SmartPtr<txapi::IDrawingObject> PrevDrawingObject;
  // Which point of the previous element joins the next (1 after a line, 2 after an arc).
  int PrevIndex = 0;
  TTransf2D Transf2D;
  // While set, a host modeller draws no lines, only sizes.
  bool OnlySizes2D = false;
  // Pending commands, innermost last.
  TArrayOf<TCommand> APrevCommand;
  // Started drawing groups, innermost last.
  TArrayOf<txapi::SmartPtr<txapi::IDrawingGroup>> AGroup;
  TConstraint2D& Constraint2D;
  TDetailInfo DI;
  // The points of the cut line being collected, in sheet coordinates.
  TArrayOf<TPoint2D> ACutPoint;
  // Told before each hatch or colouring ends; not owned.
  TBoundaryCloser* Closer = nullptr;
  // The regions in front of the drawing standing on this modeller, and what they keep for the next ones; made
  // when the first set stands here.
  std::unique_ptr<TFrontKeep, TFrontKeepGone> Front;
};

// The abstract 2D modeller. Lengths in millimetres, angles in degrees (but for the angle form of
// drArc); line style 1 is the main line, 2 thin, 3 axis, 4 inner edges, a negated style an
// auxiliary line. Texts are handed on unparsed.
class TModeler2D
{
public:
  TModeler2D(TRegistryModeler2D* R, bool OwnR) : R(R), OwnR(OwnR) {}
  virtual ~TModeler2D();
  TModeler2D(const TModeler2D&) = delete;
  TModeler2D& operator=(const TModeler2D&) = delete;

  TRegistryModeler2D& R2D() const { return *R; }

  // --- Primitives and placement -------------------------------------------------------------
  virtual void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) = 0;
  // The arc about (X, Y) of radius R from (x1, y1) to (x2, y2); Napr +1 counter-clockwise.
  virtual void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
                     const double& x2, const double& y2, int Napr, int Attr) = 0;
  // The arc from angle a1 to a2 (radians): its end points go to the points form. A negative
  // r puts both end points opposite.
  virtual void drArc(const double& xc, const double& yc, const double& r, const double& a1, const double& a2,
                     int Attr, int Napr);
  virtual void drCircle(const double& X, const double& Y, const double& R, int Attr) = 0;
  virtual void drEllipse(const double& X, const double& Y, const double& A, const double& B,
                         const double& Angle, int Attr) = 0;
  virtual void drLayer(int NumerOfLayer);
  // Placement of the following 2D calls, nested; drDeleteMtr ends the innermost one.
  virtual void drMtr(double x, double y, double Angle, double Scale);
  virtual void drDeleteMtr();
  // The four sides (x1,y1) -> (x2,y1) -> (x2,y2) -> (x1,y2) -> (x1,y1); nothing when the
  // rectangle is flat.
  virtual void drRectAngle(const double& x1, const double& y1, const double& x2, const double& y2, int Attr);
  // A circle with its two centre lines, 2 mm past the circle.
  virtual void drCircleAxle(const double& X, const double& Y, const double& R, int Attr);
  // From the current point (x0, y0) over the corner (xc, yc) to (x, y), the corner rounded by
  // r when the rounding fits both legs, else two plain lines.
  virtual void drCLL(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
                     const double& y, const double& r, int Attr);
  // The same with a chamfer of leg c: three lines, no fit test.
  virtual void drFsk(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
                     const double& y, const double& c, int Attr);
  // Over two corners to (x, y), each rounded by r where it fits.
  virtual void drCVR(const double& x0, const double& y0, const double& x1, const double& y1, const double& x2,
                     const double& y2, const double& x, const double& y, const double& r, int Attr);
  // Moves (x, y) of the current container to the nearest place where a piece spanning (x1, y1) to
  // (x2, y2) about it, in the sheet's millimetres, lies inside the frame and off what is drawn; where
  // there is none, or nothing is known of the sheet, (x, y) stays.
  virtual void drFreePlace(double&, double&, double, double, double, double) {}
  // The same for a view drawn beside the others (an enlarged detail), its outlines spanning (vx1, vy1) to
  // (vx2, vy2) about (x, y): they also stand clear of the other views' sizes, out of the box each view's
  // extension lines span with it.
  virtual void drFreeViewPlace(double& x, double& y, double x1, double y1, double x2, double y2, double,
                               double, double, double)
  {
    drFreePlace(x, y, x1, y1, x2, y2);
  }
  // The linear dimension drawn last may measure the same size at (x1, y1) and (x2, y2) instead (a body of
  // revolution's step on the axis's other side), its line as far beyond them: a sheet laid out takes them
  // where the side asked leaves its value no clean place.
  virtual void drDimOtherSide(double, double, double, double) {}
  virtual void drText(const double& x, const double& y, const double& FStr, const double& Hs,
                      const double& Ksu, int Fb, const TString& S);
  // An end point of the leader or cut line begun last.
  virtual void drPoint(const double& x, const double& y);
  virtual void drPolyline3D(bool Closed);

  // --- Cut lines ----------------------------------------------------------------------------
  // Collect the points of a cut line (mapped to the sheet) and draw it with its designation.
  virtual void NewCut();
  virtual void ACT(const double& x, const double& y);
  virtual void ACTIf(bool c, const double& x, const double& y);
  virtual void DrawCut(const TString& S, int Direction);
  // Begins a cut line; its points follow with drPoint, drEndObj completes it.
  virtual void drCut(const double& Hs, const double& Ksu, const double& Fch, const TString& S,
                     const double& x1, const double& y1, int Napr1, const double& x2, const double& y2,
                     int Napr2);

  // --- Groups, macros and pending objects ---------------------------------------------------
  virtual void drGroup(bool Temporary);
  virtual void drEndGroup();
  virtual void drClearRegion(std::int64_t Color);
  // Begins a colouring; the curves until drEndObj are its boundary.
  virtual void drColouring(std::int64_t Color);
  // Begins a hatch; the curves until drEndObj are its boundary.
  virtual void drHatch(int Tip, const double& FStr, const double& Shag);
  virtual void drMacro2D(bool AllLayer);
  virtual void drEndMacro();
  // Completes the object begun last (hatch, colouring, leader, cut line). A modeller that overrides it
  // calls CloseBoundary first, as the base does.
  virtual void drEndObj();
  // When the object begun last is a hatch or a colouring, has the registry's closer add what closes
  // its boundary; nothing otherwise, and nothing more once it is closed.
  void CloseBoundary();
  // Begins a leader with a shelf at (x, y); drPoint adds its ends, drEndObj completes it.
  virtual void drShelf(txapi::txLeaderSignEnum Tipz, const double& x, const double& y,
                       txapi::txShelfDirectionEnum Napr, txapi::txArrowEnum Tips, const double& Hs1,
                       const double& Ksu1, const double& Fch1, const TString& S1, const double& Hs2,
                       const double& Ksu2, const double& Fch2, const TString& S2);

  // --- Dimensions and designations ----------------------------------------------------------
  // A linear dimension. iVal is passed by reference so that a host modeller can find the
  // program variable bound to the caller's double.
  virtual void drDimL(const double& iVal, const TString& Qual, const double& Dx, const double& Dy, int Pt,
                      int Pn, const double& Fn, const double& Dln, const double& x1, const double& y1, int T1,
                      int Po1, const double& x2, const double& y2, int T2, int Po2, const TString& S1,
                      const TString& S2, const TString& S3);
  // Linear dimensions measured along X (HL) or Y (VL), the line offset by Off divided by the
  // placement's scale; the plain forms have arrows at both ends, form 1 none at the second end,
  // form 2 none at the first. Nothing for |Value| <= 2e-6; Pt is the text position up to 30.
  virtual void drDimHL(const double& Value, const double& Off, const double& Pt, const double& X1,
                       const double& Y1, const double& X2, const double& Y2, const TString& S1,
                       const TString& S2, const TString& S3);
  virtual void drDimHL1(const double& Value, const double& Off, const double& Pt, const double& X1,
                        const double& Y1, const double& X2, const double& Y2, const TString& S1,
                        const TString& S2, const TString& S3);
  virtual void drDimHL2(const double& Value, const double& Off, const double& Pt, const double& X1,
                        const double& Y1, const double& X2, const double& Y2, const TString& S1,
                        const TString& S2, const TString& S3);
  virtual void drDimVL(const double& Value, const double& Off, const double& Pt, const double& X1,
                       const double& Y1, const double& X2, const double& Y2, const TString& S1,
                       const TString& S2, const TString& S3);
  virtual void drDimVL1(const double& Value, const double& Off, const double& Pt, const double& X1,
                        const double& Y1, const double& X2, const double& Y2, const TString& S1,
                        const TString& S2, const TString& S3);
  virtual void drDimVL2(const double& Value, const double& Off, const double& Pt, const double& X1,
                        const double& Y1, const double& X2, const double& Y2, const TString& S1,
                        const TString& S2, const TString& S3);
  virtual void drDimD(const double& Val, const TString& Qual, const double& FBase, int Pt, int Pn,
                      const double& x, const double& y, int t, const TString& S1, const TString& S2,
                      const TString& S3);
  virtual void drDimR(const double& Val, const TString& Qual, const double& FBase, const double& Drl, int Pt,
                      int Pn, const double& xc, const double& yc, int t, int Po, const TString& S1,
                      const TString& S2, const TString& S3);
  virtual void drDimA(const double& Val, int Napr, const double& FBase, const double& Rr, int Pt, int Pn,
                      const double& Fn, const double& Dln, const double& x1, const double& y1, int T1,
                      int Po1, const double& x2, const double& y2, int T2, int Po2, const TString& S,
                      const double& xc, const double& yc);
  // The angle |Val| about (xc, yc) between the rays FBase and FBase - Val, through the points
  // at sRr on them; nothing for |Val| <= 2e-6.
  virtual void drDimApc(const double& Val, const double& FBase, const double& Rr, const double& sRr,
                        const TString& S, const double& xc, const double& yc);
  // A radius Val from the arc point (Xs, Ys) towards the text point (Xp, Yp).
  virtual void drDimRpp(const double& Val, int Pt, const double& Xs, const double& Ys, const double& Xp,
                        const double& Yp, int Ts, const TString& S1, const TString& S2, const TString& S3);
  // When (xs, ys) lies outside the circle: a thin circle and a leader from it to a shelf there
  // carrying ts.
  virtual void drCircleShelf(const double& xc, const double& yc, const double& rc, const double& xs,
                             const double& ys, const TString& ts);
  virtual void drRough(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                       const TString& S1, const TString& S2, const TString& S3);
  // The same sign, asked where it has to stand among the sizes about it, on a line carried past a part's
  // end: a mould sheet's view stands where the sheet holds it there (see drViewHolds).
  virtual void drRoughKept(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                           const TString& S1, const TString& S2, const TString& S3)
  {
    drRough(x, y, Fi, Tz, S1, S2, S3);
  }
  virtual void drSRough(int Tz, bool Tzs, const TString& S);
  virtual void drForm(const double& x, const double& y, int Tip, int S1, const TString& S2,
                      const TString& S3);
  virtual void drSupportForm(const double& x, const double& y, int Top, int Twx);
  virtual void drBase(const double& x, const double& y, const double& dx, const double& dy, const TString& S);
  virtual void drWPointer(const double& x1, const double& y1, const double& x2, const double& y2,
                          const double& Xt, const double& Yt, const double& Hs, const double& Ksu,
                          const double& Fch, const TString& S);
  virtual void drRectAngleAxleDim3D(txapi::txObj3dTypeEnum BasePlane, const double& Vidst, const double& X1,
                                    const double& Y1, const double& X2, const double& Y2, int Attr,
                                    const TString& S1);
  // A rectangle with its axes and its size records in ADimension3D.
  virtual void drRectAngleAxleDim(const double& x1, const double& y1, const double& x2, const double& y2,
                                  int Attr, const TString& text, const double& dx, const double& dy);

  // --- Sheets, views, documents -------------------------------------------------------------
  virtual void drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                      const TString& Comment) = 0;
  // View N at the running position DI.Left + x, DI.Top + y, named "Вид N comment"; true.
  virtual bool drView(int N, const double& x, const double& y);
  // A sheet with its title block for the detail; the base makes none.
  virtual bool drLeafStamp(int Detail, int subDetail, bool Invisible);
  // The same, moving the running position by (x, y) when a sheet is made.
  virtual bool drLeafStamp(int Detail, int subDetail, const double& x, const double& y, bool Invisible);
  // A sheet and its first view at (x, y); false (and nothing opened) without a sheet.
  virtual bool drLeafStampView1(int Detail, int subDetail, const double& x, const double& y, bool Invisible);
  virtual void drShtamp();
  virtual void drCreateLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, int iFormat, int Krat, int Tips,
                            int Pros, TString& Comment, bool Invisible);
  virtual void drSaveLeaf();
  virtual void drCloseView();
  virtual void drCloseLeaf();
  // Whether what the open view of a mould sheet drew lies inside the frame, off the title block, on its
  // sheet or on the larger one it may grow to (as drCloseView will lay it out); a modeller that lays out
  // no sheet holds whatever it draws.
  virtual bool drViewHolds() { return true; }
  // The open sheet made afresh, empty but for its title block, in the document and format it was made
  // with: what was drawn on it is let go unsaved. Nothing without one.
  virtual void drRestartLeaf() {}
  virtual void drOpenTDem();
  virtual void drCloseTDem();
  // Writes one line into the text object opened last.
  virtual void drStringObj(const TString& S);
  // Closes the view, writes the non-empty requirements (numbered when there is a second) and
  // closes the sheet; the sheet stays open inside a collector.
  virtual void drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                        const TString& S4);
  virtual void drCloseLeafSpw(bool Close);
  virtual void drAStView7(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                          const TString& Comment, const TString& FName, const TString& tView) = 0;
  virtual void drAStView7(const double& x, const double& y, const double& Alf, const double& Scale,
                          const TString& Comment, const TString& FName, const TMtr3D& M);
  virtual void drACutView7(const double& x, const double& y, const double& Alf, const double& Scale,
                           const TString& Comment, txapi::SmartPtr<txapi::IDrawingObject> pCut) const;

  // --- Bill of materials and attributes -----------------------------------------------------
  virtual void drSpcObj(TString& Name, TSectionSpc Section, txapi::SmartPtr<txapi::IDrawingObject> Obj) = 0;
  // An entry for position Pos, quantity Count, with the documents of NameFileObject attached.
  virtual void drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count) = 0;
  virtual double drCreateAttrStr(double Id);
  virtual bool drSetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& Id,
                               const TString& S);
  virtual bool drGetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& Id, TString& S);

private:
  TRegistryModeler2D* R;
  bool OwnR;
};

// The abstract 3D modeller. The base makes nothing and answers "nothing made".
class TModeler3D : public TModeler2D
{
public:
  TModeler3D(TRegistryModeler2D* R, bool OwnR) : TModeler2D(R, OwnR) {}
  ~TModeler3D() override;

  using TModeler2D::drSpcObj;

  virtual TypeModeler Is() const { return mUknown; }
  // Opens a new 3D part document.
  virtual void drCreate3D(bool Invisible, bool isDetail, const TString& FileName, const TString& Name,
                          const TString& Marking);
  // A new part document of the detail with a sketch on a standard plane moved by Vidst; false
  // when none is made.
  virtual bool drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible,
                                      txapi::txObj3dTypeEnum BasePlane, const double& Vidst);
  // A sketch on a plane parallel to BasePlane at Distance; the following 2D calls draw into it.
  virtual void drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle,
                            const TString& Name);
  virtual void drBaseRotate(int Napr, const double& Angle);
  virtual void drCutRotate(int Napr, const double& Angle, TMark* Mark);
  virtual void drSurfaceRotate(int Napr, const double& Angle);
  virtual void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                               const double& Depth, const double& Angle);
  // The thin-walled form: empty on every modeller of this system.
  virtual void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                               const double& Depth, const double& Angle, bool Thin);
  virtual void drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                              const double& Depth, const double& Angle);
  virtual void drSurfaceExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth,
                                  const double& Depth, const double& Angle);
  // Colour 0x00BBGGRR and lighting of the current part.
  virtual void drColor3D(int Color, const double& ambient, const double& diffuse, const double& specularity,
                         const double& shininess, const double& transparency, const double& emission);
  // Records that the current part joins others by passing through their holes (a bolt, a pin, a
  // bushing on a pin's place), so that a check of the assembly knows it must stand in them; a
  // modeller that keeps no documents records nothing.
  virtual void drFastener3D() {}
  // Records that the current part travels with a fastener (its nut, its washer, the bushes on its pin), so
  // that a check of the assembly never takes it for one of the parts the fastener joins.
  virtual void drFastenerPiece3D() {}
  virtual void drClose3D(bool SaveDocument3D, TSectionSpc Section);
  virtual void drSave3D(bool Close, bool NeedNameMarking);
  // Whether the last drSave3D wrote its document to its file; a modeller that writes no files
  // never fails.
  virtual bool drSaved3D() const { return true; }
  // What the last drSave3D of the document opened under a file name did, taken right after it: whether it
  // wrote the file; when not, the system's error number the host gave (0 when it gave none); when so, the
  // file written (device, inode, modification time, size), by which a build that removes what it made
  // tells its own file from one that another build put there since.
  struct TSavedFile
  {
    bool Written = false;
    int Error = 0;
    std::uint64_t Device = 0, Inode = 0, Size = 0;
    std::int64_t Modified = 0;
    bool Replaced = false; // the save replaced a file that stood at the name: it is not the build's to remove
  };
  // False when no document opened under File was saved; a modeller that writes no files saves none.
  virtual bool drSavedFile3D(const TString& File, TSavedFile& Saved) const
  {
    (void)File;
    (void)Saved;
    return false;
  }
  // Whether the current part has a body; a modeller that keeps no parts has none to lack.
  virtual bool drHasBody3D() const { return true; }
  // How many features (sketch operations, billets, booleans) the modeller has failed to make so far: a
  // caller compares the count before and after its own. A modeller that builds nothing fails none.
  virtual long long drFailures3D() const { return 0; }
  // Closes the current 3D document without writing it; nothing without one.
  virtual void drDiscard3D() {}
  // Removes the sheet drawn for the part whose document is open (a mould part's, drawn before it): the part
  // refused, its sheet goes with it. A part that is not written takes its sheet along by itself.
  virtual void drDiscardSheet3D() {}
  // The file of the current 3D document; empty when it has none (or the modeller keeps no files).
  virtual TString drFileName3D() const { return TString(); }
  // Names the part: name, text, marking and the specification type.
  virtual void drSet(const TString& Name, const TString& Note, const TString& Marking, int TypeDet);
  // Inserts the part of a detail code.
  virtual void AddDetail(const double& x, const double& y, const double& z, int DetailCode, int Suffics,
                         bool ReverseZ);
  virtual void AddDetailAxle(const double& x, const double& y, const double& z, int DetailCode, int Suffics,
                             const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                             const double& yDy, const double& yDz);
  // Inserts the part file DetailName into the current assembly at (x, y, z), turned round
  // when ReverseZ; the base inserts nothing.
  virtual void AddDetail(const double& x, const double& y, const double& z, const TString& DetailName,
                         bool ReverseZ, bool ExternalFile);
  // The same with the part's X axis along (xDx, xDy, xDz) and its Y axis along (yDx, yDy, yDz).
  virtual void AddDetailAxle(const double& x, const double& y, const double& z, const TString& DetailName,
                             const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                             const double& yDy, const double& yDz, bool ExternalFile);
  virtual void drMacro3D(const TString& Name, bool MStaffVisible);
  virtual void drEndMacro3D();
  // Writes the detail and suffix of the detail information.
  virtual void drSetDC(int Detail, int Suffics);
  // A host model variable; empty from a modeller without a host.
  virtual txapi::SmartPtr<txapi::IVariable> drAddVariable(const TString& Name, double Value,
                                                          const TString& Comment);
  void drSpcObj(TString& Name, TSectionSpc Section, txapi::SmartPtr<txapi::IDrawingObject> Obj) override;
};

// Holds the modeller through which its owner draws.
class TWrapModeler
{
public:
  TWrapModeler(TModeler3D* m, bool owner) : M2(m, owner) {}
  virtual ~TWrapModeler() = default;
  TWrapModeler(const TWrapModeler&) = delete;
  TWrapModeler& operator=(const TWrapModeler&) = delete;

  TModeler3D& M() const { return *M2.Ptr; }

  TReferenceOf<TModeler3D> M2;
};

// One dimension record: a 3D control point, a 2D size point or a marker.
struct TDimension3D
{
  enum TType : std::int32_t {
    tdEmpty = 0,
    tdLinear = 1,
    tdAngleL = 2,
    tdRadial = 3,
    tdDiametr = 4,
    tdCount = 5,
    td2DFromZero = 6,
    td2DLinear = 7,
    tdCount2D = 8,
    tdPoint3D = 9,
    tdValid = 10
  };

  TType Type = tdEmpty;
  TString Q;
  double V = 0.0;
  Integer VId = 0;
  TPoint3D O;
  TPoint3D P11;
  TPoint3D P12;
  TVector3D AX;
  TVector3D AY;
  TPoint3D T;
  txapi::SmartPtr<txapi::IModelObject> Point;
  TString ExpressionX;
  TString ExpressionY;
  TDetailCode Detail2;
};

// The automatic dimensions: the 3D control points of sketches and the 2D size points of the
// drawing being made.
class TADimension3D : public TArrayOf<TDimension3D>
{
public:
  TADimension3D(TRegistrator& R, TModeler2D& M, TAVariable& V);
  // The process-wide list is built before any modeller: the host modeller binds itself with
  // Bind when it comes up.
  TADimension3D(TRegistrator& R, TAVariable& V);
  ~TADimension3D() override;

  void Bind(TModeler2D* M) { Modeler = M; }

  // Restarts the size-point list with one marker of the detail Code.
  void Clear2D(TDetailCode Code);
  // Appends a size point of the current drawing.
  TDimension3D& AddSize(TDimension3D::TType Type);
  // Records a control point of a sketch: (V1, V2), its host point object, the quality text Q,
  // and the names of the program variables bound to P1 and P2.
  void Add3D(double V1, double V2, txapi::SmartPtr<txapi::IModelObject> Obj, const double* P1,
             const double* P2, const TString& Q);
  // Places and annotates the host's driving dimensions of the control points, through the
  // installed dimension link; nothing without one.
  virtual void drDimension(double LX, double LY, TModeler3D* M) const;

  bool IsParametric = false;
  TArrayOf<TDimension3D> ASizePoint;
  TAVariable* Variables;
  TRegistrator* Registrator;
  TModeler2D* Modeler;
};

// The process-wide automatic-dimension list.
extern TADimension3D ADimension3D;

// The host side of the automatic dimensions: the host's driving dimensions of the recorded
// control points. The host modeller installs it when it comes up; without it none is placed.
class TDimensionLink
{
public:
  virtual ~TDimensionLink() = default;
  virtual void drDimension(const TADimension3D& list, double LX, double LY, TModeler3D* M) = 0;

  // Installs a link (null removes it) and returns the one it replaces; the installer keeps it
  // alive while it is installed.
  static TDimensionLink* Set(TDimensionLink* link);
  static TDimensionLink* Get();
};

// The sheet formats.
class TLeafSelector
{
public:
  static TLeafSelector& Instance();
  virtual ~TLeafSelector() = default;

  // Called when a sheet is closed; nothing here.
  virtual void drUpdateLeafFormat() {}
  // The upper left corner of the drawing field of a sheet of format (1 A1 .. 4 A4, anything
  // else A0) lying (orientation 0) or upright: x 40, y the sheet's height less 30.
  void GetLeafLeftUp(int format, int orientation, double& x, double& y) const;

  // (width, height) of A0 .. A4, upright then lying: index 2 * format + orientation.
  TArrayOf<TPoint2D> ASize;
  Integer Format = 0;
  Integer Orientation = 0;

private:
  TLeafSelector();
};

// A material: its name, the host's location of its data, its density.
struct TMaterial
{
  TString Name;
  TString Location;
  double Density = 0.0;
};

// The material table; a detail's Material indexes it.
extern TArrayOf<TMaterial> AMaterial;
// The name of entry index of the material table; empty outside it.
TString MaterialName(int index);

// Bill-of-materials position leaders of an assembly drawing.
class TPositionDetails
{
public:
  TPositionDetails(TModeler3D* M, const TControlModel& Control);

  // A position: the detail's number, its section, position number and quantity, and the point
  // the leader starts from.
  void Add(int detail, TSectionSpc Section, int Pos, int Count, double x, double y);
  // Per position: the leader with its number, then the bill-of-materials entry; the file name
  // of a detail or an assembly is the control model's Path + its document's name, other
  // sections get none.
  void dr2D() const;

  struct TPosition
  {
    Integer Detail = 0;
    TSectionSpc Section = tNotExist;
    Integer Pos = 0;
    Integer Count = 0;
    double x = 0.0;
    double y = 0.0;
  };
  TArrayOf<TPosition> APosition;
  TModeler3D* M;
  const TControlModel& Control;
};
