#pragma once
// The coupling catalogue: the nine coupling types with their builders and table lists, the
// process-wide table slots the builders read, and the modeller they draw through.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/drawing/drModeler.h"

typedef void (*PAction)();

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
  // the first such table (missing, or the row of a value that is not a plain number or a size that is not
  // positive), or the text base that could not be read.
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
};

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
