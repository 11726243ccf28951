#pragma once
// The host modeller adapter: drApi::TModelerApi implements the drawing model's modellers on
// the host's object API, and drApi::MA is its one process-wide instance. Besides the modeller
// interface it offers operations of its own that callers reach on MA directly: documents and
// parts, planes and sketches, components and mates, the host's message boxes and help, the
// library's initialisation.
//
// Every host reference is a txapi::SmartPtr. A missing context (no document, part, sketch or
// container) or an empty host reference ends an operation quietly with its "nothing" result;
// no operation catches what a host call throws.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hxcadkit/core/ControlModel.h"
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/drawing/Cuthole.h"
#include "hxcadkit/drawing/drModeler.h"
#include "hxcadkit/geometry/Mathemat3d.h"
#include "txapi/Enums.h"
#include "txapi/IApplication.h"
#include "txapi/IAssociationView.h"
#include "txapi/IBoundariesObject.h"
#include "txapi/IChooseManager.h"
#include "txapi/IColouring.h"
#include "txapi/ICutLine.h"
#include "txapi/IDrawingContainer.h"
#include "txapi/IDrawingObject.h"
#include "txapi/IEdge.h"
#include "txapi/IExternalTessellation.h"
#include "txapi/IFace.h"
#include "txapi/IFeature.h"
#include "txapi/IHatch.h"
#include "txapi/ILeader.h"
#include "txapi/ILineDimension.h"
#include "txapi/ILocalCoordinateSystem.h"
#include "txapi/IMacroObject.h"
#include "txapi/IMateConstraint3D.h"
#include "txapi/IMateConstraints3D.h"
#include "txapi/IModelObject.h"
#include "txapi/IPart.h"
#include "txapi/IPlacement3D.h"
#include "txapi/IPlane3D.h"
#include "txapi/IPolyLine.h"
#include "txapi/IProgressBar.h"
#include "txapi/IRough.h"
#include "txapi/ISelectionManager.h"
#include "txapi/ISketch.h"
#include "txapi/IStamp.h"
#include "txapi/ISymbols2DContainer.h"
#include "txapi/ITavrixAPIObject.h"
#include "txapi/ITavrixDocument.h"
#include "txapi/ITavrixDocument2D.h"
#include "txapi/ITavrixDocument3D.h"
#include "txapi/ITavrixError.h"
#include "txapi/ITechnicalDemand.h"
#include "txapi/IText.h"
#include "txapi/ITolerance.h"
#include "txapi/IVariable.h"
#include "txapi/IView.h"
#include "txapi/IViewProjection.h"
#include "txapi/IViewProjectionManager.h"
#include "txapi/IViews.h"

// Which part drGetPart makes current: the document's top part, or the part a new component
// will be added to. Both are the top part on this host.
enum Part_Type : int { pTop_Part = -1, pNew_Part = -3 };

namespace drApi {

// Text as the host takes it.
inline std::wstring W(const TString& s)
{
  return s.toWideChar();
}

// Lists of model objects, as host 3D operations take them.
using TVOfMO = std::vector<txapi::SmartPtr<txapi::IModelObject>>;

// The stack of open macro objects (innermost last; Count is the depth) and the objects recorded
// at each depth.
class TNestedArrayOf : public TArrayOf<txapi::SmartPtr<txapi::ITavrixAPIObject>>
{
public:
  using TMember = TPair<Integer, txapi::SmartPtr<txapi::ITavrixAPIObject>>;

  explicit TNestedArrayOf(Integer size = 8)
    : TArrayOf<txapi::SmartPtr<txapi::ITavrixAPIObject>>(size, size), AObjects(size, size)
  {
  }

  // Records Obj at the current depth; nothing for an empty Obj or with no level open.
  void Add(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj);
  // The members recorded at the current depth, in order, as model objects (empty where one is
  // none), taken out of the list; empty with no level open. An empty top entry (a macro the
  // host refused) still gives up its members, so they never reach the next macro at that depth.
  std::vector<txapi::SmartPtr<txapi::IModelObject>> Objects();

  TArrayOf<TMember> AObjects;
};

// Edges of a body.
class TAOfEdge : public TArrayOf<txapi::SmartPtr<txapi::IEdge>>
{
public:
  TAOfEdge() : TArrayOf<txapi::SmartPtr<txapi::IEdge>>(8, 8) {}
};

// The edge F1 and F2 share (the n-th such, in F1's order); empty when none or a face is empty.
txapi::SmartPtr<txapi::IEdge> GetLinkEdge(txapi::SmartPtr<txapi::IFace> F1, txapi::SmartPtr<txapi::IFace> F2, int n);

// The model objects a selection binding has chosen.
class TAOfComEntity : public TArrayOf<txapi::SmartPtr<txapi::IModelObject>>
{
public:
  TAOfComEntity() : TArrayOf<txapi::SmartPtr<txapi::IModelObject>>(8, 8) {}

  // The index of the first element that is the same host object; -1 when none.
  int IndexOfByEqu(txapi::SmartPtr<txapi::IModelObject>& Object) const;
  // True when some listed face shares an edge with Face.
  bool IsLinked(txapi::SmartPtr<txapi::IFace>& Face) const;
  // Colours every listed object through the global modeller, opaque.
  void SetColor(int Color);
};

class TModelerApi;

// The parametric-constraint builder of the 2D primitives. Nothing in the system switches it
// on; while it is off every operation does nothing.
class TConstraintApi : public TConstraint2D
{
public:
  explicit TConstraintApi(TModelerApi& m) : M(m) {}

  void Add() override {}
  void DoLine(double x1, double y1, double x2, double y2, int Attr) override;
  void DoArc(double X, double Y, double R, double x1, double y1, double x2, double y2, int Napr,
             int Attr) override;
  void DoCircle(double X, double Y, double R, int Attr) override;
  void DoEllipse(double X, double Y, double A, double B, double Angle, int Attr) override;

  bool Active = false;
  bool ActiveConnest = false;
  bool FixFirst = true;
  TModelerApi& M;
};

// The adapter's host state: what the operations left current.
class TRegistryApi
{
public:
  TRegistryApi() : AMacroObj(8), AMacroObject3D(8), APoints(64, 64) {}

  txapi::IApplication* Tavrix7 = nullptr;
  txapi::SmartPtr<txapi::ITavrixError> TavrixError;
  txapi::SmartPtr<txapi::IProgressBar> ProgressBar;
  TString PathFileName;
  TString FileName;
  TString ModuleName;
  TString Path;
  TString LibFont;

  txapi::SmartPtr<txapi::ITavrixDocument> IDoc;
  txapi::SmartPtr<txapi::ITavrixDocument3D> IDoc3D;
  txapi::SmartPtr<txapi::ITavrixDocument2D> IDoc2D;
  // The active document's maker of preview display objects; empty for a document without one.
  txapi::SmartPtr<txapi::IExternalTessellationManager> ITessellationMng;
  txapi::SmartPtr<txapi::IPart> Part;
  txapi::SmartPtr<txapi::IModelObject> Plane;
  txapi::SmartPtr<txapi::ISketch> Sketch;
  txapi::SmartPtr<txapi::IView> View;
  txapi::SmartPtr<txapi::IDrawingContainer> DrawingContainer;
  txapi::SmartPtr<txapi::ISymbols2DContainer> Symbols2DContainer;
  txapi::SmartPtr<txapi::ITavrixAPIObject> Obj;
  txapi::SmartPtr<txapi::IModelObject> Obj3D;
  txapi::SmartPtr<txapi::IDrawingObject> Entity2D;
  txapi::SmartPtr<txapi::ITavrixAPIObject> LastObj;
  txapi::SmartPtr<txapi::IMacroObject> MacroObj;
  txapi::SmartPtr<txapi::ICutLine> CutLine;
  txapi::SmartPtr<txapi::ILeader> Leader;
  txapi::SmartPtr<txapi::IPolyLine> Polyline3D;
  txapi::SmartPtr<txapi::ITolerance> Tolerance;
  txapi::SmartPtr<txapi::IHatch> Hatch;
  txapi::SmartPtr<txapi::IColouring> Colouring;
  txapi::SmartPtr<txapi::IBoundariesObject> BoundariesObject;
  txapi::SmartPtr<txapi::IStamp> Stamp;
  txapi::SmartPtr<txapi::IText> Text;
  txapi::SmartPtr<txapi::ITechnicalDemand> TechnicalDemand;
  TNestedArrayOf AMacroObj;
  TNestedArrayOf AMacroObject3D;
  TArrayOf<TPoint2D> APoints;
  Integer CountDrawing = 0;
  // Whether the current 3D document and the current sheet were made or opened hidden: the
  // library lets go of them by closing them, as nobody else can.
  bool Hidden3D = false;
  bool HiddenLeaf = false;
  // Whether the last drSave3D wrote its document.
  bool Saved3D = true;
  // How many features the host answered it could not make.
  long long FailedFeatures = 0;
  // The file name the current 3D document was opened under by drCreate3D, and what the last saves of the
  // documents opened under each name did (the latest few names).
  TString File3D;
  const txapi::ITavrixDocument* File3DDoc = nullptr; // the document named File3D, compared only
  std::vector<std::pair<TString, TModeler3D::TSavedFile>> SavedFiles;
};

// The program's view of the host selection: the active document's selection and highlight
// services, taken when a command starts (drGetPart) and let go when it ends. Every operation does
// nothing while the service it needs is not held.
class TSelectorAPI
{
public:
  static TSelectorAPI& Instance();
  ~TSelectorAPI();
  TSelectorAPI(const TSelectorAPI&) = delete;
  TSelectorAPI& operator=(const TSelectorAPI&) = delete;

  void Begin();
  void End();
  // Highlights the object; nothing for an empty one.
  void Choose(txapi::SmartPtr<txapi::ITavrixAPIObject> Object);
  void UnChooseAll();
  void UnSelectAll();
  void SetCurrentManagerType(txapi::txChooseManagerTypeEnum Type);

  // The selected objects (maTavrixSelect.cpp). Get7 is empty outside [0, GetCount()) and for an
  // entry that is no model object, whose type is then o3d_unknown.
  txapi::SmartPtr<txapi::IModelObject> Get7(int I);
  txapi::txObj3dTypeEnum GetObjectType(int I);
  int GetCount();
  void Select(const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& V);
  // Takes the object out of the highlight.
  void UnChoose(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj);

  txapi::SmartPtr<txapi::ISelectionManager> Selection7;
  txapi::SmartPtr<txapi::IChooseManager> Choose7;

private:
  TSelectorAPI() = default;
};

// The running command, as the modeller's long operations report to it.
class TCommandProgressLink
{
public:
  virtual ~TCommandProgressLink() = default;
  virtual void NextProgress(const TString& text) = 0;
  virtual void SetPrompt(const TString& text) = 0;

  // Installs a link (null removes it) and returns the one it replaces.
  static TCommandProgressLink* Set(TCommandProgressLink* link);
  static TCommandProgressLink* Get();
};

// Opens the drawing sheet and the part document of a mould part by its detail code. The product
// installs none, so that both openers answer false as this host's modeller always has; tests and
// their plug-ins install one that opens a sheet or a part document on the stand-in host.
class TMouldDocumentLink
{
public:
  virtual ~TMouldDocumentLink() = default;
  virtual bool LeafStamp(TModelerApi& M, int Detail, int subDetail, bool Invisible) = 0;
  virtual bool NewPartPlane(TModelerApi& M, int Detail, int subDetail, bool InVisible,
                            txapi::txObj3dTypeEnum BasePlane, const double& Vidst) = 0;

  // Installs a link (null removes it) and returns the one it replaces.
  static TMouldDocumentLink* Set(TMouldDocumentLink* link);
  static TMouldDocumentLink* Get();
};

// What a mould part's sheet holds, in the sheet's millimetres, so that what the library places on it
// (dimensions, roughness signs, titles, leaders' texts, details, view arrows, the requirements) stays
// inside the frame and off the drawing: where the part's drawing asks for it when that is free, else the
// nearest free place (a dimension line further out, spaced from the others, or on the part's other side;
// a diameter's leader turned; an angle on the opposite rays or a wider arc; a sign along the surface it
// stands on first, never into the part). The views' visible outlines, hatched areas and texts are
// recorded as they are drawn; dimensions, then titles, then signs settle when the view closes, when
// everything they must keep off is known. Sizes follow how a sheet shows them: texts 0.6 of their height
// a character, dimension values 3.5 high above the middle of their line as it is read, a parallel line
// a host lays 8 mm beyond the farther measured point and a step further for each dimension it would meet.
class TSheetLayout
{
public:
  struct TQuad
  {
    double X[4] = {}, Y[4] = {};
  };
  // A sign the library placed: the host's object, where it was asked for in its container, and how its
  // container maps to the sheet.
  struct TSign
  {
    txapi::SmartPtr<txapi::IRough> Sign;
    double X = 0, Y = 0, Angle = 0;    // in its container
    double SX = 0, SY = 0, SAngle = 0; // on the sheet
    double Scale = 1;                  // sheet millimetres per container unit
    std::size_t Chars = 0;             // of its value
    // Asked where it has to stand: the sheet that leaves it off its frame does not hold the view.
    bool Kept = false;
  };

  // Items by square cells of the sheet, each in every cell its box (x1, y1, x2, y2) meets, those beyond the
  // cells in the nearest: what a box asks of the items it asks of those in the cells it meets, each once,
  // so that a question costs its neighbours. An item whose box is not a number is asked by every box, and
  // every item by a box that is not.
  class TCells
  {
  public:
    // No items; cells at least Least square over the box (x1, y1)-(x2, y2), at most Most along a side.
    void Reset(double x1, double y1, double x2, double y2);
    // The item i (the next one, or one there already) with its box at b.
    void Put(std::size_t i, const std::array<double, 4>& b);
    // Whether f(i) holds for an item i whose box lies within a micrometre of b: those farther off are
    // left out, which the measures that part boxes more than a micrometre apart never find meeting.
    template <class F> bool Any(const std::array<double, 4>& b, const F& f) const
    {
      constexpr double Apart = 1e-3;
      const double x1 = b[0] - Apart, y1 = b[1] - Apart, x2 = b[2] + Apart, y2 = b[3] + Apart;
      if (!std::isfinite(x1 + y1 + x2 + y2) || Across == 0) {
        for (std::size_t i = 0; i < Items.size(); ++i)
          if (f(i)) return true;
        return false;
      }
      for (const std::size_t i : Everywhere)
        if (f(i)) return true;
      const std::size_t left = CellX(x1), right = CellX(x2), bottom = CellY(y1), top = CellY(y2);
      for (std::size_t r = bottom; r <= top; ++r)
        for (std::size_t c = left; c <= right; ++c)
          for (const std::size_t i : Cells[r * Across + c]) {
            const TItem& e = Items[i];
            if (std::max(e.C0, left) != c || std::max(e.R0, bottom) != r || e.Box[2] < x1 || e.Box[0] > x2 ||
                e.Box[3] < y1 || e.Box[1] > y2)
              continue;
            if (f(i)) return true;
          }
      return false;
    }

  private:
    static constexpr double Least = 8;
    static constexpr std::size_t Most = 128;
    struct TItem
    {
      std::array<double, 4> Box;
      std::size_t C0 = 0, R0 = 0, C1 = 0, R1 = 0;
      bool Everywhere = false;
    };
    std::size_t CellX(double x) const
    {
      return std::size_t(std::clamp((x - X0) / Size, 0.0, double(Across - 1)));
    }
    std::size_t CellY(double y) const { return std::size_t(std::clamp((y - Y0) / Size, 0.0, double(Up - 1))); }
    void Take(std::size_t i);
    double X0 = 0, Y0 = 0, Size = 1;
    std::size_t Across = 0, Up = 0;
    std::vector<TItem> Items;
    std::vector<std::vector<std::size_t>> Cells;
    std::vector<std::size_t> Everywhere;
  };
  // The quads a layout keeps (texts, lines), by cells of the sheet once asked (see TCells): changed only
  // through push_back, Set and Shift, so that the cells follow.
  class TQuads
  {
  public:
    using const_iterator = std::vector<TQuad>::const_iterator;
    const_iterator begin() const { return Items.begin(); }
    const_iterator end() const { return Items.end(); }
    std::size_t size() const { return Items.size(); }
    bool empty() const { return Items.empty(); }
    const TQuad& operator[](std::size_t i) const { return Items[i]; }
    const TQuad& back() const { return Items.back(); }
    void clear() { Items.clear(), Indexed = false; }
    void push_back(const TQuad& q);
    void Set(std::size_t i, const TQuad& q);
    void Shift(double dx, double dy);
    // The sheet the cells are laid over.
    void Cover(double width, double height) { W = width, H = height, Indexed = false; }
    // Whether f(i) holds for a quad i whose box lies within a micrometre of b (x1, y1, x2, y2).
    template <class F> bool Any(const std::array<double, 4>& b, const F& f) const
    {
      if (!Indexed) Index();
      return Cells.Any(b, f);
    }

  private:
    void Index() const;
    std::vector<TQuad> Items;
    double W = 0, H = 0;
    mutable TCells Cells;
    mutable bool Indexed = false;
  };

  // A sheet of width by height with its view at (x, y), turned by angle and scaled.
  void Begin(double width, double height, double x, double y, double angle, double scale);
  void End() { On = false; }
  bool Active() const { return On; }
  // Whether the views, moved by (dx, dy), leave the frame or enter the title block: an outline either, a
  // thin line of theirs (an axis running on past the part) or a sign kept where asked the frame too unless
  // outlinesOnly.
  bool Cramped(double dx = 0, double dy = 0, bool outlinesOnly = false) const;
  // The same on a sheet width x height.
  bool CrampedOn(double width, double height, double dx, double dy, bool outlinesOnly = false) const;
  // Whether (X, Y) lies past the frame of a sheet width x height by more than a rounding.
  static bool OffFrame(double width, double height, double X, double Y);
  // Whether the views, moved by (dx, dy), lie inside the frame of a sheet width x height and off its title
  // block. Where they do not, but their box leaves Room to spare on each side of it in the frame, (dx, dy)
  // grows by the least further move that brings it inside with that room (above or beside the title block
  // where it would lie on it); true where that holds.
  bool HoldsOn(double width, double height, double& dx, double& dy) const;
  // The least move (dx, dy) that brings the views' outlines and thin lines inside the frame, as IntoFrame
  // gives it for their box, with the signs kept where asked a millimetre inside it.
  bool ViewIntoFrame(double& dx, double& dy) const;
  // The sheet grown to width x height before what the view holds settles, all of it moved by (dx, dy) with
  // the view.
  void Enlarge(double width, double height, double dx, double dy);
  // How far right the view moves on a sheet width wide so that its outlines leave the binding margin room
  // for what stands beside them, as far as the frame's other side lets it.
  double RoomLeft(double width) const;
  // Room for a stack of three dimensions or an angle's value beside the outlines.
  static constexpr double Room = 30;
  // How far right the view moves so that every angle still to settle, at the least arc it takes, has its
  // arc and value inside the frame on one side of its vertex or the other; 0 where each has. Negative, how
  // far left, where that is what an angle past the frame's right edge needs.
  double AngleRoom() const;
  // Whether every angle still to settle keeps its arc, at the least radius it takes, and its value inside
  // the frame with the view moved by dx on each side of its vertex where they are inside it now.
  bool AnglesKeepRoom(double dx) const;
  double ViewX() const { return VX; }
  double ViewY() const { return VY; }
  // A point of the view's container (after the library's own placement) on the sheet.
  void ToSheet(double x, double y, double& X, double& Y) const;
  double ViewAngle() const { return VA; }
  // Whether (X, Y) lies inside the frame and off the title block, at least margin from their edges.
  bool InFrame(double X, double Y, double margin) const;
  double ViewScale() const { return VS; }

  void Outline(double X1, double Y1, double X2, double Y2);
  // An arc (or circle) drawn about (X, Y) of radius R, from From degrees through Sweep degrees (counter-
  // clockwise when positive), all on the sheet: a diameter's or radius's arrows land on the arcs of its
  // circle; one in a main line (outline) is a hole a leader keeps off where it lies inside another off
  // its centre.
  void Arc(double X, double Y, double R, double From, double Sweep, bool outline = true);
  // A thin line of a view (an axis, a hidden or thin line): no dimension's value lies across it. One that
  // carries (a thin continuous line, which a part draws as a surface's extension line) holds a sign too.
  // One not drawn (a section's hatch closed along its axis, where its outline breaks) is no axis a
  // reader sees: the signs keep off it, the values need not.
  void ThinLine(double X1, double Y1, double X2, double Y2, bool carries = false, bool drawn = true);
  // A broken line (a detail's boundary): a thin line that also bounds the detail, whose values stand within
  // it by the four sides alone (see Within).
  void BrokenLine(double X1, double Y1, double X2, double Y2);
  void Occupy(const TQuad& q);
  // The outlines recorded from a hatch's start to its end bound a hatched area.
  void BeginArea() { AreaFrom = Segments.size(); }
  void EndArea();
  // A text of height h at (X, Y) turned by angle on the sheet, with chars characters.
  static TQuad TextBox(double X, double Y, double angle, double h, std::size_t chars);
  void Sign(const TSign& s) { Signs.push_back(s); }
  // A title or a leader's text the library placed: how to move it in its container, where it was asked
  // for there, its box on the sheet and how a move on the sheet maps back.
  struct TTitle
  {
    std::function<void(double x, double y)> MoveTo;
    double X = 0, Y = 0;        // in its container
    TQuad Box;                  // on the sheet
    double Scale = 1, Turn = 0; // sheet millimetres per container unit; the container's turn on the sheet
    bool Level = true;          // written along the sheet's x axis
    // Asked off the sheet as first opened (a view's arrow beside a part that reaches the frame): the sheet
    // that leaves it off its frame does not hold the view.
    bool AskedOff = false;
    // A leader's text: its origin on the sheet (moving with the text) and its branches' ends (staying).
    bool Leader = false;
    double OX = 0, OY = 0;
    std::vector<std::array<double, 2>> Branches;
  };
  void Title(const TTitle& t) { Titles.push_back(t); }
  // The last title is a leader's text with its origin at (OX, OY) on the sheet; a branch of it ends at
  // (X, Y).
  void TitleLeader(double OX, double OY);
  void TitleBranch(double X, double Y);
  // A linear dimension from p1 to p2 on the sheet, its line on the side n (a unit vector, u along it)
  // through (LX, LY) or, when that is NaN, where a host lays it; its value of chars characters.
  void LineDimension(double X1, double Y1, double X2, double Y2, double Ux, double Uy, double Nx, double Ny,
                     std::size_t chars, double LX, double LY);
  // A linear dimension measured along its container's x or y: how to move its line in its container,
  // the line point the drawing asks for there and the unit normal towards it; on the sheet the measured
  // points, the unit vectors along the dimension (u) and towards its line (n), sheet millimetres per
  // container unit and the characters of its value as shown.
  struct TDimension
  {
    std::function<void(double x, double y)> MoveLine;
    // How to write its value k container units along the line from the line's middle.
    std::function<void(double k)> MoveValue;
    double LX = 0, LY = 0, CNx = 0, CNy = 1;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, SX = 0, SY = 0, Ux = 1, Uy = 0, Nx = 0, Ny = 1, Scale = 1;
    double UScale = 1; // sheet millimetres per container unit along the line
    std::size_t Chars = 0;
    // The end a value that does not fit goes past first: below the line's first end (-1) or beyond its
    // second (1, and 0).
    int Side = 0;
    // The same size taken on the part's other side, where the drawing offers one, and how to move the
    // dimension there: taken where its own side leaves a value too long for its line no clean place.
    std::shared_ptr<TDimension> Other;
    std::function<void()> ToOther;
  };
  void Dimension(const TDimension& d) { Dimensions.push_back(d); }
  std::size_t LinearCount() const { return Dimensions.size(); }
  // The linear dimension recorded last may measure the same size at other points, d on the sheet.
  void OtherSide(const TDimension& d, std::function<void()> to);
  // A diameter or radius dimension: how to turn its leader (to its arrow's point at angle degrees in its
  // container, its value shift past the circle there, a radius's leader coming from beyond that point
  // through it towards the centre when reversed), its centre on the sheet, where its container's unit
  // vectors go there, its radius and its value's shift past the circle in the container and the
  // characters of its value as shown.
  struct TCircleDimension
  {
    std::function<void(double angle, double shift, bool reversed)> Turn;
    // A radius's line stopped short of its centre, where running from the centre it would cross a line.
    std::function<void()> Shorten;
    double CX = 0, CY = 0, ExX = 1, ExY = 0, EyX = 0, EyY = 1, R = 0, Shift = 0;
    bool Diameter = true;
    // The angle its leader was asked at, when one was, on the sheet and in its container: a sign asked
    // on that line stands on the leader where it settles.
    bool Asked = false;
    double AskedAngle = 0, AskedIn = 0;
    std::size_t Chars = 0;
  };
  void Dimension(const TCircleDimension& d) { Circles.push_back(d); }
  // An angle dimension about (X, Y) on the sheet from A1 to A2 degrees, its arc of radius R and its value
  // of Chars characters, and how to show it between the opposite rays, its arc's radius times wider. Rays
  // drawn from measured points off the vertex start From that far along them, and never turn. Where its
  // value stands nowhere free with its arc as asked or widened across nothing, the arc goes from Floor.
  struct TAngle
  {
    std::function<void(bool opposite, double wider)> Place;
    double X = 0, Y = 0, A1 = 0, A2 = 0, R = 25, Floor = 25;
    std::array<double, 2> From{};
    std::size_t Chars = 0;
  };
  void Dimension(const TAngle& a) { Angles.push_back(a); }
  // Moves every dimension line whose value would lie outside the frame, on the drawing or too near
  // another line to the nearest free offset, then every title and every sign that lies outside the frame
  // or on what the sheet holds to its nearest free place. A sign that stays crossed where its own stretch
  // of line lets it stand moves along its surface's line, carried there by a thin line that carry draws
  // from one point of the sheet to another (none drawn, and the sign left where it is, without carry).
  void Settle(const std::function<void(double X1, double Y1, double X2, double Y2)>& carry = {});
  // A point of the sheet in the view's container: what ToSheet maps to (X, Y).
  void FromSheet(double X, double Y, double& x, double& y) const;
  // The box of the requirements (x1, y1, x2, y2; y2 their top) moved to the nearest place free of the
  // drawing; when the whole box fits nowhere, to the nearest place free for width by height under its
  // top-left corner (what its lines take, when known).
  void Requirements(double& x1, double& y1, double& x2, double& y2, double width = 0,
                    double height = 0) const;
  // The move (dx, dy) that brings the box (x1, y1)-(x2, y2) inside the frame, its lower left corner first
  // where it is larger than the frame; false where it lies inside already.
  bool IntoFrame(double x1, double y1, double x2, double y2, double& dx, double& dy) const;
  // Whether the box (x1, y1)-(x2, y2) stands among a view's sizes: within the box of a view and the
  // extension lines from it, settled or still to settle (to their lines as asked and past them).
  bool AmongSizes(double x1, double y1, double x2, double y2, double past) const;
  // The move (dx, dy) in sheet millimetres to the nearest place where the box (x1, y1)-(x2, y2) is free;
  // false, with no move, when there is none within reach.
  // A move must also pass also, when given. The moves tried lie on a grid of step, reach across and 0.7 of
  // it up and down.
  bool FreeMove(double x1, double y1, double x2, double y2, double& dx, double& dy,
                const std::function<bool(double dx, double dy)>& also = {}, double step = 2.0,
                double reach = 200.0) const;
  // Whether an angle dimension about (X, Y) from a1 to a2 degrees with its arc of radius r and its value
  // of chars characters lies inside the frame; with record, its value then occupies the sheet.
  bool AngleFits(double X, double Y, double a1, double a2, double r, std::size_t chars, bool record);
  // Whether a ray from the vertex (X, Y) at angle a (degrees), r long, runs through an outline: crosses one
  // other than where it runs along an edge from the vertex, or along the edge's line, or where it ends.
  bool RayThroughOutline(double X, double Y, double a, double r) const;
  // Whether an angle's arc about (X, Y) of radius r from a1 to a2 degrees runs along an outline: more than
  // a millimetre of its chords (a degree or less each) with their middles beside one within 2 mm of it,
  // turned less than 6 degrees off it.
  bool ArcAlongOutline(double X, double Y, double a1, double a2, double r) const;

private:
  bool Free(const TQuad& q, bool within = false) const;
  bool Clear(const TQuad& q) const;
  bool Within(double X, double Y) const;
  static TQuad AngleValue(double X, double Y, double a1, double a2, double r, std::size_t chars);
  // Whether an angle may stand between its opposite rays on an arc of radius r: rays from its vertex that
  // run through no outline.
  bool Opposable(const TAngle& g, double r) const;
  // The box (x1, y1, x2, y2) of an angle's arc of radius r, its rays turned by turn degrees, and of its value.
  static std::array<double, 4> AngleBox(const TAngle& g, double turn, double r);
  // The dimensions in the order they settle: the linear ones, the angles, then the diameters and radii.
  void PlaceDimensions();
  void PlaceLinear();
  // The angles; their arcs, rays and arrowheads where they went into arcs and their arcs' chords alone
  // into chords, which the leaders settled after them keep off.
  void PlaceAngles(std::vector<std::array<double, 4>>& arcs, std::vector<std::array<double, 4>>& chords);
  struct TAnglesSettled;
  // Whether the angle g settles on the side s (1: between the opposite rays) with its arc of radius at, its
  // rays drawn on from base, after the angles done; with clear, only where its arc and those rays cross no
  // linear dimension's line or extension line and the rays no outline. In the last passes (pass) anywhere
  // inside the frame, its value free or not.
  bool AngleSettles(const TAngle& g, const TAnglesSettled& done, int s, double at, double base, bool clear,
                    int pass);
  // The side and radius where the angle g settles after the angles done.
  std::pair<int, double> AngleRoom(const TAngle& g, const TAnglesSettled& done);
  // The angle g placed on that side and radius, and recorded with the angles done; its arc's chords also
  // into chords.
  void SettleAngle(const TAngle& g, int side, double r, TAnglesSettled& done,
                   std::vector<std::array<double, 4>>& chords);
  // Whether a value stands on a linear dimension's line or extension line settled.
  bool OnLinear(const TQuad& q) const;
  void PlaceCircles(const std::vector<std::array<double, 4>>& angleLines,
                    const std::vector<std::array<double, 4>>& chords);
  // Whether the line l crosses a linear dimension's line or extension line settled.
  bool AcrossLinear(const std::array<double, 4>& l) const;
  // The signs, after the dimensions and the titles (see Settle).
  void SettleSigns(const std::function<void(double X1, double Y1, double X2, double Y2)>& carry);
  // The linear dimensions' values moved along their lines off every line that would cross them.
  struct TValue
  {
    std::size_t Box, Line;             // the value's entry in Boxes, its line's in Settled
    double A1x, A1y, A2x, A2y, Length; // its line's ends and its value's length on the sheet
    double Ux, Uy, UScale;
    std::function<void(double k)> Move;
    double Slid; // how far along its line from the middle it already stands
  };
  void PlaceValues(const std::vector<TValue>& values);
  bool Crossed(const TQuad& q) const;
  // Whether an axis drawn runs across the text at q as a reader takes it: shrunk by 0.2 towards its
  // middle, so that a line only touching it passes.
  bool AxisAcross(const TQuad& q) const;
  // The rays and arcs of the angles still to settle, as asked for, that Crossed keeps off: worked out again
  // only where the angles changed since (Of holds what each was).
  struct TToCome
  {
    std::vector<std::array<double, 7>> Of;
    std::vector<std::array<double, 4>> Lines;
  };
  mutable TToCome ToCome;
  const std::vector<std::array<double, 4>>& AnglesToCome() const;
  // Whether the leader of the title t, its text moved by (dx, dy), keeps off its own text and every
  // text settled.
  bool LeaderClear(const TTitle& t, double dx, double dy) const;
  // The boxes (x1, y1, x2, y2) of the views: the outlines' boxes merged while they meet.
  std::vector<std::array<double, 4>> ViewBoxes() const;
  // A linear dimension's line at the offset it was asked at, from one arrow's point to the other.
  static std::array<double, 4> AskedLine(const TDimension& m);
  // Whether a linear dimension taken to its part's other side would run its extension lines over its view
  // farther than the view is across them.
  bool AcrossTheView(const TDimension& m) const;
  // The sizes still to settle, on a sheet width x height with the view moved by (dx, dy), that are asked
  // where they may not settle: a length past the frame whose other side runs along its view, a length or an
  // angle's arc over the title block or by it.
  struct TAskedOff
  {
    std::vector<std::size_t> Lengths; // the linear dimensions asked so, by their place among Dimensions
    bool Angle = false;
  };
  TAskedOff SizesAskedOff(double width, double height, double dx, double dy) const;
  // Whether a length asked with its extension lines run on past the frame, or with a value too long for
  // its line whose place past one end lies past the frame (outside(x, y) says where): the other end, or
  // another offset, may leave it no clean place on that sheet.
  template <class TOutside> static bool CrowdedByFrame(const TDimension& m, const TOutside& outside);
  // Whether the sizes still to settle, on a sheet width x height with the view moved by (dx, dy), would
  // settle amiss: a length's extension line over its view farther than the view is across it (a length with
  // no room on its own side taken to the part's other side), a length's line across another's extension
  // line, a line, an extension line or an angle's arc or ray off the frame or on the title block. A sheet
  // that leaves them only that does not hold the view.
  bool SizesSettleAmiss(double width, double height, double dx, double dy) const;
  bool SettleAmiss(double width, double height, double dx, double dy, const TAskedOff& asked) const;
  // The answers SizesSettleAmiss gave, by the sheet, the view's place and the sizes still to settle.
  mutable std::vector<std::pair<std::array<double, 10>, bool>> Trials;
  // Whether the extension line e, from the point it is drawn from, runs over the view holding that point
  // farther than the view is across it.
  static bool AlongItsView(const std::array<double, 4>& e, const std::vector<std::array<double, 4>>& views);
  // Whether a dimension line from (X1, Y1) to (X2, Y2) runs along an outline, nearer than 2 mm.
  bool AlongOutline(double X1, double Y1, double X2, double Y2) const;
  TQuad Footprint(const TSign& s, double X, double Y) const;
  // Where the value of the sign with its tip at (X, Y) stands.
  TQuad SignValue(const TSign& s, double X, double Y) const;
  // Whether the strokes of the sign s with its tip at (X, Y), its arms and shelf, keep off every dimension
  // line, extension line, leader, angle's arc and ray and thin line settled (sizesOnly: the sizes' lines).
  bool StrokesClear(const TSign& s, double X, double Y, bool sizesOnly = false) const;
  // Whether a stroke of the sign s with its tip at (X, Y) runs over a callout's text.
  bool OnCallout(const TSign& s, double X, double Y) const;
  // Whether the strokes of the sign s with its tip at (X, Y) keep 0.8 off every axis (but by its tip).
  bool StrokesOffAxes(const TSign& s, double X, double Y) const;
  // Whether a size's line (an extension line, a dimension line, a circle's leader) settled crosses q.
  bool SizeAcross(const TQuad& q) const;
  // Whether the sign s with its tip at (X, Y) stands clear of the lines settled: its strokes crossing
  // none, its value a millimetre off every one.
  bool SignClear(const TSign& s, double X, double Y) const;
  // Where the sign asked settles off a leader (its footprint at, its tip at (X, Y), its base at angle):
  // see Settle. Strictly, only where it stands clear (SignClear), and false, with nothing moved, where
  // nowhere is.
  // Asked again where it slid to (slid), only its strokes keep off the axes and only its top (its value's
  // side) out of the views; offEvery, when given, tells whether a strict ask lay off every stretch of its
  // line.
  bool PlaceSign(const TSign& asked, bool strict, TQuad& at, double& X, double& Y, double& angle,
                 bool slid = false, bool* offEvery = nullptr);
  // Where the sign asked stands clear (SignClear) with its tip on its surface's line, the line through its
  // tip along its base, either way round, nearest its ask: on a line drawn along it there, or on one carry
  // draws from what is drawn along it, through nothing but empty paper (far: then across the views and as
  // long as the sheet's longest extension line), where carry says a line may be drawn; false where nowhere
  // is.
  struct TSpot
  {
    TQuad At;                     // its footprint
    double X = 0, Y = 0, Angle = 0; // its tip and its base's angle
    bool Carried = false;         // on a line to be drawn from Line's first end to its second
    std::array<double, 4> Line{};
  };
  bool OnSurfaceLine(const TSign& asked, bool carry, bool far, TSpot& spot) const;
  // A sign as first settled: its place among Boxes, its tip and base's angle, whether on a leader, and
  // whether it was asked off every stretch of its line.
  struct TPlacedSign
  {
    std::size_t Box;
    double X, Y, Angle;
    bool Leader, OffEvery = false;
  };
  // The signs where asked or nearest, then those crossed there again, each off its own place.
  std::vector<TPlacedSign> SignsAsAsked();
  // Whether the sign Signs[i], placed at p, has a stroke or its value crossed, or its value on a text.
  bool SignCrossed(const TPlacedSign& p, std::size_t i) const;
  // The places on their surfaces' lines found for the crossed signs in order, each place and carrying line
  // held while the next looks (and let go after); how many found none. With firstOrNone, none past a first
  // that finds none; otherwise those that find none marked in failed.
  using TSignPlan = std::vector<std::pair<std::size_t, TSpot>>;
  std::size_t PlanSigns(const std::vector<TPlacedSign>& placed, const std::vector<std::size_t>& order,
                        TSignPlan& spots, bool firstOrNone, std::vector<bool>& failed, bool carry);
  // A callout's text settled: the title, its place among Boxes, how far it moved there and its leader's
  // lines from Thin and TextLeaders on (one a branch).
  struct TCallout
  {
    TTitle Title;
    std::size_t Box;
    double DX, DY;
    std::size_t Thin, Leaders;
  };
  std::vector<TCallout> Callouts;
  // Where the sign asked (Signs[i], its place among Boxes box) finds no place clear of the lines, a
  // callout's text in its way moves off to the nearest free place, its leader with it, and the sign takes
  // the place it left; false, with nothing moved, where none does.
  bool CalloutGivesWay(std::size_t i, std::size_t box,
                       const std::function<void(double X1, double Y1, double X2, double Y2)>& carry);
  // The sign s asked as on the other side of its surface of revolution: its tip and base mirrored about the
  // axis along its base nearest it; false where no axis runs along its base beside it.
  bool Mirrored(const TSign& s, TSign& m) const;
  // The sign s (as asked) moved in its container so that its tip stands at (X, Y) on the sheet, its base at
  // angle degrees.
  static void MoveSign(const TSign& s, double X, double Y, double angle);
  // The sign s as though asked with its tip at (X, Y), its base at angle as asked; false where that is
  // where it was asked, or turned from it.
  static bool AskedAt(const TSign& s, double X, double Y, double angle, TSign& there);
  // The signs asked on a leader that moved from was to now: each asked again as far along the moved one,
  // turned with it.
  void FollowLeader(const std::array<double, 4>& was, const std::array<double, 4>& now);
  // Whether a sign whose footprint is q would stand within a view (topOnly: its value's side of it).
  bool Within(const TQuad& q, bool topOnly) const;

  // The searches of the linear dimensions, the angles and the leaders, each over the sheet as it stands.
  class TLinearSearch;
  class TAngleSearch;
  class TLeaderSearch;

  bool On = false;
  double W = 0, H = 0, VX = 0, VY = 0, VA = 0, VS = 1;
  std::vector<std::array<double, 4>> Segments;
  // The outlines by cells of the sheet, CellSize square from (X0, Y0), Across of them in a row, each outline
  // in every cell its box meets; with each outline's hatched area (or none). What a place or a box asks of
  // the outlines it asks of those in the cells it meets. Built at the first question after the outlines
  // change.
  struct TBands
  {
    static constexpr std::size_t None = std::size_t(-1);
    double X0 = 0, Y0 = 0;
    // Each outline with its box and the first cell it lies in.
    struct TEntry
    {
      double X1, Y1, X2, Y2;
      std::size_t Index, Column, Row;
    };
    double CellSize = 1;
    std::size_t Across = 0, Up = 0;
    std::vector<std::vector<TEntry>> Cells;
    // The outline the last box asked met: the next, a little beside it, is asked of it first.
    std::size_t LastMet = 0;
    std::vector<std::size_t> Area;
    std::vector<char> Odd; // each area's count of crossings, odd or even, while one place is asked
    std::vector<std::size_t> Crossed; // the areas crossed then
    bool Valid = false;
    // The longest outline's width and height together; the views' boxes once asked (see ViewBoxes).
    double Longest = 0;
    std::vector<std::array<double, 4>> Views;
    bool ViewsValid = false;
    // Whether f(i) holds for an outline i whose box comes within near (less than a cell) of that of the
    // segment a and lies in a cell a passes through (or one beside it): of a long slanting line, the cells
    // along it rather than all its box.
    template <class F>
    bool AnyAlong(const std::array<double, 4>& a, double near, std::size_t count, const F& f) const
    {
      const double x1 = std::min(a[0], a[2]) - near, x2 = std::max(a[0], a[2]) + near,
                   y1 = std::min(a[1], a[3]) - near, y2 = std::max(a[1], a[3]) + near;
      if (!std::isfinite(x1 + x2 + y1 + y2) || Cells.empty()) return Any(x1, y1, x2, y2, count, f);
      if (Seen.size() < count) Seen.assign(count, 0);
      if (++Stamp == 0) std::fill(Seen.begin(), Seen.end(), 0), Stamp = 1;
      const std::size_t bottom = CellY(y1), top = CellY(y2);
      for (std::size_t r = bottom; r <= top; ++r) {
        // The stretch of x the line covers within the row (all of it in a row beyond the cells).
        const double lo = r == bottom ? y1 : Y0 + double(r) * CellSize,
                     hi = r == top ? y2 : Y0 + double(r + 1) * CellSize;
        double from = x1, to = x2;
        if (a[3] != a[1]) {
          const double xlo = a[0] + (lo - a[1]) * (a[2] - a[0]) / (a[3] - a[1]),
                       xhi = a[0] + (hi - a[1]) * (a[2] - a[0]) / (a[3] - a[1]);
          from = std::max(x1, std::min(xlo, xhi)), to = std::min(x2, std::max(xlo, xhi));
        }
        const std::size_t left = CellX(from), right = CellX(to);
        for (std::size_t c = left > 0 ? left - 1 : 0; c <= right + 1 && c < Across; ++c)
          for (const TEntry& e : Cells[r * Across + c]) {
            if (Seen[e.Index] == Stamp) continue;
            Seen[e.Index] = Stamp;
            if (e.X2 < x1 || e.X1 > x2 || e.Y2 < y1 || e.Y1 > y2) continue;
            if (f(e.Index)) return true;
          }
      }
      return false;
    }
    mutable std::vector<unsigned> Seen;
    mutable unsigned Stamp = 0;
    // The axes by cells, built at the first question after they change.
    TCells AxisCells;
    bool AxesValid = false;
    // Whether f(i) holds for an outline i whose box meets (x1..x2, y1..y2); every outline where that is
    // not a number.
    template <class F> bool Any(double x1, double y1, double x2, double y2, std::size_t count, const F& f) const
    {
      if (Cells.empty()) return false;
      if (!std::isfinite(x1 + x2 + y1 + y2)) {
        for (std::size_t i = 0; i < count; ++i)
          if (f(i)) return true;
        return false;
      }
      const std::size_t left = CellX(x1), right = CellX(x2), bottom = CellY(y1), top = CellY(y2);
      for (std::size_t r = bottom; r <= top; ++r)
        for (std::size_t c = left; c <= right; ++c)
          for (const TEntry& e : Cells[r * Across + c]) {
            if (std::max(e.Column, left) != c || std::max(e.Row, bottom) != r || e.X2 < x1 || e.X1 > x2 ||
                e.Y2 < y1 || e.Y1 > y2)
              continue;
            if (f(e.Index)) return true;
          }
      return false;
    }
    // The cells' column at x and row at y, the first or the last beyond them.
    std::size_t CellX(double x) const
    {
      return std::size_t(std::clamp((x - X0) / CellSize, 0.0, double(Across - 1)));
    }
    std::size_t CellY(double y) const
    {
      return std::size_t(std::clamp((y - Y0) / CellSize, 0.0, double(Up - 1)));
    }
  };
  mutable TBands Bands;
  const TBands& OutlineBands() const;
  std::vector<std::array<double, 4>> Thin;
  // The thin lines that carry nothing (axes, a thread's root, a detail's broken boundary, hidden lines): a
  // sign's strokes keep off them, an angle's value off those drawn.
  std::vector<std::array<double, 4>> Axes;
  std::vector<bool> AxisDrawn;
  std::vector<std::array<double, 4>> Broken;
  // Whether the sign footprint q, grown by a gap on every side but its base, keeps off the axes.
  bool OffAxes(const TQuad& q) const;
  // Whether an axis meets q (drawn: one drawn).
  bool AxisMeets(const TQuad& q, bool drawn = false) const;
  // Whether q meets a box kept (a text, a value, a sign's place).
  bool Taken(const TQuad& q) const;
  // Whether the line l crosses an outline (see LinesCross).
  bool CrossesOutline(const std::array<double, 4>& l) const;
  // Whether the leader l passes within half a millimetre of a corner of an outline short of its end (l's
  // second point): it reads as running into the outline there, though it crosses none (see LinesCross).
  bool ByCorner(const std::array<double, 4>& l) const;
  TQuads Boxes;
  std::vector<std::pair<std::size_t, std::size_t>> Areas; // ranges of Segments
  std::size_t AreaFrom = 0;
  std::vector<TSign> Signs;
  std::vector<TTitle> Titles;
  std::vector<TDimension> Dimensions;
  std::vector<TCircleDimension> Circles;
  struct TArc
  {
    double X, Y, R, From, Sweep;
    bool Outline = true; // drawn in a main line
  };
  std::vector<TArc> Arcs;
  // The lines of the diameters and radii settled, from the leader's start to its shelf's end.
  std::vector<std::array<double, 4>> CircleLines;
  // The leaders of the diameters and radii settled that were asked at an angle: the line asked (through
  // (CX, CY) at Asked degrees) and the leader drawn, from (X1, Y1) along u, the value on its side n, the
  // circle From along it, the shelf's end To.
  struct TLeader
  {
    double CX, CY, Asked, X1, Y1, Ux, Uy, Nx, Ny, From, To;
    // Its own value's box, and the box kept for its sign among Boxes while the rest settles (none when
    // Boxes.size() or more).
    TQuad Value;
    std::size_t Kept = std::size_t(-1);
  };
  std::vector<TLeader> Leaders;
  // Whether the sign s was asked on the line through (CX, CY) at asked degrees, its base along it.
  static bool AskedOn(const TSign& s, double CX, double CY, double asked);
  // Where on the leader l the sign s stands (its tip at (X, Y), its base at angle), keeping off value
  // when given; false, with the shelf's end, when nowhere is free (strictly: clear, SignClear).
  bool SignOnLeader(const TSign& s, const TLeader& l, const TQuad* value, double& X, double& Y, double& angle,
                    bool strict = false) const;
  // A sign asked on the line asked of a leader settled goes on that leader, at (its footprint) at, its tip
  // at (X, Y) and its base at angle; false for any other, and strictly where no place on it is clear.
  bool OnLeader(const TSign& s, TQuad& at, double& X, double& Y, double& angle, bool strict = false);
  std::vector<TAngle> Angles;
  TQuads DimensionLines;
  // The extension lines of the settled dimensions, as drawn (from the measured point to 2 past the line),
  // and those a part draws itself.
  std::vector<std::array<double, 4>> Extensions;
  // The leaders of the texts settled, each from its shelf to the point it names: a sign asked along one
  // stands on it as on an extension line.
  std::vector<std::array<double, 4>> TextLeaders;
  // The arrow tips of the settled linear dimensions, each with its line's direction (X, Y, Ux, Uy): an
  // angle's ray drawn through one reads as pointing at the wrong line.
  std::vector<std::array<double, 4>> LinearTips;
  // A settled dimension line from (X1, Y1) to (X2, Y2); its value reaches along it from From to To.
  struct TSettled
  {
    double X1, Y1, X2, Y2, From, To;
  };
  std::vector<TSettled> Settled;
  struct TPlaced
  {
    double Nx, Ny, D, From, To;
  };
  std::vector<TPlaced> Lines;
};

class TModelerApi : public TModeler3D
{
public:
  TModelerApi();
  ~TModelerApi() override;

  TRegistryApi& R() const { return *Registry.Ptr; }
  TypeModeler Is() const override { return mAPI; }

  // Keeps the application, derives the library's names and folder from the path the host
  // reports, loads the phrase dictionary, takes the library's font from the host's record of
  // it (a message when there is none) and the control model's documents folder (kind 2).
  // True when the host reported the library's path.
  bool Init(txapi::IApplication& app, const TString& name, const TString& font);

  // The host's modal message box; nothing without an application.
  void LiftBox(const TString& text);
  // A yes/no question to the host: non-zero for yes, 0 without a host application.
  int QuestionBox(const TString& text, const TString& caption);
  // The host's help topic context; file and command are not used.
  void OpenHelp(const TString& file, int command, int context);
  // Progress and prompts of long operations, to the running command when there is one.
  void Progress(const TString& text);
  void Prompt(const TString& text);

  // Documents and parts.
  txapi::SmartPtr<txapi::IPart> drGetPart(Part_Type Type_Part, txapi::DocumentTypeEnum Type_Doc);
  void drEndGetPart(bool);
  txapi::SmartPtr<txapi::IPart> GetPart() const;
  bool IsActive(txapi::DocumentTypeEnum DocumentType, txapi::DocumentTypeEnum orDocumentType);
  txapi::SmartPtr<txapi::ITavrixDocument> GetOpenDocument(txapi::DocumentTypeEnum T, const TString& Name);
  txapi::SmartPtr<txapi::ITavrixDocument> drOpen3D(const TString& Path, bool Flag);
  // The mass of the part in the file: of the open document under that name, else of the file
  // opened and closed again; 0.0 when there is none. The current document, part and sketch are
  // the same afterwards.
  double GetMassFile(const TString& FName);
  // Opens, or reuses when one is open under FileName, the part or assembly document, names its top
  // part and makes both current.
  void drCreate3D(bool Invisible, bool isDetail, const TString& FileName, const TString& Name,
                  const TString& Marking) override;
  void drSave3D(bool Close, bool NeedNameMarking) override;
  bool drSaved3D() const override { return R().Saved3D; }
  bool drSavedFile3D(const TString& File, TSavedFile& Saved) const override;
  bool drHasBody3D() const override;
  long long drFailures3D() const override { return R().FailedFeatures; }
  void drDiscard3D() override;
  void drDiscardSheet3D() override { ForgetPartSheet(true); }
  TString drFileName3D() const override;
  void drFastener3D() override;
  void drFastenerPiece3D() override;
  void drColor3D(int Color, const double& ambient, const double& diffuse, const double& specularity,
                 const double& shininess, const double& transparency, const double& emission) override;

  // Planes and sketches.
  void drPlane(txapi::txObj3dTypeEnum BasePlane, const double& Distance);
  txapi::SmartPtr<txapi::IPlane3D> GetPlane();
  void drCreateEskis(double Angle, const TString& Name);
  void drPlaneEskis(txapi::txObj3dTypeEnum BasePlane, double Distance, double Angle, const TString& Name) override;
  void drEndEskis();
  void drOpenView(int N);
  void drPlanePerpendEdgeVertex(txapi::SmartPtr<txapi::IModelObject> Edge,
                                txapi::SmartPtr<txapi::IModelObject> Point);
  void drLine3D(const TPoint3D& P1, const TPoint3D& P2, const TString& Name, bool Hidden);
  void drPoint3D(const double& x, const double& y, const double& z, txapi::txAnnotationSymbolEnum symbol,
                 const TString& name, bool Hidden);
  // A cylindrical spiral on Plane of height |Height| (built along the plane's normal when Height is
  // positive) and diameter D; callers pass the pitch as Turns. Nothing for Turns <= 0.
  void drSpiral3D(txapi::SmartPtr<txapi::IPlane3D> Plane, const double& Height, const double& Turns,
                  const double& D);

  // 2D placement: pushed on the drawing registry's stack and, with a 2D document current, on
  // the document's own stack, which then places what the host makes.
  void drMtr(double x, double y, double Angle, double Scale) override;
  void drDeleteMtr() override;

  // Model objects.
  // A split line of the faces along the cutting objects, in the current part; the last object made
  // and recorded in the open macro when the host applies it.
  void drSplitFaceObjects(const std::vector<txapi::SmartPtr<txapi::IFace>>& Faces, const TVOfMO& CutObjects,
                          txapi::txDirectionTypeEnum TypeSplit);
  TVOfMO GetObjects(txapi::SmartPtr<txapi::IModelObject> owner, txapi::txObj3dTypeEnum kind);
  txapi::SmartPtr<txapi::IModelObject> FindEntity(txapi::SmartPtr<txapi::IPart>& Part,
                                                  txapi::txObj3dTypeEnum EType, const TString& EName);
  void SetHidden(txapi::SmartPtr<txapi::IModelObject> Object, bool Hidden);
  void DeleteEntity(txapi::SmartPtr<txapi::IModelObject> Object);
  void drDeleteObj(txapi::SmartPtr<txapi::IModelObject> Object);

  // Components. The detail-code forms of the modeller interface stay reachable (and empty).
  using TModeler3D::AddDetail;
  using TModeler3D::AddDetailAxle;
  void AddDetail(const double& x, const double& y, const double& z, const TString& DetailName, bool ReverseZ,
                 bool ExternalFile) override;
  void AddDetailAxle(const double& x, const double& y, const double& z, const TString& DetailName,
                     const double& xDx, const double& xDy, const double& xDz, const double& yDx,
                     const double& yDy, const double& yDz, bool ExternalFile) override;
  // Dispatches to the detail-code AddDetail (not turned round) when U is set.
  void AddDetailIf(const double& x, const double& y, const double& z, int DetailCode, int Suffics, bool U);
  // New parts of a detail code are not made on this host.
  bool drCreate3DNewPart(int Detail, int subDetail, bool InVisible, bool IsDetail);
  // A mould part's sheet and part document: through the installed TMouldDocumentLink, false
  // without one (drTavrixMould.cpp).
  using TModeler2D::drLeafStamp;
  bool drLeafStamp(int Detail, int subDetail, bool Invisible) override;
  bool drCreate3DNewPartPlane(int Detail, int subDetail, bool InVisible, txapi::txObj3dTypeEnum BasePlane,
                              const double& Vidst) override;
  // A thread symbol on the face in the current part, made the last object (maTavrixSelect.cpp).
  void drThread(txapi::SmartPtr<txapi::IModelObject> Face);
  txapi::SmartPtr<txapi::IPart> drCreatePartFromFile(const TString& Name, bool ExternalFile);
  void drPartSetPlacement(txapi::SmartPtr<txapi::IPlacement3D>& Place);

  // Mates.
  bool drSetMate(txapi::SmartPtr<txapi::IMateConstraint3D>& Mate, txapi::SmartPtr<txapi::IModelObject> O1,
                 txapi::SmartPtr<txapi::IModelObject> O2, int Direction, int Fixed, const double& V);
  bool drMate(txapi::MateConstraintType MT, txapi::SmartPtr<txapi::IModelObject> O1,
              txapi::SmartPtr<txapi::IModelObject> O2, int Direction, int Fixed, const double& V,
              const TString& iExpresion);
  txapi::SmartPtr<txapi::IModelObject> FindMate(txapi::SmartPtr<txapi::IMateConstraints3D>& Mates,
                                                txapi::MateConstraintType TC,
                                                txapi::SmartPtr<txapi::IModelObject>& fromEntity);
  void drClear(txapi::SmartPtr<txapi::IMateConstraints3D>& Mates);

  // User data of the document in its storage "ZEDozod", under a key, for the object (or the document
  // itself when it is empty); maTavrixUserData.cpp. Readers are true when something was read.
  Boolean drSetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                        const std::vector<std::uint8_t>& Data, Boolean NeedSave,
                        txapi::SmartPtr<txapi::ITavrixAPIObject> Object);
  Boolean drSetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                        const std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& Data, Boolean NeedSave,
                        txapi::SmartPtr<txapi::ITavrixAPIObject> Object);
  Boolean drGetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                        std::vector<std::uint8_t>& Data, txapi::SmartPtr<txapi::ITavrixAPIObject> Object);
  Boolean drGetUserData(txapi::SmartPtr<txapi::ITavrixDocument>& iDocument, const TString& NameData,
                        std::vector<txapi::SmartPtr<txapi::ITavrixAPIObject>>& Data,
                        txapi::SmartPtr<txapi::ITavrixAPIObject> Object);

  // Model variables of the 3D document's top part; the value of an existing one is replaced.
  txapi::SmartPtr<txapi::IVariable> drAddVariable(const TString& Name, double Value, const TString& Comment) override;
  void drSetValue(const TString& name, const double& value);
  // The same for a given part (the phantom's, which must never reach the user's model).
  txapi::SmartPtr<txapi::IVariable> drAddVariable(txapi::SmartPtr<txapi::IPart>& Part, const TString& name,
                                                  const double& value, const TString& comment);
  void drSetValue(txapi::SmartPtr<txapi::IPart>& Part, const TString& name, const double& value);

  // The modeller interface on the host.
  using TModeler2D::drArc;
  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int Attr) override;
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int Napr, int Attr) override;
  void drCircle(const double& X, const double& Y, const double& R, int Attr) override;
  void drEllipse(const double& X, const double& Y, const double& A, const double& B, const double& Angle,
                 int Attr) override;

  // --- The 2D road (drTavrix2D.cpp, drTavrixMacro.cpp) ---------------------------------------
  // Non-finite coordinates are refused quietly: they never reach the host or a collector.
  void drLayer(int NumerOfLayer) override;
  void drText(const double& x, const double& y, const double& FStr, const double& Hs, const double& Ksu,
              int Fb, const TString& S) override;
  // One line holding S at Height (the host's height for Height <= 0) added to Text.
  void AddLineText(txapi::SmartPtr<txapi::IText> Text, TString S, const double& Height);
  void drMacro2D(bool AllLayer) override;
  void drEndMacro() override;
  // Leaves on the open macro what its command needs to find it again: the library file, the
  // command, the block V byte for byte and the placement of M (its scale aside).
  void drSetMacro2DParam(const std::vector<std::uint8_t>& V, const TString& fileName, const TString& libName,
                         int Command, bool EE, const TMt& M);
  void drGroup(bool Temporary) override;
  void drEndGroup() override;
  // Every opening outside a collector pushes exactly one pending code, also when the host made
  // nothing, so that its drEndObj never completes an enclosing object.
  void drHatch(int Tip, const double& FStr, const double& Shag) override;
  void drColouring(std::int64_t Color) override;
  void drClearRegion(std::int64_t Color) override;
  void drEndObj() override;
  void drCut(const double& Hs, const double& Ksu, const double& Fch, const TString& S, const double& x1,
             const double& y1, int Napr1, const double& x2, const double& y2, int Napr2) override;
  void drShelf(txapi::txLeaderSignEnum Tipz, const double& x, const double& y,
               txapi::txShelfDirectionEnum Napr, txapi::txArrowEnum Tips, const double& Hs1,
               const double& Ksu1, const double& Fch1, const TString& S1, const double& Hs2,
               const double& Ksu2, const double& Fch2, const TString& S2) override;
  void drPoint(const double& x, const double& y) override;
  // Cut lines collected in the process-wide buffer of CutPointSize points (maTavrixCut.cpp):
  // points past its end are left out, and a line without points draws nothing.
  void NewCut() override;
  void ACT(const double& x, const double& y) override;
  void DrawCut(const TString& S, int Direction) override;
  // The 3D document's window in a standard projection, kept as the current drawing object (empty
  // when there is none); in a projection of the matrix; back in a kept projection, let go after.
  void SaveAndSetViewProjection(txapi::txViewProjectionType Ptype);
  void CreateViewProjection(const TMtr3D& Mtr);
  void RestoreViewProjection(txapi::SmartPtr<txapi::IViewProjection>& View);
  void drPolyline3D(bool Closed) override;
  // Queries and references of drawing objects.
  int GetType(txapi::SmartPtr<txapi::IDrawingObject> Obj);
  int GetNumberView(txapi::SmartPtr<txapi::IDrawingObject> Obj);
  void drDeleteObj(txapi::SmartPtr<txapi::IDrawingObject>& Obj);
  txapi::SmartPtr<txapi::IDrawingObject> LastObjRef();
  txapi::SmartPtr<txapi::IDrawingObject>& PrevObjRef();
  // A process-wide running number: 0, 1, 2, ...
  int NextInteger();
  // The value and tolerance of a dimension as its text shows them (deviations of an angle read in
  // degrees, minutes and seconds); false, with nothing written, for anything else. A text too large
  // for a double reads as 0.
  bool GetDimParam(txapi::SmartPtr<txapi::IDrawingObject> Dim, double& Nominal, TString& Qual, double& QHi,
                   double& QLo, bool IsAngle);
  // Parametric constraints (drTavrixConstraint.cpp), in the 2D document or sketch being edited only.
  // Makes Dim driving: a bare constraint, then one driving the generated variable "II<n>" (n counts
  // every such name since the library loaded) that follows Expresion when it is not empty.
  void SetDimAssociateVariable(txapi::SmartPtr<txapi::IDrawingObject> Dim, const TString& Expresion);
  // Joins point IObj of Obj to point IObj2 of Obj2, whatever kind T names; nothing without Obj2.
  void drConstraint(txapi::txConstraintTypeEnum T, txapi::SmartPtr<txapi::IDrawingObject> Obj, int IObj,
                    txapi::SmartPtr<txapi::IDrawingObject> Obj2, int IObj2);
  // With parametric dimensions on: the rectangle's control geometry, sketch, sides tied to its corners,
  // its driving width and height, and the sketch's variables switched on. Otherwise the plain form in a
  // new sketch. The sketch stays open.
  void drRectAngleAxleDim3D(txapi::txObj3dTypeEnum BasePlane, const double& Vidst, const double& X1,
                            const double& Y1, const double& X2, const double& Y2, int Attr,
                            const TString& S1) override;
  // In-place editing of the current part in its assembly.
  void drPartBeginEditOnPlace();
  void drPartEndEditOnPlace();
  // Drawing and fragment documents: the sheet the 2D operations draw on.
  void drCreateLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, int iFormat, int Krat, int Tips, int Pros,
                    TString& Comment, bool Invisible) override;
  // True when the document was opened and made current.
  bool drOpenLeaf(TString& Name, txapi::DocumentTypeEnum tDoc, bool Invisible);
  void drSaveLeaf() override;
  void drCloseView() override;
  void drCloseLeaf() override;
  bool drViewHolds() override;
  void drRestartLeaf() override;
  // The title block of the current sheet: open, choose a cell, write it, apply.
  void drOpenShtamp();
  void drColumnShtamp(txapi::txStampEnum N);
  void drStringObj(const TString& S) override;
  void drCloseShtamp();
  // The technical requirements of the current sheet; the lines written between the two go to them.
  void drOpenTDem() override;
  void drCloseTDem() override;
  // Ends the current view, writes the requirements S1 to S4 (none when S1 is empty) and ends the sheet.
  void drCloseViewTDemCloseLeaf(const TString& S1, const TString& S2, const TString& S3,
                                const TString& S4) override;
  // Texts attached to host objects through the library's "Reference Object" attribute type.
  double drCreateAttrStr(double Id) override;
  bool drSetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& TypeAttrNumb,
                       const TString& StrAttr) override;
  bool drGetObjectAttr(txapi::SmartPtr<txapi::ITavrixAPIObject> Obj, const double& TypeAttrNumb,
                       TString& Result) override;
  // The active document's material (name and location) and density; Typ is not used.
  void drSetMaterial(int Typ, const TString& Material, const TString& Location, const double& Dencity);

  // --- Views, the title block from the drawing state, specification documents (drViews.cpp) --------
  // A new view of the current sheet made the drawing target, numbered N and named Comment; inside a
  // collector only the placement is pushed (drCloseView pops it). When the host makes no view, nothing
  // is drawn into an earlier one.
  using TModeler3D::drView;
  void drView(int N, const double& x, const double& y, const double& Alf, const double& Scale,
              const TString& Comment) override;
  // Views the host builds from a model, placed in the active document and left there as the current
  // drawing object; the drawing target stays as it was. By projection name (the numbered form only
  // when the file exists; N is not used), by orientation matrix, and as a section along a cut line.
  void drAStView7(int N, const double& x, const double& y, const double& Alf, const double& Scale,
                  const TString& Comment, const TString& FName, const TString& tView) override;
  void drAStView7(const double& x, const double& y, const double& Alf, const double& Scale,
                  const TString& Comment, const TString& FName, const TString& tView);
  void drAStView7(const double& x, const double& y, const double& Alf, const double& Scale,
                  const TString& Comment, const TString& FName, const TMtr3D& M) override;
  void drACutView7(const double& x, const double& y, const double& Alf, const double& Scale,
                   const TString& Comment, txapi::SmartPtr<txapi::IDrawingObject> pCut) const override;
  // Switches every element of the view on; nothing for an empty one.
  void SetProjectionParam(txapi::SmartPtr<txapi::IAssociationView>& AView) const;
  // The title block of the current sheet from DI and the control model's title-block record.
  void drShtamp() override;
  // A specification document saved under iName + ".tsp" with the "graphic.tsl" style 1, made the
  // current document; saved, and closed and let go of when Close.
  void drCreateLeafSpw(TString& iName, TString& Comment);
  void drCloseLeafSpw(bool Close) override;

  // Specification entries of the current document (maTavrixSpec.cpp). A call through the modeller
  // interface, with a modifiable name, creates nothing.
  using TModeler3D::drSpcObj;
  void drSpcObject(TSectionSpc TypeObj, const TString& NameFileObject, int Pos, int Count) override;
  void drSpcObj3D(TSectionSpc TypeObj, const TString& Note, txapi::SmartPtr<txapi::IPart> Part);
  void drSpcObj(const TString& Name, TSectionSpc TypeObj, txapi::SmartPtr<txapi::IDrawingObject> GeometyGroup);
  // Saves (with an entry of the part in the details when Section asks for one) and closes the
  // current document; nothing without one.
  void drClose3D(bool SaveDocument3D, TSectionSpc Section) override;

  // --- 3D features, macros, surfaces and the 3D dimension (drTavrix3D.cpp, drTavrixSurface.cpp,
  // drTavrixDim3D.cpp). Each leaves what it made in Obj3D (empty when it made nothing) and records it
  // in the innermost open 3D macro; a missing part, container or collection makes nothing.
  // Features of the current sketch, which first leaves editing. Depth is taken by address: the
  // model variable bound to that very double drives a parametric extrusion's depths.
  void drExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                   const double& Angle, bool Body, txapi::txOperationResultEnum OR);
  void drRotate(int Napr, const double& Angle, bool Body, txapi::txOperationResultEnum OR);
  void drEvolution(txapi::SmartPtr<txapi::IModelObject> Path, bool Body, txapi::txOperationResultEnum OR);
  void drGenerativeDimensions(txapi::SmartPtr<txapi::IModelObject> E7);
  using TModeler3D::drBaseExtrusion;
  void drBaseRotate(int Napr, const double& Angle) override;
  void drCutRotate(int Napr, const double& Angle, TMark* Mark) override;
  void drSurfaceRotate(int Napr, const double& Angle) override;
  void drBaseExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                       const double& Angle) override;
  void drCutExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                      const double& Angle) override;
  void drSurfaceExtrusion(txapi::txDirectionTypeEnum Napr, txapi::txEndTypeEnum TypDepth, const double& Depth,
                          const double& Angle) override;
  // The body of the part file Name as a billet (mirrored when Mirror); fromHistiry is not used.
  void drPutStorage(TString& Name, bool fromHistiry, bool Mirror);
  // Body BodyPart1 of P1 with body BodyPart2 of P2; nothing when either is missing.
  void drBoolean(txapi::txBooleanType Op, txapi::SmartPtr<txapi::IPart> P1, int BodyPart1,
                 txapi::SmartPtr<txapi::IPart> P2, int BodyPart2);
  void drSurfacePatchEdges(const TVOfMO& Edges);
  void drRuledSurface(const TVOfMO& Edges1, const TVOfMO& Edges2);
  // Every drMacro3D takes a level, also when the host made no macro, so that calls pair.
  void drMacro3D(const TString& Name, bool MStaffVisible) override;
  void drEndMacro3D() override;
  // Library objects of the part, labelled and left unapplied; not recorded in a macro.
  txapi::SmartPtr<txapi::IModelObject> drPlugin(const TString& OGUID, int Command);
  txapi::SmartPtr<txapi::IModelObject> drPluginWF(const TString& OGUID, int Command);
  // State of one model object, applied at once.
  void SetColor(txapi::SmartPtr<txapi::IModelObject> E, int Color, double P);
  void SetExcluded(txapi::SmartPtr<txapi::IModelObject> E);
  // Excludes a feature the host built, colours one it could not; true when E is no feature.
  bool SetExludedOrColor(txapi::SmartPtr<txapi::IModelObject> E, int Color, double P);
  void ReSet(txapi::SmartPtr<txapi::IModelObject> Obj);
  // Operations on existing objects. Those given an empty list make nothing and keep Obj3D.
  void drCopyObj(const TVOfMO& Objects, txapi::SmartPtr<txapi::ILocalCoordinateSystem> Lsk,
                 txapi::SmartPtr<txapi::ITavrixDocument3D> NewDoc);
  void drEquidistSurface(const TVOfMO& Objects, bool Direction, const double& Distance);
  void drTrimmSurface(const TVOfMO& Surfaces, const TVOfMO& Objects, bool Sense);
  void drFaceRemove(const TVOfMO& Faces);
  void drFaceSewer(const TVOfMO& Faces, bool CreateBody);
  void drFaceThickness(const TVOfMO& Faces, double T);
  void drCurveOutLine(const TVOfMO& Faces, TVector3D V);
  void drContour3D(const TVOfMO& Edges);
  void drScalings3D(txapi::SmartPtr<txapi::ITavrixAPIObject> Body, double Scale,
                    txapi::SmartPtr<txapi::IModelObject> Point);
  void drAllSurfaceSewer();
  void drSplitFaceOutLine(txapi::SmartPtr<txapi::IFace> EFace, TVector3D V);
  void drDimL3D(txapi::SmartPtr<txapi::IModelObject> A, txapi::SmartPtr<txapi::IModelObject> P);

  // --- Dimensions and designations (drDimensions.cpp, drSigns.cpp). Nothing while a curve collector is
  // open; points go to the host as given (the host document places them); a non-finite value makes
  // nothing. Each new object becomes CurDrawingObject (a dimension also Obj3D).
  void drDimL(const double& iVal, const TString& Qual, const double& Dx, const double& Dy, int Pt, int Pn,
              const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
              const double& x2, const double& y2, int T2, int Po2, const TString& S1, const TString& S2,
              const TString& S3) override;
  // The overall dimension of the automatic list, in the active document's current view whatever is
  // current here: (Dx, Dy) offsets the dimension line, Fn 0 or 90 places it, Dln its text.
  void drDimL7(const double& iVal, const TString& Qual, const double& Dx, const double& Dy, int Pt, int Pn,
               const double& Fn, const double& Dln, const double& x1, const double& y1, int T1, int Po1,
               const double& x2, const double& y2, int T2, int Po2, const TString& S1, const TString& S2,
               const TString& S3);
  void drDimD(const double& Val, const TString& Qual, const double& FBase, int Pt, int Pn, const double& x,
              const double& y, int t, const TString& S1, const TString& S2, const TString& S3) override;
  void drDimR(const double& Val, const TString& Qual, const double& FBase, const double& Drl, int Pt, int Pn,
              const double& xc, const double& yc, int t, int Po, const TString& S1, const TString& S2,
              const TString& S3) override;
  void drDimA(const double& Val, int Napr, const double& FBase, const double& Rr, int Pt, int Pn, const double& Fn,
              const double& Dln, const double& x1, const double& y1, int T1, int Po1, const double& x2,
              const double& y2, int T2, int Po2, const TString& S, const double& xc, const double& yc) override;
  void drRough(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz, const TString& S1,
               const TString& S2, const TString& S3) override;
  void drRoughKept(const double& x, const double& y, const double& Fi, txapi::txRoughSignEnum Tz,
                   const TString& S1, const TString& S2, const TString& S3) override;
  void drFreePlace(double& x, double& y, double x1, double y1, double x2, double y2) override;
  void drDimOtherSide(double x1, double y1, double x2, double y2) override;
  void drFreeViewPlace(double& x, double& y, double x1, double y1, double x2, double y2, double vx1,
                       double vy1, double vx2, double vy2) override;
  // The sheet's corner sign; an empty S changes nothing.
  void drSRough(int Tz, bool Tzs, const TString& S) override;
  // A form tolerance frame pending until drEndObj; drSupportForm adds branches to its leader.
  void drForm(const double& x, const double& y, int Tip, int S1, const TString& S2, const TString& S3) override;
  void drSupportForm(const double& x, const double& y, int Top, int Twx) override;
  void drBase(const double& x, const double& y, const double& dx, const double& dy, const TString& S) override;
  void drWPointer(const double& x1, const double& y1, const double& x2, const double& y2, const double& Xt,
                  const double& Yt, const double& Hs, const double& Ksu, const double& Fch,
                  const TString& S) override;

  TConstraintApi Constraint;

  // The most recently created host modeller; null before one exists.
  static TModelerApi* Last;

private:
  // The control geometry, sketch, sides and corner constraints of drRectAngleAxleDim3D; false when no
  // sketch could be opened for editing.
  bool SketchRectangle(txapi::txObj3dTypeEnum BasePlane, const double& Vidst, const double& X1,
                       const double& Y1, const double& X2, const double& Y2, int Attr);
  // Opens the 3D document and makes it and its top part current; empty when the host opens none.
  txapi::SmartPtr<txapi::ITavrixDocument> Open3D(const TString& Path, bool Flag);
  // Forgets the sketch being edited and the plane it lies on: the document or part changes.
  void ForgetSketch();
  // Adds the component from the file to the current 3D document's top part; empty when the
  // file or the context is missing.
  txapi::SmartPtr<txapi::IPart> InsertComponent(const TString& Name, bool ExternalFile);
  // Records o as the last object made and in the open 3D macro.
  void Made(const txapi::SmartPtr<txapi::IModelObject>& o);
  // The 2D workers: the host object in the current drawing container, remembered, added to the
  // boundary being built, and the constraint step.
  void drawLine(double x1, double y1, double x2, double y2, int Attr);
  void drawArc(double X, double Y, double R, double x1, double y1, double x2, double y2, int Napr, int Attr);
  void drawCircle(double X, double Y, double R, int Attr);
  void drawEllipse(double X, double Y, double A, double B, double Angle, int Attr);
  void Made2D(const txapi::SmartPtr<txapi::IDrawingObject>& o, bool boundary);
  // A new dimension made current; with parametric dimensions on, bound to the variable of the very double
  // value (by its dimension text when linear, else by its name), and a linear one merged with the
  // parametric contour's curves at its two points.
  void Dimensioned(const txapi::SmartPtr<txapi::IDrawingObject>& Dim);
  void LinkDimension(const txapi::SmartPtr<txapi::IDrawingObject>& Dim, const double& value, bool linear,
                     double x1, double y1, double x2, double y2);
  // The innermost open curve collector; null when none is open.
  TContour* Collector() const;
  // The adapter places 2D output itself: matrices are pushed and no 2D document places them.
  bool SelfTransform() const;
  // The 3D side: a sketch feature's opening and closing; o applied (times times), and made the last
  // object only when the last apply succeeded; a library object.
  void BeginFeature();
  void EndFeature(const txapi::SmartPtr<txapi::IModelObject>& o);
  bool Applied(const txapi::SmartPtr<txapi::IModelObject>& o, int times = 1);
  txapi::SmartPtr<txapi::IModelObject> NewUserObject(txapi::txObj3dTypeEnum Type, const TString& OGUID,
                                                     const TString& File, const TString& Library, int Command);

  // The model views' common steps: inside a collector only the placement (true); a new view of the
  // type in the active document, placed and named; the view made the current drawing object.
  bool ModelViewInCollector(const double& x, const double& y, const double& Alf, const double& Scale);
  txapi::SmartPtr<txapi::IAssociationView> NewModelView(txapi::LtViewType Type, const double& x, const double& y,
                                                        const double& Alf, const double& Scale,
                                                        const TString& Comment);
  void EndModelView(txapi::SmartPtr<txapi::IAssociationView> View);

  // A title at (x, y) of the current container, turned by angle, h high, recorded on the mould sheet
  // with how to move it.
  void Title(std::function<void(double, double)> moveTo, double x, double y, double angle, double h,
             const TString& S);
  // A title at (x, y) of the current container, turned by angle, with how to move it: its place, scale and
  // turn on the mould sheet, its box still to be given.
  TSheetLayout::TTitle TitleAt(std::function<void(double, double)> moveTo, double x, double y,
                               double angle) const;
  // A point of the current container on the mould sheet.
  void SheetPoint(double x, double y, double& X, double& Y) const;
  // (x, y) of the current container moved to the nearest place where the piece (x1, y1)-(x2, y2) about it
  // is free on the sheet and, when given, the piece's sheet box passes also (told whether the piece was
  // asked so far off the paper that it looks from the frame's edge).
  void FreePlace(double& x, double& y, double x1, double y1, double x2, double y2,
                 const std::function<bool(double, double, double, double, bool)>& also);
  // The cut line pending on the mould sheet: its ends as asked and the points given it since, on the sheet,
  // and its letter. Its strokes and letter occupy the sheet where the host draws them, at the points given
  // when there are two or more, when the cut ends (or its view closes).
  struct TPendingCut
  {
    std::vector<std::array<double, 2>> Asked, Points;
    double Hs = 0;
    std::size_t Chars = 0;
    bool On = false;
  };
  TPendingCut PendingCut;
  void OccupyCut();
  // The view moved, or its sheet grown, so that what it drew lies inside the frame before it settles;
  // whether it does. Nothing moves or grows unless apply.
  bool FitViewToSheet(bool apply = true);
  // The sheet document opened last, as drCreateLeaf was asked for it.
  struct TLeafOpened
  {
    TString Name;
    txapi::DocumentTypeEnum Type = txapi::txDocumentDrawing;
    int Format = 0, Orientation = 0, Style = 0, Multiplicity = 0;
    bool Invisible = false;
  } LeafOpened;
  // A visible arc (a circle from and to one point) recorded on the mould sheet, as an outline too when
  // outline.
  void ArcOnSheet(double X, double Y, double R, double x1, double y1, double x2, double y2, bool clockwise,
                  bool outline);
  // A linear dimension recorded on the mould sheet as a host would lay it out: its line on the side of
  // the angle a (radians) set from (Dx, Dy), through (lineX, lineY) unless that is NaN, its value of
  // chars characters.
  // A linear dimension along x (alongX) or y of the current container, its line through (lineX, lineY),
  // left to settle with the view; before and after are its texts about its value.
  void SettleDimension(const txapi::SmartPtr<txapi::ILineDimension>& d, bool alongX, double x1, double y1,
                       double x2, double y2, double lineX, double lineY, const TString& before,
                       const TString& after, int valueSide = 0);
  // The same, made for the layout but not yet given to it; false where the container maps it to nothing.
  bool MadeDimension(TSheetLayout::TDimension& m, const txapi::SmartPtr<txapi::ILineDimension>& d,
                     bool alongX, double x1, double y1, double x2, double y2, double lineX, double lineY,
                     const TString& before, const TString& after, int valueSide);
  // The linear dimension settled last, as it was asked, for drDimOtherSide.
  struct TSettledLast
  {
    txapi::SmartPtr<txapi::ILineDimension> D;
    bool AlongX = true;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, LineX = 0, LineY = 0;
    TString Before, After;
    int ValueSide = 0;
    std::size_t Count = 0; // the layout's dimensions with it
  } SettledLast;
  // A diameter (or radius) dimension about (xc, yc) of radius r in the current container, its value
  // shifted that far past the circle, with its texts before and after its value, left to settle with the
  // view. A radius's line may be stopped short of its centre by shorten.
  void SettleCircle(std::function<void(double, double, bool)> turn, bool diameter, double xc, double yc,
                    double r, double shift, const TString& before, const TString& after, double asked = NAN,
                    std::function<void()> shorten = nullptr);
  void LineDimensionOnSheet(double Dx, double Dy, double a, double x1, double y1, double x2, double y2,
                            int chars, double lineX, double lineY);

public:
  // The mould sheet being drawn; inactive outside one.
  TSheetLayout Layout;

private:
  // The lines of the requirements about to be written and the characters of the longest, while
  // drCloseViewTDemCloseLeaf writes them.
  std::size_t DemandLines = 0, DemandChars = 0;
  // Whether the sheet open was opened for a mould part, and for which detail.
  bool MouldSheet = false;
  int MouldDetail = 0, MouldSubDetail = 0;
  // A mould part's sheet and part document are made by one call: the sheets written, each with the detail
  // it was drawn for, wait for the part document of their detail, which takes its sheet along. A part
  // refused (drDiscardSheet3D) or whose save failed removes its sheet too (drTavrixMould.cpp); one discarded
  // for having no body, as the parts whose outline is left empty, keeps it.
  struct TMouldSheetFile
  {
    TString File;
    int Detail = 0, SubDetail = 0;
  };
  std::vector<TMouldSheetFile> MouldSheetsWritten;
  TString PartSheet;
  void MouldSheetWritten(const TString& file);
  void ForgetPartSheet(bool remove);
  // How many formats the sheet open has grown past the one chosen for it, and the index of its size among the
  // selector's sizes.
  int SheetGrown = 0;
  // The sign drRough asks is one drRoughKept asks.
  bool SignKept = false;
  int SheetAt() const
  {
    const TLeafSelector& sel = TLeafSelector::Instance();
    return 2 * (sel.Format - SheetGrown) + sel.Orientation;
  }
  TReferenceOf<TRegistryApi> Registry;
  // For each entry of the drawing registry's stack: the 2D document it was also pushed on.
  std::vector<txapi::SmartPtr<txapi::ITavrixDocument2D>> HostPushes;
};

// The global modeller, built when the library loads.
extern TModelerApi MA;

// The transform stack of MA's drawing registry; null until MA is built.
extern TTransf2D* Transf2D;

// The library's control model, set by the library when it comes up; Init writes its documents
// folder there. Null: nothing is written.
extern TControlModel* PControlModel;

// The selection view; never null.
extern TSelectorAPI* Selector;

// The current view's symbols container of the 2D document; empty when there is none.
txapi::SmartPtr<txapi::ISymbols2DContainer> GetSymbols2DContainer(txapi::SmartPtr<txapi::ITavrixDocument2D>& doc);
// v to the nearest whole number, halves away from zero (within 2e-6 of 0 it is 0); the same as an int,
// clamped to its range (NaN gives 0).
double NearestWhole(double v);
bool AllFinite(std::initializer_list<double> values);
int NearestInt(double v);

// True when Entity is a feature that failed to build.
bool ErrorEntity(txapi::SmartPtr<txapi::IModelObject> Entity);

} // namespace drApi
