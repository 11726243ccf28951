// Arbitrary bytes as a text base file: the base is opened, its user list read, every listed
// table and a few fixed names looked up and queried, and the file walked entry by entry as a
// standard-part file. Every call must stop, stay inside its buffers and leak nothing; every
// table handed out must be consistent.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "hxcadkit/core/TextBase.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_textbase: %s\n", what);
    std::abort();
  }
}

const std::string& Dir()
{
  static const hxcad::fuzz::Scratch scratch("fuzz_tb");
  static const std::string dir = scratch.Path().string() + "/";
  return dir;
}

void Query(TTextBase& base, const TString& name)
{
  TTextBase::TOddRow odd;
  TTable* t = base.GetTable(name, nullptr, nullptr, &odd);
  if (!t) return;
  // The row written with a value too many or too few is named exactly when the values do not fill the rows.
  Check((t->Count % t->CountColumn != 0) == (odd.Row >= 0), "odd row named or missed");
  Check(odd.Row < 0 || (odd.Row <= t->CountRow && odd.Values >= 1 && odd.Values != t->CountColumn),
        "odd row out of range");
  Check(t->Count >= 0 && t->Count <= MaxTextBaseValues, "value count out of range");
  Check(t->CountColumn >= 1 && t->Control >= 0 && t->Control < t->CountColumn, "bad columns");
  Check(t->CountRow == t->Count / t->CountColumn, "row count");
  const double keys[] = {0.0, 1.0, 12.5, -1e300, 1e300};
  TAStr list;
  for (double x : keys) {
    const double* row = t->GetParam(t->Control, x, false);
    Check(row == nullptr || (row >= t->cArray && row < t->cArray + t->Count), "row outside the table");
    t->GetParam(0, x, true);
    t->NumberRow(t->Control, x);
    double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
    t->Get(x, a, b, c, d, e, f);
    Check(t->Select >= -1 && t->Select <= t->CountRow, "selection outside the table");
    t->toLDfrom(0, x, t->Control, list);
  }
  double a = 0, b = 0;
  t->GetRow(1000000, a, b);
  t->toLD(t->Control, list, TString("*"));
  delete t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  {
    std::ofstream f(Dir() + "f.tb", std::ios::binary | std::ios::trunc);
    if (size) f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  TTextBase base;
  if (!base.Init(TString(Dir().c_str()), TString("f.tb"))) return 0;

  TAStr names;
  base.CouplingLS(names);
  for (int i = 0; i < names.Count && i < 8; ++i)
    Query(base, names[i]);
  Query(base, TString("T"));
  Query(base, TString("Муфта"));

  // The file as a standard-part file.
  base.FB.Seek(0);
  base.SetEmptyBufer();
  TADTable parts;
  while (parts.Count < 32) {
    base.SkipTo(L'#');
    if (base.EndOfData()) break;
    TString name = base.GetStr();
    TDTable* t = new TDTable(name, base);
    parts.Details[parts.Count++] = t;
    Check(t->Params >= 0 && t->Params2 >= 0 && t->Count >= 0 && t->Count2 >= 0, "negative block sizes");
    Check(t->NameParam != nullptr, "no word list");
    t->Select(1, 1.0, 0, 0.0, 0, 0.0);
    t->Select(-2, 5.0, 1, 2.0, 3, 4.0);
    parts.Name(TBaseDetail(t->ID, 1, -1));
    parts.Name(TBaseDetail(t->ID, 0, 0));
  }
  return 0;
}
