#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "AdapterSupport.h"
#include "hxcadkit/geometry/Contour.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class SheetTest : public ::testing::Test, public HostedModeller
{
protected:
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

// The sheet is saved and let go; it opens again as the current sheet, and opening says so.
TEST_F(SheetTest, ClosingLetsGoOfTheSheetAndOpeningReportsSuccess)
{
  Create("d", txapi::DocumentTypeEnum(1), 3, 1);
  MA.drCloseLeaf();
  EXPECT_FALSE(MA.R().IDoc || MA.R().IDoc2D);
  EXPECT_EQ(H.Documents().size(), 1u);
  MA.drSaveLeaf(); // nothing current: nothing to save
  MA.drCloseLeaf();
  TString d = T(Dir / "d"), missing = T(Dir / "missing");
  EXPECT_TRUE(MA.drOpenLeaf(d, txapi::DocumentTypeEnum(1), true));
  EXPECT_TRUE(MA.R().IDoc2D);
  EXPECT_EQ(H.Documents().size(), 1u);
  EXPECT_FALSE(MA.drOpenLeaf(missing, txapi::DocumentTypeEnum(1), true));
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
