// Every row of the shipped tables through its part class: found by Set from its own keys, built on
// the recording modeller as a sound drawing (closed sketches, one axis under each revolved profile)
// and on the stand-in host as the part document its class makes.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "tests/TestNames.h"
#include "txhost/lib/Model.h"

namespace {

struct TSweep
{
  int Table;
  int Key1, Key2; // the columns of the diameter and the length
  const char* Class;
  friend void PrintTo(const TSweep& s, std::ostream* os) { *os << s.Class << " table " << s.Table; }
};

const TSweep Sweeps[] = {
    {31, 1, 2, "TPin"}, {33, 1, 2, "TScrew"}, {26, 1, 8, "TScrew"}, {39, 5, 7, "TDistanceScrew"}};

// A part of the sweep's class chosen by the row's keys; the row Set found.
std::unique_ptr<TDetail> Chosen(const TSweep& s, int row, TModeler3D* M, int& found)
{
  const double d = ABaseDetail.ParStDet(s.Table, row, s.Key1), l = ABaseDetail.ParStDet(s.Table, row, s.Key2);
  if (s.Table == 31) {
    auto p = std::make_unique<TPin>(5, M, nullptr);
    found = p->Set(s.Table, d / 2, l);
    return p;
  }
  if (s.Table == 39) {
    auto p = std::make_unique<TDistanceScrew>(5, M, nullptr);
    found = p->Set(s.Table, d / 2, l);
    return p;
  }
  auto p = std::make_unique<TScrew>(5, M, nullptr);
  found = p->Set(s.Table, d / 2, l);
  return p;
}

class EveryRow : public ::testing::TestWithParam<TSweep>
{
protected:
  void SetUp() override { stdtest::LoadShipped(); }
};

TEST_P(EveryRow, IsFoundByItsKeysAndBuildsASoundModel)
{
  const TSweep& s = GetParam();
  const int rows = ABaseDetail.SocketCount(s.Table);
  ASSERT_GT(rows, 1);
  for (int row = 1; row < rows; ++row) {
    TRecordingModeler Md;
    Md.NewPartPlaneAnswer = true;
    int found = 0;
    std::unique_ptr<TDetail> part = Chosen(s, row, &Md, found);
    ASSERT_EQ(found, row);
    EXPECT_EQ(part->Code, 1000 * s.Table + row);
    part->dr3D(1);
    EXPECT_TRUE(DrawingSound(Md)) << "row " << row;
    // The first sketch is the revolved profile: closed, above the axis, one axis line. The spacer's
    // second sketch is its slot.
    const auto profile = Md.SketchProfile(0);
    int axes = 0;
    for (const auto& c : Md.Curves)
      if (c.Sketch == 0 && c.Style == 3) ++axes;
    EXPECT_FALSE(profile.empty()) << "row " << row;
    if (s.Table == 39) {
      EXPECT_EQ(axes, 1) << "row " << row;
      EXPECT_EQ(Md.Sketches(), 2);
      EXPECT_EQ(TRecordingModeler::Outline(Md.SketchProfile(1)).size(), 4u);
      continue;
    }
    EXPECT_EQ(axes, 1) << "row " << row;
    EXPECT_EQ(Md.Count("drBaseRotate"), 1);
    for (const auto& c : profile)
      EXPECT_GE(std::min(c.y1, c.y2), -1e-9) << "row " << row;
    EXPECT_EQ(Md.Sketches(), s.Table == 31 ? 1 : 2);
    if (s.Table != 31) {
      EXPECT_EQ(Md.SketchProfile(1).size(), 6u); // the socket
    }
  }
}

// On the stand-in host, through the openers the tests install.
class EveryRowHosted : public ::testing::TestWithParam<TSweep>, public adaptertest::HostedModeller
{
protected:
  void SetUp() override { stdtest::LoadShipped(); }
  // The live objects of the kind in the document saved at file.
  int Objects(txhost::Object& doc, std::string_view kind)
  {
    int n = 0;
    for (txhost::Object* o : H.ObjectsOf(doc))
      if (o->Kind() == kind && !txhost::model::Deleted(*o)) ++n;
    return n;
  }
};

TEST_P(EveryRowHosted, BuildsThePartDocumentItsClassMakes)
{
  const TSweep& s = GetParam();
  stdtest::TMouldDocuments link(adaptertest::T(Dir.path()) + TString("/"));
  for (int row = 1; row < ABaseDetail.SocketCount(s.Table); ++row) {
    int found = 0;
    std::unique_ptr<TDetail> part = Chosen(s, row, &drApi::MA, found);
    ASSERT_EQ(found, row);
    part->dr3D(1);
    ASSERT_EQ(link.Parts, row);
    const std::filesystem::path file = link.LastPart.toWideChar();
    ASSERT_TRUE(std::filesystem::exists(file)) << "row " << row;
    EXPECT_TRUE(H.Documents().empty()) << "row " << row;
    txhost::Object* doc = H.OpenDocument(file, false);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Objects(*doc, "rotated"), 1) << "row " << row;
    EXPECT_EQ(Objects(*doc, "extrusion"), s.Table == 31 ? 0 : 1) << "row " << row;
    txhost::Object* top = H.TopPart(*doc);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Prop("color").dump().substr(0, 9), "[9474192,") << "row " << row;
    H.CloseDocument(*doc);
  }
}

INSTANTIATE_TEST_SUITE_P(StdParts, EveryRow, ::testing::ValuesIn(Sweeps), hxcad::test::CaseNames());
INSTANTIATE_TEST_SUITE_P(StdParts, EveryRowHosted, ::testing::ValuesIn(Sweeps), hxcad::test::CaseNames());

} // namespace
