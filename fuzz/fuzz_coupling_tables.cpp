// Coupling builders on tables made from the input's bytes, in every mode. The bytes choose a
// catalogue row, the model (torque, both bores, both bore types as any integer) and every value
// of the row's tables and of the keyway table (which may also be missing). Whatever the tables
// hold, no builder may hand the modeller a number that is not finite, nor leave a transform,
// macro or pending object open or close one too many.
//
// Layout: byte 0 the row (an entry of Rows), then M, P1d, P2d as values, T1 and T2 a signed byte
// each; then for each slot of the row and for the keyway table a byte (rows: byte % 6; for the
// keyway, 0 means no table) followed by the rows' values. A value is two bytes, high first: below
// 0xF800 it is the number / 64, above it one of the Special values. Missing bytes read as 0.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "hxcadkit/drawing/drModeler.h"

namespace {

void Check(bool ok, const char* what)
{
  if (!ok) {
    std::fprintf(stderr, "fuzz_coupling_tables: %s\n", what);
    std::abort();
  }
}

// A catalogue row, the column counts of its table slots (0 ends the list) and their selection
// columns.
struct TRowTables
{
  int Row;
  int Columns[5];
  int Control[5];
};
const TRowTables Rows[] = {
    {0, {20, 19}, {17, 0}}, // sleeve and pin: main, pins
    {1, {21, 6}, {1, 0}},   // flanged: main, bolts
    {8, {16}, {1}},         // jaw-disc: main
    {2, {17, 6}, {1, 2}},   // star: main, stars
    {3, {21, 6}, {1, 0}},   // toothed: main, flange bolts
    {4, {21, 6}, {1, 0}},   // toothed with a flanged half: main, flange bolts
    {5, {23, 6}, {1, 0}},   // toroidal: main, flange bolts
};

const double Special[8] = {0.0, -5.0, NAN, INFINITY, -INFINITY, 1e300, 1e-300, 360.5};

class TBytes
{
public:
  TBytes(const std::uint8_t* d, std::size_t n) : P(d), N(n) {}
  int Byte() { return I < N ? P[I++] : 0; }
  double Value()
  {
    const int hi = Byte(), lo = Byte();
    return hi >= 0xF8 ? Special[hi - 0xF8] : double(hi * 256 + lo) / 64.0;
  }
  // A table of byte % 6 rows (none when empty is taken as missing) of n columns.
  TTable* Table(int columns, int control, bool mayMiss)
  {
    const int rows = Byte() % 6;
    if (mayMiss && rows == 0) return nullptr;
    std::vector<double> v(std::size_t(rows) * std::size_t(columns));
    for (double& x : v)
      x = Value();
    return new TTable(int(v.size()), columns, control, v.data());
  }

private:
  const std::uint8_t* P;
  std::size_t N, I = 0;
};

void Finite(double v)
{
  Check(std::isfinite(v), "a number that is not finite reaches the modeller");
}
template <class... A> void Finite(double v, A... more)
{
  Finite(v);
  Finite(more...);
}

// Checks every number it is given and the depths of its stacks; draws nothing.
class TCheckingModeler : public TModeler3D
{
public:
  TCheckingModeler() : TModeler3D(new TRegistryModeler2D(Constraint), true) {}

  using TModeler3D::AddDetail;
  using TModeler3D::AddDetailAxle;
  using TModeler3D::drArc;
  using TModeler3D::drAStView7;
  using TModeler3D::drBaseExtrusion;
  using TModeler3D::drView;

  void drView(int, const double&, const double&, const double&, const double&, const TString&) override {}
  void drAStView7(int, const double&, const double&, const double&, const double&, const TString&,
                  const TString&, const TString&) override
  {
  }
  void drSpcObject(TSectionSpc, const TString&, int, int) override {}

  void drLine(const double& x1, const double& y1, const double& x2, const double& y2, int) override
  {
    Finite(x1, y1, x2, y2);
  }
  void drArc(const double& X, const double& Y, const double& R, const double& x1, const double& y1,
             const double& x2, const double& y2, int, int) override
  {
    Finite(X, Y, R, x1, y1, x2, y2);
  }
  void drCircle(const double& X, const double& Y, const double& R, int) override { Finite(X, Y, R); }
  void drEllipse(const double& X, const double& Y, const double& A, const double& B, const double& Angle,
                 int) override
  {
    Finite(X, Y, A, B, Angle);
  }
  void drMtr(double x, double y, double Angle, double Scale) override
  {
    Finite(x, y, Angle, Scale);
    ++Transforms;
    TModeler3D::drMtr(x, y, Angle, Scale);
  }
  void drDeleteMtr() override
  {
    Check(--Transforms >= 0, "a transform popped that was not pushed");
    TModeler3D::drDeleteMtr();
  }
  void drMacro2D(bool) override { ++Macros; }
  void drEndMacro() override { Check(--Macros >= 0, "a macro closed that was not opened"); }
  void drHatch(int Tip, const double& FStr, const double& Shag) override
  {
    Finite(FStr, Shag);
    ++Pending;
    TModeler3D::drHatch(Tip, FStr, Shag);
  }
  void drColouring(std::int64_t Color) override
  {
    ++Pending;
    TModeler3D::drColouring(Color);
  }
  void drEndObj() override
  {
    Check(--Pending >= 0, "an object completed that was not begun");
    TModeler3D::drEndObj();
  }
  void drPlaneEskis(txapi::txObj3dTypeEnum, double Distance, double Angle, const TString&) override
  {
    Finite(Distance, Angle);
  }
  void drBaseRotate(int, const double& Angle) override { Finite(Angle); }
  void drBaseExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double& Depth,
                       const double& Angle) override
  {
    Finite(Depth, Angle);
  }
  void drCutExtrusion(txapi::txDirectionTypeEnum, txapi::txEndTypeEnum, const double& Depth,
                      const double& Angle) override
  {
    Finite(Depth, Angle);
  }
  void drColor3D(int, const double& a, const double& d, const double& s, const double& sh, const double& t,
                 const double& e) override
  {
    Finite(a, d, s, sh, t, e);
  }
  void AddDetail(const double& x, const double& y, const double& z, const TString&, bool, bool) override
  {
    Finite(x, y, z);
  }
  void AddDetailAxle(const double& x, const double& y, const double& z, const TString&, const double& xDx,
                     const double& xDy, const double& xDz, const double& yDx, const double& yDy,
                     const double& yDz, bool) override
  {
    Finite(x, y, z, xDx, xDy, xDz);
    Finite(yDx, yDy, yDz);
  }

  void ExpectClosed() const
  {
    Check(Transforms == 0, "a transform left pushed");
    Check(Macros == 0, "a macro left open");
    Check(Pending == 0, "an object left pending");
  }

private:
  TConstraint2D Constraint;
  int Transforms = 0, Macros = 0, Pending = 0;
};

void Put(int slot, TTable* t)
{
  delete ATable[slot];
  ATable[slot] = t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  TBytes in(data, size);
  const TRowTables& r = Rows[std::size_t(in.Byte()) % (sizeof Rows / sizeof Rows[0])];
  ControlModel.M = in.Value();
  ControlModel.P1d = in.Value();
  ControlModel.P2d = in.Value();
  ControlModel.T1 = std::int8_t(in.Byte());
  ControlModel.T2 = std::int8_t(in.Byte());
  for (int k = 0; k < 5 && r.Columns[k] > 0; ++k)
    Put(k, in.Table(r.Columns[k], r.Control[k], false));
  Put(9, in.Table(3, 0, true));

  static TCheckingModeler m;
  SetCouplingModeler(&m);
  const TCoupling& c = iCouplings[r.Row];
  for (PAction build : {c.Make3D, c.Make2D, c.Make2DView})
    if (build) {
      build();
      m.ExpectClosed();
    }
  SetCouplingModeler(nullptr);
  return 0;
}
