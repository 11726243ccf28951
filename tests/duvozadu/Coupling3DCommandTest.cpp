// The 3D coupling command run through the library's callback in an assembly, the user's panel
// changes, picks and buttons played by the stand-in's event script.
#include <map>
#include <memory>
#include <set>

#include "LibraryFixture.h"
#include "hxcadkit/core/TextBase.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"

namespace {

using txhost::Object;
namespace model = txhost::model;

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
  }
  Object& Face(int i) { return *model::LiveMembers(*Top, model::Face)[std::size_t(i)]; }
  std::vector<Object*> Parts() { return model::LiveMembers(*Top, txhost::kinds::Part); }
  std::vector<Object*> Mates() { return model::Mates(H, *Assembly); }
  void Queue(std::vector<std::string> words)
  {
    std::string error;
    ASSERT_TRUE(txhost::QueueStep(H, words, error)) << error;
  }
  void During(std::function<void(Object& process)> check) { Script().Queue(std::move(check)); }

  Object* Assembly = nullptr;
  Object* Top = nullptr;
};

// Two confirmations place two couplings, each a component of the user's assembly with its own
// parameters, mated to the picked planar and cylindrical faces (a sphere takes no mate), the first
// entered in the specification; the preview's variables and mates stay on the phantom.
TEST_F(Coupling3DTest, NewCouplingsAreInsertedParameterisedAndMated)
{
  Script().ChangeControl(L"Вал 1", "  40.00");
  for (int face : {2, 1, 0})
    Script().Pick(&Face(face));
  During([&](Object& process) {
    std::map<std::wstring, double> vars;
    for (Object* v : model::LiveMembers(*process.RefProp("phantom"), model::Variable))
      vars[v->Text("name")] = model::Number(v->Prop("value"));
    EXPECT_EQ(vars, (std::map<std::wstring, double>{{L"D", 60}, {L"D1", 40}, {L"L1", 40}, {L"L2", 40}}));
    EXPECT_EQ(model::Mates(H, *process.RefProp("phantom")->Document()).size(), 2u);
    EXPECT_TRUE(Mates().empty());
  });
  for (const char* step : {"3", "1"})
    Queue({"button", step});
  Script().ChangeControl(L"Спецификация", "0");
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);

  ASSERT_EQ(Parts().size(), 2u);
  for (Object* c : Parts()) {
    const txhost::Value& block = c->Prop("user-data");
    EXPECT_EQ(std::vector<int>(block.begin(), block.begin() + 8), (std::vector<int>{0xDD, 0xDE, 0x7E, 1, 0x61, 0, 0, 0}));
    EXPECT_EQ(c->Prop("command").dump() + c->Prop("library-name").dump() + c->Prop("library-file").dump() +
                  c->Prop("standard").dump(),
              "200\"VUVudirido\"\"libVUVudirido.so\"true");
  }
  EXPECT_EQ(Parts()[0]->CallCount("SetMarking"), 1u);
  EXPECT_EQ(Parts()[1]->CallCount("SetName") + Parts()[1]->CallCount("SetMarking"), 0u) << "no entry: names stay";
  const auto entries = H.ObjectsOfKind("spec-object");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]->Prop("section"), 25);
  // The entry is named by the assembly's former designation, the code its file is named by.
  const std::string file = Parts()[0]->Prop("file").get<std::string>();
  const std::string code = file.substr(file.rfind('/') + 1, file.size() - file.rfind('/') - 5);
  EXPECT_TRUE(file.ends_with(".tas") && code.starts_with("Муфта-")) << file;
  EXPECT_EQ(entries[0]->Prop("columns"), txhost::Value({{"4", ""}, {"5", code}, {"7", ""}}));
  std::map<int, std::set<Object*>> partners; // two components, each mated to both faces
  for (Object* m : Mates())
    partners[m->Prop("kind").get<int>()].insert(m->RefProp("first"));
  EXPECT_EQ(Mates().size(), 4u);
  EXPECT_EQ(partners, (std::map<int, std::set<Object*>>{{txapi::mc_Coincidence, {&Face(0)}}, {txapi::mc_Concentric, {&Face(1)}}}));
  EXPECT_TRUE(model::LiveMembers(*Top, model::Variable).empty()) << "nothing written into the user's assembly";
}

// Editing replaces the old instance by a new one mated to the same partners; a cancelled edit
// shows the old instance again; a part that is not this library's coupling is never taken over.
TEST_F(Coupling3DTest, AnEditReplacesTheCouplingAndACancelLeavesItVisible)
{
  Script().ChangeControl(L"Вал 1", "  40.00");
  Script().Pick(&Face(0));
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  Object& old = *Parts().at(0);
  ControlModel.P1d = 12; // the stored block is read back over it

  txhost::SetEditedPart(*Assembly, &old);
  Script().Pick(&Face(1));
  Queue({"button", "2"});
  Run(200);
  EXPECT_EQ(old.Prop("hidden"), false);
  EXPECT_EQ(Mates().size(), 1u) << "the cancelled pick's mate is gone";
  EXPECT_EQ(ControlModel.P1d, 40.0);

  Queue({"button", "1"});
  Run(200);
  ASSERT_TRUE(Parts().size() == 1 && model::Deleted(old) && Mates().size() == 1) << "the old mate went with it";
  EXPECT_EQ(Mates()[0]->RefProp("first"), &Face(0));
  EXPECT_EQ(model::OwningPart(*Mates()[0]->RefProp("second")), Parts()[0]);

  Object& foreign = model::NewObject(H, txhost::kinds::Part, *Top, txapi::o3d_part);
  txhost::SetEditedPart(*Assembly, &foreign);
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_FALSE(model::Deleted(foreign) || foreign.Prop("hidden") == true);
  EXPECT_EQ(Parts().size(), 3u);
}

// A component the host refuses to insert leaves the user's assembly and its top part as they
// were; without a phantom file a pick still places the coupling.
TEST_F(Coupling3DTest, FailuresTouchNeitherTheAssemblyNorItsTopPart)
{
  const std::wstring name = Top->Text("name");
  H.GetFaults().RefuseHandOut("IPart.AddComponent");
  Script().Pick(&Face(0));
  Queue({"button", "1"});
  std::string shown; // the running command shows it in its status bar
  During([&](Object&) {
    const auto& bar = TBaseManager::CurrentProcessManager->StatusBar.M;
    if (bar.Count > 0) shown = bar[bar.Count - 1].T.Utf8Text();
  });
  Queue({"button", "2"});
  Run(200);
  EXPECT_TRUE(Parts().empty() && Mates().empty());
  EXPECT_EQ(Top->Text("name"), name);
  EXPECT_EQ(Top->CallCount("SetUserData") + Top->CallCount("SetPlacement"), 0u);
  EXPECT_EQ(shown.rfind("Не удалось вставить сборку муфты ", 0), 0u) << shown;

  H.GetFaults().Clear();
  std::filesystem::remove(Dir / "PhCoupling.tpt");
  Script().Pick(&Face(0));
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_TRUE(Parts().size() == 1 && Mates().size() == 1 && model::LiveMembers(*Top, model::Variable).empty());
}

// A host call that fails, wherever it falls, ends the command and no more: the failure reaches the
// host when the command's run loop cannot take it, and the next command runs.
TEST_F(Coupling3DTest, AHostFailureEndsOnlyTheCommand)
{
  const std::pair<const char*, const char*> faults[] = {{"application", "GetApplicationEvents"},
                                                        {"sketch-editor", "PopPlacement"}};
  for (auto [kind, op] : faults) {
    H.GetFaults().ThrowOnCall(txhost::Target::OfKind(kind), op);
    Queue({"button", "1"});
    try {
      Run(200);
    } catch (const txhost::HostError&) {
    }
    H.GetFaults().Clear();
    Script().Clear();
    EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr) << kind << "." << op;
  }
  H.GetFaults().RefuseInterface(txhost::Target::OfKind("application"), txapi::IApplicationEvents::IID);
  const std::size_t before = Parts().size();
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_EQ(Parts().size(), before + 1);
}

// Every torque the list offers leads to the diameters of exactly the rows of that torque ("*" to
// every row's), and the second shaft follows the first.
TEST_F(Coupling3DTest, TheListsFollowTheMainTable)
{
  std::unique_ptr<TTable> table(TextBase.GetTable(TString("МУВП")));
  ASSERT_TRUE(table);
  const int rows = table->Count / table->CountColumn;
  auto text = [&](int row, int col) { return TCouplingPanel::ValueText(table->Row(row)[col]).Utf8Text(); };
  std::vector<std::string> torques{"*"};
  for (int i = 0; i < rows; ++i)
    torques.push_back(text(i, 0)); // each torque as often as the table holds it: every choice is played
  for (const std::string& torque : torques) {
    Script().ChangeControl(L"Момент", torque);
    During([&](Object& process) {
      txhost::Value expected = txhost::Value::array();
      for (int i = 0; i < rows; ++i)
        if (torque == "*" || text(i, 0) == torque) expected.push_back(text(i, table->Control));
      EXPECT_EQ(txhost::FindControl(*txhost::ProcessParamOf(process), L"Вал 1")->Prop("items"), expected) << torque;
      EXPECT_EQ(ControlModel.P2d, ControlModel.P1d);
    });
  }
  Queue({"button", "2"});
  Run(200);
}

} // namespace
