// Specification entries of the current document, and the closing of a part document.
#include <gtest/gtest.h>

#include "AdapterSupport.h"
#include "txhost/lib/SymbolFacets.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using txhost::Value;

class SpecObjects : public ::testing::Test, public HostedModeller
{
protected:
  void Open(const char* name)
  {
    MA.drCreate3D(false, true, T(Dir / name), "Вал", "В-01");
    Doc = Find(MA.R().IDoc.get());
  }
  std::vector<txhost::Object*> Of(std::string_view kind) const
  {
    std::vector<txhost::Object*> out = H.ObjectsOf(*Doc);
    std::erase_if(out, [&](const txhost::Object* o) { return o->Kind() != kind; });
    return out;
  }
  txhost::Object* Doc = nullptr;
};

TEST_F(SpecObjects, APartsEntryIsWrittenInOrderAndTheDescriptionAddedOnce)
{
  Open("shaft.tpt");
  const SmartPtr<txapi::IPart> part = MA.R().Part;
  for (TSectionSpc s : {tStandart, tDetail})
    MA.drSpcObj3D(s, s == tDetail ? "прим." : "", part);
  ASSERT_EQ(Of(txhost::spec::Description).size(), 1u);
  const std::vector<txhost::Object*> entries = Of(txhost::spec::Entry);
  ASSERT_EQ(entries.size(), 2u);
  const txhost::Object& e = *entries[1];
  EXPECT_EQ(e.Prop("section"), 20);
  EXPECT_EQ(entries[0]->Prop("section"), 25);
  EXPECT_EQ(e.Prop("attribute"), 81764182256);
  EXPECT_EQ(e.Prop("written"), Value::parse("[5,4,7]"));
  EXPECT_EQ(e.Prop("columns"), Value::parse(R"({"5":"Вал","4":"В-01","7":"прим."})"));
  EXPECT_EQ(entries[0]->Prop("columns")["7"], "");
  EXPECT_EQ(e.Prop("linked").size(), 1u);
  EXPECT_TRUE(e.Applied());
  EXPECT_EQ(Find(MA.R().Obj.get()), &e);
  EXPECT_EQ(Find(MA.R2D().CurDrawingObject.get()), &e);

  // Without a part or a 3D document nothing is made; the last drawing object is let go, the last
  // object kept.
  MA.drSpcObj3D(tDetail, "", SmartPtr<txapi::IPart>());
  EXPECT_FALSE(MA.R2D().CurDrawingObject);
  const SmartPtr<txapi::ITavrixDocument3D> doc3 = MA.R().IDoc3D;
  MA.R().IDoc3D.reset();
  MA.drSpcObj3D(tDetail, "", part);
  MA.R().IDoc3D = doc3;
  EXPECT_EQ(Of(txhost::spec::Entry).size(), 2u);
  EXPECT_EQ(Find(MA.R().Obj.get()), &e);
}

TEST_F(SpecObjects, DrawnAndNumberedEntries)
{
  Open("coupling.tas");
  for (const char* ext : {".tdr", ".tpt"})
    txhost::test::WriteFile(Dir / (std::string("half") + ext), "x");
  struct Case { TSectionSpc Section; const char* Name; int Pos, Count; Value Columns, Attached; };
  const std::string half = (Dir / "half").string();
  const Case cases[] = {
      {tDetail, "half", 0, -2, Value::parse(R"({"3":"0","6":"-2"})"), Value::array({half + ".tdr", half + ".tpt"})},
      {tStandart, "half", 3, 4, Value::parse(R"({"3":"3","6":"4"})"), Value::array()},
      {tSborka, "none", 1, 1, Value::parse(R"({"3":"1","6":"1"})"), Value::array()},
  };
  for (const Case& c : cases) {
    MA.drSpcObject(c.Section, T(Dir / c.Name), c.Pos, c.Count);
    txhost::Object& e = *Of(txhost::spec::Entry).back();
    EXPECT_EQ(e.Prop("section"), int(c.Section));
    EXPECT_EQ(e.Prop("columns"), c.Columns) << c.Name;
    EXPECT_EQ(e.Prop("attached"), c.Attached) << c.Name;
    EXPECT_EQ(e.CallCount("GetAttachedDocuments"), c.Attached.empty() ? 0u : 1u);
    EXPECT_EQ(Find(MA.R2D().CurDrawingObject.get()), &e);
  }
  // A drawn entry leaves the last drawing object as it was.
  txhost::Object* numbered = Find(MA.R2D().CurDrawingObject.get());
  MA.drSpcObj("Муфта", tStandart, nullptr);
  txhost::Object& drawn = *Of(txhost::spec::Entry).back();
  EXPECT_EQ(drawn.Prop("columns"), Value::parse(R"({"5":"Муфта","6":"1"})"));
  EXPECT_EQ(Find(MA.R2D().CurDrawingObject.get()), numbered);
  EXPECT_EQ(Find(MA.R().Obj.get()), &drawn);

  // With no document nothing changes, not even the last objects.
  const SmartPtr<txapi::ITavrixDocument> doc = MA.R().IDoc;
  MA.R().IDoc.reset();
  MA.drSpcObj("Муфта", tStandart, nullptr);
  MA.drSpcObject(tDetail, "x", 1, 1);
  MA.R().IDoc = doc;
  EXPECT_EQ(Of(txhost::spec::Entry).size(), 4u);
  EXPECT_FALSE(MA.R2D().CurDrawingObject);
  EXPECT_EQ(Find(MA.R().Obj.get()), &drawn);
}

TEST_F(SpecObjects, ClosingSavesWithTheEntryFirstThenCloses)
{
  struct Case { bool Save; TSectionSpc Section; const char* Note; std::vector<std::string> Ops; int Entries; };
  // The document's own operations; the entry shows as the description added to it, before the save.
  const std::vector<std::string> saved{"RebuildModel", "UpdateModel", "Save", "Close"},
      entry{"RebuildModel", "UpdateModel", "Add", "Save", "Close"};
  const Case cases[] = {
      {true, tNotExist, "прим.", saved, 0},
      {false, tDetail, "прим.", {"Close"}, 0},
      {true, tStandart, "прим.", entry, 1},
      {true, tDetail, "", saved, 0},
  };
  int n = 0;
  for (const Case& c : cases) {
    Open(("part" + std::to_string(n++) + ".tpt").c_str());
    MA.R2D().DI.Note = c.Note;
    const std::size_t before = Doc->Log().size();
    MA.drClose3D(c.Save, c.Section);
    std::vector<std::string> ops;
    for (std::size_t i = before; i < Doc->Log().size(); ++i)
      if (std::count(entry.begin(), entry.end(), Doc->Log()[i].Op)) ops.push_back(Doc->Log()[i].Op);
    EXPECT_EQ(ops, c.Ops) << n;
    const std::vector<txhost::Object*> entries = Of(txhost::spec::Entry);
    ASSERT_EQ(int(entries.size()), c.Entries) << n;
    if (c.Entries > 0) {
      EXPECT_EQ(entries[0]->Prop("section"), 20);
    }
    MA.drEndGetPart(false);
  }
  // Nothing current: nothing to close.
  MA.R().IDoc.reset();
  MA.R().IDoc3D.reset();
  MA.drClose3D(true, tDetail);
  MA.R2D().DI.Note = "";
}

} // namespace
