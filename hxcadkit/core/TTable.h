#pragma once
// TTable: one table of standard dimensions in memory, rows of doubles of which one column
// (the key column) is searched for the row that fits a value, e.g. the coupling size that fits
// a shaft diameter. Tables come from the text base (the counting constructor; the caller owns
// the result) or from static arrays in code that end with a row whose first value is 0.0.
//
// Lookups that find nothing give the last row, so callers of a non-empty table always get a
// row; a table without a whole row gives none (a null row, or -1 from the selections).
#include <cstdint>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/Types.h"

enum TCompare : std::uint32_t { tcLess = 0, tcLessEqu = 1, tcEqu = 2, tcMoreEqu = 3, tcMore = 4 };

class TTable
{
public:
  // One node of a throw-away step list, built by nesting dXV calls (first node outermost).
  struct XV
  {
    double Xb;
    double Yb;
    XV* Next;
  };
  typedef XV tXV;

  // The key tolerance of MakeSelect.
  static constexpr double Tolerance = 0.000002;

  // Copies count values (zeros without data) into an owned array of count / columns rows.
  TTable(int count, int columns, int control, const double* data);
  // Borrows a static array of rows of rowBytes bytes, ended by a row whose first value is 0.0.
  TTable(const double* data, int rowBytes, int control, TCompare compare);
  ~TTable();
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  // Borrows data like the static-array constructor (counting at most about 10000 values).
  void Set(const double* data, int rowBytes, int control, TCompare compare);
  // Frees an owned array; the table stays usable as an empty one.
  void Release();

  // Row i (0-based); an index outside the table gives the nearest row, an empty table null.
  const double* Row(int i) const;
  // The first row whose value in col is not below x; with interval, the first row for which
  // x < value or x <= the next row's value. None: the last row.
  const double* GetParam(int col, const double& x, bool interval = false) const;
  // The first row whose value in colB is not below b and whose value in colA equals a.
  const double* Row(int colA, const double& a, int colB, const double& b, bool unused = false) const;
  // The number of leading rows whose value in col is below x.
  int NumberRow(int col, const double& x) const;

  // Selects the row that fits x in the key column by Compare (Select, 1-based).
  bool MakeSelect(const double& x);
  // Select = n - 1 (0 for n < 1), kept within the table.
  bool MakeSelect(int n);

  // Values 1, 2, ... of the row MakeSelect(x) picks; the result is Select (-1: none).
  int Get(const double& x, double& a, double& b);
  int Get(const double& x, double& a, double& b, double& c);
  int Get(const double& x, double& a, double& b, double& c, double& d);
  int Get(const double& x, double& a, double& b, double& c, double& d, double& e);
  int Get(const double& x, double& a, double& b, double& c, double& d, double& e, double& f);
  // Values 1, 2, ... of the row MakeSelect(n) picks.
  void GetRow(int n, double& a, double& b);
  void GetRow(int n, double& a, double& b, double& c);
  void GetRow(int n, double& a, double& b, double& c, double& d);
  void GetRow(int n, double& a, double& b, double& c, double& d, double& e);
  void GetRow(int n, double& a, double& b, double& c, double& d, double& e, double& f);
  void GetRow(int n, double& a, double& b, double& c, double& d, double& e, double& f, double& g);

  // Choice lists: each value as two decimals with a decimal point, right-aligned in 7.
  void toLD(int col, TArrayOf<TString>& list, const TString& head) const;
  void toLDfrom(int col, const double& x, int keycol, TArrayOf<TString>& list) const;

  // Step lists, consumed (every node freed) by the lookup. FX: the first node with Xb <= x
  // of a list in decreasing Xb; FX2: the first with Xb > x of a list in increasing Xb. No
  // such node: the last one. A null list gives 0.
  static double FX(const double& x, XV* list);
  static double FX2(const double& x, XV* list);

  // Fields, in their documented order.
  TString GOST; // the standard's designation
  TString Name; // the table's name in the text base
  Integer Control = 0;
  TCompare Compare = tcMoreEqu;
  Integer Select = -1;
  union {
    double* Array;
    const double* cArray;
  };
  Integer Count = 0;       // values the lookups scan
  Integer CountColumn = 0; // values per row
  Integer CountRow = 0;    // rows MakeSelect scans
  Boolean Owner = false;

private:
  int ScanRows() const;   // whole rows within Count
  int SelectRows() const; // whole rows MakeSelect may pick
  bool ValidColumn(int col) const { return col >= 0 && col < CountColumn; }
  double At(int row, int col) const { return cArray[std::int64_t(row) * CountColumn + col]; }
  void CountStaticRows(const double* data, bool capped);
  int GetValues(const double& x, double* const* out, int n);
  void GetRowValues(int n, double* const* out, int k);
};

// A new step-list node {x, y, next}.
TTable::XV* dXV(const double& x, const double& y, TTable::XV* next = nullptr);
