// Arbitrary bytes as a standard-parts file: the collection reads it, then every query runs over
// every table it holds, with indexes inside, at and past the table's bounds and key values taken
// from the table and beside them. Nothing may crash, read past a block or leak; what a query hands
// out must lie inside the table it came from.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "hxcadkit/core/TextBase.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_stdparts_table: %s\n", what);
    std::abort();
  }
}

const std::string& Dir()
{
  static const hxcad::fuzz::Scratch scratch("fuzz_sp");
  static const std::string dir = scratch.Path().string() + "/";
  return dir;
}

bool Inside(const double* p, const double* block, std::int64_t values)
{
  return p >= block && p < block + values;
}

void Query(const TADTable& A, const TDTable& t)
{
  const int id = t.ID;
  Check(A.GetTable(id) != nullptr && A.Index(id) >= 0, "a table held is not found");
  const int rows = A.SocketCount(id), records = A.ThicknessCount(id);
  Check(rows >= 0 && records >= 0, "negative counts");
  const std::int64_t values = std::int64_t(t.Count) * t.Params, values2 = std::int64_t(t.Count2) * t.Params2;

  // Rows: the first few, the last few and those just past the end.
  auto each = [](int count, auto&& f) {
    for (int i = -1; i <= count + 1; ++i) {
      if (i > 8 && i < count - 4) continue;
      f(i);
    }
  };
  each(rows, [&](int r) {
    if (const double* p = A.ParStDet(id, r)) Check(Inside(p, t.pBase, values), "row outside the block");
    for (int c = -1; c <= t.Params + 1 && c < 40; ++c) {
      const double v = A.ParStDet(id, r, c);
      if (r >= 1 && r < rows && c >= 1 && c <= t.Params)
        Check(std::memcmp(&v, &t.pBase[std::size_t(r) * t.Params + std::size_t(c - 1)], 8) == 0,
              "wrong value");
    }
    TArrayOf<double> a(4, 4);
    A.Params(id, r, a);
    double x, y, z;
    A.GetStDet(id, r, x, y, z);
    A.Name(TBaseDetail(id, r, -1));
    for (int k = -1; k <= records && k < 12; ++k)
      A.Name(TBaseDetail(id, r, k));
    if (const auto* s = A.SocketMold(id, r))
      Check(Inside(&s->Y, t.pBase, values) && Inside(&s->LRh, t.pBase, values), "socket outside the block");
    // Searches keyed by the row's own values and values beside them.
    const double a1 = A.ParStDet(id, r, 1), a2 = A.ParStDet(id, r, 2), a3 = A.ParStDet(id, r, 3);
    for (double d : {0.0, 0.5, -0.5}) {
      A.IndexStDet(id, a1 + d, a2 + d, a3 + d);
      for (int s1 : {1, -1, 0, 2, 41})
        for (int s2 : {2, -2, 0, 1})
          A.IndexStDet(id, s1, a1 + d, s2, a2 + d, 3, a3 + d),
              A.Select(id, s1, a1 + d, s2, a2 + d, 3, a3 + d);
    }
  });
  each(records, [&](int k) {
    if (const auto* m = A.TicknessMold(id, k))
      Check(Inside(&m->IBase, t.pBase2, values2) && Inside(&m->T[10], t.pBase2, values2),
            "record outside the block");
    const auto* m = A.TicknessMold(id, k);
    const int base = m && std::isfinite(m->IBase) && std::fabs(m->IBase) < 1e9 ? int(m->IBase) : 0;
    const int type = m && std::isfinite(m->TPlate) && std::fabs(m->TPlate) < 1e9 ? int(m->TPlate) : 0;
    for (double limit : {0.0, 1.0, -1.0, 22.0, -22.0, 1e300, -1e300, double(NAN)}) {
      double thickness = -7.0;
      const TBaseDetail d = A.GetPlate(id, base, type, limit, thickness);
      Check(d.ID == 0 || (d.ID == id && d.Index >= 0 && d.Index < TDTable::CountTicknessPlate &&
                          d.Index2 >= 0 && d.Index2 < records),
            "a plate code outside the table");
      if (d.ID != 0) A.Name(d);
    }
  });

  TArrayOf<TString> list(8, 8);
  TArrayOf<int> ids(8, 8);
  TString name, comment;
  for (int n = -1; n <= 10; ++n)
    A.GetParam(id, n, name, comment, list);
  A.GetTypes(t.Manufacturer, list, false);
  A.GetDetails(t.Manufacturer, t.Type, list, ids);
  for (const char* p : {"", "*", "1", "-3,5", "1e400"})
    A.GetSpcDetail(id, TString(p), TString("*"), TString(p), list, ids);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  {
    std::ofstream f(Dir() + "f.tb", std::ios::binary | std::ios::trunc);
    if (size) f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  TADTable A;
  A.Init(TString(Dir().c_str()), TString("f.tb"));
  Check(A.Count >= 0 && A.Count <= TADTable::MaxDetails, "table count out of range");
  Check(A.Active == (A.Count != 0), "Active disagrees with the count");
  TArrayOf<TString> list(8, 8);
  TArrayOf<int> ids(8, 8);
  A.GetManufactures(list, false);
  A.GetTypes(A.AllParam, list, false);
  A.GetDetails(A.AllParam, A.AllParam, list, ids);
  for (int i = 0; i < A.Count; ++i) {
    const TDTable* t = A.Details[i];
    Check(t != nullptr && t->Params >= 0 && t->Count >= 0 && t->Params2 >= 0 && t->Count2 >= 0, "bad table");
    // A later table with an ID met before is never reached by ID.
    if (A.Index(t->ID) == i) Query(A, *t);
  }
  A.Name(TBaseDetail(-1, 0, 0));
  A.IndexStDet(-1, 1, 1.0, 2, 2.0, 3, 3.0);
  return 0;
}
