// The 2D coupling command run through the library's callback in a drawing, the user's moves, panel
// changes and buttons played by the stand-in's event script.
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "Duvozadu/CplgShared.h"
#include "Duvozadu/pmCoupling2D.h"
#include "EditCheck.h"
#include "LibraryFixture.h"
#include "hxcadkit/core/TextBase.h"
#include "txapi/IUserParameters.h"
#include "txhost/lib/Drawing2D.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/SvgWriter.h"
#include "txhost/lib/Text.h"

namespace {

using txhost::Object;
using txhost::Value;
namespace model = txhost::model;

class Coupling2DTest : public LibraryTest
{
protected:
  void SetUp() override
  {
    LibraryTest::SetUp();
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
    ControlModel.M = 250, ControlModel.P1d = ControlModel.P2d = 35;
    ControlModel.T1 = ControlModel.T2 = ControlModel.TView = 0;
    ControlModel.NeedSpcObj = ControlModel.NeedPosLeader = true;
  }
  // Live objects of the kind straight in a view of the drawing.
  std::vector<Object*> Top(std::string_view kind) const
  {
    std::vector<Object*> out;
    for (Object* o : H.ObjectsOf(*Doc))
      if (o->Kind() == kind && !model::Deleted(*o) && o->Parent()->Kind() == "view") out.push_back(o);
    return out;
  }
  // How many live objects of each kind a container holds.
  static std::map<std::string, int> Content(const Object& c)
  {
    std::map<std::string, int> n;
    for (Object* o : model::LiveMembers(c))
      ++n[o->Kind()];
    return n;
  }
  static txapi::SmartPtr<txapi::IUserParameters> Params(Object& m)
  {
    return txapi::SmartPtr<txapi::IUserParameters>::Attach(
        static_cast<txapi::IUserParameters*>(m.QueryInterface(txapi::IUserParameters::IID)));
  }
  // Places one block at (100, 50, 30) and hands it back for editing.
  Object* PlacedForEdit()
  {
    Script().Place(100, 50, 30, false);
    Script().Button(txapi::pbEsc);
    Run(200);
    Object* m = Top(txhost::model2d::Macro).at(0);
    txhost::SetEditedPart(*Doc, m);
    return m;
  }

  Object* Doc = nullptr;
};

TEST_F(Coupling2DTest, PhantomFollowsAndEachClickLeavesAKeptBlockWithItsEntryAndLeader)
{
  std::size_t held[2] = {};
  for (int i = 0; i < 10; ++i) {
    Script().Place(10.0 * i, 5, 3.0 * i, true);
    if (i % 8 == 1) Script().Queue([&, i](Object&) { held[i / 8] = H.Objects().size(); });
  }
  Script().Place(100, 50, 30, false);
  Script().Button(txapi::pbEnter); // the next placement
  Script().Place(200, 80, 0, false);
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr);
  Object& phantom = *H.ObjectsOfKind("phantom-2d").at(0)->RefProp("group");
  EXPECT_EQ(phantom.CallCount("Reset"), 10u);
  EXPECT_EQ(held[1], held[0]) << "a move leaves nothing behind in the host";
  for (const Object* o : H.ObjectsOf(*Doc))
    EXPECT_TRUE(txhost::RefId(o->Prop("group")) != phantom.Id() || model::Deleted(*o)) << o->Kind();

  const auto blocks = Top(txhost::model2d::Macro);
  ASSERT_EQ(blocks.size(), 2u);
  const Value where[2] = {{100.0, 50.0, 30.0}, {200.0, 80.0, 0.0}};
  for (int i = 0; i < 2; ++i) {
    const Object& b = *blocks[i];
    EXPECT_EQ(Value({b.Prop("library-file"), b.Prop("second-text"), b.Prop("command")}),
              Value({"libVUVudirido", "", 200}));
    EXPECT_EQ(Value({b.Prop("x"), b.Prop("y"), b.Prop("angle")}), where[i]);
    EXPECT_EQ(H.Find(txhost::RefId(b.Prop("group")))->Prop("kept"), true);
  }
  std::vector<std::uint8_t> now;
  ControlModel.to(now);
  EXPECT_EQ(Params(*blocks[1])->GetUserData(), now);
  // Every block keeps its own entry, linking the block and the entry's leader.
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_EQ(entries.size(), 2u);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Object* e = entries[i];
    EXPECT_EQ(Value({e->Prop("section"), e->Prop("linked").size()}), Value({25, 2}));
    EXPECT_EQ(txhost::RefId(e->Prop("linked")[0]), blocks[i]->Id());
  }
  EXPECT_EQ(Top(txhost::model2d::Leader).size(), 2u);
}

// The command tells the application once that it goes, after its last placement run, with the flag false;
// a host that fails that call still sees the command end.
TEST_F(Coupling2DTest, TheCommandTellsTheApplicationOnceAsItGoes)
{
  Object& app = H.ApplicationObject();
  std::size_t before = 0;
  Script().Button(txapi::pbEnter); // the placement runs again
  Script().Queue([&](Object&) { before = app.CallCount("CommandClosing"); });
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(before, 0u);
  const auto calls = app.CallsOf("CommandClosing");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]->Arguments, Value::array({false}));

  H.GetFaults().ThrowOnCall(txhost::Target::Of(app), "CommandClosing");
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(app.CallCount("CommandClosing"), 2u);
  EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr);
  EXPECT_EQ(pmCouplingBlock2D, nullptr);
}

TEST_F(Coupling2DTest, OptionsAndDrawingKindDecideWhatAPlacementMakes)
{
  // Specification and leader options, drawing kind; entries and leaders made.
  const std::tuple<bool, bool, int, std::size_t, std::size_t> cases[] = {
      {false, true, 0, 0, 0}, {true, false, 1, 1, 0}, {true, true, 0, 1, 1}};
  for (const auto& [spc, leader, view, made, leaders] : cases) {
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    const std::size_t entries = H.ObjectsOfKind("spec-object").size();
    ControlModel.NeedSpcObj = spc, ControlModel.NeedPosLeader = leader, ControlModel.TView = view;
    Script().Place(0, 0, 0, false);
    Script().Button(txapi::pbEsc);
    Run(200);
    EXPECT_EQ(H.ObjectsOfKind("spec-object").size() - entries, made);
    EXPECT_EQ(Top(txhost::model2d::Leader).size(), leaders);
    // The block holds what the catalogue draws for the kind: the section ("Разрез ") or the view ("Вид ").
    Object* reference = H.NewDocument(txapi::txDocumentDrawing, true);
    drApi::MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(reference->QueryInterface(txapi::ITavrixDocument2D::IID)));
    drApi::MA.drOpenView(0);
    ASSERT_TRUE(Couplings.drCoupling(ControlModel.CouplingName, view + 1));
    EXPECT_EQ(Content(*Top(txhost::model2d::Macro).at(0)),
              Content(*model::LiveMembers(*reference, "view").at(0)));
    drApi::MA.drEndGetPart(false);
  }
}

// A panel change and a click straight after it, no move between: each click makes a block, drawn as chosen.
TEST_F(Coupling2DTest, AClickRightAfterAPanelChangeMakesABlockAsChosen)
{
  const std::pair<const char*, int> choices[] = {{"Вид ", 1}, {"Разрез ", 0}, {"Вид ", 1}};
  for (const auto& [drawing, view] : choices) {
    Script().ChangeControl(L"Отрисовка", drawing);
    Script().Place(100.0 * view, 50, 0, false);
  }
  Script().Button(txapi::pbEsc);
  Run(200);
  const auto blocks = Top(txhost::model2d::Macro);
  ASSERT_EQ(blocks.size(), std::size(choices));
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    ASSERT_TRUE(ControlModel.from(Params(*blocks[i])->GetUserData()));
    EXPECT_EQ(ControlModel.TView, choices[i].second) << i;
    EXPECT_FALSE(Content(*blocks[i]).empty()) << i;
  }
}

TEST_F(Coupling2DTest, AnEditedBlockIsRestoredByEscAndRebuiltInPlaceByEnter)
{
  Object* block = PlacedForEdit();
  const std::vector<std::uint8_t> stored = Params(*block)->GetUserData();
  const auto section = Content(*block);
  Script().ChangeControl(L"Отрисовка", "Вид ");
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(ControlModel.TView, 0);
  EXPECT_EQ(Content(*block), section);
  EXPECT_EQ(Params(*block)->GetUserData(), stored);

  const auto before = model::LiveMembers(*block);
  Script().ChangeControl(L"Отрисовка", "Вид ");
  Script().Button(txapi::pbEnter);
  Run(200);
  EXPECT_EQ(Top(txhost::model2d::Macro), std::vector<Object*>{block});
  EXPECT_NE(model::LiveMembers(*block), before);
  EXPECT_EQ(Value({block->Prop("library-file"), block->Prop("command")}), Value({"VUVudirido.so", 200}));
  ASSERT_TRUE(ControlModel.from(Params(*block)->GetUserData()));
  EXPECT_EQ(ControlModel.TView, 1);
  // Rebuilt where it stood, not at the origin.
  EXPECT_EQ(block->CallsOf("SetPlacement").back()->Arguments, Value::array({100.0, 50.0, 30.0, 0, 1}));

  // A block whose parameters cannot be read is left as it is; the block edited before does not stand in.
  H.GetFaults().RefuseInterface(txhost::Target::Of(*block), txapi::IUserParameters::IID.text());
  const auto members = model::LiveMembers(*block);
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(model::LiveMembers(*block), members);
}

TEST_F(Coupling2DTest, AStoredTypeWithoutItsTableOpensAsItselfAndSaysSo)
{
  Object* block = PlacedForEdit();
  const TString flange("Фланцевая ГОСТ 20761-96");
  // The row's table taken away for this test alone.
  const char* const missing[] = {"Муфта ", "Муфта без таблицы", nullptr};
  struct TKeep
  {
    const char* const* List = iCouplings[1].LTable;
    ~TKeep() { iCouplings[1].LTable = List; }
  } keep;
  iCouplings[1].LTable = missing;
  ControlModel.CouplingName = flange;
  std::vector<std::uint8_t> stored;
  ControlModel.to(stored);
  Params(*block)->SetUserData(stored);
  ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
  std::string type; // the panel's coupling type, read while the command runs
  Script().Queue([&type](Object& process) {
    const Object* c = txhost::FindControl(*txhost::ProcessParamOf(process), L"Муфта");
    type = c->Prop("items")[c->Prop("currentIndex").get<std::size_t>()].get<std::string>();
  });
  Script().Button(txapi::pbEsc);
  const std::size_t shown = H.Messages().size();
  Run(200);
  EXPECT_EQ(type, flange.Utf8Text());
  ASSERT_GT(H.Messages().size(), shown);
  EXPECT_EQ(txhost::ToUtf8(H.Messages()[shown]),
            "Необнаружена таблица " + Couplings.GetNameTable(flange, 1).Utf8Text());
}

TEST_F(Coupling2DTest, AShaftAboveEveryRowKeepsTheChosenTorqueAndAnotherCommandKeepsItOut)
{
  int offered = 0;
  Script().Queue([&](Object&) {
    TpmCouplingBlock2D& c = *pmCouplingBlock2D;
    EXPECT_FALSE(PmCouplingBlock2D());
    c.LTorque.Current = 1; // the smallest torque
    ControlModel.M = c.LTorque[1].toReal();
    ControlModel.P1d = 1e6;
    c.FirstDiameterStep();
    offered = c.LD2.Count;
  });
  Script().Button(txapi::pbEsc);
  Run(200);
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  EXPECT_EQ(ControlModel.M, main->Row(0)[0]);
  EXPECT_GT(offered, 0);
}

// The torque chosen is the coupling placed, stored and named: never the smaller size whose largest bore
// is the diameter chosen, and "*" the smallest size holding both shafts, named with its torque.
TEST_F(Coupling2DTest, TheChosenTorqueIsTheCouplingPlacedStoredAndNamed)
{
  const std::tuple<const char*, const char*, const char*, double> cases[] = {
      {" 250.00", "  32.00", "  32.00", 250}, {"16000.00", " 140.00", " 140.00", 16000},
      {" 500.00", "  45.00", "  40.00", 500}, {"*", "  40.00", "  40.00", 250},
      {"*", "  20.00", "  20.00", 63},        {" 125.00", "  32.00", "  32.00", 125}};
  for (const auto& [torque, d1, d2, m] : cases) {
    Script().ChangeControl(L"Момент", torque);
    Script().ChangeControl(L"Вал 1", d1);
    Script().ChangeControl(L"Вал 2", d2);
    Script().Place(0, 0, 0, false);
  }
  Script().Button(txapi::pbEsc);
  Run(200);
  const auto blocks = Top(txhost::model2d::Macro);
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_EQ(blocks.size(), std::size(cases));
  ASSERT_EQ(entries.size(), std::size(cases));
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const auto& [torque, d1, d2, m] = cases[i];
    SCOPED_TRACE(std::string(torque) + " " + d1 + " " + d2);
    ASSERT_TRUE(ControlModel.from(Params(*blocks[i])->GetUserData()));
    EXPECT_EQ(ControlModel.M, m);
    EXPECT_EQ(ControlModel.P1d, std::stod(d1));
    EXPECT_EQ(ControlModel.P2d, std::stod(d2));
    const std::string name = entries[i]->Prop("columns")["5"].get<std::string>();
    EXPECT_TRUE(name.starts_with("МУВП " + TCouplingPanel::ValueText(m).Utf8Text() + "-")) << name;
  }
}

// "*" with shafts no size takes both of places nothing; the phantom following the cursor says nothing,
// the click says why once.
TEST_F(Coupling2DTest, ShaftsNoSizeTakesAreRefusedOncePerClick)
{
  Script().ChangeControl(L"Момент", "*");
  Script().ChangeControl(L"Вал 1", "  10.00");
  Script().ChangeControl(L"Вал 2", " 160.00");
  for (int i = 0; i < 3; ++i)
    Script().Place(10.0 * i, 0, 0, true);
  Script().Place(50, 0, 0, false);
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_TRUE(Top(txhost::model2d::Macro).empty());
  EXPECT_TRUE(H.ObjectsOfKind("spec-object").empty());
  ASSERT_EQ(H.Messages().size(), 1u);
  EXPECT_EQ(txhost::ToUtf8(H.Messages()[0]), "Нет размера муфты для валов 10.00 / 160.00");
}

// The first bore type sets the second, and the second list shows it: the panel shows what is drawn.
TEST_F(Coupling2DTest, TheFirstBoreTypeSetsTheSecondAndItsListShowsIt)
{
  Script().ChangeControl(L"Тип @1", "Коническое короткое");
  Script().Queue([&](Object& process) {
    EXPECT_EQ(ControlModel.T2, 3);
    EXPECT_EQ(txhost::FindControl(*txhost::ProcessParamOf(process), L"Тип @2")->Prop("currentIndex"), 3);
  });
  Script().Button(txapi::pbEsc);
  Run(200);
}

// An edit renames the entry made with the block, and only that one, so that the bill names what is drawn.
TEST_F(Coupling2DTest, AnEditRenamesTheBlocksOwnEntry)
{
  for (int i = 0; i < 2; ++i)
    Script().Place(100.0 * i, 0, 0, false);
  Script().Button(txapi::pbEsc);
  Run(200);
  const auto blocks = Top(txhost::model2d::Macro);
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_TRUE(blocks.size() == 2 && entries.size() == 2);
  auto name = [](const Object* e) { return e->Prop("columns")["5"].get<std::string>(); };
  const std::string before = name(entries[0]);
  EXPECT_EQ(before, "МУВП  250.00-35-1-ГОСТ 21424-93");
  txhost::SetEditedPart(*Doc, blocks[1]);
  Script().ChangeControl(L"Вал 1", "  40.00");
  Script().Button(txapi::pbEnter);
  Run(200);
  EXPECT_EQ(name(entries[1]), "МУВП  250.00-40-1-ГОСТ 21424-93");
  EXPECT_EQ(name(entries[0]), before);
  EXPECT_EQ(H.ObjectsOfKind("spec-object").size(), 2u);
}

// A coupling the catalogue cannot draw (no builder, no table, a shaft no size holds) is neither placed nor
// entered in the specification, and a block under edit keeps its content and bytes on Enter.
TEST_F(Coupling2DTest, ACouplingThatCannotBeDrawnIsNeitherPlacedNorRebuilt)
{
  // The flanged row without its 2D builders for this test.
  struct TKeep
  {
    PAction Section = iCouplings[1].Make2D, View = iCouplings[1].Make2DView;
    ~TKeep()
    {
      iCouplings[1].Make2D = Section;
      iCouplings[1].Make2DView = View;
    }
  } keep;
  iCouplings[1].Make2D = iCouplings[1].Make2DView = nullptr;
  Script().ChangeControl(L"Муфта", "Фланцевая ГОСТ 20761-96");
  Script().Place(0, 0, 0, false);
  Script().ChangeControl(L"Муфта", "МУВП ГОСТ 21424-93");
  Script().Queue([](Object&) { ControlModel.P1d = ControlModel.P2d = 1e4; });
  Script().Place(0, 0, 0, false);
  Script().Button(txapi::pbEsc);
  const std::size_t said = H.Messages().size();
  Run(200);
  EXPECT_TRUE(Top(txhost::model2d::Macro).empty());
  EXPECT_TRUE(H.ObjectsOfKind("spec-object").empty());
  EXPECT_GT(H.Messages().size(), said) << "the user is told why";

  Object* block = PlacedForEdit();
  const auto stored = Params(*block)->GetUserData();
  const auto content = Content(*block);
  Script().ChangeControl(L"Муфта", "Фланцевая ГОСТ 20761-96");
  Script().Button(txapi::pbEnter);
  Run(200);
  EXPECT_EQ(Params(*block)->GetUserData(), stored);
  EXPECT_EQ(Content(*block), content);
  EXPECT_FALSE(content.empty());
}

// A stored block that cannot be read whole or holds values no size builds is not edited: the command says
// so, and the block, its bytes and the model stay as they were; Enter and Esc never reach it.
TEST_F(Coupling2DTest, ADamagedStoredBlockIsNotEdited)
{
  Object* block = PlacedForEdit();
  std::vector<std::uint8_t> good;
  ControlModel.to(good);
  auto with = [&](double m, double d1, double d2) {
    ControlModel.from(good);
    ControlModel.M = m, ControlModel.P1d = d1, ControlModel.P2d = d2;
    std::vector<std::uint8_t> v;
    ControlModel.to(v);
    ControlModel.from(good);
    return v;
  };
  std::vector<std::vector<std::uint8_t>> damaged{{good.begin(), good.end() - 1},
                                                 {good.begin(), good.begin() + 100},
                                                 with(NAN, 35, 35),
                                                 with(250, 1e9, 35),
                                                 with(250, 35, INFINITY),
                                                 with(0, 35, 35),
                                                 with(-250, 35, 35),
                                                 with(250, 0, 35),
                                                 with(1e9, 35, 35)};
  for (const auto& bytes : damaged) {
    Params(*block)->SetUserData(bytes);
    const auto content = model::LiveMembers(*block);
    const std::size_t said = H.Messages().size();
    Run(200);
    EXPECT_EQ(Params(*block)->GetUserData(), bytes);
    EXPECT_EQ(model::LiveMembers(*block), content);
    ASSERT_EQ(H.Messages().size(), said + 1);
    EXPECT_EQ(txhost::ToUtf8(H.Messages().back()), "Параметры муфты повреждены: блок не изменен");
    std::vector<std::uint8_t> now;
    ControlModel.to(now);
    EXPECT_EQ(now, good) << "the model keeps its values";
  }
  EXPECT_EQ(txhost::TotalSubscriptions(H), 0);
}

TEST_F(Coupling2DTest, ThePanelShowsItsOwnTextsInItsOwnOrder)
{
  const std::size_t said = H.TranslatorObject().Log().size();
  Value shown = Value::array();
  Script().Queue([&](Object& process) {
    Object& param = *txhost::ProcessParamOf(process);
    shown.push_back({param.Prop("toolBar"), pmCouplingBlock2D->HelpContext, process.Prop("prompt")});
    for (Object* tab : param.RefProp("tabs")->Members())
      for (Object* c : tab->RefProp("controls")->Members())
        shown.push_back(c->Prop("caption"));
  });
  Script().Button(txapi::pbEsc);
  Run(200);
  std::multiset<std::string> phrases; // hints reach the user through the translation only
  for (auto c = H.TranslatorObject().Log().begin() + said; c != H.TranslatorObject().Log().end(); ++c)
    if (c->Op == "Translate" && c->Arguments[0] != "") phrases.insert(c->Arguments[0].get<std::string>());
  // clang-format off
  EXPECT_EQ(shown, Value({{3, 8, "Выберите точку привязки и угол поворота муфты"}, "Муфта", "Момент", "Вал 1", "Тип ",
                          "Вал 2", "Тип ", "", "Отрисовка", "Спецификация", "Позиция"}));
  EXPECT_EQ(phrases, (std::multiset<std::string>{"Муфты", "Выберите точку привязки и угол поворота муфты", "Параметры",
      "Муфта", "Тип муфты", "Момент", "Крутящий момент", "Вал 1", "Диаметр вала полумуфты 1", "Тип ",
      "Тип отверстия полумуфты 1", "Вал 2", "Диаметр вала полумуфты 2", "Тип ", "Тип отверстия полумуфты 2", "Отрисовка",
      "Отрисовка муфты", "Спецификация", "Спецификация", "Создавать объект спецификации", "Позиция",
      "Создавать линию-выноску"}));
  // clang-format on
}

// What the user sees of a drawing: its objects, and the picture they make.
std::string Drawing(const txhost::Host& h, const Object& doc)
{
  std::ostringstream svg;
  txhost::WriteSvg(doc, svg);
  return DocumentState(h, doc) + svg.str();
}

// An edit refused on Enter leaves the drawing as it was before the edit, object for object, and says why
// once, though each panel change drew the block anew: every type, as a section and as a view, edited to "*"
// with its smallest and largest bores, which no size takes both of; once with the type changed as well.
TEST_F(Coupling2DTest, ARefusedEditLeavesTheDrawingAsItWasAndSaysWhyOnce)
{
  struct TEdit
  {
    int Placed, Edited;
  };
  std::vector<TEdit> edits;
  for (int k = 0; k < CountCoupling; ++k)
    edits.push_back({k, k});
  edits.push_back({8, 0}); // a jaw-disc block edited into a МУВП
  for (const auto& [placed, edited] : edits) {
    const TString type = iCouplings[edited].Name;
    SCOPED_TRACE(iCouplings[placed].Name.Utf8Text() + " -> " + type.Utf8Text());
    std::unique_ptr<TTable> main(TextBase.GetTable(iCouplings[edited].NameTable(1)));
    ASSERT_TRUE(main);
    const auto [small, large] = WidestBores(*main);
    ASSERT_EQ(GroupRows(main.get(), 0.0, large, small).R1, nullptr) << "a size takes both";

    // The largest size, so that the edit's first shaft draws another coupling into the block.
    std::unique_ptr<TTable> placedMain(TextBase.GetTable(iCouplings[placed].NameTable(1)));
    ASSERT_TRUE(placedMain);
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    Script().ChangeControl(L"Муфта", iCouplings[placed].Name.Utf8Text());
    Script().ChangeControl(
        L"Момент", TCouplingPanel::ValueText(placedMain->Row(placedMain->CountRow - 1)[0]).Utf8Text());
    Script().ChangeControl(L"Отрисовка", placed % 2 ? "Вид " : "Разрез ");
    Script().Place(100, 50, 30, false);
    Script().Button(txapi::pbEsc);
    Run(200);
    ASSERT_EQ(Top(txhost::model2d::Macro).size(), 1u);
    const std::string before = Drawing(H, *Doc);

    txhost::SetEditedPart(*Doc, Top(txhost::model2d::Macro)[0]);
    Script().ChangeControl(L"Муфта", type.Utf8Text());
    Script().ChangeControl(L"Момент", "*");
    Script().ChangeControl(L"Вал 1", TCouplingPanel::ValueText(small).Utf8Text());
    bool previewed = false;
    Script().Queue([&](Object&) { previewed = Drawing(H, *Doc) != before; });
    Script().ChangeControl(L"Вал 2", TCouplingPanel::ValueText(large).Utf8Text());
    Script().Button(txapi::pbEnter);
    const std::size_t said = H.Messages().size();
    Run(200);
    EXPECT_TRUE(previewed) << "the first shaft's change was drawn into the block";
    EXPECT_EQ(Drawing(H, *Doc), before);
    ASSERT_EQ(H.Messages().size(), said + 1);
    EXPECT_EQ(txhost::ToUtf8(H.Messages().back()), "Нет размера муфты для валов " +
                                                       TString(small, 2, true).Utf8Text() + " / " +
                                                       TString(large, 2, true).Utf8Text());
  }
}

// Every shaft list names each diameter once, ascending: under "*" those of every row, under a torque those of
// its rows.
TEST_F(Coupling2DTest, TheShaftListsNameEachDiameterOnceAscending)
{
  for (int k = 0; k < CountCoupling; ++k) {
    std::unique_ptr<TTable> main(TextBase.GetTable(iCouplings[k].NameTable(1)));
    ASSERT_TRUE(main);
    auto bores = [&](double torque) {
      std::set<double> d;
      for (int i = 0; i < main->CountRow; ++i)
        if (torque == 0 || main->Row(i)[0] == torque) d.insert(main->Row(i)[main->Control]);
      txhost::Value texts = txhost::Value::array();
      for (double v : d)
        texts.push_back(TCouplingPanel::ValueText(v).Utf8Text());
      return texts;
    };
    const double last = main->Row(main->CountRow - 1)[0];
    Script().ChangeControl(L"Муфта", iCouplings[k].Name.Utf8Text());
    for (const double torque : {0.0, last}) {
      Script().ChangeControl(L"Момент",
                             torque == 0 ? std::string("*") : TCouplingPanel::ValueText(torque).Utf8Text());
      Script().Queue([&, torque, k](Object& process) {
        Object& panel = *txhost::ProcessParamOf(process);
        EXPECT_EQ(txhost::FindControl(panel, L"Вал 1")->Prop("items"), bores(torque)) << k << " " << torque;
        if (torque == 0) {
          EXPECT_EQ(txhost::FindControl(panel, L"Вал 2")->Prop("items"), bores(torque)) << k;
        }
      });
    }
    Script().Button(txapi::pbEsc);
    Run(200);
  }
}

} // namespace
