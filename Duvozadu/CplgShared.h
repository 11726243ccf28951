#pragma once
// What every coupling's builder shares: the row checks and lookups, the placement of a piece,
// hatched sections, bore types, hole circles and the naming of the files a build writes.
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/drawing/drModeler.h"
#include "hxcadkit/drawing/drNodeCont.h"

// A row is usable when the n values a piece reads are finite: a table value that is not would
// reach the host as a NaN or an infinity.
bool Usable(const double* row, int n);

// The bore type of a stored or chosen value, kept within the four types (0..3).
int BoreType(int T);

// What a conical bore loses on its radius over a length: the conical shaft end's taper, 1:10 on the
// diameter, so that the bore drawn, hatched and revolved is the shaft's.
constexpr double ConeDrop(double length)
{
  return length / 20.0;
}

// The rows of the two halves of one coupling, both from one torque group, and that group's
// torque; null rows when no group holds both diameters.
struct TGroupRows
{
  const double* R1 = nullptr;
  const double* R2 = nullptr;
  double Torque = 0.0;
};
// The group is the chosen torque's, or when a diameter exceeds every bore of it the first larger
// group holding both; a torque <= 0 ("*") takes the smallest group holding them. Rows with equal
// values in torqueCol make a group; the bore is the table's control column. A group holds a
// diameter that its smallest and largest bores span; each half takes the first row of the group
// whose bore is not below its diameter.
TGroupRows GroupRows(const TTable* t, double torque, double d1, double d2, int torqueCol = 0);

// The placement of a piece: the caller's, then the piece's own shift s along the axis, inside a
// macro of its own; with axisFirst an axis line from ax1 to ax2 goes before the macro.
class TPiece
{
public:
  TPiece(TModeler3D& m, double mx, double my, double ma, double mm, double s, bool axisFirst = false,
         double ax1 = 0, double ax2 = 0);
  // Closes the macro and both matrices (CloseLevels).
  ~TPiece() noexcept(false);
  TPiece(const TPiece&) = delete;
  TPiece& operator=(const TPiece&) = delete;
  TModeler3D& M;
  const int Unwinding;
};

// Closes what a piece opened: its macro (when it has one), then its matrices, each even when the host
// fails a call. The first failure goes on to the caller, unless the piece is left because of another
// one (unwinding: std::uncaught_exceptions() when the piece was opened).
void CloseLevels(TModeler3D& m, bool macro, int matrices, int unwinding);

// Draws the program with the code, and for a drawn section (units digit set) hatches it, with
// more (holes) drawn inside the hatch boundary and once more after it.
template <class F> void Hatched(const TContDrawing& c, int tl, int tip, double angle, double step, F&& more)
{
  TModeler3D& m = c.M();
  c.drContBlock(tl);
  if (tl % 10 == 0) return;
  m.drHatch(tip, angle, step);
  c.drContBlock(tl - tl % 10);
  more();
  m.drEndObj();
  more();
}

// The length and thread length of a bolt through a joint of length grip, with a washer and a nut
// of these thicknesses on its end: the builder's own lengths where they suffice, else as long as it
// takes for the shank to stand out of the nut by its end chamfer (a tenth of the thread) and for
// the thread to reach half a diameter into the joint, so that the nut can be drawn tight.
struct TBoltFit
{
  double L, LM;
};
TBoltFit BoltFit(double grip, double washer, double nut, double d, double L, double LM);

// A bolt as a view shows it, its head at (x, y) and its shank running along the angle (degrees):
// the head, the shank hidden (dashed) from `from` to `to` millimetres off the head's face, where it
// passes through the parts, and its end standing out from `seen` on; the washers and the nut it
// passes through before `from` and between `to` and `seen` cover it, so nothing of it is drawn there.
// The axis as the bolt drawer runs it.
void BoltInView(TModeler3D& m, double x, double y, double angle, double d, double L, double S, double H,
                double from, double to, double seen);

// A flat washer (bore d, outer diameter D, thickness t) as the couplings draw it, in section and view
// alike: seen from the side in one macro, its bore hidden inside it, so that under a head or beside a
// nut it covers the shank as the unsectioned fastener it is; the axis from x = -2 to t + 2. Placed as
// the machine elements are (at (mx, my), turned by ma degrees, scaled by ms, with the drawing code tl);
// a size that cannot be drawn draws nothing and is reported.
void WasherInSide(TModeler3D& m, double mx, double my, double ma, double ms, double d, double D, double t,
                  int tl);

// The outlines of a bolt set's pieces, as the standard machine elements draw them at (x, y) turned by the
// angle (degrees), put in front of the parts drawn while the regions stand: a hexagon-head bolt (thread d,
// length L, across flats S, head height H), a nut (across flats S, height H) and a washer (outer diameter D,
// thickness t). A box of the piece's own frame (x along its axis) goes the same way.
void FrontBox(TFrontRegions& f, double x, double y, double angle, double x1, double y1, double x2, double y2);
void FrontBolt(TFrontRegions& f, double x, double y, double angle, double d, double L, double S, double H);
void FrontNut(TFrontRegions& f, double x, double y, double angle, double S, double H);
// What a view sees of the bolt BoltInView draws: its head and its end standing out from `seen` on; the shank
// inside the parts lies behind them.
void FrontBoltInView(TFrontRegions& f, double x, double y, double angle, double d, double L, double S,
                     double H, double seen);
void FrontWasher(TFrontRegions& f, double x, double y, double angle, double D, double t);

// Whether fasteners placed as the models place them, the i-th at i * 360 / z degrees from the first for
// i = 0, 1, ... while i < n (at most 360 of them), have one opposite the first: the section plane through
// the first then holds that one too, below the axis. A fractional or huge count may have none.
bool OneOpposite(double z, double n);

// What a fastener set puts round its axis as a 3D build models it: a washer (bore, outer diameter and
// thickness) and the hexagon of its head or nut (across flats, height), two corners on the assembly's Y
// axis wherever it stands, as every coupling inserts them unturned about their axes. The fit rules measure
// what the builders make from these, so a builder and its rule take them from one function.
struct TFastenerSet
{
  double WasherBore, Washer, WasherThickness, AcrossFlats, Height;
};
// A count with its noun in the form the count takes: one ("21 болт"), few ("4 болта", and any fraction:
// "4.5 болта") or many ("5 болтов", "12 болтов").
TString Counted(double n, const char* one, const char* few, const char* many);

// Half a hexagon's width across its corners.
inline double CornerRadius(double S)
{
  return S / 1.7320508075688772;
}

// z circles of radius r evenly on the circle of diameter D1 in the current sketch, the first at
// startDeg degrees; at most 360.
void HoleCircle(TModeler3D& m, double z, double D1, double r, double startDeg = -90.0);

// Where a part's holes go, in degrees of the sketch across the axis that cuts them, so that each of the
// fasteners a model places stands in one: the i-th of them for i < n (at most 360), i * 360 / z degrees about
// the axis from the first, which the sketch sees at first + sense * i * 360 / z (sense 1 or -1, as the
// sketch's plane and the part's insertion turn it). A part inserted both as built and turned over (both)
// has the holes of either sense. An even whole count keeps the angles the part's holes always had, the
// i-th at kept + i * 360 / z: the same holes in the same order, so that such a coupling is cut as before;
// so does every whole count where those angles always met the fasteners (keptWhole).
struct THoleCircle
{
  double z, n, first, sense = 1.0;
  bool both = false;
  double kept = 0.0;
  bool keptWhole = false;
};
std::vector<double> HoleAngles(const THoleCircle& c);
// The holes of HoleAngles, radius r on the circle of diameter D1, in the current sketch.
void HoleCircle(TModeler3D& m, const THoleCircle& c, double D1, double r);

// Creates part n of the coupling being built (ControlModel.mkDetail3D, invisible, a part), for a
// half-coupling with its bore type in the file name, so that halves of other bores never share
// a file. Pass boreType -1 for a piece that has no bore of the shaft.
void MakeHalf(int n, const char* word, double d, int boreType);
