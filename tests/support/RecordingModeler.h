#pragma once
// A modeller that records every call a drawing makes, for the tests of everything that draws:
// the operation, its arguments as given, and for the primitives the curve in sheet space (after
// the current transform). It answers as a host would, with configurable answers for the sheet
// and the new part, and keeps the drawing model's own state (transforms, pending commands, the
// hatch collector) real by calling the base bodies. Composite operations record themselves and
// their primitives.
//
// Shared checks (ExpectSound) fail a test when a drawing produced a non-finite number, left a
// transform, macro, group or pending command open or closed one too many, left a hatch
// boundary or a sketch profile open.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hxcadkit/drawing/drModeler.h"

class TRecordingModeler : public TModeler3D
{
public:
  // One call: its name, its numbers (ints and bools as numbers) and texts, in argument order.
  struct TCall
  {
    std::string Op;
    std::vector<double> A;
    std::vector<TString> S;
  };

  // A curve drawn, in sheet space. Hatch and Sketch number the hatch boundary or sketch it was
  // drawn into (-1 for none).
  struct TCurve
  {
    enum TKind { Line, Arc, Circle, Ellipse } Kind = Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // ends of a line or an arc
    double cx = 0, cy = 0, r = 0;          // centre and radius of an arc or a circle
    int Dir = 0;                           // +1 counter-clockwise
    int Style = 0;
    int Hatch = -1;
    int Sketch = -1;
  };

  struct TBox
  {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool Empty = true;
    void Add(double x, double y);
  };

  TRecordingModeler();
  ~TRecordingModeler() override;

  // Forgets the calls and curves; the drawing state stays.
  void Reset();

  // Answers.
  bool LeafStampAnswer = false;    // drLeafStamp(Detail, subDetail, Invisible)
  bool NewPartPlaneAnswer = false; // drCreate3DNewPartPlane

  // --- What was recorded ----------------------------------------------------------------------
  std::vector<TCall> Calls;
  std::vector<TCurve> Curves;
  // The calls named op, in order.
  std::vector<TCall> Of(const std::string& op) const;
  int Count(const std::string& op) const;
  // The names of the calls in order, space-separated (for compact expectations).
  std::string Ops() const;
  // Curves of hatch boundary k, of sketch k. The outline curves only (Outline): axis lines
  // (style 3) and auxiliary lines (negative styles) bound nothing.
  std::vector<TCurve> HatchBoundary(int k) const;
  std::vector<TCurve> SketchProfile(int k) const;
  static std::vector<TCurve> Outline(const std::vector<TCurve>& curves);
  int Hatches() const { return HatchCount; }
  int Sketches() const { return SketchCount; }
  // The curves a host would draw: lines with ends 1e-4 apart or more, circles and arcs of a
  // radius 1e-4 or more.
  std::vector<TCurve> Drawn() const;
  // The box of curves (arcs and circles by their whole circle's box clipped to the ends for
  // arcs, see Box in the source).
  static TBox Box(const std::vector<TCurve>& curves);

  // --- Depths: now and the least ever reached (below 0 is an underflow) -----------------------
  int MacroDepth = 0, MinMacroDepth = 0;
  int GroupDepth = 0, MinGroupDepth = 0;
  int Macro3DDepth = 0, MinMacro3DDepth = 0;
  int MinTransformDepth = 0; // drDeleteMtr on an empty stack counts below 0
  int MinPendingDepth = 0;   // drEndObj with nothing pending counts below 0
  int TransformDepth() const { return R2D().Transf2D.AMtr.Count; }
  int PendingDepth() const { return R2D().APrevCommand.Count; }

  // --- Checks -----------------------------------------------------------------------------------
  // Every recorded number finite.
  bool AllFinite(std::string* why = nullptr) const;
  // Every depth back at 0 and none below 0.
  bool Balanced(std::string* why = nullptr) const;
  // Every end of a line or an arc meets an end of another curve of the set within tol.
  static bool ClosedChain(const std::vector<TCurve>& curves, double tol = 1e-6, std::string* why = nullptr);
  // The outline of every hatch boundary, of every sketch, a closed chain.
  bool HatchesClosed(std::string* why = nullptr) const;
  bool SketchesClosed(std::string* why = nullptr) const;

  // --- The modeller -----------------------------------------------------------------------------
  using TModeler2D::drArc;
  using TModeler2D::drAStView7;
  using TModeler2D::drLeafStamp;
  using TModeler2D::drView;
  using TModeler3D::AddDetail;
  using TModeler3D::AddDetailAxle;
  using TModeler3D::drBaseExtrusion;
  using TModeler3D::drSpcObj;

  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override;
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override;
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override;
  void drEllipse(const double& X, const double& Y, const double& A, const double& B, const double& Angle,
                 int Attr) override;
  void drLayer(int NumerOfLayer) override;
  void drMtr(double x, double y, double Angle, double Scale) override;
  void drDeleteMtr() override;
  void drRectAngle(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override;
  void drCircleAxle(const double& X, const double& Y, const double& R, int Attr) override;
  void drCLL(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
             const double& y, const double& r, int Attr) override;
  void drFsk(const double& x0, const double& y0, const double& xc, const double& yc, const double& x,
             const double& y, const double& c, int Attr) override;
  void drCVR(const double& x0, const double& y0, const double& x1, const double& y1, const double& x2,
             const double& y2, const double& x, const double& y, const double& r, int Attr) override;
  void drText(const double& x, const double& y, const double& FStr, const double& Hs, const double& Ksu,
              int Fb, const TString& S) override;
  void drPoint(const double& x, const double& y) override;
  void drPolyline3D(bool Closed) override;
  void NewCut() override;
  void ACT(const double& x, const double& y) override;
  void ACTIf(bool c, const double& x, const double& y) override;
  void DrawCut(const TString& S, int Direction) override;
  void drCut(const double& Hs, const double& Ksu, const double& Fch, const TString& S, const double& x1,
             const double& y1, int Napr1, const double& x2, const double& y2, int Napr2) override;
  void drGroup(bool Temporary) override;
  void drEndGroup() override;
  void drClearRegion(std::int64_t Color) override;
  void drColouring(std::int64_t Color) override;
  void drHatch(int Tip, const double& FStr, const double& Shag) override;
  void drMacro2D(bool AllLayer) override;
  void drEndMacro() override;
  void drEndObj() override;
  void drShelf(txapi::txLeaderSignEnum Tipz, const double& x, const double& y,
               txapi::txShelfDirectionEnum Napr, txapi::txArrowEnum Tips, const double& Hs1,
               const double& Ksu1, const double& Fch1, const TString& S1, const double& Hs2,
               const double& Ksu2, const double& Fch2, const TString& S2) override;
  void drDimL(const double& iVal, const TString& Qual, const double& Dx, const double& Dy, int Pt, int Pn,
              const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
              const double& x2, const double& y2, int T2, int Po2, const TString& S1, const TString& S2,
              const TString& S3) override;
  void drDimHL(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
               const double& X2, const double& Y2, const TString& S1, const TString& S2,
               const TString& S3) override;
  void drDimHL1(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
                const double& X2, const double& Y2, const TString& S1, const TString& S2,
                const TString& S3) override;
  void drDimHL2(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
                const double& X2, const double& Y2, const TString& S1, const TString& S2,
                const TString& S3) override;
  void drDimVL(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
               const double& X2, const double& Y2, const TString& S1, const TString& S2,
               const TString& S3) override;
  void drDimVL1(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
                const double& X2, const double& Y2, const TString& S1, const TString& S2,
                const TString& S3) override;
  void drDimVL2(const double& Value, const double& Off, const double& Pt, const double& X1, const double& Y1,
                const double& X2, const double& Y2, const TString& S1, const TString& S2,
                const TString& S3) override;
  void drDimD(const double& Val, const TString& Qual, const double& FBase, int Pt, int Pn, const double& x,
              const double& y, int t, const TString& S1, const TString& S2, const TString& S3) override;
  void drDimR(const double& Val, const TString& Qual, const double& FBase, const double& Drl, int Pt, int Pn,
              const double& xc, const double& yc, int t, int Po, const TString& S1, const TString& S2,
              const TString& S3) override;
  void drDimA(const double& Val, int Napr, const double& FBase, const double& Rr, int Pt, int Pn,
              const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
              const double& x2, const double& y2, int T2, int Po2, const TString& S, const double& xc,
              const double& yc) override;
  void drDimApc(const double& Val, const double& FBase, const double& Rr, const double& sRr, const TString& S,
                const double& xc, const double& yc) override;
  void drDimRpp(const double& Val, int Pt, const double& Xs, const double& Ys, const double& Xp,
                const double& Yp, int Ts, const TString& S1, const TString& S2, const TString& S3) override;
  void drCircleShelf(const double& xc, const double& yc, const double& rc, const double& xs, const double& ys,
                     const TString& ts) override;
  void drRough(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
               const TString& S1, const TString& S2, const TString& S3) override;
  void drSRough(int Tz, bool Tzs, const TString& S) override;
  void drForm(const double& x, const double& y, int Tip, int S1, const TString& S2,
              const TString& S3) override;
  void drSupportForm(const double& x, const double& y, int Top, int Twx) override;
  void drBase(const double& x, const double& y, const double& dx, const double& dy,
              const TString& S) override;
  void drRectAngleAxleDim3D(txapi::txObj3dTypeEnum BasePlane, const double& Vidst, const double& X1,
                            const double& Y1, const double& X2, const double& Y2, int Attr,
                            const TString& S1) override;
  void drWPointer(const double& x1, const double& y1, const double& x2, const double& y2, const double& Xt,
                  const double& Yt, const double& Hs, const double& Ksu, const double& Fch,
                  const TString& S) override;
  void drRectAngleAxleDim(const double& x1, const double& y1, const double& x2, const double& y2, int Attr,
                          const TString& text, const double& dx, const double& dy) override;
  void drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
              const TString& Comment) override;
  bool drView(int N, const double& x, const double& y) override;
  bool drLeafStamp(int Detail, int subDetail, bool Invisible) override;
  bool drLeafStamp(int Detail, int subDetail, const double& x, const double& y, bool Invisible) override;
  bool drLeafStampView1(int Detail, int subDetail, const double& x, const double& y, bool Invisible) override;
  void drShtamp() override;
  void drCreateLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, int iFormat, int Krat, int Tips, int Pros,
                    TString& Comment, bool Invisible) override;
  void drSaveLeaf() override;
  void drCloseLeafSpw(bool Close) override;
  void drCloseView() override;
  void drCloseLeaf() override;
  void drOpenTDem() override;
  void drCloseTDem() override;
  void drStringObj(const TString& S) override;
  void drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                const TString& S4) override;
  void drAStView7(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                  const TString& Comment, const TString& FName, const TString& tView) override;
  void drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count) override;
  void drSpcObj(TString& Name, TSectionSpc Section, txapi::SmartPtr<txapi::IDrawingObject> Obj) override;

  void drCreate3D(bool Invisible, bool isDetail, const TString& FileName, const TString& Name,
                  const TString& Marking) override;
  bool drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible, txapi::txObj3dTypeEnum BasePlane,
                              const double& Vidst) override;
  void drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle,
                    const TString& Name) override;
  void drBaseRotate(int Napr, const double& Angle) override;
  void drCutRotate(int Napr, const double& Angle, TMark* Mark) override;
  void drSurfaceRotate(int Napr, const double& Angle) override;
  void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                       const double& Angle) override;
  void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                       const double& Angle, bool Thin) override;
  void drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                      const double& Angle) override;
  void drSurfaceExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                          const double& Angle) override;
  void drColor3D(int Color, const double& ambient, const double& diffuse, const double& specularity,
                 const double& shininess, const double& transparency, const double& emission) override;
  void drClose3D(bool SaveDocument3D, TSectionSpc Section) override;
  void drSave3D(bool Close, bool NeedNameMarking) override;
  void drSet(const TString& Name, const TString& Note, const TString& Marking, int TypeDet) override;
  void AddDetail(const double& x, const double& y, const double& z, int DetailCode, int Suffics,
                 bool ReverseZ) override;
  void AddDetailAxle(const double& x, const double& y, const double& z, int DetailCode, int Suffics,
                     const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                     const double& yDy, const double& yDz) override;
  void drMacro3D(const TString& Name, bool MStaffVisible) override;
  void drEndMacro3D() override;
  void drSetDC(int Detail, int Suffics) override;
  txapi::SmartPtr<txapi::IVariable> drAddVariable(const TString& Name, double Value,
                                                  const TString& Comment) override;

private:
  template <class... A> void Rec(const char* op, const A&... args);
  void AddCurve(TCurve c);
  void EndSketch() { InSketch = -1; }

  TConstraint2D Constraint;
  int HatchCount = 0, SketchCount = 0;
  int InSketch = -1;
  std::vector<int> OpenHatch; // hatch numbers of the pending commands that are hatches, or -1
};

// Fails with the reason when the modeller's drawing is unsound: a non-finite number, an
// unbalanced transform, macro, group or pending command, an open hatch boundary or sketch.
::testing::AssertionResult DrawingSound(const TRecordingModeler& m);
