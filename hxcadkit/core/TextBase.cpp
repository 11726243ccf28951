#include "hxcadkit/core/TextBase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "hxcadkit/core/Messager.h"

// Built in this order when the library loads, destroyed in reverse at unload.
TTextBase TextBase;
TADTable ABaseDetail;

namespace {
// Values of a table or block, up to its closing '}' (left pending). False when the data end,
// the next table begins ('#') or the values outnumber the limit before a '}' turns up.
bool ReadValues(TTextBase& b, std::vector<double>& values)
{
  values.clear();
  b.Skip(L' ');
  for (;;) {
    wchar_t c = b.NextWChar();
    if (c == L'}') return true;
    if (b.EmptyBufer() || c == L'#') return false;
    if (Integer(values.size()) >= MaxTextBaseValues) return false;
    values.push_back(b.GetReal());
    b.Skip(L' ');
  }
}

// Takes the next non-blank character; true when it is c.
bool Take(TTextBase& b, wchar_t c)
{
  b.Skip(L' ');
  return b.GetWChar() == c;
}

// What a scan of the base for one table name found.
struct TFoundTable
{
  bool Found = false;
  bool Bad = false; // the table breaks the format: reported on every request
  TString GOST;
  int Columns = 0, Key = 0;
  std::vector<double> Values;
};

// Scans the base from its start for the first table of that name and reads it.
TFoundTable Scan(TTextBase& b, const TString& name)
{
  TFoundTable r;
  b.FB.Seek(0);
  b.SetEmptyBufer();
  for (;;) {
    b.SkipTo(L'#');
    b.GetWChar();
    if (b.FB.EndOfFile()) return r;
    if (b.GetStr() == name) break;
    if (b.FB.EndOfFile()) return r;
  }
  r.Found = true;
  r.GOST = b.GetStr();
  b.GetStr(); // the category
  r.Columns = b.GetInt();
  r.Key = b.GetInt();
  b.SkipTo(L'{');
  bool good = r.Columns >= 1 && r.Columns <= MaxTextBaseValues && r.Key >= 0 && r.Key < r.Columns;
  if (!good || !ReadValues(b, r.Values)) {
    r.Found = false;
    r.Bad = true;
    r.Values.clear();
  }
  return r;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TTextBase

bool TTextBase::Init(const TString& path, const TString& name)
{
  NameTextBase = name;
  ExecutePath = path;
  if (Activate) return Active;
  Activate = true;
  if (FB.MakeForRead(ExecutePath + NameTextBase, true)) {
    char16_t bom = 0;
    FB.Read(bom);
    Active = bom == 0xFEFF;
    if (!Active) {
      // A file that is not a text base is not kept open for the life of the object.
      FB.Close();
      ReportBadFile();
    }
  }
  return Active;
}

void TTextBase::ReportBadFile() const
{
  Messager->LiftBox(DC(TString("Плохой файл параметров")) + TString(" ") + ExecutePath + NameTextBase,
                    TMessager::toAlways);
}

// What one request for a table found, kept per name while the file is unchanged. Every
// coupling rebuild asks for its tables again (on each cursor move of a placement), and a
// scan of the whole base each time costs far more than a copy.
struct TTextBase::TCache
{
  struct TKey
  {
    std::uint64_t Dev = 0, Ino = 0;
    std::int64_t Size = -1, MTime = 0, CTime = 0;
    bool operator==(const TKey&) const = default;
  };
  using TEntry = TFoundTable;
  static constexpr std::size_t MaxEntries = 1024;

  TKey Key;
  std::map<std::string, TEntry> Tables;
};

TTextBase::TTextBase() = default;
TTextBase::~TTextBase() = default;

TTable* TTextBase::GetTable(const TString& name)
{
  if (!Active) return nullptr;
  TCache::TKey key;
  struct stat st;
  const bool keyed = FB.DataFile && fstat(fileno(FB.DataFile), &st) == 0;
  if (keyed) {
    key.Dev = std::uint64_t(st.st_dev);
    key.Ino = std::uint64_t(st.st_ino);
    key.Size = std::int64_t(st.st_size);
    key.MTime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    key.CTime = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  }
  const std::string cacheName(name.PChar(), std::size_t(name.Length()));

  const TCache::TEntry* entry = nullptr;
  if (keyed && Cache && Cache->Key == key) {
    auto it = Cache->Tables.find(cacheName);
    if (it != Cache->Tables.end()) entry = &it->second;
  }
  TCache::TEntry scanned;
  if (!entry) {
    scanned = Scan(*this, name);
    if (keyed) {
      if (!Cache) Cache = std::make_unique<TCache>();
      if (!(Cache->Key == key) || Cache->Tables.size() >= TCache::MaxEntries) {
        Cache->Tables.clear();
        Cache->Key = key;
      }
      entry = &(Cache->Tables[cacheName] = std::move(scanned));
    } else {
      entry = &scanned;
    }
  }

  if (entry->Bad) ReportBadFile();
  if (!entry->Found) return nullptr;
  auto* t = new TTable(int(entry->Values.size()), entry->Columns, entry->Key, entry->Values.data());
  t->Name = name;
  t->GOST = entry->GOST;
  return t;
}

void TTextBase::CouplingLS(TAStr& list)
{
  list.Clear();
  list.ReserveSize(64);
  if (!Active) return;
  FB.Seek(0);
  SetEmptyBufer();
  const TString auxiliary = DC(TString("Вспомогательный"));
  for (;;) {
    SkipTo(L'#');
    if (FB.EndOfFile()) return;
    GetWChar();
    TString name = GetStr();
    GetStr(); // the standard
    if (GetStr() != auxiliary) list.Add(name);
    if (FB.EndOfFile()) return;
  }
}

// ---------------------------------------------------------------------------------------------
// TDTable

TDTable::TDTable(const TString& name, TTextBase& base) : Name(name)
{
  if (!Read(base)) {
    // The entry keeps no values, and its word list is the two empty slots of a row of none.
    Clear();
    NameParam = new char*[2]();
    base.ReportBadFile();
  }
}

TDTable::~TDTable()
{
  Clear();
  delete[] NameParam;
}

void TDTable::Clear()
{
  if (NameParam)
    for (int i = 0; i < 2 * Params + 2; ++i)
      delete[] NameParam[i];
  delete[] NameParam;
  NameParam = nullptr;
  delete[] pBase;
  delete[] pBase2;
  pBase = pBase2 = nullptr;
  Params = Params2 = Count = Count2 = 0;
}

bool TDTable::Read(TTextBase& b)
{
  Manufacturer = b.GetStr();
  Type = b.GetStr();
  ID = b.GetInt();
  makeID = b.GetInt();
  pictureID = b.GetInt();
  int params = b.GetInt();
  int params2 = b.GetInt();
  // A block row longer than a block can be is no row at all.
  if (params < 0 || params > MaxTextBaseValues || params2 < 0 || params2 > MaxTextBaseValues) return false;
  Params = params;
  Params2 = params2;
  const int slots = 2 * Params + 2;
  NameParam = new char*[std::size_t(slots)]();

  if (!Take(b, L'{') || !Take(b, L'{')) return false;
  for (int w = 0;;) {
    b.SkipDelimiter();
    wchar_t c = b.NextWChar();
    if (c == L'}') break;
    if (b.EmptyBufer() || c == L'#') return false;
    TString word = b.GetStr();
    // Words past the slots are read over: the list may not be longer.
    if (w < slots) NameParam[w++] = word.Duplicate();
  }
  b.SkipTo(L'}');

  std::vector<double> values;
  if (Params != 0) {
    if (!Take(b, L'{') || !ReadValues(b, values)) return false;
    b.SkipTo(L'}');
    Count = Integer(values.size()) / Params;
    if (!values.empty()) {
      pBase = new double[values.size()];
      std::copy(values.begin(), values.end(), pBase);
    }
  }
  if (Params2 != 0) {
    if (!Take(b, L'{') || !ReadValues(b, values)) return false;
    b.SkipTo(L'}');
    Count2 = Integer(values.size()) / Params2;
    if (!values.empty()) {
      pBase2 = new double[values.size()];
      std::copy(values.begin(), values.end(), pBase2);
    }
  }
  b.Skip(L' ');
  b.GetWChar(); // the entry's closing brace
  return true;
}

int TDTable::Select(int c1, double x1, int c2, double x2, int c3, double x3) const
{
  if (c1 == 0) return 0;
  const int keys = c2 == 0 ? 1 : 3;
  if (Count < 2 || !pBase || Params < 1) return 0;
  const int cols[3] = {c1, c2, c3};
  const double xs[3] = {x1, x2, x3};
  for (int k = 0; k < keys; ++k) {
    int col = std::abs(cols[k]) - 1;
    // A key that names no column of the row selects nothing.
    if (cols[k] == 0 || col >= Params) return 0;
  }
  auto value = [this](int row, int c) {
    return pBase[std::size_t(row) * Params + std::size_t(std::abs(c) - 1)];
  };

  int k = 0, row = 1, candidate = -1;
  double matched = 0.0; // the value the previous key was matched with
  for (;;) {
    if (row >= Count) return 0;
    if (k > 0 && value(row, cols[k - 1]) != matched) {
      // The rows of the previous key's value are over: the candidate completes this key.
      return candidate >= 0 && k == keys - 1 ? candidate : 0;
    }
    const double v = value(row, cols[k]);
    bool hit = false;
    if (v == xs[k]) {
      hit = true;
    } else if (cols[k] > 0) {
      if (v < xs[k]) {
        if (row == Count - 1) {
          hit = true;
        } else {
          candidate = row++;
          continue;
        }
      } else if (candidate >= 0) {
        row = candidate;
        hit = true;
      } else {
        return 0;
      }
    } else if (v > xs[k]) {
      hit = true;
    } else {
      ++row;
      continue;
    }
    if (hit) {
      matched = value(row, cols[k]);
      candidate = -1;
      if (++k == keys) return row;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// TADTable

TADTable::TADTable() : AllParam("*") {}

TADTable::~TADTable()
{
  for (TDTable*& t : Details) {
    delete t;
    t = nullptr;
  }
  Count = 0;
}

namespace {
const char* const PlateNames[24] = {"PK01", "PK02", "PK21", "PK03", "PK04", "PK05", "PK06", "PK07",
                                    "K10",  "K12",  "K15",  "K20",  "K30",  "K40",  "K60",  "K70",
                                    "PD-C", "",     "PS",   "PI-Z", "PX-Z", "D-N",  "TE-S", "TE-I"};

// A whole number of a table, saturated into int.
int Whole(double v)
{
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return int(std::lround(v));
}

TString Word(const TDTable& t, int i)
{
  TString s;
  if (t.NameParam && i >= 0 && i < 2 * t.Params + 2 && t.NameParam[i]) s.Set(t.NameParam[i]);
  return s;
}
} // namespace

TString TADTable::Name(const TBaseDetail& code) const
{
  const TDTable* t = nullptr;
  for (int i = 0; i < std::min<int>(Count, MaxDetails) && !t; ++i)
    if (Details[i] && Details[i]->ID == code.ID) t = Details[i];
  if (!t) return TString();

  if (code.ID % 100 != 1 || code.Index2 == -1) {
    // Column codes (row 0) read as three digits: separator, rank in the designation, digits.
    if (!t->pBase || t->Params < 1 || code.Index < 0 || code.Index >= t->Count) return TString();
    const double* codes = t->pBase;
    const double* row = t->pBase + std::size_t(code.Index) * t->Params;
    TString s = Word(*t, 0);
    for (int rank = 1; rank <= 9; ++rank) {
      int j = 0;
      while (j < t->Params && Whole(codes[j]) / 10 % 10 != rank)
        ++j;
      if (j == t->Params) break;
      int c = Whole(codes[j]);
      int h = c / 100 % 10, u = c % 10;
      if (h == 1 || h == 3) s += TString("-");
      if (h == 2) s += TString("x");
      double v = row[j];
      if (std::fabs(v - std::round(v)) <= 0.005)
        s += TString(Whole(v), u);
      else
        s += TString(v, u, true, 7);
    }
    return s;
  }

  // Plate tables: a thickness record (second block) and its socket record (first block).
  constexpr int MoldFields = 2 + TDTable::CountTicknessPlate, SocketFields = 18;
  if (!t->pBase2 || t->Params2 < MoldFields || code.Index2 < 0 || code.Index2 >= t->Count2) return TString();
  const double* m = t->pBase2 + std::size_t(code.Index2) * t->Params2;
  int base = Whole(m[0]), plate = Whole(m[1]);
  if (!t->pBase || t->Params < SocketFields || base < 0 || base >= t->Count) return TString();
  if (code.Index < 0 || code.Index >= TDTable::CountTicknessPlate) return TString();
  const double* sock = t->pBase + std::size_t(base) * t->Params;
  int k = plate == 21 ? 2 : (plate == 1 || plate == 2) ? plate - 1 : plate;
  int at = (code.ID / 100) * 8 + k;
  TString s;
  if (k >= 0 && k < 8 && at >= 0 && at < 24) s = TString(PlateNames[at]);
  s += TString("-");
  s += TString(Whole(sock[1]), 3); // X
  s += TString("*");
  s += TString(Whole(sock[0]), 3); // Y
  s += TString("*");
  s += TString(Whole(m[2 + code.Index]), 2);
  s += TString("/");
  s += TString(base, 2);
  return s;
}
