#pragma once
// The text base: the UTF-16 file of standard dimension tables ("VUVudirido.tb" beside the
// library) from which every standard size is read. A table is written as
//   # "name" "standard" "category" columns keycolumn { values }
// with "//" comments; tables of the category "Вспомогательный" are not offered to the user.
// TDTable reads one entry of the standard-part file of the mould parts from the same kind of
// reader; TADTable is the collection of those entries.
#include <memory>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/TArray.h"
#include "hxcadkit/core/TTable.h"
#include "hxcadkit/core/TextFile.h"
#include "hxcadkit/core/Types.h"

// The largest number of values one table (or one block of a standard-part entry) may hold.
constexpr Integer MaxTextBaseValues = 131072;

class TTextBase : public TWideTextFile
{
public:
  TTextBase();
  ~TTextBase();

  // Opens path + name once per object and accepts it only when it starts with the UTF-16
  // byte-order mark; later calls only store the names and answer the first result.
  bool Init(const TString& path, const TString& name);
  // A new table (the caller deletes it), or null: no usable base, no table of that name, or
  // a table that breaks the format (reported as a bad parameter file). Tables already read
  // from the unchanged file are handed out again without a scan; the reader's position then
  // stays where it was.
  // With plain, also says whether every value of the table was written as a plain decimal
  // number: the tokeniser knows no exponent and drops letters, so "1e308" reads as 1.
  TTable* GetTable(const TString& name, bool* plain = nullptr);
  // The names of the tables meant for the user, in file order.
  void CouplingLS(TAStr& list);

  // Reports the base as a bad parameter file.
  void ReportBadFile() const;

private:
  struct TCache;
  std::unique_ptr<TCache> Cache;
};

// The code of a standard element: its catalogue entry and rows; {0, -1, -1} is no code.
struct TBaseDetail
{
  Integer ID = 0;
  Integer Index = -1;
  Integer Index2 = -1;

  TBaseDetail() = default;
  TBaseDetail(Integer id, Integer index, Integer index2) : ID(id), Index(index), Index2(index2) {}
  void Set(Integer id, Integer index, Integer index2)
  {
    ID = id;
    Index = index;
    Index2 = index2;
  }
};

// Identity and first value block of a standard-part entry.
struct TidBaseDetail
{
  Integer ID = 0;
  Integer Params = 0;         // values per row of the first block
  Integer Count = 0;          // rows of the first block
  char** NameParam = nullptr; // 2 * Params + 2 owned 8-bit texts; slots past the list null
};

// One entry of the standard-part file, read at the text base's current position (just after
// the entry's quoted name):
//   "manufacturer" "type" ID makeID pictureID Params Params2 {{ "words" ... } {values} {values} }
// An entry that breaks the format is reported as a bad parameter file and keeps no values.
class TDTable
{
public:
  static constexpr int CountTicknessPlate = 11;

  // A row of the second block of the plate tables.
  struct TTicknessMoldBase
  {
    double IBase; // row of the socket record in the first block
    double TPlate;
    double T[CountTicknessPlate]; // plate thicknesses, rising; 0 ends the list early
  };
  // A row of the first block of the plate tables.
  struct TSocketMoldBaseFCPK
  {
    double Y, X, LPx, LPy, LPd, Bx, By, Bd, Ey, EBx, EBy, EBd, SPx, SPy, SPd, R, LRd, LRh;
  };

  TDTable(const TString& name, TTextBase& base);
  ~TDTable();
  TDTable(const TDTable&) = delete;
  TDTable& operator=(const TDTable&) = delete;

  // The row of the first block that fits up to three (column, value) keys: a column |c|
  // (1-based); a positive one takes the nearest row below the value, a negative one the first
  // row above it. One key when c2 is 0, else three. 0 when no row fits; row 0 never does.
  int Select(int c1, double x1, int c2, double x2, int c3, double x3) const;

  // Fields, in their documented order.
  TString Name;
  TString Manufacturer;
  TString Type;
  Integer makeID = 0;
  Integer pictureID = 0;
  TidBaseDetail pID;
  Integer Params2 = 0; // values per row of the second block
  Integer Count2 = 0;  // rows of the second block
  double* pBase = nullptr;
  double* pBase2 = nullptr;

  // The members of pID under their own names.
  Integer& ID = pID.ID;
  Integer& Params = pID.Params;
  Integer& Count = pID.Count;
  char**& NameParam = pID.NameParam;

private:
  bool Read(TTextBase& base);
  void Clear();
};

// The collection of standard-part tables of the mould parts (ABaseDetail).
class TADTable
{
public:
  static constexpr int MaxDetails = 256;

  TADTable();
  ~TADTable();
  TADTable(const TADTable&) = delete;
  TADTable& operator=(const TADTable&) = delete;

  // The designation of the standard element with that code; empty when no table has its ID.
  TString Name(const TBaseDetail& code) const;

  // Fields, in their documented order.
  bool Active = false;   // at least one table was read
  bool Activate = false; // reading was attempted
  Integer Count = 0;
  TString AllParam; // "*": heads the choice lists, means "any" in filters
  TDTable* Details[MaxDetails] = {};
  TString Path;
  TString FileName;
};

// The process-wide text base and standard-element collection, built when the library loads.
extern TTextBase TextBase;
extern TADTable ABaseDetail;
