#pragma once
// The stand-in host's solid evaluator: turns placed features into solids with a real solid modeller, and
// solids into volumes, clashes, pictures and STEP files. Only this library sees the modeller; its callers
// see the plain values below and the opaque TShape.
#include <array>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace txhost::solid {

using TVec3 = std::array<double, 3>;

// A curve of a sketch, in the sketch's own coordinates (u, v).
struct TCurve2
{
  enum TKind { Line, Arc, Circle };
  TKind Kind = Line;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; // ends of a line or an arc
  double Xc = 0, Yc = 0, R = 0;          // centre and radius of an arc or a circle
  bool Clockwise = false;                // an arc's sense from (X1, Y1) to (X2, Y2)
};
// Curves that chain end to end into one closed loop (or one circle).
using TLoop = std::vector<TCurve2>;

// A sketch plane in space: u and v span it (arcs turn counter-clockwise about u x v), n is the sweep's
// direction.
struct TFrame
{
  TVec3 Origin{0, 0, 0}, U{1, 0, 0}, V{0, 1, 0}, N{0, 0, 1};
};

// One solid feature of a part, placed: a profile (regions by even-odd nesting of its loops) swept along
// the frame's normal over [From, To] or turned about an axis.
struct TFeature
{
  enum TShape { Extrusion, Rotation };
  TShape Shape = Extrusion;
  bool Cut = false;
  std::string Kind; // for reports: "extrusion", "rotated", ...
  TFrame Frame;
  std::vector<TLoop> Loops;
  // Extrusion: the sweep range along N, and how far the section's edges move out per unit of distance
  // from the sketch plane (negative: in; a taper's tangent).
  double From = 0, To = 0, Grow = 0;
  // Rotation: the axis through a point along a direction, and the turn in degrees (right-handed about it).
  TVec3 AxisPoint{0, 0, 0}, AxisDir{1, 0, 0};
  double Angle = 360;
};

// This thread's processor time in seconds, what the limits below count.
double ProcessorSeconds();

// What the modeller may spend on one evaluation (a part's features, an assembly's parts and the check of its
// components together), and where it says how far it has come.
struct TLimits
{
  // Seconds of this thread's processor time (0: as long as it takes): one boolean of a part of thousands of
  // faces may run for minutes. An operation of the modeller under way when they run out stops, and what it
  // was working out is said as not worked out.
  double Seconds = 0;
  // The processor time (ProcessorSeconds) they count from: an assembly's check gets what building its parts
  // left. From the start of the work they limit when unset.
  std::optional<double> Started;
  // Where a long evaluation says how far it has come (every few seconds), or nowhere.
  std::ostream* Progress = nullptr;
};

// What one feature did to its part.
struct TFeatureResult
{
  std::string Kind;
  bool Cut = false;
  double Tool = 0;    // the tool's own volume
  double Changed = 0; // the volume a cut removed or a boss added (never negative)
  std::string Error;  // the modeller's failure, when it failed; the part then stays as it was
  bool Late = false;  // not worked out: the time ran out before or while it was made
  const char* Effect() const
  {
    return Late             ? "not worked out"
           : !Error.empty() ? "failed"
           : Changed > 0    ? (Cut ? "removes" : "adds")
                            : "nothing";
  }
};

// A solid shape of the modeller, shared and immutable once made.
class TShape;
using TShapePtr = std::shared_ptr<const TShape>;

// A part's turns onto itself: about the axis through Point along Dir by every multiple of 2 pi / Order
// (Order 0: by any angle; Order 1: by none but the whole turn).
struct TSymmetry
{
  TVec3 Point{0, 0, 0}, Dir{1, 0, 0};
  int Order = 1;
};

struct TPartResult
{
  TShapePtr Shape; // null when nothing was built
  double Volume = 0;
  int Solids = 0;
  std::vector<TFeatureResult> Features;
  TSymmetry Symmetry; // known from how the part was built
  // The features the time left unmade, the first of them and the time: the shape is what those before made.
  std::size_t Late = 0, FirstLate = 0;
  double Seconds = 0;
};

// Builds the features in order, within the limits. A feature that throws or fails is reported and skipped;
// those the time leaves are marked late and the part is what the features before them made. What a long
// build says of its progress names the part as what.
TPartResult BuildPart(const std::vector<TFeature>& features, const TLimits& limits = {},
                      const std::string& what = "features of the part built:");

// A leaf component of an assembly placed in world space: world = origin + x X + y Y + z Z.
struct TPlaced
{
  std::string Name;
  TShapePtr Shape;
  std::array<double, 12> Matrix{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}; // rows X, Y, Z, origin
  bool Fastener = false;                                             // a bolt, pin or screw: seated in holes
  TSymmetry Symmetry;                                                 // the part's, in its own space
  double Volume = -1;                                                 // the part's; measured when negative
  bool Piece = false; // travels with a fastener (its nut, washer, bushes): no part a fastener is seated in
};

struct TClash
{
  std::size_t A = 0, B = 0; // indices into the placed list, A < B
  double Volume = 0;
  // The pairs it stands for: A's copies at A's place (one part, one matrix) with B's at B's, which share the
  // same.
  std::size_t Copies = 1;
  // Estimated from points inside both, where the modeller found nothing shared: how many of how many.
  std::size_t Inside = 0, Sampled = 0;
};
// Copies of one part at one place: every pair of them shares the part's whole volume, which is known
// without the modeller.
struct TCoincident
{
  std::vector<std::size_t> Members; // indices into the placed list, in order
  double Volume = 0;
};
// A fastener's axis passes through a coaxial hole of a component it joins (no fastener, nor a piece that
// travels with one).
struct TSeat
{
  std::size_t Fastener = 0, Part = 0;
};
// A pair of components whose shared volume the modeller failed to work out: not known to be clear.
struct TUnchecked
{
  std::size_t A = 0, B = 0;
  std::string Error;
};
struct TAssemblyResult
{
  std::vector<TClash> Clashes;
  std::vector<TCoincident> Coincident; // those that clash
  std::vector<TUnchecked> Unchecked;
  // Where the bound on the pairs worked out stopped the check: how many pairs of components whose boxes
  // meet (copies counted) were left unchecked, the first of them, and the bound.
  std::size_t LeftOver = 0;
  TUnchecked FirstLeftOver;
  std::size_t Bound = 0;
  // Whether the time the check may spend ran out, and that time (seconds of processor time).
  bool TimedOut = false;
  double Seconds = 0;
  std::size_t Worked = 0; // pairs whose boxes meet that the modeller was asked about
  std::vector<TSeat> Seats;
  std::vector<std::size_t> Unseated; // fasteners seated in no component they join
  // How many pairs of components clash.
  std::size_t ClashingPairs() const;
};
// The clash tolerance: shared volumes up to max(0.1 mm3, 1e-6 of the smaller solid) are touching.
double ClashTolerance(double smaller);
// What checks of assemblies worked out with the modeller, kept for later checks that meet the same parts at
// the same places: each part's mesh, whether two meshed parts are clear, what two parts share, what a large
// part split with the small ones about it shares with them. Each is kept by every component it was worked out
// from, exactly as placed (the part itself, not an equal one; the matrix bit for bit; its turns onto itself),
// so a kept result is the one the modeller would give again, and a part moved by any amount is worked out
// anew. It keeps the parts it has met alive, and grows with every new place: drop it with the evaluation
// whose parts it holds.
class TCheckMemo
{
public:
  TCheckMemo();
  ~TCheckMemo();
  TCheckMemo(const TCheckMemo&) = delete;
  TCheckMemo& operator=(const TCheckMemo&) = delete;
  // How many results of the modeller were worked out and kept, and how many times one was used again.
  std::size_t Kept() const;
  std::size_t Reused() const;

  struct TState;
  std::unique_ptr<TState> S;
};

// The limits' Seconds: one boolean of two near copies of a part may run for a second, and a file may hold
// thousands of such copies; the pairs the time leaves are counted and the first of them named.
struct TCheckOptions : TLimits
{
  // At most so many pairs of components whose boxes meet are worked out by the modeller (each a mesh
  // test, a boolean or a share of a split); the rest are left unchecked and counted.
  std::size_t MaxPairs = 100000;
  // Where results are taken from and kept (see TCheckMemo), or nowhere. A result the time limit cut short
  // is not kept, and one kept counts as worked out again, so the answer is the same with it and without.
  TCheckMemo* Memo = nullptr;
};
// Components are checked against each other once per place: copies of one part at one place clash with
// each other without a boolean, and what one of them shares with another component, each of them does.
TAssemblyResult CheckAssembly(const std::vector<TPlaced>& placed, const TCheckOptions& options = {});

// The volume and the number of solids of a shape.
double Volume(const TShape& shape);
int SolidCount(const TShape& shape);
// A placed component's box in world space (x0, y0, z0, x1, y1, z1), and whether a world point lies inside its
// solid (not on its boundary). The tight box is worked out from the surfaces themselves, many times the cost of
// the quick one, which may stand off a curved surface by a few per cent.
std::array<double, 6> Bounds(const TPlaced& placed, bool tight = true);
bool Contains(const TPlaced& placed, const TVec3& point);
// The same for many points at once, much cheaper than one by one.
std::vector<bool> Contains(const TPlaced& placed, const std::vector<TVec3>& points);
// The same for points asked in turn, each answer deciding the next (a bisection): what costs on a solid of
// many faces, setting up its classification, is done once for them all.
class TContains
{
public:
  explicit TContains(const TPlaced& placed);
  ~TContains();
  TContains(const TContains&) = delete;
  TContains& operator=(const TContains&) = delete;
  bool operator()(const TVec3& point);
  std::vector<bool> operator()(const std::vector<TVec3>& points);

private:
  struct TState;
  std::unique_ptr<TState> S;
};

// The placed solids drawn shaded from a fixed isometric view into a PNG of width x height pixels on a
// white background; with section, everything above the XOY plane is cut away so that what sits inside
// shows.
bool RenderPng(const std::vector<TPlaced>& placed, bool section, int width, int height, const std::string& file,
               std::string& error);
// The placed solids written to a STEP file; read back as one shape.
bool WriteStep(const std::vector<TPlaced>& placed, const std::string& file, std::string& error);
TShapePtr ReadStep(const std::string& file, std::string& error);

} // namespace txhost::solid
