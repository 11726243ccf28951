// The 3D coupling command run through the library's callback in an assembly, with the user's
// panel changes, picks and buttons played by the stand-in's event script.
#include <memory>

#include "Duvozadu/pmCommands.h"
#include "LibraryFixture.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txapi/IUserParameters.h"

namespace {

using txhost::Object;
namespace model = txhost::model;

template <class I> txapi::SmartPtr<I> As(Object* o)
{
  return o ? txapi::SmartPtr<I>::Attach(static_cast<I*>(o->QueryInterface(I::IID))) : txapi::SmartPtr<I>();
}

class Coupling3DTest : public LibraryTest
{
protected:
  void SetUp() override
  {
    LibraryTest::SetUp();
    Assembly = H.NewDocument(txapi::txDocumentAssembly, true);
    Top = H.TopPart(*Assembly);
    for (const char* surface : {"plane", "cylinder", "sphere"})
      model::NewObject(H, model::Face, *Top, txapi::o3d_face).Set("surface", surface);
    ControlModel.CouplingName = TString("МУВП ГОСТ 21424-93");
    ControlModel.M = ControlModel.P1d = ControlModel.P2d = 0;
    ControlModel.T1 = ControlModel.T2 = 0;
  }
  Object& Face(int i) { return *model::LiveMembers(*Top, model::Face)[std::size_t(i)]; }
  std::vector<Object*> Components() { return model::LiveMembers(*Top, txhost::kinds::Part); }
  std::vector<Object*> Mates() { return model::Mates(H, *Assembly); }
  // A step that clicks a panel button the way the host does between placements: the process goes on.
  void Click(int id)
  {
    Script().Queue([id](Object& process) {
      txhost::Fire<std::function<bool(int)>>(*txhost::ProcessParamOf(process), "ButtonClick", id);
    });
  }
  void During(std::function<void(Object& process)> check) { Script().Queue(std::move(check)); }
  static Object* Phantom(Object& process) { return process.RefProp("phantom"); }

  Object* Assembly = nullptr;
  Object* Top = nullptr;
};

// Two confirmations place two couplings, each a component of the user's assembly carrying its own
// parameters, entered in the specification and mated to the picked face; the preview's variables
// and mates stay on the phantom.
TEST_F(Coupling3DTest, NewCouplingsAreInsertedParameterisedAndMated)
{
  Script().ChangeControl(L"Вал 1", "  40.00");
  During([&](Object& process) {
    const txhost::Object* phantom = Phantom(process);
    ASSERT_TRUE(phantom);
    std::map<std::wstring, double> vars;
    for (Object* v : model::LiveMembers(*phantom, model::Variable))
      vars[v->Text("name")] = model::Number(v->Prop("value"));
    EXPECT_EQ(vars, (std::map<std::wstring, double>{{L"D", 60}, {L"D1", 40}, {L"L1", 40}, {L"L2", 40}}));
    auto filter = [&](Object* o) {
      return txhost::Fire<txapi::ObjectCallback>(process, "FilterObjects",
                                                 As<txapi::ITavrixAPIObject>(o)) == std::vector<bool>{true};
    };
    Object& cs = *model::StandardObject(H, *Top, txapi::o3d_pointCS);
    EXPECT_TRUE(filter(&Face(0)) && filter(&Face(1)) && filter(&cs));
    EXPECT_FALSE(filter(&Face(2)) || filter(Top) || filter(nullptr));
  });
  Script().Pick(&Face(0));
  During([&](Object& process) {
    ASSERT_EQ(model::Mates(H, *Phantom(process)->Document()).size(), 1u);
    EXPECT_TRUE(Mates().empty()) << "the preview's mate is the phantom's own";
  });
  Click(3);
  Click(txapi::pbEnter);
  Click(txapi::pbEnter);
  Script().Button(txapi::pbEsc);
  Run(200);

  EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr);
  EXPECT_EQ(ControlModel.P2d, 40.0);
  const std::vector<Object*> parts = Components();
  ASSERT_EQ(parts.size(), 2u);
  const std::vector<std::uint8_t> head{0xDD, 0xDE, 0x7E, 0x01, 0x61, 0, 0, 0};
  for (Object* c : parts) {
    auto p = As<txapi::IUserParameters>(c);
    const std::vector<std::uint8_t> block = p->GetUserData();
    ASSERT_GE(block.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin()));
    EXPECT_EQ(p->GetCommand(), 200);
    EXPECT_EQ(c->Text("library-name"), L"VUVudirido");
    EXPECT_EQ(p->GetLibraryFileName(), L"libVUVudirido.so");
    EXPECT_EQ(c->Text("marking"), L"");
    EXPECT_EQ(c->Prop("standard"), true);
  }
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0]->Prop("section"), 25);
  const auto mates = Mates();
  ASSERT_EQ(mates.size(), 2u);
  for (Object* m : mates) {
    EXPECT_EQ(m->Prop("kind"), int(txapi::mc_Coincidence));
    EXPECT_EQ(m->RefProp("first"), &Face(0));
  }
  EXPECT_TRUE(model::LiveMembers(*Top, model::Variable).empty()) << "nothing written into the user's assembly";
}

// Editing replaces the old instance by a new one mated to the same partners; a cancelled edit
// shows the old instance again; a part that is not this library's coupling is never taken over.
TEST_F(Coupling3DTest, AnEditReplacesTheCouplingAndACancelLeavesItVisible)
{
  Script().ChangeControl(L"Вал 1", "  40.00");
  Script().Pick(&Face(0));
  Click(txapi::pbEnter);
  Script().Button(txapi::pbEsc);
  Run(200);
  ASSERT_EQ(Components().size(), 1u);
  Object& old = *Components()[0];
  ControlModel.P1d = 12; // the block is read back over whatever the model holds

  txhost::SetEditedPart(*Assembly, &old);
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_EQ(old.Prop("hidden"), false);
  EXPECT_EQ(ControlModel.P1d, 40.0);

  Script().Button(txapi::pbEnter);
  Run(200);
  ASSERT_EQ(Components().size(), 1u);
  Object& replaced = *Components()[0];
  EXPECT_NE(&replaced, &old);
  EXPECT_TRUE(model::Deleted(old));
  const auto mates = Mates();
  ASSERT_EQ(mates.size(), 2u);
  EXPECT_EQ(mates[1]->RefProp("first"), &Face(0));
  EXPECT_EQ(model::OwningPart(*mates[1]->RefProp("second")), &replaced);

  Object& foreign = model::NewObject(H, txhost::kinds::Part, *Top, txapi::o3d_part);
  txhost::SetEditedPart(*Assembly, &foreign);
  Script().Button(txapi::pbEnter);
  Run(200);
  EXPECT_FALSE(model::Deleted(foreign));
  EXPECT_NE(foreign.Prop("hidden"), true);
  EXPECT_EQ(Components().size(), 3u);
}

// A component the host refuses to insert leaves the user's assembly as it was, with a message; a
// missing phantom file leaves the command without a phantom, yet the pick still places the coupling.
TEST_F(Coupling3DTest, FailuresTouchNeitherTheAssemblyNorItsTopPart)
{
  const std::wstring name = Top->Text("name");
  H.GetFaults().RefuseHandOut("IPart.AddComponent");
  Script().Pick(&Face(0));
  Click(txapi::pbEnter);
  std::string shown; // the running command shows it in its status bar
  During([&](Object&) {
    const TStatusBarOGL& bar = TBaseManager::CurrentProcessManager->StatusBar;
    if (bar.M.Count > 0) shown = bar.M[bar.M.Count - 1].T.Utf8Text();
  });
  Script().Button(txapi::pbEsc);
  Run(200);
  EXPECT_TRUE(Components().empty());
  EXPECT_TRUE(Mates().empty());
  EXPECT_EQ(Top->Text("name"), name);
  EXPECT_EQ(Top->CallCount("SetUserData") + Top->CallCount("SetPlacement"), 0u);
  EXPECT_EQ(shown.rfind("Не удалось вставить сборку муфты ", 0), 0u) << shown;

  H.GetFaults().Clear();
  std::filesystem::remove(Dir / "PhCoupling.tpt");
  Script().Pick(&Face(0));
  Click(txapi::pbEnter);
  Script().Button(txapi::pbEsc);
  Run(200);
  ASSERT_EQ(Components().size(), 1u);
  ASSERT_EQ(Mates().size(), 1u);
  EXPECT_TRUE(model::LiveMembers(*Top, model::Variable).empty());
}

// Every torque the list offers leads to the diameters of exactly the rows of that torque, and the
// second shaft follows the first; "*" offers the diameter of every row.
TEST_F(Coupling3DTest, TheListsFollowTheMainTable)
{
  std::unique_ptr<TTable> table(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(table);
  const int rows = table->Count / table->CountColumn;
  std::vector<std::string> torques{"*"};
  for (int i = 0; i < rows; ++i)
    torques.push_back(TCouplingPanel::ValueText(table->Row(i)[0]).Utf8Text());
  for (const std::string& torque : torques) {
    Script().ChangeControl(L"Момент", torque);
    During([&](Object& process) {
      Object& d1 = *txhost::FindControl(*txhost::ProcessParamOf(process), L"Вал 1");
      std::vector<std::string> expected;
      for (int i = 0; i < rows; ++i)
        if (torque == "*" || TCouplingPanel::ValueText(table->Row(i)[0]).Utf8Text() == torque)
          expected.push_back(TCouplingPanel::ValueText(table->Row(i)[table->Control]).Utf8Text());
      std::vector<std::string> shown;
      for (const auto& item : d1.Prop("items"))
        shown.push_back(item.get<std::string>());
      EXPECT_EQ(shown, expected) << torque;
      EXPECT_EQ(ControlModel.P2d, ControlModel.P1d);
    });
  }
  Script().Button(txapi::pbEsc);
  Run(200);
}

} // namespace
