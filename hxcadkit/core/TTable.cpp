#include "hxcadkit/core/TTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Row counting of borrowed arrays stops here when no terminating row turns up.
constexpr int CountCap = 10002;

TString ListText(double v)
{
  return TString(v, 2, true, 7);
}
} // namespace

TTable::TTable(int count, int columns, int control, const double* data)
    : Control(control), Compare(tcMoreEqu), Array(nullptr), CountColumn(columns), Owner(true)
{
  if (count <= 0) return;
  Count = count;
  CountRow = columns > 0 ? count / columns : 0;
  Array = new double[std::size_t(count)];
  if (data)
    std::memcpy(Array, data, sizeof(double) * std::size_t(count));
  else
    std::fill(Array, Array + count, 0.0);
}

TTable::TTable(const double* data, int rowBytes, int control, TCompare compare)
    : Control(control), Compare(compare), cArray(data), CountColumn(rowBytes / 8)
{
  if (!data || CountColumn < 1) return;
  if (data[0] == 0.0) {
    CountRow = 1;
    Count = CountColumn;
    return;
  }
  CountStaticRows(data, false);
}

TTable::~TTable()
{
  Release();
}

void TTable::Release()
{
  if (Owner) delete[] Array;
  Array = nullptr;
  Count = 0;
  CountColumn = 0;
}

void TTable::Set(const double* data, int rowBytes, int control, TCompare compare)
{
  if (Owner) delete[] Array;
  Owner = false;
  cArray = data;
  CountColumn = rowBytes / 8;
  Control = control;
  Compare = compare;
  Count = CountRow = 0;
  if (!data || CountColumn < 1) return;
  if (data[0] == 0.0) {
    Count = CountColumn;
    return;
  }
  CountStaticRows(data, true);
}

// Counts the rows before the terminating row (first value 0.0; a NaN counts as non-zero).
void TTable::CountStaticRows(const double* data, bool capped)
{
  std::int64_t start = 0;
  int rows = 0;
  for (;;) {
    if (capped && start >= CountCap) {
      CountRow = rows + 1;
      Count = 0;
      return;
    }
    start += CountColumn;
    ++rows;
    if (data[start] == 0.0) break;
  }
  CountRow = rows;
  Count = (rows + 1) * CountColumn;
}

int TTable::ScanRows() const
{
  if (!cArray || CountColumn < 1 || Count < 1) return 0;
  return Count / CountColumn;
}

int TTable::SelectRows() const
{
  return std::min(CountRow, ScanRows());
}

const double* TTable::Row(int i) const
{
  int rows = ScanRows();
  if (rows < 1) return nullptr;
  i = std::clamp(i, 0, rows - 1);
  return cArray + std::int64_t(i) * CountColumn;
}

const double* TTable::GetParam(int col, const double& x, bool interval) const
{
  int rows = ScanRows();
  if (rows < 1) return nullptr;
  if (ValidColumn(col)) {
    for (int i = 0; i < rows; ++i) {
      double v = At(i, col);
      if (!interval) {
        if (!(x > v)) return Row(i);
      } else {
        if (x < v) return Row(i);
        if (i + 1 < rows && x <= At(i + 1, col)) return Row(i);
      }
    }
  }
  return Row(rows - 1);
}

const double* TTable::Row(int colA, const double& a, int colB, const double& b, bool) const
{
  int rows = ScanRows();
  if (rows < 1) return nullptr;
  if (ValidColumn(colA) && ValidColumn(colB))
    for (int i = 0; i < rows; ++i)
      if (!(At(i, colB) < b) && At(i, colA) == a) return Row(i);
  return Row(rows - 1);
}

int TTable::NumberRow(int col, const double& x) const
{
  if (!ValidColumn(col)) return 0;
  int rows = ScanRows(), n = 0;
  while (n < rows && At(n, col) < x)
    ++n;
  return n;
}

bool TTable::MakeSelect(const double& x)
{
  Select = -1;
  int rows = SelectRows();
  // A table without a whole row has nothing to select.
  if (rows < 1) return false;
  Select = 0;
  if (ValidColumn(Control)) {
    for (int i = 0; i < rows && Select == 0; ++i) {
      double v = At(i, Control);
      switch (Compare) {
      case tcLess:
        if (v > x) Select = std::max(i, 1);
        break;
      case tcLessEqu:
        if (v > x)
          Select = std::max(i, 1);
        else if (std::fabs(v - x) <= Tolerance)
          Select = i + 1;
        break;
      case tcEqu:
        if (std::fabs(v - x) <= Tolerance) Select = i + 1;
        break;
      case tcMoreEqu:
        if (v >= x) Select = i + 1;
        break;
      case tcMore:
        if (v > x) Select = i + 1;
        break;
      }
    }
  }
  if (Select == 0 || Select > CountRow) Select = CountRow;
  Select = std::min(Select, rows);
  return true;
}

bool TTable::MakeSelect(int n)
{
  Select = -1;
  int rows = SelectRows();
  if (rows < 1) return false;
  // Select is read 1-based with 0 for the first row: a row past the table is the last one.
  Select = std::min(n > 0 ? n - 1 : 0, rows);
  return true;
}

// Copies values 1, 2, ... of the selected row into the n outputs; values the row does not
// have leave their outputs untouched.
int TTable::GetValues(const double& x, double* const* out, int n)
{
  Select = 0;
  if (!MakeSelect(x)) return Select;
  int row = Select > 0 ? Select - 1 : 0;
  for (int k = 0; k < n && k + 1 < CountColumn; ++k)
    *out[k] = At(row, k + 1);
  return Select;
}

void TTable::GetRowValues(int n, double* const* out, int k)
{
  if (!MakeSelect(n)) return;
  int row = Select > 0 ? Select - 1 : 0;
  for (int j = 0; j < k && j + 1 < CountColumn; ++j)
    *out[j] = At(row, j + 1);
}

int TTable::Get(const double& x, double& a, double& b)
{
  double* o[] = {&a, &b};
  return GetValues(x, o, 2);
}
int TTable::Get(const double& x, double& a, double& b, double& c)
{
  double* o[] = {&a, &b, &c};
  return GetValues(x, o, 3);
}
int TTable::Get(const double& x, double& a, double& b, double& c, double& d)
{
  double* o[] = {&a, &b, &c, &d};
  return GetValues(x, o, 4);
}
int TTable::Get(const double& x, double& a, double& b, double& c, double& d, double& e)
{
  double* o[] = {&a, &b, &c, &d, &e};
  return GetValues(x, o, 5);
}
int TTable::Get(const double& x, double& a, double& b, double& c, double& d, double& e, double& f)
{
  double* o[] = {&a, &b, &c, &d, &e, &f};
  return GetValues(x, o, 6);
}

void TTable::GetRow(int n, double& a, double& b)
{
  double* o[] = {&a, &b};
  GetRowValues(n, o, 2);
}
void TTable::GetRow(int n, double& a, double& b, double& c)
{
  double* o[] = {&a, &b, &c};
  GetRowValues(n, o, 3);
}
void TTable::GetRow(int n, double& a, double& b, double& c, double& d)
{
  double* o[] = {&a, &b, &c, &d};
  GetRowValues(n, o, 4);
}
void TTable::GetRow(int n, double& a, double& b, double& c, double& d, double& e)
{
  double* o[] = {&a, &b, &c, &d, &e};
  GetRowValues(n, o, 5);
}
void TTable::GetRow(int n, double& a, double& b, double& c, double& d, double& e, double& f)
{
  double* o[] = {&a, &b, &c, &d, &e, &f};
  GetRowValues(n, o, 6);
}
void TTable::GetRow(int n, double& a, double& b, double& c, double& d, double& e, double& f, double& g)
{
  double* o[] = {&a, &b, &c, &d, &e, &f, &g};
  GetRowValues(n, o, 7);
}

void TTable::toLD(int col, TArrayOf<TString>& list, const TString& head) const
{
  list.Clear();
  if (!cArray || Count < 1 || CountColumn < 1) return;
  const int rows = ValidColumn(col) ? ScanRows() : 0;
  // Room for the whole list at once: grown by its step, the list would be rebuilt every few rows.
  list.ReserveSize(rows + (head.Empty() ? 0 : 1));
  if (!head.Empty()) list.Add(head);
  for (int i = 0; i < rows; ++i)
    list.Add(ListText(At(i, col)));
}

void TTable::toLDfrom(int col, const double& x, int keycol, TArrayOf<TString>& list) const
{
  list.Clear();
  if (!ValidColumn(col) || !ValidColumn(keycol)) return;
  int rows = ScanRows(), found = 0;
  for (int i = 0; i < rows; ++i)
    if (At(i, keycol) == x) ++found;
  list.ReserveSize(found);
  for (int i = 0; i < rows; ++i)
    if (At(i, keycol) == x) list.Add(ListText(At(i, col)));
}

namespace {
void FreeList(TTable::XV* list)
{
  while (list) {
    TTable::XV* next = list->Next;
    delete list;
    list = next;
  }
}
} // namespace

double TTable::FX(const double& x, XV* list)
{
  if (!list) return 0.0;
  XV* p = list;
  while (p->Next && !(p->Xb <= x))
    p = p->Next;
  double y = p->Yb;
  FreeList(list);
  return y;
}

double TTable::FX2(const double& x, XV* list)
{
  if (!list) return 0.0;
  XV* p = list;
  while (p->Next && !(p->Xb > x))
    p = p->Next;
  double y = p->Yb;
  FreeList(list);
  return y;
}

TTable::XV* dXV(const double& x, const double& y, TTable::XV* next)
{
  return new TTable::XV{x, y, next};
}
