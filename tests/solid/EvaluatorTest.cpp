// The evaluator on host documents: what it keeps and reuses, how it walks assemblies and what it says of
// them. Parts are made here as the host's features record them (a placed form and a profile), rings turned
// about the x axis, so that every volume is known by hand.
#include "txhost/solid/Evaluator.h"

#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Object.h"
#include "txhost/lib/Placement3D.h"

#include "txapi/Enums.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using txhost::Object;
using txhost::Value;

// A ring of the radii from x0 to x1 about the x axis.
double RingVolume(double x0, double x1, double r0, double r1)
{
  return std::numbers::pi * (r1 * r1 - r0 * r0) * (x1 - x0);
}

class SolidEvaluator : public ::testing::Test
{
protected:
  txhost::Host H;
  fs::path Dir;

  void SetUp() override
  {
    Dir = fs::temp_directory_path() / ("solid-evaluator-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  // A new part holding a ring turned about the x axis, placed as the host places one.
  Object& RingPart(double x0, double x1, double r0, double r1)
  {
    Object& doc = *H.NewDocument(txapi::txDocumentPart, false);
    std::vector<txhost::place::Curve> curves;
    Value profile = Value::array();
    const double corners[5][2] = {{x0, r0}, {x1, r0}, {x1, r1}, {x0, r1}, {x0, r0}};
    for (int k = 0; k < 4; ++k) {
      txhost::place::Curve c;
      c.A = {corners[k][0], corners[k][1]};
      c.B = {corners[k + 1][0], corners[k + 1][1]};
      curves.push_back(c);
      profile.push_back({{"curve", "line"}, {"points", {c.A[0], c.A[1], c.B[0], c.B[1]}}});
    }
    Object& f = H.Create("rotated", &doc, H.TopPart(doc));
    f.Set("type", int(txapi::o3d_bossRotated));
    f.Set("profile", profile);
    f.Set("placed",
          txhost::place::PlacedToJson(*txhost::place::PlaceRotation(
              txapi::o3d_bossRotated, *txhost::place::StandardPlane(1), 360, {0, 0}, {1, 0}, curves)));
    f.Update();
    return doc;
  }
  // Marks a part as a fastener, or as a piece that travels with one, as the library that builds it does.
  void MarkFastener(Object& doc, const char* mark = "Fastener")
  {
    Object& storages = H.Create("user-storages", &doc, &doc);
    Object& s = H.Create("user-storage", &doc, &storages);
    s.Set("name", std::string("ZEDozod"));
    s.Set("values", Value{{mark, 1}});
  }
  fs::path Save(Object& doc, const std::string& name)
  {
    std::string error;
    EXPECT_TRUE(H.SaveDocumentAs(doc, Dir / name, &error)) << error;
    return Dir / name;
  }
  Object& Assembly() { return *H.NewDocument(txapi::txDocumentAssembly, false); }
  // A component of the file at x along the x axis.
  Object& Component(Object& assembly, const std::string& file, double x = 0, const std::string& name = "c")
  {
    Object& c = H.Create(txhost::kinds::Part, &assembly, H.TopPart(assembly));
    c.Set("name", name);
    c.Set("file", file);
    c.Set("placement", Value::array({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, 0, 0, 1}));
    return c;
  }
  std::size_t PartDocuments() const { return H.ObjectsOfKind("part-document").size(); }
};

// Two rings of one outer circle and one length, bored to other shafts, share every placed record but their
// profile: each is measured as itself, in one evaluator, alone or as components of one assembly.
TEST_F(SolidEvaluator, PartsOfOneOutlineAndOtherBoresKeepTheirOwnVolumes)
{
  txhost::solid::TEvaluator e(H);
  const double bores[] = {16, 20, 12};
  std::vector<fs::path> files;
  for (double bore : bores) {
    Object& part = RingPart(0, 10, bore, 30);
    txhost::solid::TDocumentResult r;
    std::string error;
    ASSERT_TRUE(e.Evaluate(part, r, error)) << error;
    EXPECT_NEAR(r.Parts[0]->Volume, RingVolume(0, 10, bore, 30), 1e-6 * RingVolume(0, 10, 0, 30)) << bore;
    files.push_back(Save(part, "ring" + std::to_string(int(bore)) + ".tpt"));
  }
  Object& assembly = Assembly();
  for (std::size_t k = 0; k < files.size(); ++k)
    Component(assembly, files[k].string(), 20.0 * double(k));
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error)) << error;
  ASSERT_EQ(r.Parts.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k)
    EXPECT_NEAR(r.Parts[k]->Volume, RingVolume(0, 10, bores[k], 30), 1e-3) << k;
  // Each part was modelled once, the assembly once: the parts' second look came from what was kept.
  EXPECT_EQ(e.Modelled(), 4);
}

// A part named by many spellings of its path is one file: read and kept once, its solid built once.
TEST_F(SolidEvaluator, OneFileByManySpellingsIsReadOnce)
{
  const fs::path file = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  fs::create_directories(Dir / "sub");
  fs::create_symlink(file, Dir / "link.tpt");
  Object& assembly = Assembly();
  std::string dots = Dir.string() + "/";
  for (int k = 0; k < 40; ++k) {
    Component(assembly, dots + "ring.tpt", 40.0 * k);
    dots += k % 2 == 0 ? "./" : "sub/../";
  }
  Component(assembly, (Dir / "link.tpt").string(), -40);
  const std::size_t before = PartDocuments();
  txhost::solid::TEvaluator e(H);
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error)) << error;
  ASSERT_EQ(r.Placed.size(), 41u);
  EXPECT_TRUE(r.LeftOut.empty());
  EXPECT_EQ(PartDocuments(), before + 1);
  EXPECT_EQ(e.Modelled(), 2); // the part and the assembly
  // A file changed since is read again, whatever the spelling it is named by this time.
  fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(2));
  ASSERT_TRUE(e.Evaluate(assembly, r, error)) << error;
  EXPECT_EQ(PartDocuments(), before + 2);
}

// A pin through two rings joins them; slid out of one, it stands in the other alone and joins nothing: a
// fault, as one standing in no hole is.
TEST_F(SolidEvaluator, AFastenerInOnePartOnlyIsAFault)
{
  const fs::path ring = Save(RingPart(0, 10, 4, 20), "ring.tpt");
  struct TCase
  {
    double From, To; // the pin's ends along the rings' axis
    const char* Fault;
  };
  for (const TCase& c : {TCase{-5, 25, nullptr}, TCase{-5, 8, "stands in the holes of one part only (first)"},
                         TCase{22, 30, "stands in no hole"}}) {
    SCOPED_TRACE(c.From);
    Object& pin = RingPart(c.From, c.To, 0, 4);
    MarkFastener(pin);
    const fs::path pinFile = Save(pin, "pin.tpt");
    Object& assembly = Assembly();
    Component(assembly, ring.string(), 0, "first");
    Component(assembly, ring.string(), 10, "second");
    Component(assembly, pinFile.string(), 0, "pin");
    txhost::solid::TEvaluator e(H);
    std::ostringstream out;
    int faults = -1;
    std::string error;
    ASSERT_TRUE(e.Check(assembly, out, faults, error)) << error;
    if (c.Fault == nullptr) {
      EXPECT_EQ(faults, 0) << out.str();
      continue;
    }
    EXPECT_EQ(faults, 1) << out.str();
    EXPECT_NE(out.str().find(std::string("fault: not seated: pin ") + c.Fault), std::string::npos)
        << out.str();
  }
}

// The pieces that travel with a pin (a nut, bushes: rings like the parts it joins, told apart only by the
// library's mark) seat nothing: a pin pulled out of one ring with its nut stands in one part only, and one
// carried off with its nut stands in no hole; the rings themselves still join.
TEST_F(SolidEvaluator, APieceThatTravelsWithAFastenerSeatsNothing)
{
  const fs::path ring = Save(RingPart(0, 10, 4, 20), "ring.tpt");
  Object& nutPart = RingPart(0, 5, 4, 8);
  MarkFastener(nutPart, "FastenerPiece");
  const fs::path nut = Save(nutPart, "nut.tpt");
  Object& pin = RingPart(0, 30, 0, 4);
  MarkFastener(pin);
  const fs::path pinFile = Save(pin, "pin.tpt");
  struct TCase
  {
    double Shift; // of the pin and its nut along the rings' axis
    const char* Fault;
  };
  for (const TCase& c : {TCase{-5, nullptr}, TCase{12, "stands in the holes of one part only (second)"},
                         TCase{500, "stands in no hole"}}) {
    SCOPED_TRACE(c.Shift);
    Object& assembly = Assembly();
    Component(assembly, ring.string(), 0, "first");
    Component(assembly, ring.string(), 10, "second");
    Component(assembly, pinFile.string(), c.Shift, "pin");
    Component(assembly, nut.string(), c.Shift + 25, "nut");
    txhost::solid::TEvaluator e(H);
    std::ostringstream out;
    int faults = -1;
    std::string error;
    ASSERT_TRUE(e.Check(assembly, out, faults, error)) << error;
    EXPECT_EQ(out.str().find(" in 3 nut"), std::string::npos) << out.str();
    if (c.Fault == nullptr) {
      EXPECT_EQ(faults, 0) << out.str();
      continue;
    }
    EXPECT_NE(out.str().find(std::string("fault: not seated: pin ") + c.Fault), std::string::npos)
        << out.str();
  }
}

// A picture or STEP file that cannot be written is refused before anything is modelled.
TEST_F(SolidEvaluator, AnOutputThatCannotBeWrittenIsRefusedFirst)
{
  Object& part = RingPart(0, 10, 4, 20);
  fs::create_directories(Dir / "folder.png");
  fs::create_directories(Dir / "closed");
  ::mkfifo((Dir / "pipe.step").c_str(), 0600);
  txhost::solid::TEvaluator e(H);
  struct TCase
  {
    fs::path File;
    const char* Says;
  };
  std::vector<TCase> cases{{Dir / "missing" / "a.png", "no such folder"},
                           {Dir / "folder.png", "a folder is in the way"},
                           {Dir / "pipe.step", "not a regular file"},
                           {Dir / "a.stl", "not as .stl"}};
  fs::permissions(Dir / "closed", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access((Dir / "closed").c_str(), W_OK) != 0) // the superuser writes anywhere
    cases.push_back({Dir / "closed" / "a.step", "Permission denied"});
  for (const TCase& c : cases) {
    std::vector<std::string> leftOut;
    std::string error;
    EXPECT_FALSE(e.Save(part, c.File, false, leftOut, error)) << c.File;
    EXPECT_NE(error.find(c.Says), std::string::npos) << error;
  }
  EXPECT_EQ(e.Modelled(), 0);
  std::vector<std::string> leftOut;
  std::string error;
  EXPECT_TRUE(e.Save(part, Dir / "a.step", false, leftOut, error)) << error;
  EXPECT_EQ(e.Modelled(), 1);
  fs::permissions(Dir / "closed", fs::perms::owner_all);
}

// Copies of one part at one place (sub-assemblies placed over each other give thousands) clash with each
// other by the part's whole volume, known without a boolean; what one of them shares with another
// component, each of them does. Each pair of copies was a boolean of its own.
TEST_F(SolidEvaluator, CopiesAtOnePlaceClashWithoutABoolean)
{
  const fs::path ring = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  const fs::path other = Save(RingPart(0, 10, 0, 8), "other.tpt");
  constexpr std::size_t copies = 2000;
  Object& assembly = Assembly();
  Component(assembly, other.string(), 5, "other");
  for (std::size_t k = 0; k < copies; ++k)
    Component(assembly, ring.string(), 0, "ring");
  txhost::solid::TEvaluator e(H);
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error)) << error;
  EXPECT_EQ(r.Checked->Worked, 1u);
  ASSERT_EQ(r.Checked->Coincident.size(), 1u);
  EXPECT_EQ(r.Checked->Coincident[0].Members.size(), copies);
  EXPECT_NEAR(r.Checked->Coincident[0].Volume, RingVolume(0, 10, 5, 20), 1e-3);
  ASSERT_EQ(r.Checked->Clashes.size(), 1u);
  EXPECT_EQ(r.Checked->Clashes[0].Copies, copies);
  EXPECT_NEAR(r.Checked->Clashes[0].Volume, RingVolume(5, 10, 5, 8), 1e-3);
  long long n = 0;
  ASSERT_TRUE(e.Count(assembly, "clashes", n, error)) << error;
  EXPECT_EQ(n, (long long)(copies * (copies - 1) / 2 + copies));
  const std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_NE(faults[0].find("2000 copies of ring stand at one place (components 1, 2, 3, 4, 5, ...)"),
            std::string::npos)
      << faults[0];
  EXPECT_NE(faults[1].find("and so does each of the 1999 other pairs"), std::string::npos) << faults[1];
}

// Copies placed apart by less than the modeller tells apart (1e-9 mm, as a matrix written out and read back
// leaves them) are copies at one place: no boolean of each pair. Each pair was one.
TEST_F(SolidEvaluator, CopiesCloserThanTheModellerTellsApartAreAtOnePlace)
{
  const fs::path ring = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  constexpr std::size_t copies = 100;
  Object& assembly = Assembly();
  for (std::size_t k = 0; k < copies; ++k)
    Component(assembly, ring.string(), 1e-9 * double(k), "ring");
  txhost::solid::TEvaluator e(H);
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error)) << error;
  EXPECT_EQ(r.Checked->Worked, 0u);
  ASSERT_EQ(r.Checked->Coincident.size(), 1u);
  EXPECT_EQ(r.Checked->Coincident[0].Members.size(), copies);
  EXPECT_TRUE(r.Checked->Clashes.empty());
}

// The check spends at most its time: copies 0.01 mm apart, each pair a boolean, end with the pairs left
// counted and said.
TEST_F(SolidEvaluator, PairsLeftWhenTheTimeRunsOutAreCountedAndSaid)
{
  const fs::path ring = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  constexpr std::size_t copies = 40;
  Object& assembly = Assembly();
  for (std::size_t k = 0; k < copies; ++k)
    Component(assembly, ring.string(), 0.01 * double(k), "ring" + std::to_string(k));
  txhost::solid::TEvaluator e(H);
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error, false)) << error;
  txhost::solid::TCheckOptions brief;
  brief.Seconds = 0.02;
  const auto checked = txhost::solid::CheckAssembly(r.Placed, brief);
  const std::size_t pairs = copies * (copies - 1) / 2;
  EXPECT_TRUE(checked.TimedOut);
  EXPECT_GT(checked.LeftOver, 0u);
  EXPECT_EQ(checked.Clashes.size() + checked.LeftOver + checked.Unchecked.size(), pairs);
  r.Checked = std::make_shared<txhost::solid::TAssemblyResult>(checked);
  const std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
  ASSERT_FALSE(faults.empty());
  EXPECT_NE(faults.back().find("pairs of components whose boxes meet, from ring"), std::string::npos)
      << faults.back();
  EXPECT_NE(faults.back().find("on: the check's 0.020 s of modelling ran out"), std::string::npos)
      << faults.back();
}

// Past its bound the check counts the pairs it leaves, copies too, says where it stopped, and no clash
// count is given as known.
TEST_F(SolidEvaluator, PairsPastTheBoundAreCountedAndSaid)
{
  const fs::path ring = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  Object& assembly = Assembly();
  for (int k = 0; k < 5; ++k)
    Component(assembly, ring.string(), k, "ring" + std::to_string(k));
  Component(assembly, ring.string(), 4, "ring4");
  txhost::solid::TEvaluator e(H);
  txhost::solid::TDocumentResult r;
  std::string error;
  ASSERT_TRUE(e.Evaluate(assembly, r, error, false)) << error;
  txhost::solid::TCheckOptions bounded;
  bounded.MaxPairs = 3;
  r.Checked =
      std::make_shared<txhost::solid::TAssemblyResult>(txhost::solid::CheckAssembly(r.Placed, bounded));
  // Five places, ten pairs of them, the first three worked out; the last place holds two copies, so each
  // of its four pairs left stands for two.
  EXPECT_EQ(r.Checked->Worked, 3u);
  EXPECT_EQ(r.Checked->LeftOver, 3u + 4u * 2u);
  EXPECT_EQ(r.Checked->Clashes.size(), 3u);
  const std::vector<std::string> faults = txhost::solid::TEvaluator::Faults(r);
  ASSERT_FALSE(faults.empty());
  EXPECT_EQ(faults.back(),
            "not checked: 11 pairs of components whose boxes meet, from ring0 (0) and ring4 (4) "
            "on: the check works out 3 pairs at most");
}

} // namespace

namespace {

// What a budget spent before a part is made leaves: the part named as not worked out, from its first feature
// on, wherever it is asked for (checked alone or in an assembly, counted, drawn, exported), and no file.
TEST_F(SolidEvaluator, APartTheBudgetLeavesIsSaidAsNotWorkedOutAndWrittenNowhere)
{
  const fs::path ring = Save(RingPart(0, 10, 5, 20), "ring.tpt");
  Object& assembly = Assembly();
  Component(assembly, ring.string(), 0, "ring0");
  Component(assembly, ring.string(), 5, "ring1");
  for (Object* doc : {H.OpenDocument(ring, false, nullptr, false), &assembly}) {
    ASSERT_NE(doc, nullptr);
    txhost::solid::TEvaluator e(H);
    e.SetSeconds(1e-9);
    std::ostringstream out;
    int faults = 0;
    std::string error;
    ASSERT_TRUE(e.Check(*doc, out, faults, error)) << error;
    EXPECT_NE(out.str().find("rotated 0 not worked out"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(": not worked out: its features from rotated 0 on (1 of 1): the 0.000 s of "
                             "modelling ran out"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("solids\n  fault"), std::string::npos) << out.str();
    const bool inAssembly = doc == &assembly;
    EXPECT_EQ(faults, inAssembly ? 2 : 1) << out.str();
    if (inAssembly) {
      EXPECT_NE(out.str().find("not checked: the components against each other"), std::string::npos)
          << out.str();
    }
    long long n = 0;
    EXPECT_FALSE(e.Count(*doc, "clashes", n, error));
    EXPECT_NE(error.find("not known: "), std::string::npos) << error;
    for (const char* file : {"out.png", "out.step"}) {
      std::vector<std::string> leftOut;
      EXPECT_FALSE(e.Save(*doc, Dir / file, false, leftOut, error));
      EXPECT_NE(error.find("nothing written"), std::string::npos) << error;
      EXPECT_FALSE(fs::exists(Dir / file));
    }
  }
}

} // namespace
