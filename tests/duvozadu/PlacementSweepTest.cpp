// Every row of every coupling built in 3D on the stand-in host (the sleeve-and-pin coupling's rows in
// StandInTest), its saved assembly read back and checked by where its features lie: every cut removes from
// its part, every boss touches its part, every fastener meets the holes of the parts it passes through, and
// the tongues and jaws stand where they run.
#include <filesystem>
#include <map>
#include <memory>

#include "../adapter/Drawing2DSupport.h"
#include "CouplingFixture.h"
#include "txhost/lib/Kinds.h"
#include "PlacedCheck.h"
#include "tests/TestNames.h"

namespace {

using namespace txhost::place;

// The components whose name starts with the word.
std::vector<const PlacedComponent*> Named(const std::vector<PlacedComponent>& parts, const std::string& word)
{
  std::vector<const PlacedComponent*> out;
  for (const PlacedComponent& p : parts)
    if (p.Name.rfind(word, 0) == 0) out.push_back(&p);
  return out;
}

using TFindings = std::vector<std::string>;

// The insert's two tongues each stand in a half's slot.
void TonguesInSlots(const std::vector<PlacedComponent>& parts, TFindings& out)
{
  const auto inserts = Named(parts, "Вставка");
  const auto halves = Named(parts, "Полумуфта");
  if (inserts.size() != 1 || halves.size() != 2) return out.push_back("not one insert and two halves");
  const std::vector<Box> tongues = inserts[0]->Tools("extrusion", false);
  if (tongues.size() != 2) out.push_back("the insert has not two tongues");
  for (const Box& t : tongues) {
    int slots = 0;
    for (const PlacedComponent* h : halves)
      for (const Box& slot : h->Tools("extrusion", true))
        slots += StandsIn(t, slot) ? 1 : 0;
    if (slots != 1) out.push_back("a tongue stands in " + std::to_string(slots) + " slots");
  }
}

// Each half's jaws reach in among the star's teeth and stop short of the other half's hub.
void JawsAmongTheTeeth(const std::vector<PlacedComponent>& parts, TFindings& out)
{
  const auto stars = Named(parts, "Звездочка");
  const auto halves = Named(parts, "Полумуфта");
  if (stars.size() != 1 || halves.size() != 2) return out.push_back("not one star and two halves");
  const Box star = stars[0]->Body();
  for (std::size_t i = 0; i < 2; ++i) {
    const std::vector<Box> jaws = halves[i]->Tools("extrusion", false);
    if (jaws.size() != 2) out.push_back(halves[i]->Name + " has not two jaw rings");
    // The shoulder at the jaws' root stays clear of the star; the jaws themselves run through it.
    Box all;
    for (const Box& j : jaws) {
      all.Add(j);
      for (const Box& hub : halves[1 - i]->Tools("rotated", false))
        if (Clash(j, hub)) out.push_back(halves[i]->Name + ": a jaw ring reaches into the other hub");
    }
    if (!Clash(all, star)) out.push_back(halves[i]->Name + ": the jaws miss the star");
  }
}

struct TPlacedRow
{
  const char* Key;
  const char* Coupling;
  const char* Table;
  void (*Extra)(const std::vector<PlacedComponent>&, TFindings&) = nullptr;
};
void PrintTo(const TPlacedRow& r, std::ostream* os)
{
  *os << r.Key;
}

const TPlacedRow PlacedRows[] = {
    {"flanged", "Фланцевая ГОСТ 20761-96", "Муфта фланцевая"},
    {"star", "со Звездочкой ГОСТ Р 50894-96", "Муфта со звездочкой", JawsAmongTheTeeth},
    {"jawdisc", "Муфта кулачково-дисковая ГОСТ 20720-93", "Муфта кулачково-дисковая", TonguesInSlots},
    {"hinge", "Шарнирная ГОСТ 5147-97", "Муфта шарнирная"},
    {"hinge2", "Шарнирная c втулкой ГОСТ 5147-97", "Муфта шарнирная"},
    {"toothed", "Зубчатая ГОСТ Р 50895-96", "Муфта зубчатая"},
    {"toothed_flanged", "Зубчатая МЗП ГОСТ Р 50895-96", "Муфта зубчатая"},
    {"toroidal", "Торообразная ГОСТ Р 50892-96", "Муфта торообразная"},
};

class PlacedCoupling : public CouplingTest, public ::testing::WithParamInterface<TPlacedRow>
{
protected:
  void SetUp() override
  {
    CouplingTest::SetUp();
    drApi::PControlModel = &ControlModel;
  }
  // A host of its own for each build: the host keeps every object it made, and a build's saves walk them.
  txhost::Host& NewHost()
  {
    adaptertest::ResetModeller();
    H = std::make_unique<txhost::Host>();
    H->SetDocumentsFolder(Dir.path());
    drApi::MA.Init(H->Application(), "VUVudirido", "#Stamp - Regular");
    SetCouplingModeler(&drApi::MA);
    return *H;
  }
  void TearDown() override
  {
    adaptertest::ResetModeller();
    drApi::PControlModel = nullptr;
    CouplingTest::TearDown();
  }
  // Every build saves some dozen files, each flushed to disk: in memory where the system offers it.
  txhost::test::TempDir Dir{std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : ""};
  std::unique_ptr<txhost::Host> H;
};

} // namespace

TEST_P(PlacedCoupling, EveryRowIsSoundInSpace)
{
  const TPlacedRow& row = GetParam();
  std::unique_ptr<TTable> main(TextBase.GetTable(TString(row.Table)));
  ASSERT_TRUE(main);
  const int c = main->Control;
  for (int i = 0; i < main->CountRow; ++i) {
    const double* A = main->Row(i);
    const double* A2 = main->Row((i + 1) % main->CountRow);
    const int tt = i % 16;
    SCOPED_TRACE(::testing::Message() << "row " << i << " types " << tt % 4 << "," << tt / 4);
    Model(A[0], A[c], A2[0] == A[0] ? A2[c] : A[c], tt % 4, tt / 4);
    txhost::Host& host = NewHost();
    ASSERT_TRUE(Couplings.drCoupling(TString(row.Coupling), 0));
    txhost::Object* doc = host.OpenDocument(ControlModel.Detail3D(0).Utf8Text(), false);
    ASSERT_TRUE(doc);
    std::vector<PlacedComponent> parts;
    std::vector<std::string> findings = PlacedFindings(host, *doc, parts);
    if (row.Extra) row.Extra(parts, findings);
    EXPECT_TRUE(findings.empty()) << FindingsText(findings);
    host.CloseDocument(*doc);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PlacedCoupling, ::testing::ValuesIn(PlacedRows), hxcad::test::CaseNames());
