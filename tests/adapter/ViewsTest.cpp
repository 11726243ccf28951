#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>

#include "Adapter3DSupport.h"
#include "hxcadkit/geometry/Contour.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/SvgWriter.h"
#include "txhost/lib/SymbolFacets.h"
#include "txhost/lib/ViewFacets.h"

namespace {

using namespace adaptertest;
using drApi::MA;

class ViewsTest : public ::testing::Test, public PartModeller
{
protected:
  void Sheet()
  {
    TString n = T(Dir / "d"), c("");
    MA.drCreateLeaf(n, txapi::DocumentTypeEnum(1), 3, 1, 0, 0, c, true);
  }
  std::vector<txhost::Object*> Views(std::string_view kind = txhost::model::View) const
  {
    return H.ObjectsOfKind(kind);
  }
  // A saved part: a 20 x 10 rectangle on the x axis turned a full turn, a cylinder of radius 10.
  std::filesystem::path Cylinder()
  {
    NewPartWithSketch("c.tpt");
    MA.drRotate(0, 360, true, txapi::txOperationUnion);
    MA.drSave3D(true, false);
    return Dir / "c.tpt";
  }
  // The box of what a view shows, in its own coordinates: x1, y1, x2, y2.
  static std::array<double, 4> Box(const txhost::Object& view)
  {
    std::array<double, 4> b{1e300, 1e300, -1e300, -1e300};
    for (txhost::Object* e : txhost::model::LiveMembers(view, txhost::model::LineSegment))
      for (auto [x, y] : {std::pair{"x1", "y1"}, {"x2", "y2"}}) {
        const double X = e->Prop(x).get<double>(), Y = e->Prop(y).get<double>();
        b = {std::min(b[0], X), std::min(b[1], Y), std::max(b[2], X), std::max(b[3], Y)};
      }
    return b;
  }
};

// The numbered view opens at the running position, named after its number, and takes the drawing that
// follows; the next one moves on from there and the first stays in the document.
TEST_F(ViewsTest, NumberedViewsRunOnAndTakeTheDrawing)
{
  Sheet();
  TRegistryModeler2D& r2 = MA.R2D();
  r2.DI.Left = 5, r2.DI.Top = 0, r2.DI.Scale = 0.5, r2.DI.comment = TString("");
  r2.Constraint2D.Count = 3;
  ASSERT_TRUE(MA.drView(2, 10, 20));
  ASSERT_EQ(Views().size(), 1u);
  txhost::Object& v = *Views()[0];
  std::string ops;
  for (const txhost::Call& c : v.Log())
    ops += c.Op + c.Arguments.dump() + " ";
  MA.drLine(0, 0, 10, 0, 1);
  EXPECT_EQ(ops, "SetX[15.0] SetY[20.0] SetScale[0.5] SetAngle[0.0] SetColor[660490] SetName[\"Вид 2 \"] "
                 "SetNumber[2] ");
  EXPECT_EQ(txhost::model::LiveMembers(v, txhost::model::LineSegment).size(), 1u);
  EXPECT_EQ(r2.Constraint2D.Count, 0);
  EXPECT_EQ(ADimension3D.ASizePoint.Count, 1);
  MA.drView(3, 10, 20);
  ASSERT_EQ(Views().size(), 2u);
  EXPECT_EQ(Views()[1]->Prop("x"), 25.0);
  EXPECT_EQ(Views()[1]->Prop("y"), 40.0);
  EXPECT_EQ(Find(MA.R().View.get()), Views()[1]);
  EXPECT_EQ(Find(r2.CurDrawingObject.get()), Views()[1]);
  MA.drCloseView();
  EXPECT_FALSE(MA.R().View || MA.R().DrawingContainer || MA.R().Symbols2DContainer);
}

// Inside a collector a view is one placement, popped again when it closes; a refused view leaves no
// container of the earlier view behind, so nothing lands there.
TEST_F(ViewsTest, CollectorPlacementAndRefusedView)
{
  Sheet();
  TContour c;
  MA.R2D().AContour.Push(&c);
  MA.drView(1, 3, 4, 30, 2, "a");
  EXPECT_EQ(MA.R2D().Transf2D.AMtr.Count, 1);
  EXPECT_TRUE(Views().empty());
  MA.drCloseView();
  EXPECT_EQ(MA.R2D().Transf2D.AMtr.Count, 0);
  MA.R2D().AContour.Count = 0;

  MA.drView(1, 0, 0, 0, 1, "a");
  H.GetFaults().RefuseHandOut("IViews.Add");
  MA.drView(2, 0, 0, 0, 1, "b");
  EXPECT_FALSE(MA.R().View || MA.R().DrawingContainer || MA.R().Symbols2DContainer);
  MA.drLine(0, 0, 10, 0, 1);
  EXPECT_TRUE(txhost::model::LiveMembers(*Views()[0], txhost::model::LineSegment).empty());
}

// Each form of the model views: its updates, its element switches, and the drawing target untouched.
TEST_F(ViewsTest, ModelViewFormsUpdateAndSwitchAsTheyShould)
{
  const TString part = T(Cylinder());
  Sheet();
  MA.drView(1, 0, 0, 0, 1, "target");
  txhost::Object* target = Find(MA.R().View.get());
  const TMtr3D M;
  MA.drAStView7(7, 1, 2, 0, 1, "a", part, "front");
  MA.drAStView7(1, 2, 0, 1, "b", part, "front");
  MA.drAStView7(1, 2, 0, 1, "c", part, M);
  MA.drACutView7(1, 2, 0, 1, "d", {});
  const auto views = Views(txhost::model::AssociationView);
  ASSERT_EQ(views.size(), 4u);
  const int updates[] = {2, 0, 0, 1}, visible[] = {2, 1, 1, 1};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(views[i]->UpdateCount(), updates[i]) << i;
    EXPECT_EQ(views[i]->CallCount("SetVisibleLines"), std::size_t(visible[i])) << i;
    EXPECT_EQ(views[i]->CallCount("SetDesignations"), i == 0 ? 0u : 1u) << i;
  }
  EXPECT_EQ(views[3]->CallCount("SetCutLine"), 0u);
  EXPECT_EQ(Find(MA.R2D().CurDrawingObject.get()), views[3]);
  EXPECT_EQ(Find(MA.R().View.get()), target);
  EXPECT_EQ(Find(MA.R().DrawingContainer.get()), target);

  // A missing file (numbered form only) and an active document that is no drawing add nothing.
  MA.drAStView7(1, 0, 0, 0, 1, "e", T(Dir / "none.tpt"), "front");
  EXPECT_FALSE(MA.R2D().CurDrawingObject);
  H.NewDocument(txapi::txDocumentPart, false);
  MA.drAStView7(0, 0, 0, 1, "f", part, "front");
  EXPECT_EQ(Views(txhost::model::AssociationView).size(), 4u);
  EXPECT_EQ(ADimension3D.ASizePoint.Count, 1);
  SmartPtr<txapi::IAssociationView> none;
  MA.SetProjectionParam(none);
}

// What a model view shows is the model seen from its side: the box of a cylinder's wireframe in any
// orientation is the cylinder's own extent along the view's axes (within the wireframe's 10 degree
// steps), and a named side shows it square on.
TEST_F(ViewsTest, ModelViewsShowTheModelFromTheirSide)
{
  const TString part = T(Cylinder());
  Sheet();
  // The cylinder's extent along u: its end circles (x 0 and 20, radius 10) reach furthest.
  auto reach = [](double ux, double uy, double uz) {
    return std::max(0.0, 20 * ux) + 10 * std::hypot(uy, uz);
  };
  std::mt19937 rng(7);
  std::normal_distribution<double> g;
  for (int i = 0; i < 25; ++i) {
    TVector3D a(g(rng), g(rng), g(rng)), b(g(rng), g(rng), g(rng));
    a.Normalize();
    b = b - a * (a * b);
    b.Normalize();
    TMtr3D M;
    M.Set(TPoint3D(0, 0, 0), a, b);
    MA.drAStView7(0, 0, 0, 1, "m", part, M);
    const auto box = Box(*Find(MA.R2D().CurDrawingObject.get()));
    const double expected[] = {-reach(-a.x, -a.y, -a.z), -reach(-b.x, -b.y, -b.z), reach(a.x, a.y, a.z),
                               reach(b.x, b.y, b.z)};
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(box[k], expected[k], 0.16) << i << " " << k;
  }
  const std::pair<const char*, std::array<double, 4>> sides[] = {
      {"Справа", {-10, -10, 10, 10}}, {"top", {0, -10, 20, 10}}, {"front", {0, -10, 20, 10}}};
  for (const auto& [side, expected] : sides) {
    MA.drAStView7(1, 0, 0, 0, 1, "s", part, side);
    const auto box = Box(*Find(MA.R2D().CurDrawingObject.get()));
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(box[k], expected[k], 1e-9) << side << " " << k;
  }
  // A section across the front view keeps what lies behind its cut: the whole end circle from a cut
  // through the middle, nothing from a cut in front of the cylinder.
  txhost::Object& front = *Find(MA.R2D().CurDrawingObject.get());
  for (double at : {10.0, -5.0}) {
    txhost::Object& line = H.Create(txhost::model2d::CutLine, front.Document(), &front);
    line.Set("points", txhost::Value::array({at, -15.0, at, 15.0}));
    MA.drACutView7(0, 0, 0, 1, "А-А",
                   SmartPtr<txapi::IDrawingObject>::Attach(
                       static_cast<txapi::IDrawingObject*>(line.QueryInterface(txapi::IDrawingObject::IID))));
    txhost::Object& cut = *Find(MA.R2D().CurDrawingObject.get());
    if (at < 0) {
      EXPECT_TRUE(txhost::model::LiveMembers(cut, txhost::model::LineSegment).empty());
      continue;
    }
    const auto box = Box(cut);
    for (int k = 0; k < 4; ++k)
      EXPECT_NEAR(std::abs(box[k]), 10, 1e-9) << k;
  }
}

// The title block from the drawing state: the scale and mass texts, the cells written only when their
// field says so, the control model's cells, and nothing inside a collector.
TEST_F(ViewsTest, TitleBlockFromTheDrawingState)
{
  Sheet();
  auto cells = [&] {
    std::map<int, std::string> out;
    for (txhost::Object* c : H.ObjectsOfKind("StampCell"))
      if (c->Prop("string").is_string())
        out[c->Prop("cell").get<int>()] = c->Prop("string").get<std::string>();
    return out;
  };
  TDetailInfo& di = MA.R2D().DI;
  const std::pair<double, const char*> scales[] = {
      {2.0, "2:1"},         {1.0, "1:1"}, {0.5, "1:2"}, {0.4, "1:2,5"}, {2.5, "2,5:1"}, {0.2, "1:5"},
      {1e-300, "1:2147483647"}, {std::nan(""), "1:0"}};
  for (auto [scale, text] : scales) {
    di.Scale = scale;
    MA.drShtamp();
    EXPECT_EQ(cells()[6], text) << scale;
  }
  di = TDetailInfo();
  Control.SP.sDesign = TString("Иванов");
  di.designation = TString("АБВ.01");
  di.Weight = 0.125;
  for (txhost::Object* c : H.ObjectsOfKind("StampCell"))
    c->Set("string", nullptr);
  MA.drShtamp();
  const std::map<int, std::string> expected{{5, "  0.125"}, {8, "1"}, {110, "Иванов"}};
  EXPECT_EQ(cells(), expected);
  di.fileName = TString("f");
  di.designation = TString("");
  MA.drShtamp();
  EXPECT_EQ(cells()[2], "");
  EXPECT_EQ(MA.R2D().APrevCommand.Count, 0);
  TContour c;
  MA.R2D().AContour.Push(&c);
  const std::size_t calls = H.ObjectsOfKind("Stamp")[0]->Log().size();
  MA.drShtamp();
  EXPECT_EQ(H.ObjectsOfKind("Stamp")[0]->Log().size(), calls);
  MA.R2D().AContour.Count = 0;
  // The sheet operations of this host make no sheet, so no view either.
  EXPECT_FALSE(MA.drLeafStampView1(7, 0, 10, 20, true));
  EXPECT_EQ(Views().size(), 0u);
}

// A specification document carries its style once, replaces one open under its name, and once closed
// is no current document any more.
TEST_F(ViewsTest, SpecificationDocuments)
{
  TString name = T(Dir / "s"), comment("Спецификация");
  for (int i = 0; i < 2; ++i)
    MA.drCreateLeafSpw(name, comment);
  ASSERT_EQ(H.Documents().size(), 1u);
  txhost::Object& doc = *H.Documents()[0];
  EXPECT_EQ(txhost::Host::DocumentPath(doc), Dir / "s.tsp");
  EXPECT_EQ(doc.Prop("comment"), "Спецификация");
  const auto styles = txhost::model::LiveMembers(doc, txhost::spec::Description);
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(styles[0]->Prop("library"), "graphic.tsl");
  EXPECT_EQ(styles[0]->Prop("number"), 1);
  MA.drCloseLeafSpw(false);
  EXPECT_TRUE(H.IsOpen(doc) && MA.R().IDoc);
  MA.drCloseLeafSpw(true);
  EXPECT_FALSE(H.IsOpen(doc));
  EXPECT_FALSE(MA.R().IDoc);
  EXPECT_TRUE(std::filesystem::exists(Dir / "s.tsp"));
}

// A whole sheet as a person sees it: frame, title block, requirements, an ordinary view and two model
// views; the picture is left beside the test for looking at.
TEST_F(ViewsTest, ASheetPicture)
{
  const TString part = T(Cylinder());
  Sheet();
  TDetailInfo& di = MA.R2D().DI;
  di.comment = TString("Втулка"), di.fileName = TString("f"), di.designation = TString("АБВ.01");
  di.Scale = 2, di.Weight = 0.125, di.Left = 40, di.Top = 200;
  ASSERT_TRUE(MA.drView(1, 0, 0));
  MA.drLine(0, 0, 30, 0, 1);
  MA.drLine(30, 0, 30, 15, 1);
  MA.drAStView7(1, 150, 200, 0, 2, "Вид спереди", part, "front");
  MA.drAStView7(1, 250, 200, 0, 2, "Вид справа", part, "right");
  MA.drShtamp();
  txhost::Object& doc = *Find(MA.R().IDoc.get());
  MA.drCloseViewTDemCloseLeaf("Требование первое", "Требование второе", "", "");
  std::ostringstream svg;
  txhost::WriteSvg(doc, svg);
  for (const char* text :
       {"Вид 1 Втулка", "АБВ.01", "2:1", "1.Требование первое", "Вид справа", "class=\"sheet\""})
    EXPECT_NE(svg.str().find(text), std::string::npos) << text;
  // To look at the sheet: HXCAD_SHEET_SVG=folder.
  if (const char* keep = std::getenv("HXCAD_SHEET_SVG"))
    txhost::SaveSvg(doc, std::filesystem::path(keep) / "views-sheet.svg");
}

} // namespace
