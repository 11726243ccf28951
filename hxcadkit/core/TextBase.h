#pragma once
// The text base: the UTF-16 file of standard dimension tables ("VUVudirido.tb" beside the
// library) from which every standard size is read. A table is written as
//   # "name" "standard" "category" columns keycolumn { values }
// with "//" comments; tables of the category "Вспомогательный" are not offered to the user.
// TDTable reads one entry of the standard-part file of the mould parts from the same kind of
// reader; TADTable is the collection of those entries.
#include <cstdint>
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
  // number: the tokeniser knows no exponent and drops letters, so "1e308" reads as 1. With
  // irregular, the index among the table's values of the first that is not, -1 when none.
  // With odd, for a table whose values do not fill its last row, the row written with a value too
  // many or too few (see TOddRow).
  struct TOddRow
  {
    // The first row (from 0; a row is a line that holds values) whose line holds a number of
    // values other than the table's columns, and that number; Row -1 when there is none.
    Integer Row = -1;
    Integer Values = 0;
  };
  TTable* GetTable(const TString& name, bool* plain = nullptr, Integer* irregular = nullptr,
                   TOddRow* odd = nullptr);
  // The names of the tables meant for the user, in file order.
  void CouplingLS(TAStr& list);

  // While one stands, whether the file changed is looked at once, at the first request: the tables already
  // read are handed out as read then (a look at the file costs more than handing out a table read before).
  // Requests after the last one ends look at the file again, and follow its changes.
  class TTogether
  {
  public:
    explicit TTogether(TTextBase& base) : Base(base) { ++Base.Together; }
    ~TTogether()
    {
      if (--Base.Together == 0) Base.HeldKnown = false;
    }
    TTogether(const TTogether&) = delete;
    TTogether& operator=(const TTogether&) = delete;

  private:
    TTextBase& Base;
  };

  // Reports the base as a bad parameter file.
  void ReportBadFile() const;

private:
  // What tells one state of the file from another: where it lies, its size and its times.
  struct TFileKey
  {
    std::uint64_t Dev = 0, Ino = 0;
    std::int64_t Size = -1, MTime = 0, CTime = 0;
    bool operator==(const TFileKey&) const = default;
  };

public:
  // One state of the base: which object read which state of its file. Requests made in equal states give
  // equal tables, so a caller that keeps the tables it was given may use them again while the state it got
  // them in stands. A state not known (no usable base, or a file that cannot be looked at) equals none.
  class TState
  {
  public:
    bool operator==(const TState& o) const { return Known && o.Known && Base == o.Base && File == o.File; }

  private:
    friend class TTextBase;
    bool Known = false;
    std::uint64_t Base = 0;
    TFileKey File;
  };
  // The state now; looked at as GetTable looks at the file (once while tables are asked for together).
  TState State();

private:
  // Tells this object from those before it at the same place.
  std::uint64_t Serial;
  struct TCache;
  std::unique_ptr<TCache> Cache;
  // The file's key as the first request while tables are asked for together found it.
  int Together = 0;
  bool HeldKnown = false, HeldKeyed = false;
  TFileKey Held;
  bool KeyNow(TFileKey& key);
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

  // Reading. Each form reads once per collection: after the first attempt (Activate) the others
  // do nothing. The file is read through a text base of its own, never the global one, which
  // holds the coupling tables. More than MaxDetails entries: the rest is left unread, with a
  // message.
  // Reads Path + FileName; false with the "missing file" message when it cannot be opened, true
  // when it was read.
  bool Init(const TString& Path, const TString& FileName);
  // Reads the entries of an open text base from its current position.
  void Init(TTextBase& base);
  // Where Init() reads from: the directory (a separator is appended) and the file name.
  void Set(const TString& Path, const TString& FileName);
  // Reads from Set's file, quietly; Activate is set whatever happens.
  void Init();

  // Lookups by table ID (the first table holding it); not found gives null, -1, 0 or false.
  TDTable* GetTable(int ID) const;
  int Index(int ID) const;
  // Record I of a plate table's second block (thicknesses) or first block (sockets); null
  // outside the block or when the table's rows are too short for the record.
  const TDTable::TTicknessMoldBase* TicknessMold(int ID, int I) const;
  const TDTable::TSocketMoldBaseFCPK* SocketMold(int ID, int I) const;
  int ThicknessCount(int ID) const;
  int SocketCount(int ID) const;

  // The designation of the standard element with that code; empty when no table has its ID.
  TString Name(const TBaseDetail& code) const;
  // The plate thickness of plate type TPlate on socket IBase nearest to |Limit|: the smallest
  // not below it, or for a negative Limit the largest not above it; its code, {0, -1, -1} when
  // there is none (Thickness then unchanged).
  TBaseDetail GetPlate(int ID, int IBase, int TPlate, double Limit, double& Thickness) const;

  // Choice lists: "*" first (unless Add), then each value once, in table order.
  void GetManufactures(TArrayOf<TString>& List, bool Add) const;
  void GetTypes(const TString& Manufacturer, TArrayOf<TString>& List, bool Add) const;
  // The tables offered to the user (makeID not 0) that pass both filters ("*" passes all); a
  // name met twice is reported and left out.
  void GetDetails(const TString& Manufacturer, const TString& Type, TArrayOf<TString>& ADetails,
                  TArrayOf<int>& AIdDetails) const;
  // The name, comment and distinct values ("*" first) of the column ranked Number.
  bool GetParam(int IdDetail, int Number, TString& Name, TString& Comment, TArrayOf<TString>& AValues) const;
  // The designations and rows of the rows matching the texts of ranks 1-3 ("*" or empty: any).
  bool GetSpcDetail(int IdDetail, const TString& P1, const TString& P2, const TString& P3,
                    TArrayOf<TString>& AValues, TArrayOf<int>& AIndex) const;

  // Standard-size searches; a row number, 0 when none fits. By the ranked columns of the code
  // row with the values P1-P3; by explicit 1-based columns (a negative column takes the first
  // row above the value, a positive one the last row not above it).
  int IndexStDet(int DetailId, const double& P1, const double& P2, const double& P3) const;
  int IndexStDet(int DetailId, int IP1, double P1, int IP2, double P2, int IP3, double P3) const;
  int Select(int DetailId, int IP1, double P1, int IP2, double P2, int IP3, double P3) const;

  // Row values: 0 and the row's values; one value at a 1-based column; the row itself; the
  // 0-based columns 2, 3 and 4. Rows from 1 (row 0 holds the column codes).
  bool Params(int ID, int Index, TArrayOf<double>& A) const;
  double ParStDet(int ID, int Index, int Column) const;
  const double* ParStDet(int ID, int Index) const;
  bool GetStDet(int ID, int Index, double& P1, double& P2, double& P3) const;

  // Fields, in their documented order.
  bool Active = false;   // at least one table was read
  bool Activate = false; // reading was attempted
  Integer Count = 0;
  TString AllParam; // "*": heads the choice lists, means "any" in filters
  TDTable* Details[MaxDetails] = {};
  TString Path;
  TString FileName;

private:
  // What the lookups learn about the tables once read (which the searches take as unchanging):
  // the table found last, and whether a table's rows are sorted by a list of key columns, so that
  // a search of sorted rows halves its range instead of walking it. Forgotten when tables are read.
  struct TSearchAid;
  mutable std::unique_ptr<TSearchAid> Aid;
  // The key columns of the rows side by side when the rows are sorted by them; nullptr when not.
  const double* SortedBy(const TDTable& t, const int* cols, int keys) const;
  // Whether the table's code row ranks a column 1, 2 or 3.
  bool Ranked(const TDTable& t, int rank) const;
};

// The process-wide text base and standard-element collection, built when the library loads.
extern TTextBase TextBase;
extern TADTable ABaseDetail;
