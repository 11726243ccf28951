#include "CommandTestSupport.h"

#include "hxcadkit/commands/WindowOGL.h"

using namespace commands_test;

namespace {

std::int64_t NowMs = 1000;

// A widget that counts the signals its children send.
class TPanelWnd : public TWindowOGL
{
public:
  using TWindowOGL::TWindowOGL;
  void Sygnal(void*, int, void*) override { ++Signals; }
  int Signals = 0;
};

class Widgets : public HostFixture
{
protected:
  void SetUp() override
  {
    Open(txapi::txDocumentAssembly);
    TTimerClock::Set([] { return NowMs; });
  }
  void TearDown() override
  {
    TTimerClock::Set(nullptr);
    HostFixture::TearDown();
  }
  txhost::Object& Frame() { return Only("frame"); }
};

} // namespace

TEST_F(Widgets, TimerRefusesShortDelaysAndNoWindow)
{
  TWidgetCommand c;
  TTimer& t = c.DispatcherWnd3D.Timer;
  const int before = t.Count;
  EXPECT_EQ(t.Start(8200, 25), 0);
  EXPECT_EQ(t.Start(0, 1000), 0);
  EXPECT_EQ(t.Count, before);
  const int id = t.Start(8200, 26);
  EXPECT_GT(id, 0);
  ASSERT_EQ(t.Count, before + 1);
  EXPECT_EQ(t[t.Count - 1].Time.t, (NowMs + 26) * 1000);
  EXPECT_EQ(t.Start(8200, 26), id + 1);
}

// A hint due first, a status message due later: when the hint goes, taking its own events with it,
// the message's event must survive and remove the message at its own time.
TEST_F(Widgets, AnExpiringHintLeavesTheStatusBarsEventInPlace)
{
  TWidgetCommand c;
  TDispatcherWnd3D& d = c.DispatcherWnd3D;
  THintOGL::Hint(&c, TPoint3D(1, 2, 3), T("Подсказка"), 50, -12, 2000);
  THintOGL* hint = THintOGL::Current;
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->Width, 65);
  d.Timer.Start(hint->Id, 30000); // a second event of the hint, removed with it
  Messager->LiftBox(T("первое"), TMessager::toAlways);
  NowMs += 1000;
  Messager->LiftBox(T("второе"), TMessager::toAlways);
  Messager->StatusBox(T("ноль"), 20); // too short for an event: stays until replaced
  ASSERT_EQ(c.StatusBar.M.Count, 2);
  EXPECT_EQ(c.StatusBar.M[0].T, T("ноль"));
  EXPECT_EQ(c.StatusBar.M[0].Id, 0);
  EXPECT_EQ(c.StatusBar.M[1].T, T("второе"));
  NowMs += 1000;
  EXPECT_TRUE(d.Timer.TimeImpuls());
  EXPECT_EQ(THintOGL::Current, nullptr);
  EXPECT_FALSE(d.Exist(hint));
  EXPECT_EQ(d.Timer.Count, 2); // both messages' events
  NowMs += 10000;
  EXPECT_TRUE(d.Timer.TimeImpuls()); // the first message's event finds it replaced
  ASSERT_EQ(c.StatusBar.M.Count, 2);
  NowMs += 1000;
  EXPECT_TRUE(d.Timer.TimeImpuls());
  ASSERT_EQ(c.StatusBar.M.Count, 1);
  EXPECT_EQ(c.StatusBar.M[0].T, T("ноль"));
  EXPECT_TRUE(d.Exist(&c.StatusBar)); // the bar never expires itself
  NowMs -= 13000;
}

TEST_F(Widgets, SelectionAndFocusFollowThePointerAndEscape)
{
  TWidgetCommand c;
  c.FrameRect.LD.y = 600; // the view's height: the host counts y from the top
  auto* panel = new TPanelWnd(&c, nullptr);
  panel->Origin = {100, 200};
  auto* field = new TWindowOGL(&c, panel);
  field->Origin = {10, -2};
  field->Width = 40;
  field->Height = 20;
  EXPECT_EQ(field->MainOwner(), panel);
  const txapi::SmartPtr<txapi::IPressedKeys> keys;
  auto& d = c.DispatcherWnd3D;
  EXPECT_TRUE(d.MouseMove(keys, 115, 600 - 190)); // inside the field, on its edges' inner side
  EXPECT_EQ(TWindowOGL::Select(), field);
  EXPECT_TRUE(d.MouseDown(keys, 115, 600 - 190));
  EXPECT_EQ(TWindowOGL::Focus(), field);
  EXPECT_EQ(field->State & (seFocused | seSelected), TypeState(seFocused | seSelected));
  EXPECT_FALSE(d.MouseMove(keys, 400, 10)); // leaving a focused widget keeps it
  EXPECT_EQ(TWindowOGL::Focus(), field);
  int key = 48;
  EXPECT_TRUE(c.KeyDown(key, 0, keys));
  EXPECT_EQ(key, 0);
  key = TWindowOGL::wk_ESCAPE;
  EXPECT_FALSE(c.KeyDown(key, 0, keys));
  EXPECT_EQ(TWindowOGL::Focus(), nullptr);
  EXPECT_EQ(field->State & (seFocused | seSelected), 0u);
  EXPECT_EQ(panel->Signals, 1);
  // Contain is inclusive on every edge; the top edge of the field is at 198, its left at 110.
  EXPECT_TRUE(d.MouseMove(keys, 110, 600 - 198));
  EXPECT_EQ(TWindowOGL::Select(), field);
  EXPECT_TRUE(d.MouseMove(keys, 99, 600 - 198)); // leaving a selected widget clears it
  EXPECT_EQ(TWindowOGL::Select(), nullptr);
  EXPECT_FALSE(d.MouseMove(keys, 99, 600 - 198));
  delete panel;
  EXPECT_EQ(d.Windows.Count, 1); // the status bar
}

TEST_F(Widgets, AnchoredWidgetsAreFoundWithinATolerance)
{
  TWidgetCommand c;
  auto* a = new TWindowOGL(&c, nullptr);
  auto* b = new TWindowOGL(&c, nullptr);
  a->Origin3D = b->Origin3D = TPoint3D(1, 2, 3);
  EXPECT_EQ(c.DispatcherWnd3D.Exist(TPoint3D(1, 2, 3 + 0.9e-5)), a);
  EXPECT_EQ(c.DispatcherWnd3D.Exist(TPoint3D(1, 2 + 2e-5, 3)), nullptr);
  EXPECT_EQ(b->Id, a->Id + 1);
  TWindowOGL loose(nullptr, nullptr);
  EXPECT_EQ(loose.Id, 0);
}

TEST_F(Widgets, AFailedRedrawDoesNotEndTheProgram)
{
  TWidgetCommand c;
  auto* w = new TWindowOGL(&c, nullptr);
  ASSERT_TRUE(c.Frame);
  H.GetFaults().ThrowOnCall(txhost::Target::Of(Frame()), "Invalidate");
  EXPECT_NO_THROW(delete w);
  EXPECT_FALSE(c.DispatcherWnd3D.Exist(w));
}
