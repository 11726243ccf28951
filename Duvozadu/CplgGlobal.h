#pragma once
// The coupling catalogue: the nine coupling types with their builders and table lists, the
// process-wide table slots the builders read, and the modeller they draw through.
#include <initializer_list>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/drawing/drModeler.h"

typedef void (*PAction)();

// What a coupling's builders read of one of its tables, by column: the sizes of the pieces built (a piece
// with one at or below zero has no body, and the cuts made with it remove nothing), the counts of pieces
// placed round a circle (bolts, pins: 0 places none and cuts no hole for them), the other lengths read
// (chamfers, fillets, offsets, which may rightly be 0) and the values rows are chosen by but that are no
// length (the torque). A column in none of them is read by no builder.
struct TColumnReads
{
  std::initializer_list<int> Sizes, Counts, Others, Keys;
};

// What does not fit in a coupling's tables: the table (its entry in the coupling's list less one, or
// FitKeyway), its row (from 0) and what does not fit there.
struct TFitFault
{
  int Table = -1;
  Integer Row = -1;
  TString What;
};
constexpr int FitKeyway = 9;
// The tables of one coupling as ReadTables reads them (T[i] the table of entry i + 1), with the keyway table.
struct TFitTables
{
  const TTable* const* T;
  const TTable* Keyway;
};
// The fit rules of one coupling (CplgFit.cpp): whether every row of its tables fits the others as its
// builders place the pieces (fasteners on their circle clear of each other and of the hubs, barrels and rims,
// every row looked up by a value found exactly, key columns ascending); false with the first fault.
using PFitRules = bool (*)(const TFitTables& tables, TFitFault& fault);
bool FitMUVP(const TFitTables& tables, TFitFault& fault);
bool FitFlanged(const TFitTables& tables, TFitFault& fault);
bool FitStar(const TFitTables& tables, TFitFault& fault);
bool FitToothed(const TFitTables& tables, TFitFault& fault);
bool FitToothedFlanged(const TFitTables& tables, TFitFault& fault);
bool FitToroidal(const TFitTables& tables, TFitFault& fault);
bool FitHinge(const TFitTables& tables, TFitFault& fault);
bool FitHinge2(const TFitTables& tables, TFitFault& fault);
bool FitJawDisc(const TFitTables& tables, TFitFault& fault);
// The keyway table's own rule: its bores ascend.
bool FitKeywayTable(const TTable& keyways, TFitFault& fault);
// A clearance the fit rules measure between two pieces of a coupling (what they are): pieces that overlap
// are refused, touching ones fit; a wall of one part (Through: a hole or keyway beside a face) is refused
// when nothing of it is left.
struct TFitWall
{
  const char* Pieces;
  bool Through;
};
extern const TFitWall FitWalls[];
extern const int CountFitWall;
// While set, told every clearance a fit rule measures (the index of its wall in FitWalls), kept or not.
extern void (*FitGauge)(int wall, double clearance);

// One catalogue row.
class TCoupling
{
public:
  // Mode 0 the 3D model, 1 the 2D section, 2 the 2D view. Loads the row's tables into ATable
  // (those the row's build before read stay while the text base stands as it did then) and runs
  // the builder; false (with a message) without a builder, with a table missing, or when no size
  // of the main table builds ControlModel's torque and diameters. A 3D build is made only when it
  // names its assembly (Detail3D(0)).
  bool Make(int mode);
  // Reads the row's tables as its builders read them: tables[i] the table of entry i + 1 (the caller owns
  // them; null past the list and for one that cannot be read). False, with why, when one cannot be read:
  // the first such table (missing, or the row of a value that is not a plain number or that its builders
  // cannot build: see Reads), or the text base that could not be read.
  bool ReadTables(TTable* (&tables)[9], TString& why) const;
  // Entry i of the list (0 the name prefix, 1 the main table, ...).
  TString NameTable(int i) const;

  TString Name;
  PAction Make3D;
  PAction Make2D;
  PAction Make2DView;
  const char* const* LTable;
  // Per table of LTable (from entry 1), the columns its builders read; a table with fewer is
  // missing. Null, or a 0 entry, checks nothing; the list may end early.
  const int* Columns = nullptr;
  // Per table of LTable (from entry 1), what its builders read there. A row is refused when a size is not
  // positive, another length negative, or a value read is too large to be built exactly (a length or a key
  // beyond LargestValue millimetres, a count beyond MostPieces); columns no builder reads are not looked at.
  // Null checks no values.
  const TColumnReads* Reads = nullptr;
  // The rows' fit across columns and tables, checked once they have been read; a coupling with fit rules cuts
  // keyways, and reads the keyway table with its own. Null checks none.
  PFitRules Fit = nullptr;
};

// The largest value a build takes, in millimetres. A coupling's coordinates are sums of a few table values,
// and a drawing meets its lines by products of two coordinates: below this, such products of values given
// to a hundredth stay within the 53 bits a double holds exactly, so no line vanishes into another and no
// determinant that should not be zero comes out zero.
constexpr double LargestValue = 1e5;
// The most pieces a build places round one circle.
constexpr double MostPieces = 360;

class TCouplings
{
public:
  TCouplings(TCoupling* rows, int count) : Couplings(rows), CountCoupling(count) {}
  ~TCouplings() {}

  // Appends every row's name in row order.
  void GetNames(TArrayOf<TString>& names) const;
  // Entry i of the named row's list; empty when no row has that name.
  TString GetNameTable(const TString& type, int i) const;
  // Builds the first row whose name equals type byte for byte; false when none does.
  bool drCoupling(const TString& type, int mode);
  // The named row's main table (the caller owns it) when every table its builders read can be read; else
  // null, with why (ReadTables), or an empty why when no row has that name. Shows nothing.
  TTable* ReadMain(const TString& type, TString& why) const;
  // Whether the named row can build ControlModel's values: every table it reads can be read (ReadMain),
  // the torque is finite and the diameters finite and positive, and a size holds them. Shows
  // nothing.
  bool Buildable(const TString& type) const;
  // Whether ControlModel holds values no size can build: a torque or diameter that is not finite,
  // a diameter or torque that is not positive, or, when the named row's main table is there,
  // values past every size of it. A type without its table is not judged by its values' fit.
  bool Damaged(const TString& type) const;

  TCoupling* Couplings;
  int CountCoupling;
  // While set, builds show no message: a phantom redrawn at every move would repeat the one the
  // user's click shows.
  bool Quiet = false;
};

extern TCoupling iCouplings[];
extern const int CountCoupling;
extern TCouplings Couplings;

// Keeps the catalogue's builds silent while it lives.
class TQuietCouplings
{
public:
  TQuietCouplings() : Was(Couplings.Quiet) { Couplings.Quiet = true; }
  ~TQuietCouplings() { Couplings.Quiet = Was; }
  TQuietCouplings(const TQuietCouplings&) = delete;
  TQuietCouplings& operator=(const TQuietCouplings&) = delete;

private:
  const bool Was;
};
// Slots 0..4 the tables of the row built last, 9 the keyway table; each owns its table.
extern TTable* ATable[10];
// The keyway row chosen last.
extern const double* AS;

// The modeller every builder draws through; null (nothing drawn) until the host modeller
// installs itself. Tests install a recording one.
TModeler3D* CouplingModeler();
TModeler3D* SetCouplingModeler(TModeler3D* m);

// The keyway row for a bore of diameter d (also kept in AS); null without the keyway table.
const double* KeywayRow(double d);
