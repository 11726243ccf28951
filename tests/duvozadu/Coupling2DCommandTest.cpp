// The 2D coupling command played in the stand-in host: phantom, blocks with their stored parameters,
// specification entries and leaders, and blocks rebuilt in place.
#include <map>

#include "../adapter/Drawing2DSupport.h"
#include "Duvozadu/ControlModel.h"
#include "Duvozadu/CplgGlobal.h"
#include "Duvozadu/pmCommands.h"
#include "Duvozadu/pmCoupling2D.h"
#include "hxcadkit/commands/pmHost.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Blocks.h"
#include "txhost/lib/Events.h"
#include "txhost/lib/LeakCheck.h"

namespace {

namespace m2 = txhost::model2d;
using adaptertest::U8;

const bool LeakCheck = txhost::InstallLeakCheck();

class Command2D : public ::testing::Test
{
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(TextBase.Init(TString(HXCAD_DUVOZADU_DATA), TString("VUVudirido.tb"))); }
  void SetUp() override
  {
    H.SetDocumentsFolder(Dir.path());
    H.SetCurrentLibraryPath(Dir.path() / "libVUVudirido.so");
    H.SetLibraryRecord(L"VUVudirido", Dir.path() / "libVUVudirido.so", L"");
    drApi::PControlModel = &ControlModel;
    drApi::MA.Init(H.Application(), "VUVudirido", "#Stamp - Regular");
    Old = SetCouplingModeler(&drApi::MA);
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
    ControlModel.M = 250, ControlModel.P1d = ControlModel.P2d = 35;
    ControlModel.T1 = ControlModel.T2 = ControlModel.TView = 0;
    ControlModel.NeedSpcObj = true, ControlModel.NeedPosLeader = true;
  }
  void TearDown() override
  {
    CommandHost.Release();
    adaptertest::Reset2D();
    adaptertest::ResetModeller();
    SetCouplingModeler(Old);
    drApi::PControlModel = nullptr;
  }
  txhost::EventScript& Script() { return txhost::EventScript::Of(H); }
  // Live objects of the kind in the drawing; top: only those straight in a view.
  std::vector<txhost::Object*> Of(std::string_view kind, bool top = false) const
  {
    std::vector<txhost::Object*> out;
    for (txhost::Object* o : H.ObjectsOf(*Doc))
      if (o->Kind() == kind && !txhost::model::Deleted(*o) && (!top || o->Parent()->Kind() == "view"))
        out.push_back(o);
    return out;
  }
  // How many live objects of each kind a container holds, at any depth.
  static std::map<std::string, int> Content(const txhost::Object& c)
  {
    std::map<std::string, int> n;
    for (txhost::Object* o : txhost::model::LiveMembers(c)) {
      ++n[o->Kind()];
      for (const auto& [k, v] : Content(*o))
        n[k] += v;
    }
    return n;
  }
  static std::vector<std::uint8_t> Block()
  {
    std::vector<std::uint8_t> b;
    ControlModel.to(b);
    return b;
  }
  static txapi::SmartPtr<txapi::IUserParameters> Params(txhost::Object& m)
  {
    return txapi::SmartPtr<txapi::IUserParameters>::Attach(
        static_cast<txapi::IUserParameters*>(m.QueryInterface(txapi::IUserParameters::IID)));
  }
  static std::vector<std::uint8_t> Stored(txhost::Object& m) { return Params(m)->GetUserData(); }
  // The text the panel's list with the caption shows, read while the command runs.
  void Shown(const wchar_t* caption, std::string& out)
  {
    Script().Queue([caption, &out](txhost::Object& process) {
      const txhost::Object* c = txhost::FindControl(*txhost::ProcessParamOf(process), caption);
      out = c ? c->Prop("items")[c->Prop("currentIndex").get<std::size_t>()].get<std::string>() : "";
    });
  }
  // Places one block at (100, 50, 30) and hands it back for editing.
  txhost::Object* PlacedForEdit()
  {
    Script().Place(100, 50, 30, false);
    Script().Button(txapi::pbEsc);
    EXPECT_TRUE(PmCouplingBlock2D());
    txhost::Object* m = Of(m2::Macro, true).at(0);
    txhost::SetEditedMacro(*Doc, m);
    return m;
  }

  txhost::test::TempDir Dir;
  txhost::Host H;
  txhost::Object* Doc = nullptr;
  TModeler3D* Old = nullptr;
};

TEST_F(Command2D, PhantomFollowsAndEachClickLeavesAKeptBlockWithItsEntryAndLeader)
{
  for (int i = 0; i < 10; ++i)
    Script().Place(10.0 * i, 5, 3.0 * i, true);
  Script().Place(100, 50, 30, false);
  Script().Button(txapi::pbEnter); // the next placement
  Script().Place(200, 80, 0, false);
  Script().Button(txapi::pbEsc);
  ASSERT_TRUE(PmCouplingBlock2D());
  EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr);

  txhost::Object& phantom = *H.ObjectsOfKind("phantom-2d").at(0)->RefProp("group");
  EXPECT_EQ(phantom.CallCount("Reset"), 10u);
  const auto blocks = Of(m2::Macro, true);
  ASSERT_EQ(blocks.size(), 2u);
  const double where[2][3] = {{100, 50, 30}, {200, 80, 0}};
  for (int i = 0; i < 2; ++i) {
    const txhost::Object& b = *blocks[i];
    const txhost::Value stored = {b.Prop("library-file"), b.Prop("second-text"), b.Prop("command"),
                                  b.Prop("x"),            b.Prop("y"),           b.Prop("angle")};
    EXPECT_EQ(stored, txhost::Value({"libVUVudirido", "", 200, where[i][0], where[i][1], where[i][2]}));
    EXPECT_EQ(H.Find(txhost::RefId(b.Prop("group")))->Prop("kept"), true);
  }
  EXPECT_EQ(Stored(*blocks[1]), Block());
  // Every block keeps its own entry, and each entry its leader; the phantom left nothing behind.
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_EQ(entries.size(), 2u);
  for (const txhost::Object* e : entries)
    EXPECT_EQ(txhost::Value({e->Prop("section"), e->Prop("linked").size()}), txhost::Value({25, 1}));
  EXPECT_EQ(Of(m2::Leader, true).size(), 2u);
  for (const txhost::Object* o : H.ObjectsOf(*Doc))
    EXPECT_TRUE(txhost::RefId(o->Prop("group")) != phantom.Id() || txhost::model::Deleted(*o)) << o->Kind();
  // The first block's parameters, placement included, come back from its bytes.
  ControlModel.M = 0;
  ASSERT_TRUE(ControlModel.from(Stored(*blocks[0])));
  EXPECT_EQ(ControlModel.M, 250);
  EXPECT_EQ(std::vector<double>({ControlModel.pX, ControlModel.pY, ControlModel.pAngle}), std::vector<double>({100, 50, 30}));
}

TEST_F(Command2D, OptionsAndDrawingKindDecideWhatAPlacementMakes)
{
  struct Case
  {
    bool Spc, Leader;
    int View;
    std::size_t Entries, Leaders;
  } const cases[] = {{false, true, 0, 0, 0}, {true, false, 1, 1, 0}, {true, true, 0, 1, 1}};
  for (const Case& c : cases) {
    Doc = H.NewDocument(txapi::txDocumentDrawing, true);
    const std::size_t entries = H.ObjectsOfKind("spec-object").size();
    ControlModel.NeedSpcObj = c.Spc, ControlModel.NeedPosLeader = c.Leader, ControlModel.TView = c.View;
    Script().Place(0, 0, 0, false);
    Script().Button(txapi::pbEsc);
    ASSERT_TRUE(PmCouplingBlock2D());
    EXPECT_EQ(H.ObjectsOfKind("spec-object").size() - entries, c.Entries);
    EXPECT_EQ(Of(m2::Leader, true).size(), c.Leaders);
    // The block holds what the catalogue draws for the kind: the section ("Разрез ") or the view ("Вид ").
    txhost::Object* reference = H.NewDocument(txapi::txDocumentDrawing, true);
    drApi::MA.R().IDoc2D = txapi::SmartPtr<txapi::ITavrixDocument2D>::Attach(
        static_cast<txapi::ITavrixDocument2D*>(reference->QueryInterface(txapi::ITavrixDocument2D::IID)));
    drApi::MA.drOpenView(0);
    ASSERT_TRUE(Couplings.drCoupling(ControlModel.CouplingName, c.View + 1));
    EXPECT_EQ(Content(*Of(m2::Macro, true).at(0)), Content(*txhost::model::LiveMembers(*reference, "view").at(0)));
    adaptertest::Reset2D();
  }
}

TEST_F(Command2D, AnEditedBlockIsRebuiltInPlaceByEnterAndRestoredByEsc)
{
  txhost::Object* block = PlacedForEdit();
  const std::vector<std::uint8_t> stored = Stored(*block);
  const auto section = Content(*block);
  Script().ChangeControl(L"Отрисовка", "1");
  Script().Button(txapi::pbEsc);
  ASSERT_TRUE(PmCouplingBlock2D());
  EXPECT_EQ(ControlModel.TView, 0);
  EXPECT_EQ(Content(*block), section);
  EXPECT_EQ(Stored(*block), stored);

  const auto before = txhost::model::LiveMembers(*block);
  std::string type;
  Shown(L"Муфта", type);
  Script().ChangeControl(L"Отрисовка", "1");
  Script().Button(txapi::pbEnter);
  ASSERT_TRUE(PmCouplingBlock2D());
  EXPECT_EQ(type, "МУВП ГОСТ 21424-93");
  EXPECT_EQ(Of(m2::Macro, true), std::vector<txhost::Object*>{block});
  EXPECT_NE(txhost::model::LiveMembers(*block), before);
  EXPECT_EQ(txhost::Value({block->Prop("library-file"), block->Prop("command")}), txhost::Value({"VUVudirido.so", 200}));
  ASSERT_TRUE(ControlModel.from(Stored(*block)));
  EXPECT_EQ(ControlModel.TView, 1);
  // Rebuilt where it stood, not at the origin.
  EXPECT_EQ(block->CallsOf("SetPlacement").back()->Arguments, txhost::Value::array({100.0, 50.0, 30.0, 0, 1}));

  // A block whose parameters cannot be read is left as it is; the block edited before does not stand in.
  H.GetFaults().RefuseInterface(txhost::Target::Of(*block), txapi::IUserParameters::IID.text());
  const auto members = txhost::model::LiveMembers(*block);
  ControlModel.TView = 0;
  Script().Button(txapi::pbEsc);
  ASSERT_TRUE(PmCouplingBlock2D());
  EXPECT_EQ(txhost::model::LiveMembers(*block), members);
}

TEST_F(Command2D, AStoredTypeWithoutItsTableOpensAsItselfAndSaysSo)
{
  txhost::Object* block = PlacedForEdit();
  const TString flange("Фланцевая ГОСТ 20761-96");
  ControlModel.CouplingName = flange;
  Params(*block)->SetUserData(Block());
  ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
  std::string type;
  Shown(L"Муфта", type);
  Script().Button(txapi::pbEsc);
  const std::size_t shown = H.Messages().size();
  ASSERT_TRUE(PmCouplingBlock2D());
  EXPECT_EQ(type, flange.Utf8Text());
  ASSERT_GT(H.Messages().size(), shown);
  EXPECT_EQ(U8(H.Messages()[shown]), "Необнаружена таблица " + Couplings.GetNameTable(flange, 1).Utf8Text());
}

TEST_F(Command2D, AShaftAboveEveryRowKeepsTheChosenTorque)
{
  int offered = 0;
  Script().Queue([&](txhost::Object&) {
    TpmCouplingBlock2D& c = *pmCouplingBlock2D;
    c.ATorque.ADef.Current = 1; // the smallest torque
    ControlModel.M = c.ATorque.ADef[1].toReal();
    ControlModel.P1d = 1e6;
    c.FirstDiameterStep();
    offered = c.AD2.Count();
  });
  Script().Button(txapi::pbEsc);
  ASSERT_TRUE(PmCouplingBlock2D());
  std::unique_ptr<TTable> main(TextBase.GetTable(TString("МУВП")));
  EXPECT_EQ(ControlModel.M, main->Row(0)[0]);
  EXPECT_GT(offered, 0);
}

TEST_F(Command2D, StartsOnlyInADrawingOrFragmentAndNeverBesideAnotherCommand)
{
  H.NewDocument(txapi::txDocumentSpecification, true);
  EXPECT_FALSE(PmCouplingBlock2D());
  H.SetActiveDocument(nullptr);
  EXPECT_FALSE(PmCouplingBlock2D());
  H.SetActiveDocument(Doc);
  TBaseManager::CurrentProcessManager = reinterpret_cast<TBaseManager*>(this);
  EXPECT_FALSE(PmCouplingBlock2D());
  TBaseManager::CurrentProcessManager = nullptr;
  ASSERT_EQ(H.Messages().size(), 1u);
  EXPECT_EQ(U8(H.Messages()[0]), "Документ не является Чертежом/Фрагментом/Сборкой");
}

} // namespace
