// Roughness signs, form tolerances, datum signs and view arrows on the stand-in host, and every host
// call of the dimensions and designations failing in turn.
#include <gtest/gtest.h>

#include "Drawing2DSupport.h"
#include "FaultSweep.h"
#include "txhost/lib/DimensionFacets.h"
#include "txhost/lib/SvgWriter.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using namespace adaptertest;
using txhost::Value;
namespace m2 = txhost::model2d;

const TString NoText;

class Signs : public ::testing::Test, public Drawing2D
{
public:
  // The texts of the members of the kind, in order.
  static std::string Texts(const txhost::Object& o, std::string_view kind)
  {
    std::string s;
    for (txhost::Object* m : txhost::model::LiveMembers(o, kind))
      s += (s.empty() ? "" : "|") + U8(m2::TextOf(*m));
    return s;
  }
  std::string Cells(const txhost::Object& frame) const
  {
    const auto tables = txhost::model::LiveMembers(frame, m2::Table);
    if (tables.size() != 1) return "no table";
    std::string s;
    for (txhost::Object* c : txhost::model::LiveMembers(*tables[0], m2::TableCell))
      s += (s.empty() ? "" : " | ") + Texts(*c, m2::TextLine);
    return s;
  }
};

TEST_F(Signs, RoughnessSignsAndTheCornerSign)
{
  MA.drRough(3, 4, 30, txapi::txDeleteMaterial, "0,8", NoText, NoText);
  auto roughs = Of(m2::Rough);
  ASSERT_EQ(roughs.size(), 1u);
  const txhost::Object& r = *roughs[0];
  EXPECT_EQ(Obj(MA.R2D().CurDrawingObject), &r);
  EXPECT_EQ(r.UpdateCount(), 2);
  for (const auto& [k, v] : std::initializer_list<std::pair<const char*, Value>>{
           {"x", 3.0}, {"y", 4.0}, {"sign-type", 1}, {"switch-a", 1}, {"switch-b", 1}, {"length", 20.0}, {"angle", 30.0}})
    EXPECT_EQ(r.Prop(k), v) << k;
  EXPECT_EQ(Texts(r, m2::SymbolText), "0,8||");
  // Without its settings the sign is applied once, with its point.
  H.GetFaults().RefuseInterface(txhost::Target::OfKind(std::string(m2::Rough)), txapi::IRoughParams::IID);
  MA.drRough(5, 6, 0, txapi::txNoProcessingType, "1,6", NoText, NoText);
  roughs = Of(m2::Rough);
  ASSERT_EQ(roughs.size(), 2u);
  EXPECT_EQ(roughs[1]->UpdateCount(), 1);
  EXPECT_EQ(roughs[1]->Prop("x"), 5.0);

  MA.drSRough(7, true, NoText);
  EXPECT_TRUE(Of(m2::SpecRough).empty());
  MA.drSRough(7, false, "Ra 3,2");
  const auto corner = Of(m2::SpecRough);
  ASSERT_EQ(corner.size(), 1u);
  EXPECT_EQ(corner[0]->Prop("code"), 0);
  EXPECT_EQ(corner[0]->Prop("text"), "Ra 3,2");
  EXPECT_EQ(corner[0]->Prop("switch1"), true);
  EXPECT_EQ(corner[0]->Prop("switch2"), false);
  EXPECT_EQ(corner[0]->UpdateCount(), 1);
  H.GetFaults().RefuseInterface(txhost::Target::OfKind("drawing"), txapi::IDrawingDocument::IID);
  MA.drSRough(0, true, "Ra 6,3");
  EXPECT_EQ(corner[0]->UpdateCount(), 1);
}

TEST_F(Signs, FormToleranceIsPendingUntilItsEnd)
{
  MA.drForm(10, 20, 99, 5, "0,01", "A");
  ASSERT_EQ(MA.R2D().APrevCommand.Count, 1);
  EXPECT_EQ(MA.R2D().APrevCommand.Last(), cmForm);
  MA.drSupportForm(30, 40, 0, 0);
  MA.drSupportForm(50, 60, 0, 0);
  const auto frames = Of(m2::Tolerance);
  ASSERT_EQ(frames.size(), 1u);
  const txhost::Object& t = *frames[0];
  EXPECT_EQ(Cells(t), "5 | 0,01 | A");
  EXPECT_EQ(t.Prop("x"), 10.0);
  EXPECT_EQ(t.Prop("y"), 20.0);
  EXPECT_EQ(t.Prop("layout"), 8);
  EXPECT_EQ(t.Prop("p"), Value::array({2, 2}));
  EXPECT_EQ(t.Prop("q"), Value::array({8, 2}));
  EXPECT_EQ(t.Prop("branches"), Value::array({Value::array({30.0, 40.0}), Value::array({50.0, 60.0})}));
  EXPECT_EQ(t.UpdateCount(), 1);
  EXPECT_EQ(MA.R2D().CurDrawingObject, nullptr);
  MA.drEndObj();
  EXPECT_EQ(t.UpdateCount(), 2);
  EXPECT_EQ(Obj(MA.R().Entity2D), &t);
  EXPECT_FALSE(MA.R().Tolerance);
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  MA.drSupportForm(1, 1, 0, 0);
  EXPECT_EQ(t.Prop("branches").size(), 2u);

  MA.drForm(0, 0, 0, -3, NoText, NoText);
  EXPECT_EQ(Cells(*Of(m2::Tolerance).back()), "-3 |  | ");
  MA.drEndObj();
  {
    Collecting c;
    MA.drForm(0, 0, 0, 1, NoText, NoText);
  }
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  EXPECT_EQ(Of(m2::Tolerance).size(), 2u);
}

// A frame the host does not make still takes its own pending entry, so that its drEndObj does not
// complete the enclosing hatch.
TEST_F(Signs, AFailedFrameLeavesTheEnclosingObjectPending)
{
  MA.drHatch(0, 45, 2);
  ASSERT_EQ(MA.R2D().APrevCommand.Last(), cmHatch);
  H.GetFaults().RefuseHandOut("ITolerances");
  MA.drForm(10, 20, 0, 5, "0,01", "A");
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 2);
  MA.drEndObj();
  ASSERT_EQ(MA.R2D().APrevCommand.Count, 1);
  EXPECT_EQ(MA.R2D().APrevCommand.Last(), cmHatch);
  ASSERT_EQ(Of(m2::Hatch).size(), 1u);
  EXPECT_EQ(Of(m2::Hatch)[0]->UpdateCount(), 0);
  EXPECT_TRUE(Of(m2::Tolerance).empty());
  MA.drEndObj();
  EXPECT_EQ(Of(m2::Hatch)[0]->UpdateCount(), 1);
}

TEST_F(Signs, DatumSignsAndViewArrows)
{
  MA.drBase(0, 0, 0, -10, "A");
  const auto bases = Of(m2::Base);
  ASSERT_EQ(bases.size(), 1u);
  EXPECT_EQ(Obj(MA.R2D().CurDrawingObject), bases[0]);
  for (const auto& [k, v] : std::initializer_list<std::pair<const char*, Value>>{
           {"x1", 0.0}, {"y1", 0.0}, {"x2", 0.0}, {"y2", -10.0}, {"style", 1}})
    EXPECT_EQ(bases[0]->Prop(k), v) << k;
  EXPECT_EQ(U8(m2::TextOf(*bases[0])), "A");

  MA.drWPointer(1, 2, 3, 4, 5, 6, 7, 8, 9, "Б");
  const auto arrows = Of(m2::ViewPointer);
  ASSERT_EQ(arrows.size(), 1u);
  EXPECT_EQ(Obj(MA.R2D().CurDrawingObject), arrows[0]);
  EXPECT_EQ(arrows[0]->Prop("x2"), 3.0);
  EXPECT_EQ(arrows[0]->Prop("text-y"), 6.0);
  EXPECT_EQ(U8(m2::TextOf(*arrows[0])), "Б");
  const auto items = txhost::model::LiveMembers(*txhost::model::LiveMembers(*arrows[0], m2::TextLine)[0]);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->Prop("height"), 7.0);
}

// A part's drawing with every kind of dimension and designation: its picture shows their values and
// texts, and the drawing's file keeps them.
TEST_F(Signs, EveryKindIsPicturedAndKeptInTheFile)
{
  MA.drRectAngle(0, 0, 60, 30, 1);
  MA.drCircle(90, 15, 12, 1);
  MA.drArc(130, 15, 10, 140, 15, 120, 15, 1, 1);
  // Offset up, it measures along x; offset right, along y.
  MA.drDimL(0, NoText, 0, 10, 0, 0, 0, 0, 0, 30, 2, 1, 60, 30, 2, 1, NoText, NoText, NoText);
  MA.drDimL(0, NoText, 10, 0, 0, 0, 0, 0, 60, 0, 2, 1, 60, 30, 2, 1, NoText, "h6", NoText);
  MA.drDimL7(0, NoText, 0, -10, 0, 0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 0, NoText, NoText, NoText);
  MA.drDimD(24, NoText, 0, 0, 0, 90, 15, 0, NoText, "H7", NoText);
  MA.drDimR(10, NoText, 0, 0, 0, 0, 130, 15, 0, 0, NoText, NoText, NoText);
  MA.drDimA(30, 1, 0, 0, 0, 0, 0, 0, 170, 0, 1, 1, 170, 10, 1, 1, NoText, 150, 0);
  MA.drRough(30, 30, 0, txapi::txDeleteMaterial, "1,6", NoText, NoText);
  MA.drSRough(0, true, "Ra 6,3");
  MA.drForm(20, -25, 0, 5, "0,01", "A");
  MA.drSupportForm(20, 0, 0, 0);
  MA.drEndObj();
  MA.drBase(40, 0, 0, -12, "A");
  MA.drWPointer(100, 50, 100, 38, 104, 46, 5, 1, 0, "Б");
  auto picture = [](const txhost::Object& doc) {
    std::ostringstream svg;
    txhost::WriteSvg(doc, svg);
    return svg.str();
  };
  const std::string svg = picture(*Doc);
  for (const char* shown : {">60<", ">30h6<", "\u2300" "24H7<", ">R10<", ">30\u00b0<", ">1,6<", ">Ra 6,3<", ">0,01<", ">Б<"})
    EXPECT_NE(svg.find(shown), std::string::npos) << shown;
  ASSERT_TRUE(H.SaveDocumentAs(*Doc, Dir / "signs.tdr"));
  if (const char* out = std::getenv("HXCAD_SVG_OUT")) {
    std::ofstream(out) << svg;
    std::filesystem::copy_file(Dir / "signs.tdr", std::string(out) + ".tdr",
                               std::filesystem::copy_options::overwrite_existing);
  }
  const txhost::Object* back = H.OpenDocument(Dir / "signs.tdr", true);
  ASSERT_TRUE(back);
  EXPECT_EQ(picture(*back), svg);
}

// Every host call of the dimensions and designations fails in turn: nothing crashes, nothing is held,
// every thrown host error reaches the caller.
TEST(SignsFaults, EveryHostCallMayFail)
{
  SweepEveryHostCall(
      [](HostedModeller& m) {
        struct Reset
        {
          ~Reset() { Reset2D(); }
        } reset;
        txhost::Object* doc = m.H.NewDocument(txapi::txDocumentDrawing, true);
        drApi::MA.R().IDoc2D = SmartPtr<txapi::ITavrixDocument2D>::Attach(
            static_cast<txapi::ITavrixDocument2D*>(doc->QueryInterface(txapi::ITavrixDocument2D::IID)));
        drApi::MA.drOpenView(0);
        drApi::MA.drDimL(1, NoText, 1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 5, 0, 1, 1, "a", "b", NoText);
        drApi::MA.drDimL7(1, NoText, 0, 5, 1, 1, 90, 3, 0, 0, 1, 1, 5, 0, 1, 1, NoText, NoText, NoText);
        drApi::MA.drDimD(10, NoText, 0, 1, 1, 0, 0, 0, "a", "b", NoText);
        drApi::MA.drDimR(10, NoText, 0, 1, 1, 1, 0, 0, 0, 0, "a", "b", NoText);
        drApi::MA.drDimA(30, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, "a", 0, 0);
        drApi::MA.drRough(0, 0, 0, txapi::txNoProcessingType, "1", "2", "3");
        drApi::MA.drSRough(0, true, "Ra");
        drApi::MA.drForm(0, 0, 0, 1, "a", "b");
        drApi::MA.drSupportForm(1, 1, 0, 0);
        drApi::MA.drEndObj();
        drApi::MA.drBase(0, 0, 1, 1, "A");
        drApi::MA.drWPointer(0, 0, 1, 1, 2, 2, 3, 0, 0, "Б");
      },
      20);
}

} // namespace
