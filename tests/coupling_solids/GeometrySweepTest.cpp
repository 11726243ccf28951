// Every coupling built in 3D on the stand-in host and evaluated as solids: every cut removes material,
// every boss adds some, every part is one solid, no two components clash, every bolt and pin stands in
// holes of the parts it joins. CI takes each coupling's first row and leaves the toothed couplings' gear
// clash (minutes of modelling) to scripts/geometry.sh, which sets HXCAD_GEOMETRY_ROWS=all for the first,
// middle and last rows of every coupling with everything checked.
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <filesystem>
#include <sstream>

#include "../duvozadu/StandInFixture.h"
#include "tests/TestNames.h"
#include "txhost/solid/Evaluator.h"

namespace {

struct TGeometryRow
{
  const char* Key;
  const char* Coupling;
  const char* Table;
  bool Gears = false; // the toothed couplings: their clash check is the script's
};
void PrintTo(const TGeometryRow& r, std::ostream* os) { *os << r.Key; }

const TGeometryRow GeometryRows[] = {
    {"muvp", "МУВП ГОСТ 21424-93", "МУВП"},
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая"},
    {"star", "со Звездочкой ГОСТ Р 50894-96", "Муфта со звездочкой"},
    {"jawdisc", "Муфта кулачково-дисковая ГОСТ 20720-93", "Муфта кулачково-дисковая"},
    {"hinge", "Шарнирная ГОСТ 5147-97", "Муфта шарнирная"},
    {"hinge2", "Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная"},
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая", true},
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая", true},
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная"},
};

bool EveryRow()
{
  const char* all = std::getenv("HXCAD_GEOMETRY_ROWS");
  return all != nullptr && std::string(all) == "all";
}

class GeometrySweep : public StandInCoupling, public ::testing::WithParamInterface<TGeometryRow>
{
};

bool Named(const txhost::solid::TPlaced& p, const char* word)
{
  return p.Name.starts_with(word) && p.Name.size() > std::strlen(word) && p.Name[std::strlen(word)] == '-';
}

// The toothed couplings' hubs and sleeves probed at the pitch circle along their common length: a hub's
// tooth centre never lies in sleeve material (once every hub tooth stood against a sleeve tooth, and the
// space about the sketch's first direction was left uncut), and the sleeve's teeth stand between. Cheap
// beside the clash check of the gears, so CI makes it.
void ExpectTeethMesh(const txhost::solid::TDocumentResult& r, double module, int z)
{
  using txhost::solid::TPlaced;
  const double pitch = 2 * std::numbers::pi / z, radius = module * z / 2;
  int meshed = 0;
  for (const TPlaced& hub : r.Placed) {
    if (!Named(hub, "Полумуфта") && !Named(hub, "Полумуфта2")) continue;
    for (const TPlaced& sleeve : r.Placed) {
      if (!Named(sleeve, "Обойма")) continue;
      const auto a = txhost::solid::Bounds(hub), b = txhost::solid::Bounds(sleeve);
      const double x0 = std::max(a[0], b[0]), x1 = std::min(a[3], b[3]);
      for (int i = 1; i < 4 && x1 > x0; ++i) {
        const double x = x0 + (x1 - x0) * i / 4;
        // Angles from the sketch's first direction (world -z) about x.
        auto at = [&](double t) { return txhost::solid::TVec3{x, radius * std::sin(t), -radius * std::cos(t)}; };
        for (int k = 0; k < z; ++k) {
          if (!txhost::solid::Contains(hub, at(k * pitch))) continue;
          EXPECT_FALSE(txhost::solid::Contains(sleeve, at(k * pitch)))
              << hub.Name << " tooth " << k << " in " << sleeve.Name << " at x = " << x;
          if (txhost::solid::Contains(sleeve, at((k + 0.5) * pitch))) ++meshed;
        }
      }
    }
  }
  EXPECT_GT(meshed, 0) << "no hub tooth stands between sleeve teeth";
}

TEST_P(GeometrySweep, EveryPieceIsSoundAndFits)
{
  const TGeometryRow& row = GetParam();
  std::unique_ptr<TTable> main(TextBase.GetTable(TString(row.Table)));
  ASSERT_TRUE(main);
  const TTable& t = *main;
  std::vector<int> rows{0};
  if (EveryRow()) rows = {0, t.CountRow / 2, t.CountRow - 1};
  for (int i : rows) {
    SCOPED_TRACE(::testing::Message() << row.Key << " row " << i);
    const double* A = t.Row(i);
    Model(A[0], A[t.Control], A[t.Control], 0, 0);
    ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), 0));
    txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    ASSERT_TRUE(doc);
    txhost::solid::TEvaluator evaluator(H);
    txhost::solid::TDocumentResult r;
    std::string error;
    const bool components = !row.Gears || EveryRow();
    ASSERT_TRUE(evaluator.Evaluate(*doc, r, error, components)) << error;
    ASSERT_TRUE(r.Assembly);
    ASSERT_FALSE(r.Placed.empty());
    if (row.Gears) ExpectTeethMesh(r, A[9], int(A[10]));
    if (!components) {
      // Everything but the geared pieces against each other: the bolt sets and covers.
      std::vector<txhost::solid::TPlaced> rest;
      for (const auto& p : r.Placed)
        if (!Named(p, "Полумуфта") && !Named(p, "Полумуфта2") && !Named(p, "Обойма")) rest.push_back(p);
      for (const txhost::solid::TClash& c : txhost::solid::CheckAssembly(rest).Clashes)
        ADD_FAILURE() << rest[c.A].Name << " and " << rest[c.B].Name << " share " << c.Volume << " mm3";
    }
    const std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
    std::ostringstream all;
    for (const std::string& f : faults)
      all << "\n  " << f;
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:" << all.str();
    // Every bolt and pin joins at least two pieces.
    if (r.Checked)
      for (std::size_t f = 0; f < r.Placed.size(); ++f) {
        if (!r.Placed[f].Fastener) continue;
        const auto n = std::count_if(r.Checked->Seats.begin(), r.Checked->Seats.end(),
                                     [&](const txhost::solid::TSeat& s) { return s.Fastener == f; });
        EXPECT_GE(n, 2) << r.Placed[f].Name << " stands in the holes of " << n << " pieces";
      }
    H.CloseDocument(*doc);
  }
}

INSTANTIATE_TEST_SUITE_P(Couplings, GeometrySweep, ::testing::ValuesIn(GeometryRows), hxcad::test::CaseNames());

// The pieces of the toroidal and hinge couplings that once fell apart or were not drilled, each part by
// itself (the sweep checks the couplings whole): the hinge's bushing is one solid (its core stood 0.01 mm
// inside its rings' bores), the toroidal shell has holes where the bolts pass through its feet, and the
// half-ring is drilled through its collar beyond the flange's face.
TEST_F(StandInCoupling, PiecesOnceApartOrUndrilled)
{
  struct TCase
  {
    const char* Coupling;
    const char* Table;
    std::vector<std::pair<const char*, int>> Pieces; // each with its features (-1: any number), every one of
                                                     // which changes it
    bool Components;                                 // and nothing clashes with them
    int Part = 0; // the build's file evaluated: its assembly, or a part alone
    bool Larger = false; // the middle and last rows too, whatever the sweep's rows
  };
  // The sleeve-and-pin half 1 once cut a passage for the pin's thread through every cone hole, though only
  // the smallest pins' cones narrow below their thread: the larger rows' passages cut nothing.
  for (const TCase& c : {TCase{"Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная", {{"Втулка", 1}}, false},
                         TCase{"Торообразная ГОСТ Р 50892-96", "Муфта торообразная", {{"Резина", 2}, {"ПолуКольцо", 2}}, true},
                         TCase{"МУВП ГОСТ 21424-93", "МУВП", {{"Полумуфта1", -1}}, false, 1, true}}) {
    SCOPED_TRACE(c.Coupling);
    std::unique_ptr<TTable> main(TextBase.GetTable(TString(c.Table)));
    ASSERT_TRUE(main);
    const std::vector<int> rows = EveryRow() || c.Larger ? std::vector<int>{0, main->CountRow / 2, main->CountRow - 1}
                                                         : std::vector<int>{0};
    for (int i : rows) {
      const double* A = main->Row(i);
      Model(A[0], A[main->Control], A[main->Control], 0, 0);
      ASSERT_TRUE(Couplings.drCoupling(TString(c.Coupling), 0));
      txhost::Object* doc = H.OpenDocument(ControlModel.Detail3D(c.Part).Utf8Text(), false);
      ASSERT_TRUE(doc);
      txhost::solid::TEvaluator evaluator(H);
      txhost::solid::TDocumentResult r;
      std::string error;
      ASSERT_TRUE(evaluator.Evaluate(*doc, r, error, c.Components)) << error;
      for (const auto& [piece, features] : c.Pieces) {
        int found = 0;
        for (std::size_t k = 0; k < r.Placed.size(); ++k) {
          if (!Named(r.Placed[k], piece)) continue;
          ++found;
          const txhost::solid::TPartResult& p = *r.Parts[k];
          EXPECT_EQ(p.Solids, 1) << piece << " row " << i;
          if (features >= 0) {
            ASSERT_EQ(int(p.Features.size()), features) << piece << " row " << i;
          }
          for (const auto& f : p.Features)
            EXPECT_GT(f.Changed, 0) << piece << " " << f.Kind << " row " << i;
        }
        EXPECT_GT(found, 0) << piece << " row " << i;
        if (r.Checked) {
          for (const txhost::solid::TClash& k : r.Checked->Clashes)
            EXPECT_FALSE(Named(r.Placed[k.A], piece) || Named(r.Placed[k.B], piece))
                << r.Placed[k.A].Name << " and " << r.Placed[k.B].Name << " share " << k.Volume << " mm3, row " << i;
        }
      }
      H.CloseDocument(*doc);
    }
  }
}

} // namespace
