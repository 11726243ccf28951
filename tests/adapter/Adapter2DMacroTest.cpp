// Macro objects, drawing groups and the objects pending until drEndObj, on the stand-in host.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Drawing2DSupport.h"
#include "txapi/IUserParameters.h"
#include "txhost/lib/SvgWriter.h"

namespace {

using namespace adaptertest;
using txhost::ObjectId;
using txhost::Value;
namespace m2 = txhost::model2d;

class Macros : public ::testing::Test, public Drawing2D
{
public:
  std::vector<ObjectId> Refs(const txhost::Object& o, const char* key) const
  {
    std::vector<ObjectId> out;
    for (const Value& v : o.Prop(key))
      out.push_back(txhost::RefId(v));
    return out;
  }
  std::vector<ObjectId> Ids(const std::vector<txhost::Object*>& objects) const
  {
    std::vector<ObjectId> out;
    for (const txhost::Object* o : objects)
      out.push_back(o->Id());
    return out;
  }
};

// The road of a 2D coupling: a group around a macro that keeps the command's block, a piece drawn in
// an inner macro with its section hatched; then the picture of the drawing.
TEST_F(Macros, ACouplingBlockLeavesOneGroupHoldingOneMacroWithItsBlock)
{
  std::vector<std::uint8_t> block(300);
  for (std::size_t i = 0; i < block.size(); ++i)
    block[i] = std::uint8_t(i * 37 % 256); // zeros and high bytes included
  MA.drGroup(true);
  MA.drMacro2D(true);
  MA.drSetMacro2DParam(block, "libVUVudirido", "VUVudirido", 200, true, TMt{40, 30, 15, 2});
  MA.drMacro2D(true);
  // A hub section: a stepped profile with a rounded corner, and its bore.
  MA.drLine(0, 0, 60, 0, 1);
  MA.drLine(60, 0, 60, 20, 1);
  MA.drArc(50, 20, 10, 60, 20, 50, 30, 1, 1);
  MA.drLine(50, 30, 20, 30, 1);
  MA.drLine(20, 30, 20, 40, 1);
  MA.drLine(20, 40, 0, 40, 1);
  MA.drLine(0, 40, 0, 0, 1);
  MA.drHatch(txapi::txHatchMetal, 45, 2);
  MA.drLine(10, 5, 50, 5, 1);
  MA.drLine(50, 5, 50, 15, 1);
  MA.drArc(45, 15, 5, 50, 15, 45, 20, 1, 1);
  MA.drLine(45, 20, 10, 20, 1);
  MA.drLine(10, 20, 10, 5, 1);
  MA.drEndObj();
  MA.drLine(-5, 10, 65, 10, 3);
  MA.drText(0, 45, 0, 5, 1, 0, TString(u8"Полумуфта"));
  MA.drEndMacro();
  EXPECT_TRUE(Obj(MA.R().DrawingContainer) && Obj(MA.R().DrawingContainer)->Kind() == m2::Macro);
  MA.drEndMacro();
  const SmartPtr<txapi::IDrawingObject> outerRef = MA.LastObjRef();
  MA.drEndGroup();

  const auto groups = H.ObjectsOfKind(m2::Group), macros = Of(m2::Macro), hatches = Of(m2::Hatch);
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(macros.size(), 2u);
  ASSERT_EQ(hatches.size(), 1u);
  txhost::Object &outer = *macros[0], &inner = *macros[1], &hatch = *hatches[0];
  EXPECT_EQ(Obj(outerRef), &outer);
  EXPECT_EQ(Find(MA.R().Entity2D.get()), groups[0]);
  EXPECT_EQ(groups[0]->Prop("finished"), true);
  EXPECT_EQ(txhost::model2d::OpenGroup(*Doc), nullptr);
  // The group holds the outer macro only; the macro holds the piece's macro.
  std::vector<txhost::Object*> inGroup;
  for (txhost::Object* o : H.ObjectsOf(*Doc))
    if (txhost::RefId(o->Prop("group")) == groups[0]->Id()) inGroup.push_back(o);
  EXPECT_EQ(inGroup, std::vector<txhost::Object*>{&outer});
  EXPECT_EQ(outer.Parent(), View);
  EXPECT_EQ(inner.Parent(), &outer);
  EXPECT_EQ(hatch.Parent(), &inner);
  // What the command finds again: the block byte for byte, the file, the command and the placement.
  SmartPtr<txapi::IUserParameters> p = SmartPtr<txapi::IUserParameters>::Attach(
      static_cast<txapi::IUserParameters*>(outer.QueryInterface(txapi::IUserParameters::IID)));
  EXPECT_EQ(p->GetUserData(), block);
  EXPECT_EQ(U8(p->GetLibraryFileName()), "libVUVudirido");
  EXPECT_EQ(p->GetCommand(), 200);
  EXPECT_EQ(outer.Prop("second-text"), "");
  EXPECT_EQ(outer.CallsOf("SetPlacement")[0]->Arguments, Value::array({40.0, 30.0, 15.0, 0, 1}));
  EXPECT_EQ(outer.Prop("switch1"), true);
  EXPECT_EQ(outer.Prop("switch2"), true);
  EXPECT_TRUE(outer.Applied() && inner.Applied() && hatch.Applied());
  // The hatch is bounded by exactly the curves drawn while it was pending.
  std::vector<txhost::Object*> curves = txhost::model::LiveMembers(inner);
  std::vector<txhost::Object*> section(curves.begin() + 8, curves.begin() + 13);
  EXPECT_EQ(Refs(hatch, "boundaries"), Ids(section));
  EXPECT_EQ(hatch.Prop("angle"), 45.0);
  EXPECT_EQ(hatch.Prop("step"), 2.0);
  EXPECT_FALSE(MA.R().BoundariesObject || MA.R().Hatch);
  EXPECT_EQ(Obj(MA.R().DrawingContainer), View);
  EXPECT_EQ(Obj(MA.R().Symbols2DContainer), View);

  std::ostringstream svg;
  txhost::WriteSvg(*Doc, svg);
  EXPECT_NE(svg.str().find("<pattern id=\"hatch-1\""), std::string::npos);
  EXPECT_NE(svg.str().find("Полумуфта"), std::string::npos);
  if (const char* out = std::getenv("HXCAD_SVG_OUT")) std::ofstream(out) << svg.str();

  // The block survives the drawing's file.
  ASSERT_TRUE(H.SaveDocumentAs(*Doc, Dir / "coupling.tdr"));
  txhost::Object* back = H.OpenDocument(Dir / "coupling.tdr", true);
  ASSERT_TRUE(back);
  std::vector<std::vector<std::uint8_t>> blocks;
  for (txhost::Object* o : H.ObjectsOf(*back))
    if (o->Kind() == m2::Macro && o->Prop("command") == 200)
      blocks.push_back(SmartPtr<txapi::IUserParameters>::Attach(static_cast<txapi::IUserParameters*>(
                           o->QueryInterface(txapi::IUserParameters::IID)))
                           ->GetUserData());
  EXPECT_EQ(blocks, std::vector<std::vector<std::uint8_t>>{block});
}

TEST_F(Macros, MacrosNestAndRefuseCollectorsAndSketches)
{
  MA.drMacro2D(true);
  txhost::Object* outer = Obj(MA.R().MacroObj);
  MA.drMacro2D(true);
  MA.drEndMacro();
  EXPECT_EQ(Obj(MA.R().DrawingContainer), outer);
  EXPECT_EQ(Obj(MA.R().MacroObj), outer);
  MA.drEndMacro();
  EXPECT_EQ(Obj(MA.R().DrawingContainer), View);
  // An unmatched end changes no container and forgets the last object.
  MA.drLine(0, 0, 1, 0, 1);
  MA.drEndMacro();
  EXPECT_FALSE(MA.LastObjRef());
  EXPECT_EQ(Obj(MA.R().DrawingContainer), View);
  MA.drSetMacro2DParam({1, 2}, "f", "m", 200, false, TMt{}); // no open macro: nothing
  EXPECT_TRUE(Of(m2::Macro)[0]->CallsOf("SetCommand").empty());

  // A macro refused inside a collector, while a sketch is edited or by the host is closed by its own
  // end: the enclosing macro stays the container.
  MA.drMacro2D(true);
  outer = Obj(MA.R().MacroObj);
  {
    Collecting col;
    MA.drMacro2D(true);
    EXPECT_FALSE(MA.R().MacroObj || MA.R().Entity2D);
    MA.drEndMacro();
  }
  H.GetFaults().RefuseHandOut("IMacroObjects");
  MA.drMacro2D(true);
  MA.drEndMacro();
  EXPECT_EQ(Obj(MA.R().DrawingContainer), outer);
  // The enclosing macro is current again: its parameters reach it.
  EXPECT_EQ(Obj(MA.R().MacroObj), outer);
  MA.drSetMacro2DParam({1, 2}, "f", "m", 200, false, TMt{});
  EXPECT_EQ(outer->CallsOf("SetCommand").size(), 1u);
  MA.drEndMacro();
  EXPECT_EQ(Obj(MA.R().DrawingContainer), View);
  EXPECT_EQ(Of(m2::Macro).size(), 3u);
  EXPECT_EQ(MA.R().AMacroObj.Count, 0);

  // The same for groups the host refuses.
  MA.drGroup(true);
  txhost::Object* group = Find(MA.R().Obj.get());
  H.GetFaults().RefuseHandOut("IDrawingGroups.Add");
  MA.drGroup(false);
  EXPECT_FALSE(MA.R().Obj);
  MA.drEndGroup();
  EXPECT_EQ(txhost::model2d::OpenGroup(*Doc), group);
  MA.drEndGroup();
  EXPECT_EQ(Find(MA.R().Entity2D.get()), group);
  EXPECT_EQ(MA.R2D().AGroup.Count, 0);
}

// Unbalanced ends and openings the host refuses: the stacks never go below empty, and the end of a
// refused opening never completes the object pending around it.
TEST_F(Macros, UnbalancedEndsAndRefusedOpeningsKeepTheStacksInStep)
{
  MA.drEndObj();
  MA.drEndGroup();
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  EXPECT_EQ(MA.R2D().AGroup.Count, 0);
  EXPECT_FALSE(MA.R().Entity2D);

  H.GetFaults().RefuseHandOut("IHatches");
  MA.drCut(7, 1, 75, "А", 0, 0, -1, 30, 0, 1);
  MA.drHatch(0, 45, 2); // refused
  MA.drLine(0, 0, 10, 0, 1);
  MA.drEndObj(); // ends the refused hatch, not the cut line
  for (double x : {0.0, 15.0, 30.0})
    MA.drPoint(x, 0);
  ASSERT_EQ(Of(m2::CutLine).size(), 1u);
  txhost::Object& cut = *Of(m2::CutLine)[0];
  EXPECT_FALSE(cut.Applied());
  MA.drEndObj();
  EXPECT_TRUE(cut.Applied());
  EXPECT_EQ(cut.Prop("points"), Value::array({0.0, 0.0, 15.0, 0.0, 30.0, 0.0}));
  EXPECT_EQ(cut.Prop("left"), true);
  EXPECT_EQ(U8(m2::TextOf(cut)), "А");
  EXPECT_EQ(MA.R().APoints.Count, 0);

  // A refused cut line takes its points along and leaves no stray points behind.
  H.GetFaults().RefuseHandOut("ICutLines");
  MA.DrawCut("Б", 1);
  MA.drCut(7, 1, 75, "Б", 0, 0, 1, 9, 9, 1);
  MA.drPoint(1, 1);
  MA.drPoint(2, 2);
  MA.drEndObj();
  EXPECT_TRUE(Of(m2::Point).empty());
  EXPECT_EQ(MA.R().APoints.Count, 0);
  MA.drPoint(3, 3);
  EXPECT_EQ(Of(m2::Point).size(), 1u);
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);

  // A refused leader: its branch is no plain point either.
  H.GetFaults().RefuseHandOut("ILeaders");
  MA.drShelf(txapi::txLeaderSignEnum(0), 5, 5, txapi::txLSRight, txapi::txArrowEnum(0), 5, 1, 0, "1", 5, 1, 0,
             "");
  MA.drPoint(0, 0);
  MA.drEndObj();
  EXPECT_EQ(Of(m2::Point).size(), 1u);
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
}

TEST_F(Macros, ColouringsLeadersAndPointsComplete)
{
  MA.drColouring(std::int64_t(0x1122334400FF8000));
  MA.drCircle(0, 0, 10, 1);
  MA.drEndObj();
  MA.drCircle(0, 0, 20, 1);
  const auto colourings = Of(m2::Colouring), circles = Of(m2::Circle);
  ASSERT_EQ(colourings.size(), 1u);
  EXPECT_EQ(colourings[0]->Prop("color"), 0x00FF8000u);
  EXPECT_EQ(Refs(*colourings[0], "boundaries"), Ids({circles[0]}));
  EXPECT_TRUE(colourings[0]->Applied());
  EXPECT_FALSE(MA.R().BoundariesObject);

  MA.drShelf(txapi::txLeaderSignEnum(0), 5, 6, txapi::txLSLeft, txapi::txArrowEnum(0), 5, 1, 0,
             TString(u8"Поз. 1"), 5, 1, 0, "");
  MA.drPoint(10, 0);
  MA.drEndObj();
  MA.drPoint(1, 2);
  const auto leaders = Of(m2::Leader);
  ASSERT_EQ(leaders.size(), 1u);
  EXPECT_EQ(leaders[0]->Prop("branches"), Value::parse("[[10.0, 0.0]]"));
  EXPECT_EQ(leaders[0]->Prop("shelf-direction"), -1);
  EXPECT_EQ(U8(m2::TextOf(*leaders[0])), "Поз. 1");
  EXPECT_TRUE(leaders[0]->Applied());
  ASSERT_EQ(Of(m2::Point).size(), 1u);
  EXPECT_EQ(Of(m2::Point)[0]->Prop("style"), 1);

  // Without a container a colouring pushes an empty code, which its end takes away.
  MA.R().DrawingContainer.reset();
  MA.drColouring(1);
  EXPECT_EQ(MA.R2D().APrevCommand.Last(), cmNull);
  MA.drEndObj();
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  MA.drGroup(false);
  MA.R().IDoc2D.reset();
  MA.drGroup(false);
  EXPECT_FALSE(MA.R().Obj);
  MA.drEndGroup();
  MA.drEndGroup();
  EXPECT_EQ(MA.R2D().AGroup.Count, 0);
}

} // namespace
