#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "AdapterSupport.h"
#include "hxcadkit/geometry/Contour.h"
#include "txhost/lib/Drawing2D.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class SheetTest : public ::testing::Test, public HostedModeller
{
protected:
  // The count lives as long as the process; each test counts from a fresh registry's 0.
  SheetTest() { MA.R().CountDrawing = 0; }
  void Create(const char* name, txapi::DocumentTypeEnum type, int format, int krat)
  {
    TString n = T(Dir / name), c("");
    MA.drCreateLeaf(n, type, format, krat, 7, 2, c, true);
  }
  // The layout sheets saved in a document file.
  std::vector<nlohmann::json> SavedSheets(const std::filesystem::path& file)
  {
    std::ifstream in(file);
    const nlohmann::json root = nlohmann::json::parse(in);
    std::vector<nlohmann::json> out;
    for (const auto& o : root["objects"])
      if (o["kind"] == "LayoutSheet") out.push_back(o["props"]);
    return out;
  }
};

TEST_F(SheetTest, ANewDrawingIsSavedWithItsOneSheetAndCounted)
{
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  ASSERT_TRUE(MA.R().IDoc && MA.R().IDoc2D);
  const auto sheets = SavedSheets(Dir / "d.tdr");
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0]["format"], 3);
  EXPECT_EQ(sheets[0]["orientation"], true);
  EXPECT_EQ(sheets[0]["layoutStyle"], 7);
  EXPECT_EQ(sheets[0]["multiplicity"], 2);
  EXPECT_EQ(MA.R().CountDrawing, 1);
  // Anything but a drawing is a fragment; the same name again replaces the open document.
  for (int type : {0, 2, 3, 2}) Create("f", txapi::DocumentTypeEnum(type), 4, 0);
  EXPECT_EQ(SavedSheets(Dir / "f.tfg")[0]["orientation"], false);
  EXPECT_EQ(H.Documents().size(), 2u);
  EXPECT_EQ(MA.R().CountDrawing, 5);
}

// The sheet is saved and let go; it opens again as the current sheet, and opening says so. A hidden
// sheet let go is closed (nobody else could ever close it); a visible one stays for the user.
TEST_F(SheetTest, ClosingLetsGoOfTheSheetAndOpeningReportsSuccess)
{
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.drCloseLeaf();
  EXPECT_FALSE(MA.R().IDoc || MA.R().IDoc2D);
  EXPECT_TRUE(H.Documents().empty());
  EXPECT_EQ(SavedSheets(Dir / "d.tdr").size(), 1u);
  MA.drSaveLeaf(); // nothing current: nothing to save
  MA.drCloseLeaf();
  TString d = T(Dir / "d"), missing = T(Dir / "missing");
  EXPECT_TRUE(MA.drOpenLeaf(d, txapi::DocumentTypeEnum(1), true));
  EXPECT_TRUE(MA.R().IDoc2D);
  EXPECT_EQ(H.Documents().size(), 1u);
  MA.drCloseLeaf();
  EXPECT_TRUE(H.Documents().empty());
  EXPECT_FALSE(MA.drOpenLeaf(missing, txapi::DocumentTypeEnum(1), true));
  TString v = T(Dir / "v"), comment("");
  MA.drCreateLeaf(v, txapi::DocumentTypeEnum(1), 3, 1, 7, 2, comment, false);
  MA.drCloseLeaf();
  EXPECT_EQ(H.Documents().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(Dir / "v.tdr"));
}

// A refused document leaves nothing half made; inside a curve collector no sheet is made.
TEST_F(SheetTest, NoDocumentNoSheet)
{
  H.GetFaults().RefuseHandOut("IDocuments.Add");
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  EXPECT_FALSE(MA.R().IDoc);
  EXPECT_EQ(MA.R().CountDrawing, 0);
  H.GetFaults().Clear();
  TContour c;
  MA.R2D().AContour.Push(&c);
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.R2D().AContour.Pop();
  EXPECT_FALSE(MA.R().IDoc);
  EXPECT_FALSE(std::filesystem::exists(Dir / "d.tdr"));
}

} // namespace

namespace {

// The texts of the title-block cells and of the technical requirements, as the host shows them.
std::string CellText(txhost::Host& h, int cell)
{
  for (txhost::Object* o : h.ObjectsOfKind("StampCell"))
    if (o->Prop("cell") == cell) return U8(txhost::model2d::TextOf(*o));
  return "-";
}

TEST_F(SheetTest, TitleBlockCellsAreReplacedAndTheBlockLeavesNoMark)
{
  MA.drOpenShtamp(); // no sheet: nothing opened, nothing marked
  EXPECT_FALSE(MA.R().Stamp);
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.drOpenShtamp();
  ASSERT_TRUE(MA.R().Stamp);
  MA.drColumnShtamp(txapi::txStMass);
  MA.drStringObj("1,5");
  MA.drStringObj("2,5");
  // A mark opened later stays: closing the block pops only its own.
  MA.R2D().APrevCommand.Push(cmHatch);
  MA.drCloseShtamp();
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 2);
  MA.R2D().APrevCommand.Count = 0;
  EXPECT_EQ(CellText(H, txapi::txStMass), "2,5");
  EXPECT_FALSE(MA.R().Stamp);
  // A sheet that gives no title block leaves no mark that nothing would ever pop.
  H.GetFaults().RefuseHandOut("ILayoutSheet.GetStamp");
  MA.drOpenShtamp();
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
}

// The numbered requirements go to the requirements' own text, not to the title-block cell chosen
// last, and the sheet is saved and let go.
TEST_F(SheetTest, RequirementsGetTheirLinesAndTheSheetCloses)
{
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.drOpenShtamp();
  MA.drColumnShtamp(txapi::txStMaterial);
  MA.drStringObj("Сталь");
  MA.drCloseShtamp();
  MA.drCloseViewTDemCloseLeaf("Один", "Два", "", "Четыре");
  EXPECT_EQ(CellText(H, txapi::txStMaterial), "Сталь");
  const std::vector<txhost::Object*> demand = H.ObjectsOfKind("TechnicalDemand");
  ASSERT_EQ(demand.size(), 1u);
  EXPECT_EQ(U8(txhost::model2d::TextOf(*demand[0])), "1.Один\n2.Два\n4.Четыре");
  EXPECT_TRUE(demand[0]->Applied());
  EXPECT_EQ(demand[0]->Prop("box"), nlohmann::json({830.0, 65.0, 655.0, 165.0}));
  EXPECT_FALSE(MA.R().IDoc || MA.R().Text);
}

// A sheet without a requirements object: the lines are dropped, and the cell written last keeps its text.
TEST_F(SheetTest, RequirementsWithoutTheirObjectLeaveTheTitleBlockAlone)
{
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.drOpenShtamp();
  MA.drColumnShtamp(txapi::txStMaterial);
  MA.drStringObj("Сталь");
  MA.drCloseShtamp();
  H.GetFaults().RefuseHandOut("IDrawingDocument.GetTechnicalDemand");
  MA.drOpenTDem();
  EXPECT_FALSE(MA.R().Text);
  MA.drCloseViewTDemCloseLeaf("Один", "Два", "", "");
  EXPECT_EQ(CellText(H, txapi::txStMaterial), "Сталь");
  EXPECT_TRUE(H.ObjectsOfKind("TechnicalDemand").empty());
}

} // namespace
