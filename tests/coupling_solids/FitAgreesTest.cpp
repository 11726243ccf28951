// The tables' fit rules against the solids: an edited row the library accepts builds sound (no fault, every
// fastener seated), and one it refuses for pieces that meet would have built unsound had it been built anyway
// (its builder run on the same tables without the check); one refused for a wall thinner than the shipped
// rows keep, its pieces still apart, would have built sound. Values on each side of each rule's edges, on the
// first row (half 2 on the second row of its torque group where that row is edited); CI takes two values of
// the first edit, scripts/geometry.sh (HXCAD_GEOMETRY_ROWS) every value of every edit.
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../duvozadu/EditedBase.h"
#include "../duvozadu/StandInFixture.h"
#include "txhost/solid/Evaluator.h"

namespace {

class FitAgrees : public StandInCoupling
{
protected:
  void TearDown() override
  {
    ASSERT_TRUE(editedbase::Rebase(HXCAD_DUVOZADU_DATA));
    StandInCoupling::TearDown();
  }
  // Builds the coupling in 3D on the first row of its main table (half 2 on the bore of row second) as the
  // base stands, through the catalogue or, with bypass, by its builder alone on the tables read unchecked;
  // what the evaluator finds wrong.
  std::vector<std::string> Build(int k, bool bypass, int second)
  {
    const TCoupling& c = iCouplings[k];
    std::unique_ptr<TTable> main(TextBase.GetTable(c.NameTable(1)));
    if (!main) return {"no main table"};
    const double* A = main->Row(0);
    Model(A[0], A[main->Control], main->Row(second)[main->Control], 0, 0);
    if (!bypass) {
      if (!Couplings.drCoupling(c.Name, 0)) return {"refused"};
    } else {
      for (int i = 0; c.LTable[i + 1]; ++i) {
        delete ATable[i];
        ATable[i] = TextBase.GetTable(TString(c.LTable[i + 1]));
      }
      delete ATable[9];
      ATable[9] = TextBase.GetTable(TString("Шпоночный паз"));
      ControlModel.PrefixName = TString(c.LTable[0]);
      ControlModel.StandartName = ATable[0]->GOST;
      ControlModel.ForgetFiles();
      c.Make3D();
    }
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    if (!doc) return {"no assembly"};
    txhost::solid::TEvaluator evaluator(H);
    txhost::solid::TDocumentResult r;
    std::string error;
    if (!evaluator.Evaluate(*doc, r, error, true)) return {error};
    std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
    if (r.Checked)
      for (std::size_t f = 0; f < r.Placed.size(); ++f) {
        if (!r.Placed[f].Fastener) continue;
        int seats = 0;
        for (const txhost::solid::TSeat& s : r.Checked->Seats)
          seats += s.Fastener == f;
        if (seats < 2) faults.push_back(r.Placed[f].Name + " stands in " + std::to_string(seats) + " pieces");
      }
    H.CloseDocument(*doc);
    return faults;
  }
  txhost::test::TempDir Base;
};

bool EveryValue()
{
  return std::getenv("HXCAD_GEOMETRY_ROWS") != nullptr;
}

} // namespace

TEST_F(FitAgrees, AcceptedRowsBuildSoundRefusedOnesWouldNot)
{
  struct TEdit
  {
    int Coupling;
    const char* Table;
    int Column;
    std::vector<double> Values; // CI the first two
    int Entry = 1;              // the table edited, in the coupling's list
    int Row = 0;                // the row edited, and the row whose bore half 2 takes
  };
  // Pins on D1 46 (bushings 19 wide: seven fit but closer than the shipped rows keep them, eight do not);
  // the flanged coupling's bolt circle D1 moved in towards its hub (M8's washer 17 on a hub of 35 with its
  // fillet of 2, past the recess D3 20); the toroidal coupling's bolt circle D2 moved out towards the shell's
  // feet D1 60, and five bolts and a half on it (the sixth 32.7 degrees from the first); its bolts a thread
  // thinner, whose holes leave the half-ring no collar.
  const TEdit edits[] = {
      {1, "Муфта фланцевая", 8, {60, 50, 57, 54}},
      {0, "МУВП", 15, {7, 8, 4, 9}},
      {5, "Торообразная", 9, {48, 54, 50, 56}},
      {5, "Торообразная", 4, {5, 5.5}},
      {5, "Торообразная", 5, {8, 6}},
      // Six or eight teeth of the same width between the star's jaws: eight leave the jaws no room.
      {2, "Звездочка", 5, {6, 8}, 2},
      // The pins of the second row of a torque group, whose bore half 2 takes: three pins at 120 degrees
      // where half 1 has four holes.
      {0, "МУВП", 15, {4, 3}, 1, 1},
  };
  for (const TEdit& e : edits) {
    if (!EveryValue() && &e != edits) break;
    const std::size_t n = EveryValue() ? e.Values.size() : 2;
    for (std::size_t v = 0; v < n; ++v) {
      const double value = e.Values[v];
      SCOPED_TRACE(::testing::Message() << e.Table << ", column " << e.Column << " at " << value);
      ASSERT_TRUE(editedbase::UseBase(
          Base.path(), editedbase::Edited(editedbase::Shipped(), iCouplings[e.Coupling].LTable[e.Entry],
                                          e.Column, e.Row, [&](double) { return value; })));
      TString why;
      std::unique_ptr<TTable> accepted(Couplings.ReadMain(iCouplings[e.Coupling].Name, why));
      const std::vector<std::string> faults = Build(e.Coupling, !accepted, e.Row);
      std::ostringstream all;
      for (const std::string& f : faults)
        all << "\n  " << f;
      const bool thin = !accepted && why.Utf8Text().find("тоньше наименьшей") != std::string::npos;
      if (accepted || thin)
        EXPECT_TRUE(faults.empty()) << (accepted ? "accepted" : "refused for a thin wall") << ", and builds "
                                    << faults.size() << " faults:" << all.str();
      else
        EXPECT_FALSE(faults.empty()) << "refused (" << why.Utf8Text() << "), but builds sound";
    }
  }
}
