// The mould parts through the host modeller on the stand-in host: without the openers (as in the
// product) nothing is opened; with the tests' openers a sheet is an A3 landscape drawing with its
// title block and first view, the assembled spacer makes its three parts, and the picture of a
// sheet shows the text markup as symbols while the document keeps the texts as passed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "../adapter/AdapterSupport.h"
#include "StdPartsSupport.h"
#include "plugin/MouldDocuments.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using drApi::MA;

class StdPartsHosted : public ::testing::Test, public adaptertest::HostedModeller
{
protected:
  StdPartsHosted() { stdtest::LoadShipped(); }
  TString Folder() const { return adaptertest::T(Dir.path()) + TString("/"); }
  static std::string Read(const std::filesystem::path& file)
  {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(StdPartsHosted, TheProductOpensNoSheetAndNoPartDocument)
{
  ASSERT_EQ(drApi::TMouldDocumentLink::Get(), nullptr);
  EXPECT_FALSE(MA.drLeafStamp(3, 0, true));
  EXPECT_FALSE(MA.drCreate3DNewPartPlane(3, 0, true, txapi::o3d_planeYOZ, 0.0));
  TPin p(3, &MA, nullptr);
  p.Set(31, 3.0, 20.0);
  p.dr3D(1);
  TDistanceScrew d(3, &MA, nullptr);
  d.Set(39, 8.0, 40.0);
  d.dr2D();
  d.dr3D(1);
  EXPECT_TRUE(H.Documents().empty());
}

TEST_F(StdPartsHosted, ASheetIsAnA3LandscapeDrawingWithItsTitleBlockAndFirstView)
{
  stdtest::TMouldDocuments link(Folder());
  TDistanceScrew d(7, &MA, nullptr);
  d.Set(39, 8.0, 40.0);
  d.dr2D();
  ASSERT_EQ(link.Sheets, 1);
  // The hidden sheet is closed once saved; its file holds it.
  ASSERT_TRUE(H.Documents().empty());
  txhost::Object* opened = H.OpenDocument(link.LastSheet.toWideChar(), false);
  ASSERT_NE(opened, nullptr);
  txhost::Object& doc = *opened;
  EXPECT_EQ(txhost::Host::DocumentType(doc), 1);
  int sheets = 0, stamps = 0, views = 0;
  for (txhost::Object* o : H.ObjectsOf(doc)) {
    if (o->Kind() == "LayoutSheet") {
      ++sheets;
      EXPECT_EQ(o->Prop("format"), 3);
      EXPECT_EQ(o->Prop("orientation"), true);
    }
    if (o->Kind() == "Stamp") ++stamps;
    if (o->Kind() == "view" && o->Prop("number") == 1) {
      ++views;
      // 50 mm right of and 40 mm below the frame's upper left corner (20, 292), and the class's (10, 0).
      EXPECT_EQ(o->Prop("x"), 80.0);
      EXPECT_EQ(o->Prop("y"), 252.0);
    }
  }
  EXPECT_EQ(sheets, 1);
  EXPECT_EQ(stamps, 1);
  EXPECT_EQ(views, 1);
  EXPECT_TRUE(std::filesystem::exists(link.LastSheet.toWideChar()));
}

// The assembled spacer: a screw, a washer and a bush, each a revolved part file beside the spacer's,
// which holds the three; the one-piece spacer revolves its own outline. Nothing stays open.
TEST_F(StdPartsHosted, BothSpacersGiveBodiesAndTheAssembledOneItsThreeParts)
{
  stdtest::TMouldDocuments link(Folder());
  TDistanceScrew d(7, &MA, nullptr);
  d.Set(39, 8.0, 40.0);
  auto count = [this](const std::filesystem::path& file, const char* kind) {
    int n = 0;
    txhost::Object* doc = H.OpenDocument(file, false);
    if (!doc) return -1;
    for (txhost::Object* o : H.ObjectsOf(*doc))
      n += o->Kind() == kind && !txhost::model::Deleted(*o);
    H.CloseDocument(*doc);
    return n;
  };
  d.dr3D(1);
  EXPECT_TRUE(H.Documents().empty());
  EXPECT_EQ(count(link.LastPart.toWideChar(), "rotated"), 1);

  *d.Execution.PInt = 1;
  d.dr3D(1);
  EXPECT_EQ(link.Parts, 2);
  EXPECT_TRUE(H.Documents().empty());
  const std::wstring own = link.LastPart.toWideChar();
  const std::wstring stem = own.substr(0, own.size() - 4);
  for (const wchar_t* tail : {L"-1.tpt", L"-2.tpt", L"-3.tpt"})
    EXPECT_EQ(count(stem + tail, "rotated"), 1) << std::filesystem::path(stem + tail);
  EXPECT_EQ(count(own, "part"), 3 + 1) << "the three components and the top part";
}

TEST_F(StdPartsHosted, ThePictureShowsTheMarkupTheDocumentKeeps)
{
  stdtest::TMouldDocuments link(Folder());
  ASSERT_TRUE(MA.drLeafStampView1(9, 0, 150.0, -100.0, true));
  txhost::Object* doc = H.Documents().back();
  TDistanceScrew(9, &MA, nullptr).dr2D_Gvynt_V1(0, 0, 0, 1, 12, 8, 5, 15, 6, 61, 30, 1, true);
  std::ostringstream svg;
  txhost::WriteSvg(*doc, svg);
  const TString none;
  MA.drCloseViewTDemCloseLeaf(none, none, none, none);
  EXPECT_NE(svg.str().find(">\u2300"
                           "16h7<"),
            std::string::npos);
  EXPECT_NE(svg.str().find(">45\u00B0<"), std::string::npos);
  EXPECT_EQ(svg.str().find("&amp;02"), std::string::npos);
  EXPECT_NE(Read(link.LastSheet.toWideChar()).find("&02"), std::string::npos);
}

} // namespace
