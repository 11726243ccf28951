// The 3D coupling command run through the library's callback in an assembly, the user's panel
// changes, picks and buttons played by the stand-in's event script.
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "Duvozadu/CplgShared.h"
#include "EditCheck.h"
#include "LibraryFixture.h"
#include "hxcadkit/core/TextBase.h"
#include "tests/TestNames.h"
#include "txhost/lib/Faults.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Text.h"

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
    EXPECT_EQ(std::vector<int>(block.begin(), block.begin() + 8),
              (std::vector<int>{0xDD, 0xDE, 0x7E, 1, 0x61, 0, 0, 0}));
    EXPECT_EQ(c->Prop("command").dump() + c->Prop("library-name").dump() + c->Prop("library-file").dump() +
                  c->Prop("standard").dump(),
              "200\"VUVudirido\"\"libVUVudirido.so\"true");
  }
  EXPECT_EQ(Parts()[0]->CallCount("SetMarking"), 1u);
  EXPECT_EQ(Parts()[1]->CallCount("SetName") + Parts()[1]->CallCount("SetMarking"), 0u)
      << "no entry: names stay";
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
  EXPECT_EQ(partners, (std::map<int, std::set<Object*>>{{txapi::mc_Coincidence, {&Face(0)}},
                                                        {txapi::mc_Concentric, {&Face(1)}}}));
  EXPECT_TRUE(model::LiveMembers(*Top, model::Variable).empty())
      << "nothing written into the user's assembly";
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
  ASSERT_TRUE(Parts().size() == 1 && model::Deleted(old) && Mates().size() == 1)
      << "the old mate went with it";
  EXPECT_EQ(Mates()[0]->RefProp("first"), &Face(0));
  EXPECT_EQ(model::OwningPart(*Mates()[0]->RefProp("second")), Parts()[0]);
  // One coupling, one entry: the replaced component's went with it.
  std::vector<Object*> entries;
  for (Object* e : H.ObjectsOfKind("spec-object"))
    if (!model::Deleted(*e)) entries.push_back(e);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]->Prop("linked")[0], txhost::RefValue(Parts()[0]));

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
  Queue({"button", "2"});
  Run(200);
  // In the host's message box, which outlives the command.
  const std::string shown = H.Messages().empty() ? std::string() : txhost::ToUtf8(H.Messages().back());
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
  EXPECT_TRUE(Parts().size() == 1 && Mates().size() == 1 &&
              model::LiveMembers(*Top, model::Variable).empty());
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

// The torque chosen is the coupling built, its files named with it; "*" builds the smallest size holding
// both shafts and names it with its torque.
TEST_F(Coupling3DTest, TheChosenTorqueIsTheCouplingBuilt)
{
  const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
      {" 250.00", "  32.00", "  32.00", "Муфта- 250.00-32-1-ГОСТ 21424-93.tas"},
      {" 500.00", "  45.00", "  40.00", "Муфта- 500.00-45-1-40-1-ГОСТ 21424-93.tas"},
      {"*", "  40.00", "  40.00", "Муфта- 250.00-40-1-ГОСТ 21424-93.tas"}};
  for (const auto& [torque, d1, d2, file] : cases) {
    Script().ChangeControl(L"Момент", torque);
    Script().ChangeControl(L"Вал 1", d1);
    Script().ChangeControl(L"Вал 2", d2);
    Queue({"button", "1"});
  }
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string file = Parts()[i]->Prop("file").get<std::string>();
    EXPECT_TRUE(file.ends_with("/" + std::get<3>(cases[i]))) << file;
  }
}

// "*" with shafts no size takes both of is refused, in the host's message box, and nothing is placed;
// the torque list shows each size once.
TEST_F(Coupling3DTest, ShaftsNoSizeTakesAreRefusedWithTheCataloguesMessage)
{
  Script().ChangeControl(L"Момент", "*");
  During([&](Object& process) {
    const txhost::Value& items = txhost::FindControl(*txhost::ProcessParamOf(process), L"Момент")->Prop("items");
    EXPECT_EQ(items.size(), 14u) << "thirteen sizes and the star";
  });
  Script().ChangeControl(L"Вал 1", "  10.00");
  Script().ChangeControl(L"Вал 2", " 160.00");
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_TRUE(Parts().empty());
  ASSERT_EQ(H.Messages().size(), 1u);
  EXPECT_EQ(txhost::ToUtf8(H.Messages()[0]), "Нет размера муфты для валов 10.00 / 160.00");
}

// The first bore type gives the second its value, shown in its list, as the 2D command does; the second
// is the user's to change after it. The block stores what was built.
TEST_F(Coupling3DTest, TheFirstBoreTypeSetsTheSecondAsIn2D)
{
  auto types = [&](const char* first, const char* second) {
    Script().ChangeControl(L"Тип @1", first);
    During([&](Object& process) {
      EXPECT_EQ(ControlModel.T2, ControlModel.T1);
      EXPECT_EQ(txhost::FindControl(*txhost::ProcessParamOf(process), L"Тип @2")->Prop("currentIndex"),
                ControlModel.T1);
    });
    if (second) Script().ChangeControl(L"Тип @2", second);
    Queue({"button", "1"});
  };
  types("Коническое длинное", nullptr);
  types("Цилиндрическое короткое", "Коническое короткое");
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), 2u);
  const std::pair<int, int> built[] = {{2, 2}, {1, 3}};
  for (std::size_t i = 0; i < 2; ++i) {
    const txhost::Value& block = Parts()[i]->Prop("user-data");
    ASSERT_TRUE(ControlModel.from(std::vector<std::uint8_t>(block.begin(), block.end())));
    EXPECT_EQ(std::pair(int(ControlModel.T1), int(ControlModel.T2)), built[i]);
  }
}

// A part or the assembly of the coupling open in the host: placing the same size again stops before it
// changes anything, naming the file; the user's document is neither drawn into, saved nor closed.
TEST_F(Coupling3DTest, ABuildNeverTouchesADocumentTheUserHasOpen)
{
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), 1u);
  for (int n : {1, 0}) {
    const std::string file = ControlModel.Detail3D(n).Utf8Text();
    SCOPED_TRACE(file);
    Object* open = H.OpenDocument(file, true);
    ASSERT_TRUE(open);
    const std::size_t objects = H.ObjectsOf(*open).size();
    const auto written = std::filesystem::last_write_time(file);
    H.SetActiveDocument(Assembly);
    const std::size_t said = H.Messages().size();
    Queue({"button", "1"});
    Queue({"button", "2"});
    Run(200);
    EXPECT_EQ(Parts().size(), 1u);
    ASSERT_EQ(H.Messages().size(), said + 1);
    EXPECT_EQ(txhost::ToUtf8(H.Messages().back()), "Файл муфты открыт, закройте его: " + file);
    EXPECT_TRUE(H.IsOpen(*open));
    EXPECT_EQ(H.ObjectsOf(*open).size(), objects);
    EXPECT_EQ(std::filesystem::last_write_time(file), written);
    H.CloseDocument(*open);
  }
  // Closed again, the same size is built.
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_EQ(Parts().size(), 2u);
}

// A build that cannot write one of its files stops with a message naming the file and why; the documents
// it opened are closed, the files it made removed, and the user's assembly gets nothing.
TEST_F(Coupling3DTest, AFileThatCannotBeWrittenStopsTheBuildAndLeavesNothing)
{
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), 1u);
  const std::filesystem::path docs = Dir / "docs";
  std::vector<std::string> names;
  for (int n = 0; n < 10; ++n)
    if (!ControlModel.Detail3D(n).Empty()) names.push_back(ControlModel.Detail3D(n).Utf8Text());
  ASSERT_EQ(names.size(), 8u);
  // Confirms once, then ends: what the host's message box said after the confirmation (the command's
  // status bar goes with the command), and that it said it once.
  auto confirm = [&] {
    const std::size_t said = H.Messages().size();
    std::string shown;
    Queue({"button", "1"});
    During([&](Object&) {
      EXPECT_EQ(H.Messages().size(), said + 1);
      if (H.Messages().size() > said) shown = txhost::ToUtf8(H.Messages().back());
    });
    Queue({"button", "2"});
    Run(200);
    EXPECT_EQ(H.Messages().size(), said + 1);
    return shown;
  };
  auto listing = [&] {
    std::set<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(docs))
      files.insert(e.path().string());
    return files;
  };
  // Each file in turn has a folder in its way; the files of the first build are gone.
  for (const std::string& blocked : names) {
    SCOPED_TRACE(blocked);
    std::filesystem::remove_all(docs);
    std::filesystem::create_directories(blocked);
    const auto before = listing();
    const std::size_t documents = H.Documents().size();
    const std::string shown = confirm();
    EXPECT_EQ(shown, "Не удалось записать файл " + blocked + ": на месте файла папка");
    EXPECT_EQ(Parts().size(), 1u);
    EXPECT_EQ(H.Documents().size(), documents) << "documents left open";
    EXPECT_EQ(listing(), before) << "files left behind";
  }
  // No documents folder at all.
  std::filesystem::remove_all(docs);
  const std::string shown = confirm();
  EXPECT_TRUE(shown.starts_with("Не удалось записать файл ") && shown.ends_with(": нет такой папки"))
      << shown;
  EXPECT_EQ(Parts().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(docs));
}

// A build into a small file system that fills up was refused with "файл не записан" at most sizes: the
// reason was looked for in the folder afterwards, where a disk full only for the failed write looks fine.
// The reason is the failed write's own, and every file written is removed.
TEST_F(Coupling3DTest, AFullDiskIsSaidSo)
{
  const std::filesystem::path docs = Dir / "docs";
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), 1u);
  for (int kib : {24, 40, 64, 96}) {
    SCOPED_TRACE(kib);
    std::filesystem::remove_all(docs);
    std::filesystem::create_directories(docs);
    const std::string size = "size=" + std::to_string(kib) + "k";
    if (::mount("tmpfs", docs.c_str(), "tmpfs", 0, size.c_str()) != 0)
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    const std::size_t said = H.Messages().size();
    Queue({"button", "1"});
    Queue({"button", "2"});
    Run(200);
    ASSERT_EQ(H.Messages().size(), said + 1);
    const std::string shown = txhost::ToUtf8(H.Messages().back());
    EXPECT_TRUE(shown.starts_with("Не удалось записать файл " + docs.string()) &&
                shown.ends_with(": нет места на диске"))
        << shown;
    EXPECT_TRUE(std::filesystem::is_empty(docs)) << "files left behind";
    EXPECT_EQ(Parts().size(), 1u);
    ::umount2(docs.c_str(), MNT_DETACH);
  }
}

// Folders named with letters the code page lacks reached the file system with '?' in their place: the library
// installed under one could not read its data, and every build said its files' folder did not exist, or
// wrote them into a folder that happened to bear the '?' name. Each folder is used as named, and a message
// names a file as it is.
struct TFolderName
{
  const char* Name;
  const char* Lost; // the name with '?' for the letters Windows-1251 lacks
};

void PrintTo(const TFolderName& f, std::ostream* os)
{
  *os << f.Lost;
}

class FolderNameTest : public Coupling3DTest, public ::testing::WithParamInterface<TFolderName>
{
protected:
  void SetUp() override
  {
    Lib = Dir / GetParam().Name;
    std::filesystem::create_directories(Dir / GetParam().Lost / "docs");
    Coupling3DTest::SetUp();
  }
};

TEST_P(FolderNameTest, TheLibraryAndItsBuildsUseTheFoldersAsNamed)
{
  const std::filesystem::path docs = Lib / "docs", lost = Dir / GetParam().Lost / "docs";
  EXPECT_TRUE(H.Messages().empty()) << txhost::ToUtf8(H.Messages().front());
  Script().ChangeControl(L"Вал 1", "  40.00");
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  EXPECT_TRUE(H.Messages().empty()) << txhost::ToUtf8(H.Messages().front());
  ASSERT_EQ(Parts().size(), 1u);
  std::vector<std::filesystem::path> made;
  for (const auto& e : std::filesystem::directory_iterator(docs))
    made.push_back(e.path());
  EXPECT_EQ(made.size(), 8u);
  EXPECT_TRUE(std::filesystem::is_empty(lost));
  // A folder in the way of one file: the message names it as it is.
  ASSERT_FALSE(made.empty());
  std::filesystem::remove_all(docs);
  std::filesystem::create_directories(made.front());
  Script().ChangeControl(L"Вал 1", "  40.00");
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(H.Messages().size(), 1u);
  EXPECT_EQ(txhost::ToUtf8(H.Messages().back()),
            "Не удалось записать файл " + made.front().string() + ": на месте файла папка");
  EXPECT_EQ(Parts().size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(lost));
}

INSTANTIATE_TEST_SUITE_P(Letters, FolderNameTest,
                         ::testing::Values(TFolderName{"Café", "Caf?"}, TFolderName{"Größe", "Gr??e"},
                                           TFolderName{"Ωmega", "?mega"}, TFolderName{"数据", "??"},
                                           TFolderName{"😀", "?"}),
                         hxcad::test::CaseNames());

// Without a phantom every pick is kept for the component the confirmation inserts, not only the last.
TEST_F(Coupling3DTest, WithoutAPhantomEveryPickIsMated)
{
  std::filesystem::remove(Dir / "PhCoupling.tpt");
  Script().Pick(&Face(0));
  Script().Pick(&Face(1));
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  ASSERT_EQ(Parts().size(), 1u);
  std::map<int, Object*> partners;
  for (Object* m : Mates())
    partners[m->Prop("kind").get<int>()] = m->RefProp("first");
  EXPECT_EQ(partners,
            (std::map<int, Object*>{{txapi::mc_Coincidence, &Face(0)}, {txapi::mc_Concentric, &Face(1)}}));
}

// A stored block that cannot be read whole or holds values no size builds is not edited: the command says
// so and the coupling stays shown and unchanged.
TEST_F(Coupling3DTest, ADamagedStoredBlockIsNotEdited)
{
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  Object& placed = *Parts().at(0);
  std::vector<std::uint8_t> good;
  for (const auto& b : placed.Prop("user-data"))
    good.push_back(b.get<std::uint8_t>());
  ASSERT_TRUE(ControlModel.from(good));
  ControlModel.P1d = NAN;
  std::vector<std::uint8_t> nan;
  ControlModel.to(nan);
  ControlModel.from(good);
  for (const auto& bytes : {std::vector<std::uint8_t>(good.begin(), good.end() - 2), nan}) {
    placed.Set("user-data", txhost::Value(bytes));
    txhost::SetEditedPart(*Assembly, &placed);
    const std::size_t said = H.Messages().size();
    Run(200);
    ASSERT_EQ(H.Messages().size(), said + 1);
    EXPECT_EQ(txhost::ToUtf8(H.Messages().back()), "Параметры муфты повреждены: блок не изменен");
    EXPECT_FALSE(placed.Prop("hidden") == true);
    EXPECT_EQ(Parts().size(), 1u);
    EXPECT_EQ(txhost::TotalSubscriptions(H), 0);
  }
}

// A host failure while the command takes up the coupling under edit ends the command and no more: the
// coupling stays shown, and the library keeps nothing of it for the next command.
TEST_F(Coupling3DTest, AHostFailureTakingUpAnEditLeavesTheCouplingShownAndUnheld)
{
  Queue({"button", "1"});
  Queue({"button", "2"});
  Run(200);
  Object& placed = *Parts().at(0);
  for (const char* op : {"GetPlacement", "SetHidden"}) {
    H.GetFaults().ThrowOnCall(txhost::Target::Of(placed), op);
    txhost::SetEditedPart(*Assembly, &placed);
    Queue({"button", "2"});
    Run(200);
    Script().Clear();
    H.GetFaults().Clear();
    EXPECT_EQ(placed.RefCount(), 0) << op;
    EXPECT_FALSE(placed.Prop("hidden") == true) << op;
    EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr) << op;
  }
}

// Every torque the list offers leads to the diameters of exactly the rows of that torque ("*" to
// every row's, each once, ascending), and the second shaft follows the first.
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
      std::set<double> bores;
      for (int i = 0; i < rows; ++i)
        if (torque == "*" || text(i, 0) == torque) bores.insert(table->Row(i)[table->Control]);
      txhost::Value expected = txhost::Value::array();
      for (const double d : bores)
        expected.push_back(TCouplingPanel::ValueText(d).Utf8Text());
      EXPECT_EQ(txhost::FindControl(*txhost::ProcessParamOf(process), L"Вал 1")->Prop("items"), expected)
          << torque;
      EXPECT_EQ(ControlModel.P2d, ControlModel.P1d);
    });
  }
  Queue({"button", "2"});
  Run(200);
}

// An edit refused on Enter leaves the assembly as it was before the edit, object for object, and says why
// once: every type edited to "*" with its smallest and largest bores, which no size takes both of, the run
// ending after the refusal with no Esc to put anything back.
TEST_F(Coupling3DTest, ARefusedEditLeavesTheAssemblyAsItWasAndSaysWhyOnce)
{
  for (int k = 0; k < CountCoupling; ++k) {
    SCOPED_TRACE(iCouplings[k].Name.Utf8Text());
    std::unique_ptr<TTable> main(TextBase.GetTable(iCouplings[k].NameTable(1)));
    ASSERT_TRUE(main);
    const auto [small, large] = WidestBores(*main);
    ASSERT_EQ(GroupRows(main.get(), 0.0, large, small).R1, nullptr) << "a size takes both";
    Script().ChangeControl(L"Муфта", iCouplings[k].Name.Utf8Text());
    Queue({"button", "1"});
    Queue({"button", "2"});
    Run(200);
    ASSERT_EQ(Parts().size(), std::size_t(k + 1));
    const std::string before = DocumentState(H, *Assembly);

    txhost::SetEditedPart(*Assembly, Parts().back());
    Script().ChangeControl(L"Момент", "*");
    Script().ChangeControl(L"Вал 1", TCouplingPanel::ValueText(small).Utf8Text());
    Script().ChangeControl(L"Вал 2", TCouplingPanel::ValueText(large).Utf8Text());
    Queue({"button", "1"});
    const std::size_t said = H.Messages().size();
    Run(200);
    txhost::SetEditedPart(*Assembly, nullptr);
    EXPECT_EQ(DocumentState(H, *Assembly), before);
    ASSERT_EQ(H.Messages().size(), said + 1);
    EXPECT_EQ(txhost::ToUtf8(H.Messages().back()), "Нет размера муфты для валов " +
                                                       TString(small, 2, true).Utf8Text() + " / " +
                                                       TString(large, 2, true).Utf8Text());
  }
}

} // namespace
