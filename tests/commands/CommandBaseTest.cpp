// The 3D and 2D command bases on the stand-in host: panel set-up, subscriptions, default answers, stop and
// run, and the message channel's way into the running command.

#include "CommandTestSupport.h"

#include "hxcadkit/core/Messager.h"
#include "txapi/IEvents.h"

using namespace commands_test;
using txapi::SmartPtr;
using txhost::Fire;

namespace {

class TTest3D : public TBaseManager3D
{
public:
  explicit TTest3D(SpecPropertyToolBarEnum stb = txapi::pnEnterEscHelp,
                   std::initializer_list<TButtonData>* buttons = nullptr)
      : TBaseManager3D(T("Муфта"), T("Укажите"), stb, 9, T("Параметры"), buttons)
  {
  }
  // Button 1 ends the command, 3 pauses it; 2 is what a failed run reports.
  bool ButtonClick(int id) override
  {
    Clicks.push_back(id);
    if (id == 1) Stop(0);
    if (id == 3) Stop(-1);
    return false;
  }
  bool OnExitRun() override { return RefuseExit-- <= 0; }
  void BeginPhantom() override { ++Redraws; }
  bool ECanSelect(TModelObjectPtr) override { return Accept; }
  bool ESelect(TModelObjectPtr o) override
  {
    Selected.push_back(o);
    return Accept;
  }

  std::vector<int> Clicks;
  int RefuseExit = 0;
  int Redraws = 0;
  bool Accept = true;
  std::vector<TModelObjectPtr> Selected;
};

class Command3D : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentAssembly); }
  txhost::Object& Param() { return Only("process-param"); }
  txhost::Object& Process() { return Only("process-3d"); }
};

TEST_F(Command3D, BuildsItsPanelAndSubscribesOnItsFirstRedraw)
{
  TButtonData a(1, -7, T("a")), b(2, 7, T("b"));
  std::initializer_list<TButtonData> buttons{a, b};
  TTest3D c(txapi::pnEnterEscHelp, &buttons);
  EXPECT_EQ(TBaseManager::CurrentProcessManager, &c);
  EXPECT_EQ(Param().Text("caption"), L"Муфта");
  EXPECT_EQ(Param().Prop("toolBar"), 3);
  const auto added = Param().CallsOf("AddButton");
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[0]->Arguments, txhost::Value::parse(R"([1, 7, "a", "#Stamp - Regular"])"));
  EXPECT_EQ(added[1]->Arguments, txhost::Value::parse(R"([2, 7, "b", "#Stamp - Regular"])"));
  EXPECT_EQ(Only("property-tab").Text("caption"), L"Параметры");
  EXPECT_EQ(Subscriptions(), 0);
  c.RedrawPhantom();
  const std::pair<const wchar_t*, int> perKey[] = {{L"ReceiverFrameEvent", 14},
                                                    {L"ReceiverProcess3DManipulatorsEvent", 8},
                                                    {L"ReceiverProcess3DEvent", 11},
                                                    {L"ReceiverPropertyManagerEvent", 16},
                                                    {L"ReceiverApplicationEvent", 19}};
  for (auto [key, n] : perKey)
    EXPECT_EQ(Subscriptions(key), n) << key;
  c.RedrawPhantom();
  EXPECT_EQ(Subscriptions(), 68);
  EXPECT_EQ(c.Redraws, 2);
}

TEST_F(Command3D, AButtonBarKindAbove13IsNotHandedOver)
{
  TTest3D c(txapi::SpecPropertyToolBarEnum(14));
  EXPECT_EQ(Param().CallCount("SetToolBar"), 0u);
  EXPECT_EQ(Param().CallCount("AddButton"), 0u);
}

TEST_F(Command3D, UnhandledEventsGetTheReceiversDefaultAnswers)
{
  TTest3D c;
  c.RedrawPhantom();
  txhost::Object& frame = Only("frame");
  txhost::Object& manip = Only("manipulators");
  txhost::Object& process = Process();
  txhost::Object& app = H.ApplicationObject();
  const SmartPtr<txapi::IPressedKeys> keys;
  using B = std::vector<bool>;
  const std::size_t repaints = frame.CallCount("Invalidate");
  for (const char* e : {"MouseDown", "MouseUp", "MouseDblClick", "MouseMove"})
    EXPECT_EQ(Fire<txapi::MouseCallback>(frame, e, keys, 5, 5), B{true}) << e;
  EXPECT_EQ(frame.CallCount("Invalidate"), repaints); // neither the widgets nor the command used them
  EXPECT_EQ(Fire<std::function<bool()>>(frame, "BeginPaintTmpObjects"), B{true});
  using Manip = txapi::ManipulatorCallback;
  EXPECT_EQ(Fire<Manip>(manip, "BeginDragManipulator", 0, txapi::txManipulatorPrimitiveUnknown), B{true});
  EXPECT_EQ(Fire<Manip>(manip, "EndDragManipulator", 0, txapi::txManipulatorPrimitiveUnknown), B{false});
  EXPECT_EQ(Fire<std::function<bool(int)>>(manip, "DestroyManipulatorEdit", 0), B{true});
  for (const char* e : {"Run", "Stop", "Activate", "Deactivate", "EndProcess", "AbortProcess"})
    EXPECT_EQ(Fire<std::function<bool()>>(process, e), B{false}) << e;
  EXPECT_EQ(Fire<std::function<bool(int)>>(process, "ExecuteCommand", 4), B{false});
  EXPECT_EQ(Fire<std::function<bool(int)>>(Param(), "ButtonClick", 5), B{false});
  bool enable = false;
  int checked = 0;
  EXPECT_EQ((Fire<std::function<bool(int, bool&, int&)>>(Param(), "ButtonUpdate", 5, enable, checked)), B{false});
  for (const char* e : {"BeginOpenFile", "BeginCloseAllDocument"})
    EXPECT_EQ(Fire<std::function<bool()>>(app, e), B{true}) << e;
  int key = 65;
  EXPECT_EQ(Fire<txapi::KeyCallback>(app, "KeyDown", key, 0, keys), B{true});
  EXPECT_EQ(key, 65);
  EXPECT_EQ(Fire<std::function<bool(txapi::txThemeEnum)>>(app, "ChangeTheme", txapi::txThemeUnknown), B{true});
  EXPECT_EQ(Fire<txapi::ObjectCallback>(process, "FilterObjects", SmartPtr<txapi::ITavrixAPIObject>()), B{false});
}

TEST_F(Command3D, PausesWithANegativeCodeAndEndsWithZero)
{
  TTest3D c;
  drApi::Selector->Begin();
  c.RedrawPhantom();
  c.Stop(-1);
  EXPECT_EQ(c.ExitCode, -1);
  EXPECT_EQ(Subscriptions(), 68);
  EXPECT_TRUE(c.ProcessParam);
  EXPECT_EQ(Ops(Process(), {"Stop", "End"}), "Stop End");
  c.Stop(-2); // inactive: the host process is not asked again
  EXPECT_EQ(Ops(Process(), {"Stop", "End"}), "Stop End");
  EXPECT_EQ(c.ExitCode, -2);
  c.Active = true;
  c.Stop(0);
  EXPECT_EQ(c.ExitCode, 0);
  EXPECT_EQ(Subscriptions(), 0);
  EXPECT_FALSE(c.ProcessParam);
  EXPECT_EQ(Ops(Process(), {"Stop", "End"}), "Stop End Stop End");
  EXPECT_EQ(H.ApplicationObject().CallCount("RefreshDocument"), 1u);
  EXPECT_EQ(Only("property-tab").Prop("visible"), false);
  EXPECT_EQ(Document->CallCount("UnselectAll"), 4u); // by each stop and by the end of the subscriptions
}

TEST_F(Command3D, RunEndsWhenTheCommandStopsItselfFromItsPanel)
{
  TTest3D c;
  c.RedrawPhantom();
  Script().Button(3); // pause: the process ends, the command stays subscribed
  EXPECT_TRUE(c.Run(true, false));
  EXPECT_EQ(c.ExitCode, -1);
  EXPECT_EQ(Subscriptions(), 68);
  c.Active = true;
  Script().Button(1);
  EXPECT_TRUE(c.Run(true, false));
  EXPECT_EQ(c.Clicks, (std::vector<int>{3, 1}));
  EXPECT_EQ(Subscriptions(), 0);
}

TEST_F(Command3D, ThePhantomIsThePartLoadedIntoTheProcess)
{
  TTest3D c;
  EXPECT_EQ(txhost::Object::From(c.Phantom.get()), H.TopPart(*Document));
  EXPECT_FALSE(c.SetPhantom(T("/no/such/PhCoupling.tpt")));
  EXPECT_EQ(txhost::Object::From(c.Phantom.get()), H.TopPart(*Document));
  EXPECT_TRUE(c.SetPhantom(T(HXCAD_TEST_DATA "/txhost/shaft.tpt")));
  EXPECT_EQ(txhost::Object::From(c.Phantom.get()), Process().RefProp("phantom"));
  EXPECT_NE(txhost::Object::From(c.Phantom.get()), H.TopPart(*Document));
}

TEST_F(Command3D, APickNeedsAMoveAndFallsBackOnTheLastFilteredObject)
{
  TTest3D c;
  c.RedrawPhantom();
  auto top = SmartPtr<txapi::ITavrixAPIObject>::Attach(static_cast<txapi::ITavrixAPIObject*>(
      H.TopPart(*Document)->QueryInterface(txapi::ITavrixAPIObject::IID)));
  const SmartPtr<txapi::ITavrixAPIObject> none;
  auto filter = [&](const SmartPtr<txapi::ITavrixAPIObject>& o) -> bool {
    return Fire<txapi::ObjectCallback>(Process(), "FilterObjects", o).at(0);
  };
  EXPECT_FALSE(filter(top)); // no move since the button went down
  Fire<txapi::MouseCallback>(Only("frame"), "MouseMove", SmartPtr<txapi::IPressedKeys>(), 1, 1);
  EXPECT_TRUE(filter(top));
  EXPECT_FALSE(filter(top)); // the accepted pick used the move up
  EXPECT_EQ(c.LastFilterObj, top);
  const int redraws = c.Redraws;
  EXPECT_EQ(Fire<txapi::ObjectCallback>(Process(), "PlacementChanged", none), std::vector<bool>{true});
  ASSERT_EQ(c.Selected.size(), 1u);
  EXPECT_EQ(c.Selected[0], top);
  EXPECT_EQ(c.Redraws, redraws + 1);
  EXPECT_FALSE(c.LastFilterObj);
  c.Accept = false;
  Fire<txapi::MouseCallback>(Only("frame"), "MouseMove", SmartPtr<txapi::IPressedKeys>(), 1, 1);
  EXPECT_FALSE(filter(top));
  EXPECT_FALSE(c.LastFilterObj);
}

TEST_F(Command3D, AHostFailureInRunBecomesButtonTwo)
{
  TTest3D c;
  H.GetFaults().ThrowOnCall(txhost::Target::Of(Process()), "Run");
  EXPECT_FALSE(c.Run(true, false));
  EXPECT_EQ(c.Clicks, std::vector<int>{2});
}

TEST_F(Command3D, RunRepeatsWhileTheCommandRefusesToLeave)
{
  TTest3D c;
  c.RefuseExit = 2;
  c.Run(true, false);
  EXPECT_EQ(Process().CallCount("Run"), 3u);
  c.Active = false;
  EXPECT_FALSE(c.Run(true, false));
  EXPECT_EQ(Process().CallCount("Run"), 3u);
}

TEST_F(Command3D, TheHelpButtonOpensHelpAndAnInactivePanelAnswersTrue)
{
  TTest3D c;
  c.RedrawPhantom();
  auto click = [&](int id) { return Fire<std::function<bool(int)>>(Param(), "ButtonClick", id); };
  EXPECT_EQ(click(txapi::pbHelp), std::vector<bool>{false});
  EXPECT_EQ(H.ApplicationObject().CallsOf("ShowHelp").back()->Arguments, txhost::Value::parse("[9]"));
  Fire<std::function<void()>>(Param(), "ProcessDeactivate");
  EXPECT_EQ(click(5), std::vector<bool>{true});
  bool enable = false;
  int checked = 0;
  Fire<std::function<bool(int, bool&, int&)>>(Param(), "ButtonUpdate", 5, enable, checked);
  EXPECT_TRUE(c.Active);
  click(5);
  EXPECT_EQ(c.Clicks, std::vector<int>{5});
}

TEST_F(Command3D, MessagesReachTheRunningCommandsStatusBar)
{
  {
    TTest3D c;
    Messager->LiftBox(T("Деталь"), TMessager::toAlways);
    ASSERT_EQ(c.StatusBar.M.Count, 1);
    EXPECT_EQ(c.StatusBar.M[0].T, T("Деталь"));
  }
  EXPECT_EQ(TBaseManager::CurrentProcessManager, nullptr);
  EXPECT_EQ(Subscriptions(), 0);
}

TEST_F(Command3D, ProgressComposesItsTextAndMovesTheHostBar)
{
  TTest3D c;
  c.NextProgress(T("b"));
  EXPECT_EQ(c.ProgressCount, 0);
  CommandHost.ProgressBar() = CommandHost.Application()->GetProgressBar();
  txhost::Object& bar = Only("progress-bar");
  c.StartProgress(T("A"), 10);
  c.NextProgress(T("b"));
  EXPECT_EQ(c.ProgressMessageCurrent, T("A b"));
  EXPECT_EQ(bar.Prop("position"), 1);
  c.StopProgress();
  EXPECT_EQ(Ops(bar), "Start SetPosition Stop");
}

// A 2D placement: every move redraws the preview, the fixed place creates the object.
class TTest2D : public TProcessManager2D
{
public:
  TTest2D() : TProcessManager2D(T("Муфта"), T("Укажите"), txapi::pnEnterEscHelp, 8, T("Параметры"), txapi::txProcess2DPlacement) {}
  bool ButtonClick(int id) override
  {
    Stop(id);
    return false;
  }
  void RedrawPhantom(double, double, double) override { ++Redraws; }
  bool CreateObject(double, double, double) override
  {
    ++Created;
    return true;
  }
  int Redraws = 0;
  int Created = 0;
};

class Command2D : public HostFixture
{
protected:
  void SetUp() override { Open(txapi::txDocumentDrawing); }
};

TEST_F(Command2D, PlacementsRedrawThePreviewThenCreateTheObject)
{
  TTest2D c;
  EXPECT_EQ(Subscriptions(), 40);
  EXPECT_EQ(Subscriptions(L"ReceiverProcess2DEvent"), 5);
  c.SetPhantom(txapi::txMoveGroupPhantom);
  c.SetPhantom(txapi::txMoveGroupPhantom);
  EXPECT_EQ(H.ObjectsOfKind("drawing-group").size(), 1u);
  for (int i = 0; i < 10; ++i)
    Script().Place(i, 2 * i, 0, true);
  Script().Place(10, 20, 90, false);
  Script().Button(txapi::pbEnter);
  EXPECT_TRUE(c.Run(true, false));
  EXPECT_EQ(c.Redraws, 10);
  EXPECT_EQ(c.Created, 1);
  EXPECT_EQ(Ops(Only("drawing-group")).substr(0, 26), "Open Close Open Reset Clos");
}

TEST_F(Command2D, MessagesGoToTheHostsBoxWhileA2DCommandRuns)
{
  TTest2D c;
  Messager->LiftBox(T("Деталь"), TMessager::toAlways);
  EXPECT_EQ(c.StatusBar.M.Count, 0);
  EXPECT_EQ(H.Messages(), std::vector<std::wstring>{L"Деталь"});
}

TEST_F(Command2D, ARunAfterStopStillReceivesEvents)
{
  TTest2D c;
  c.SetPhantom(txapi::txMoveGroupPhantom);
  Script().Button(3); // a stop with a code that asks for another placement
  c.Run(true, false);
  EXPECT_EQ(c.ExitCode, 3);
  EXPECT_EQ(Subscriptions(), 0);
  Script().Place(1, 1, 0, true);
  Script().Place(1, 1, 0, false);
  Script().Button(txapi::pbEsc);
  c.Run(true, false);
  EXPECT_EQ(c.Redraws, 1);
  EXPECT_EQ(c.Created, 1);
  EXPECT_EQ(c.ExitCode, 2);
  EXPECT_EQ(Only("property-tab").Prop("visible"), false);
}

TEST_F(Command2D, ACommandWithoutItsDocumentComesAndGoesQuietly)
{
  Document->GetHost().CloseDocument(*Document);
  CommandHost.RefreshDocument();
  {
    TTest2D c;
    EXPECT_FALSE(c.Run(true, false));
    c.Stop(0);
  }
  Open(txapi::txDocumentDrawing);
  H.SetActiveDocument(nullptr);
  {
    TTest3D c;
    c.RedrawPhantom();
    EXPECT_FALSE(c.Run(true, false));
    EXPECT_FALSE(c.SetPhantom(T("x.tpt")));
  }
  EXPECT_EQ(Subscriptions(), 0);
}

} // namespace
